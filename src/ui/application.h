// The application object. It lets the main window look at every event before it is
// delivered (keyboard shortcuts the window takes first) and after (the pointer polls), and
// abandons an event whose handling faults.
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

  // Every event runs guarded: a processor fault abandons it (see ui/fault_trap.h) and
  // faultCaught() follows; connect to it queued to answer from the loop.
  bool notify(QObject* receiver, QEvent* event) override;

 signals:
  void faultCaught();

 private:
  bool Deliver(QObject* receiver, QEvent* event);
  friend class ScopedInputBlock;

  QList<EventObserver*> observers_;
  int input_blocks_ = 0;
};

// While one lives, clicks and keys are dropped instead of delivered: pending events may be
// taken to repaint the window, but no command runs in the middle of a long operation.
class ScopedInputBlock {
 public:
  ScopedInputBlock();
  ~ScopedInputBlock();
  ScopedInputBlock(const ScopedInputBlock&) = delete;
  ScopedInputBlock& operator=(const ScopedInputBlock&) = delete;
};

}  // namespace lumigrid::ui
