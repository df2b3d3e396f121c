// The application object. It lets the main window look at every event before it is
// delivered (keyboard shortcuts the window takes first) and after (the pointer polls).
#pragma once

#include <QApplication>
#include <QList>

namespace lumigrid::ui {

class EventObserver {
 public:
  virtual ~EventObserver() = default;
  // Return true to consume the event.
  virtual bool BeforeEvent(QObject* receiver, QEvent* event) = 0;
  virtual void AfterEvent(QObject* receiver, QEvent* event) = 0;
};

// The name desktops know the program by: its .desktop entry, icon and metainfo share it.
inline constexpr char kDesktopId[] = "org.lumigrid.Lumigrid";

class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  void AddObserver(EventObserver* observer) { observers_.append(observer); }
  void RemoveObserver(EventObserver* observer) { observers_.removeAll(observer); }

  // The running application's observers, when it is an Application.
  static void Observe(EventObserver* observer);
  static void StopObserving(EventObserver* observer);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  QList<EventObserver*> observers_;
};

}  // namespace lumigrid::ui
