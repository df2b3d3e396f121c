// The submenu "Рисунок → Инструмент" and the keys of the tools: choosing a tool, its check
// mark, the letters over the canvas, Escape during a drag, and the selection's turn at
// Ctrl+X, Ctrl+C, Ctrl+V and Delete.
#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "edit/drawing_tool.h"
#include "picture/text_tool_dialog.h"

class QEvent;

namespace lumigrid {

class CanvasTools;
class CommandTable;
class MainWindow;

class DrawingToolCommands : public QObject {
  Q_OBJECT

 public:
  explicit DrawingToolCommands(MainWindow& window);

  // Commands 110..119; Ctrl+X, Ctrl+C and Ctrl+V (85..87) fall back on their handlers.
  void Register(CommandTable& commands);

  CanvasTools& Tools() { return *tools_; }

  // Asks for the Text tool's text, starting from the last one; nothing when cancelled. The
  // dialog by default; tests answer in its place.
  using TextPrompt = std::function<std::optional<TextRequest>(const TextRequest& last)>;
  void SetTextPrompt(TextPrompt prompt) { text_prompt_ = std::move(prompt); }

  // Seen before the window's shortcuts; true consumes the event.
  bool BeforeEvent(QObject* receiver, QEvent* event);
  // After every event of the window.
  void AfterEvent();

 private:
  void Choose(DrawingTool tool);
  void ChooseText();
  // Ctrl+X, Ctrl+C or Ctrl+V: the selection's while its tool is chosen and the pointer is over
  // the canvas in editing. False when the keys go to the cells and text views instead.
  bool SelectionTakes(int command);
  void CheckTool(DrawingTool tool);
  bool PointerOverCanvas() const;
  // Letters go to the tools with the pointer over the canvas, unless a text field holds the
  // keyboard focus.
  bool ToolKeysGoToCanvas() const;

  MainWindow& window_;
  CanvasTools* tools_ = nullptr;
  TextPrompt text_prompt_;
  TextRequest last_text_;
};

}  // namespace lumigrid
