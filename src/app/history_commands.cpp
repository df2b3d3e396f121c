#include "app/history_commands.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "app/commands.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "commands/command_table.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "picture/zoom_view_widget.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

// "Отменить" + ": линия" + "\tCtrl+Z"
QString ItemText(const char* item, const std::string& label) {
  QString text = QString::fromUtf8(item);
  const qsizetype tab = text.indexOf('\t');
  if (!label.empty()) text.insert(tab, QStringLiteral(": ") + QString::fromStdString(label));
  return text;
}

bool EditsText(const QWidget* w) {
  if (const auto* line = qobject_cast<const QLineEdit*>(w)) return !line->isReadOnly();
  if (const auto* text = qobject_cast<const QTextEdit*>(w)) return !text->isReadOnly();
  if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w)) return !plain->isReadOnly();
  return qobject_cast<const QAbstractSpinBox*>(w) != nullptr;
}

}  // namespace

HistoryCommands::HistoryCommands(MainWindow& window) : QObject(&window), window_(window) {}

void HistoryCommands::Register(CommandTable& commands) {
  commands.Register(command::kUndo, [this] { Step(true); });
  commands.Register(command::kRedo, [this] { Step(false); });
  for (const int n : {command::kUndo, command::kRedo}) {
    for (QAction* a : window_.Menus().MenuActions(n)) {
      if (auto* menu = qobject_cast<QMenu*>(a->parent())) {
        connect(menu, &QMenu::aboutToShow, this, &HistoryCommands::UpdateMenu,
                Qt::UniqueConnection);
      }
    }
  }
  UpdateMenu();
}

void HistoryCommands::Step(bool undo) {
  EditorState& state = window_.State();
  const int b = state.CurrentBuffer();
  if (!(undo ? state.UndoEdit(b) : state.RedoEdit(b))) {
    window_.Platform().Beep();
    return;
  }
  window_.Editor().RefreshPicture();
  UpdateMenu();
}

void HistoryCommands::UpdateMenu() {
  const EditorState& state = window_.State();
  const PictureHistory& history = state.History(state.CurrentBuffer());
  const PictureBytes& now = state.Current().Bytes();
  const auto set = [this](int number, const char* item, const std::string& label, bool enabled) {
    const QString text = ItemText(item, label);
    for (QAction* a : window_.Menus().MenuActions(number)) {
      if (a->text() != text) a->setText(text);
      if (a->isEnabled() != enabled) a->setEnabled(enabled);
    }
  };
  set(command::kUndo, command::kUndoText, history.UndoLabel(now), history.CanUndo(now));
  set(command::kRedo, command::kRedoText, history.RedoLabel(now), history.CanRedo(now));
}

bool HistoryCommands::KeysGoToPicture(const QWidget* focus) const {
  const QPoint pointer = window_.Platform().PointerPosition();
  for (const QWidget* w : {static_cast<const QWidget*>(window_.CanvasFrame()),
                           static_cast<const QWidget*>(window_.CellSidePanel()->ZoomView())}) {
    const QRect on_screen(w->mapToGlobal(QPoint(0, 0)), w->size());
    if (w->isVisible() && on_screen.contains(pointer)) return true;
  }
  return focus == nullptr || !EditsText(focus);
}

}  // namespace lumigrid
