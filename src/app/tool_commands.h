// The logic and animation panels joined to the window: the undo lost on entering modes 3, 4
// and 5, the stored animation delay, and the refusal of every other command, control and key
// while an animation runs.
#pragma once

#include <QObject>

class QEvent;
class QWidget;

namespace lumigrid {

class AnimationPanel;
class LogicPanel;
class MainWindow;

class ToolCommands : public QObject {
  Q_OBJECT

 public:
  ToolCommands(MainWindow& window, LogicPanel& logic, AnimationPanel& animation, int delay_index);

  LogicPanel& Logic() { return logic_; }
  AnimationPanel& Animation() { return animation_; }

  // Seen before any event of the window is delivered; true consumes it. Outside a run it lets
  // everything through.
  bool RefuseDuringRun(QObject* receiver, QEvent* event);

 private:
  bool StopControl(const QObject* receiver) const;
  bool StaysUsable(const QObject* receiver) const;
  bool IsControl(const QObject* receiver) const;
  bool BelongsHere(const QObject* receiver) const;

  MainWindow& window_;
  LogicPanel& logic_;
  AnimationPanel& animation_;
};

}  // namespace lumigrid
