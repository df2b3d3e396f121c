#include "ui/application.h"

#include "ui/fonts.h"
#include "ui/icons.h"

#include <QPointer>

namespace lumigrid::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // The window's layout is measured in the metrics of an 8-point "MS Sans Serif"; where that
  // face is missing the nearest sans-serif face takes its place.
  setFont(SansSerifFont(8));
  // Desktops group the windows under the installed entry by these.
  setApplicationName(QStringLiteral("Lumigrid"));
  setApplicationVersion(QStringLiteral("3.8"));
  setDesktopFileName(QString::fromLatin1(kDesktopId));
  setWindowIcon(ProgramIcon());
}

void Application::Observe(EventObserver* observer) {
  if (auto* app = qobject_cast<Application*>(QCoreApplication::instance())) {
    app->AddObserver(observer);
  }
}

void Application::StopObserving(EventObserver* observer) {
  if (auto* app = qobject_cast<Application*>(QCoreApplication::instance())) {
    app->RemoveObserver(observer);
  }
}

bool Application::notify(QObject* receiver, QEvent* event) {
  // A copy: an observer may be removed while an event is handled.
  const QList<EventObserver*> observers = observers_;
  for (EventObserver* o : observers) {
    if (o->BeforeEvent(receiver, event)) return true;
  }
  const QPointer<QObject> alive(receiver);
  const bool result = QApplication::notify(receiver, event);
  for (EventObserver* o : observers) {
    if (alive.isNull()) break;
    if (observers_.contains(o)) o->AfterEvent(receiver, event);
  }
  return result;
}

}  // namespace lumigrid::ui
