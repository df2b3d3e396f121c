// The submenu "Рисунок → Инструмент" and the keys of the tools: choosing a tool, its check
// mark, the letters over the canvas, Escape during a drag, and the selection's turn at
// Ctrl+X, Ctrl+C, Ctrl+V and Delete.
#pragma once

#include <QObject>

#include "edit/drawing_tool.h"

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

  // Seen before the window's shortcuts; true consumes the event.
  bool BeforeEvent(QObject* receiver, QEvent* event);
  // After every event of the window.
  void AfterEvent();

 private:
  void Choose(DrawingTool tool);
  void CheckTool(DrawingTool tool);
  bool PointerOverCanvas() const;
  // Letters go to the tools with the pointer over the canvas, unless a text field holds the
  // keyboard focus.
  bool ToolKeysGoToCanvas() const;

  MainWindow& window_;
  CanvasTools* tools_ = nullptr;
};

}  // namespace lumigrid
