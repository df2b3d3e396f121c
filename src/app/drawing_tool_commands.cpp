#include "app/drawing_tool_commands.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>

#include "app/commands.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/shortcut_keys.h"
#include "commands/command_table.h"
#include "picture/canvas_tools.h"
#include "picture/editor.h"
#include "ui/platform.h"
#include "ui/text_focus.h"

namespace lumigrid {

namespace {

constexpr int CommandOf(DrawingTool tool) { return command::kToolNone + static_cast<int>(tool); }

}  // namespace

DrawingToolCommands::DrawingToolCommands(MainWindow& window)
    : QObject(&window),
      window_(window),
      tools_(new CanvasTools(window.State(), window.Editor(), *window.Canvas(), window.Platform(),
                             this)) {
  text_prompt_ = [this](const TextRequest& last) -> std::optional<TextRequest> {
    TextToolDialog dialog(last, &window_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Request();
  };
  connect(tools_, &CanvasTools::toolChanged, this, &DrawingToolCommands::CheckTool);
  // Tools act in editing only: leaving it, or the buffer, ends what a tool was doing.
  connect(&window, &MainWindow::workModeEntered, tools_, &CanvasTools::Settle);
  connect(&window.Editor(), &Editor::currentBufferChanged, tools_, &CanvasTools::Settle);
  for (int n = command::kToolNone; n <= command::kToolSelection; ++n) {
    for (QAction* a : window.Menus().MenuActions(n)) a->setCheckable(true);
  }
  CheckTool(tools_->Tool());
}

void DrawingToolCommands::Register(CommandTable& commands) {
  commands.RegisterRange(command::kToolNone, command::kToolSelection, [this](int n) {
    Choose(static_cast<DrawingTool>(n - command::kToolNone));
  });
  commands.Register(command::kDeleteSelection, [this] {
    if (!tools_->DeleteSelection()) window_.Platform().Beep();
  });
  // Everywhere else the edit shortcuts do what they did.
  for (const int n : {command::kShortcutCut, command::kShortcutCopy, command::kShortcutPaste}) {
    commands.Register(n, [this, n, parts = commands.Find(n)] {
      if (!SelectionTakes(n) && parts) parts();
    });
  }
}

void DrawingToolCommands::Choose(DrawingTool tool) {
  if (tool == DrawingTool::kText) {
    ChooseText();
  } else {
    tools_->SetTool(tool);
  }
  // A checkable item toggles itself when chosen; the mark stays with the tool in force.
  CheckTool(tools_->Tool());
}

void DrawingToolCommands::ChooseText() {
  // Chosen again, the tool asks for a new text.
  const std::optional<TextRequest> answer = text_prompt_(last_text_);
  if (!answer) return;
  MonoBitmap text = RenderTextRequest(*answer);
  if (text.LitCount() == 0) return;  // nothing that prints: the tool stays as it was
  last_text_ = *answer;
  tools_->SetTool(DrawingTool::kText);
  tools_->SetText(std::move(text));
}

bool DrawingToolCommands::SelectionTakes(int command) {
  if (tools_->Tool() != DrawingTool::kSelection || window_.State().WorkMode() != 1 ||
      !PointerOverCanvas()) {
    return false;
  }
  bool done = false;
  switch (command) {
    case command::kShortcutCut:
      done = tools_->CutSelection();
      break;
    case command::kShortcutCopy:
      done = tools_->CopySelection();
      break;
    case command::kShortcutPaste:
      done = tools_->PasteSelection();
      break;
    default:
      break;
  }
  // Nothing selected or nothing copied: no object under the pointer.
  if (!done) window_.Platform().Beep();
  return true;
}

void DrawingToolCommands::CheckTool(DrawingTool tool) {
  for (int n = command::kToolNone; n <= command::kToolSelection; ++n) {
    for (QAction* a : window_.Menus().MenuActions(n)) a->setChecked(n == CommandOf(tool));
  }
}

bool DrawingToolCommands::PointerOverCanvas() const {
  const QWidget* frame = window_.CanvasFrame();
  const QRect on_screen(frame->mapToGlobal(QPoint(0, 0)), frame->size());
  return frame->isVisible() && on_screen.contains(window_.Platform().PointerPosition());
}

bool DrawingToolCommands::ToolKeysGoToCanvas() const {
  return PointerOverCanvas() && !ui::EditsText(QApplication::focusWidget());
}

bool DrawingToolCommands::BeforeEvent(QObject* receiver, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  if (!receiver->isWidgetType() || static_cast<QWidget*>(receiver)->window() != &window_) {
    return false;
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Shift) {
    tools_->SetConstrained(event->type() == QEvent::KeyPress);
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  if (tools_->Dragging() && key->key() == Qt::Key_Escape) {
    tools_->CancelDrag();
    return true;
  }
  for (const command::Shortcut& s : command::kToolShortcuts) {
    if (!PressedKeysAre(*key, s.keys)) continue;
    if (s.command == command::kDeleteSelection && tools_->Tool() != DrawingTool::kSelection) {
      return false;
    }
    if (!ToolKeysGoToCanvas()) return false;
    window_.Dispatch(s.command);
    return true;
  }
  return false;
}

void DrawingToolCommands::AfterEvent() { tools_->Poll(); }

}  // namespace lumigrid
