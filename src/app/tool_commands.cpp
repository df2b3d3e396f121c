#include "app/tool_commands.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>

#include "app/main_window.h"
#include "app/work_modes.h"
#include "tools/animation_panel.h"
#include "tools/logic_panel.h"
#include "ui/image_widget.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

bool Within(const QObject* object, const QObject* ancestor) {
  for (; object; object = object->parent()) {
    if (object == ancestor) return true;
  }
  return false;
}

bool IsModifierKey(int key) {
  return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt ||
         key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

}  // namespace

ToolCommands::ToolCommands(MainWindow& window, LogicPanel& logic, AnimationPanel& animation,
                           int delay_index)
    : QObject(&window), window_(window), logic_(logic), animation_(animation) {
  logic_.Attach(window.State(), window.Editor());
  animation_.Attach(window.State(), window.Editor(), window.Platform());
  animation_.SetDelayIndex(delay_index);
  connect(&window, &MainWindow::workModeEntered, this, [this](int mode) {
    if (ModeForfeitsLogicUndo(mode)) logic_.ForfeitUndo();
  });
  // Menu commands, toolbar buttons and shortcuts all pass the command table: during a run
  // they beep and are dropped.
  window.Commands().SetGate([this](int) {
    if (!animation_.Running()) return true;
    window_.Platform().Beep();
    return false;
  });
}

bool ToolCommands::BelongsHere(const QObject* receiver) const {
  return receiver->isWidgetType() && static_cast<const QWidget*>(receiver)->window() == &window_;
}

bool ToolCommands::StopControl(const QObject* receiver) const {
  return Within(receiver, animation_.StopButton());
}

bool ToolCommands::StaysUsable(const QObject* receiver) const {
  if (Within(receiver, animation_.DelayList())) return true;
  for (int k = 1; k <= kAnimationLists; ++k) {
    if (Within(receiver, animation_.PictureList(k))) return true;
  }
  return false;
}

bool ToolCommands::IsControl(const QObject* receiver) const {
  // Clicks on captions, frames and empty ground are no commands and stay silent.
  for (const QObject* o = receiver; o && o != &window_; o = o->parent()) {
    if (qobject_cast<const QAbstractButton*>(o) || qobject_cast<const QComboBox*>(o) ||
        qobject_cast<const QAbstractSpinBox*>(o) || qobject_cast<const QLineEdit*>(o) ||
        qobject_cast<const QAbstractScrollArea*>(o) || qobject_cast<const QTabBar*>(o) ||
        qobject_cast<const QMenuBar*>(o) || qobject_cast<const ui::ImageWidget*>(o)) {
      return static_cast<const QWidget*>(o)->isEnabled();
    }
  }
  return false;
}

bool ToolCommands::RefuseDuringRun(QObject* receiver, QEvent* event) {
  if (!animation_.Running()) return false;
  switch (event->type()) {
    case QEvent::Close:
      if (receiver != &window_) return false;
      event->ignore();
      animation_.ConfirmStopOnClose();
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (!BelongsHere(receiver)) return false;
      if (receiver == animation_.CloseMark()) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
          window_.SwitchWorkMode(1);
        }
        animation_.StopAnimation();
        return true;
      }
      if (StopControl(receiver) || StaysUsable(receiver)) return false;
      if (IsControl(receiver)) window_.Platform().Beep();
      return true;
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
      return BelongsHere(receiver) && !StopControl(receiver) && !StaysUsable(receiver);
    case QEvent::KeyPress: {
      if (!BelongsHere(receiver)) return false;
      const auto* key = static_cast<QKeyEvent*>(event);
      const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
      if (plain && (StopControl(receiver) || StaysUsable(receiver))) return false;
      // A modifier on its own is no command yet (and Alt alone would open the menu bar).
      if (!IsModifierKey(key->key())) window_.Platform().Beep();
      return true;
    }
    case QEvent::ContextMenu:
      return BelongsHere(receiver);
    case QEvent::DragEnter:
    case QEvent::DragMove:
      // Not accepted: nothing can be dropped while the run lasts.
      return BelongsHere(receiver);
    case QEvent::Drop:
      if (!BelongsHere(receiver)) return false;
      window_.Platform().Beep();
      return true;
    default:
      return false;
  }
}

}  // namespace lumigrid
