// The tools on the canvas: while one is chosen in work mode 1 the canvas's mouse draws at pixel
// precision instead of choosing cells. A thin layer: the shapes, the fill and the selection
// moves are core functions (edit/); this turns mouse events into their calls, shows previews
// through the editor and makes every finished stroke one step of the history.
#pragma once

#include <QObject>
#include <optional>

#include "edit/drawing_tool.h"
#include "picture/editor_state.h"

class QMouseEvent;

namespace lumigrid {

class CanvasWidget;
class Editor;

class CanvasTools : public QObject {
  Q_OBJECT

 public:
  CanvasTools(EditorState& state, Editor& editor, CanvasWidget& canvas, QObject* parent = nullptr);

  DrawingTool Tool() const { return tool_; }
  // Chooses a tool; what the last one was doing ends first (a drag is cancelled).
  void SetTool(DrawingTool tool);
  // Whether the canvas's mouse goes to the tool: a tool is chosen and the work mode is 1.
  bool Active() const;

  bool Dragging() const { return drag_.has_value(); }
  // Takes back the drag in progress: the picture is as it was before the press.
  void CancelDrag();
  // Ends whatever the tool is doing, for a change of work mode or buffer.
  void Settle();
  // Shift pressed or released during a drag.
  void SetConstrained(bool constrained);
  // Runs after every event of the window.
  void Poll();

 signals:
  void toolChanged(DrawingTool tool);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Drag {
    int buffer = 0;
    Qt::MouseButton button = Qt::NoButton;
    bool lit = true;
    bool constrained = false;
    PixelPoint anchor;
    PixelPoint last;
    PictureBytes before{};    // the buffer at the press
    PictureBytes expected{};  // what the buffer holds while the drag is undisturbed
    bool was_modified = false;
  };

  void Press(QMouseEvent* event);
  void Move(QMouseEvent* event);
  void Release(QMouseEvent* event);
  void PencilTo(PixelPoint p);
  void ShowShape();
  // The buffer becomes `result` as one step of the history named `label`.
  void Commit(const PictureBytes& result, const char* label);
  // False once something else changed the picture or the current buffer during the drag.
  bool DragUndisturbed() const;
  void UpdateCursor();

  EditorState& state_;
  Editor& editor_;
  CanvasWidget& canvas_;
  DrawingTool tool_ = DrawingTool::kNone;
  std::optional<Drag> drag_;
};

}  // namespace lumigrid
