#include "ui/application.h"

#include "ui/fault_trap.h"
#include "ui/fonts.h"
#include "ui/icons.h"

#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace lumigrid::ui {

namespace {

// Qt's own texts (the buttons of every question, the file dialogs) in the program's language,
// whatever the system's: from Qt's translations, or those deployed beside the program.
void InstallQtTranslation(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  const QString name = QStringLiteral("qtbase_ru");
  if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      translator->load(name,
                       QCoreApplication::applicationDirPath() + QStringLiteral("/translations"))) {
    app.installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  InstallQtTranslation(*this);
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

namespace {

bool IsUserInput(const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    default:
      return false;
  }
}

Application* Running() { return qobject_cast<Application*>(QCoreApplication::instance()); }

}  // namespace

ScopedInputBlock::ScopedInputBlock() {
  if (Application* app = Running()) ++app->input_blocks_;
}

ScopedInputBlock::~ScopedInputBlock() {
  if (Application* app = Running()) --app->input_blocks_;
}

bool Application::notify(QObject* receiver, QEvent* event) {
  bool result = false;
  if (RunGuarded([&] { result = Deliver(receiver, event); })) return result;
  emit faultCaught();
  return true;
}

bool Application::Deliver(QObject* receiver, QEvent* event) {
  if (input_blocks_ > 0 && IsUserInput(event)) return true;
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
