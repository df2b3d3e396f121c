// The tools on the canvas: while one is chosen in work mode 1 the canvas's mouse draws at pixel
// precision instead of choosing cells. A thin layer: the shapes, the fill, the text and the
// selection moves are core functions (edit/); this turns mouse events into their calls, shows
// previews through the editor and makes every finished action one step of the history.
#pragma once

#include <QObject>
#include <optional>

#include "edit/drawing_tool.h"
#include "edit/mono_bitmap.h"
#include "edit/selection.h"
#include "picture/editor_state.h"

class QMouseEvent;

namespace lumigrid {

namespace ui {
class Platform;
}
class CanvasWidget;
class Editor;

class CanvasTools : public QObject {
  Q_OBJECT

 public:
  CanvasTools(EditorState& state, Editor& editor, CanvasWidget& canvas, ui::Platform& platform,
              QObject* parent = nullptr);

  DrawingTool Tool() const { return tool_; }
  // Chooses a tool; what the last one was doing ends first: a drag is cancelled, a selection
  // dropped where it lies.
  void SetTool(DrawingTool tool);
  // Whether the canvas's mouse goes to the tool: a tool is chosen and the work mode is 1.
  bool Active() const;

  // The laid-out text the Text tool places.
  void SetText(MonoBitmap text);
  const MonoBitmap& Text() const { return text_; }

  bool Dragging() const { return drag_.has_value(); }
  // Takes back the drag in progress: the picture is as it was before the press.
  void CancelDrag();
  // Ends whatever the tool is doing, for a change of work mode or buffer.
  void Settle();
  // Shift pressed or released during a drag.
  void SetConstrained(bool constrained);
  // Runs after every event of the window: a drag the picture changed under ends, a selection
  // it changed under is forgotten, the text follows the pointer.
  void Poll();

  // The selection: copy, cut and delete need one, paste puts the copied pixels with their top
  // left corner at the pointer. False when there was nothing to act on.
  const PictureSelection& Selection() const { return selection_; }
  bool CopySelection();
  bool CutSelection();
  bool DeleteSelection();
  bool PasteSelection();

 signals:
  void toolChanged(DrawingTool tool);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class DragKind { kStroke, kSelecting, kMoving };
  struct Drag {
    DragKind kind = DragKind::kStroke;
    int buffer = 0;
    Qt::MouseButton button = Qt::NoButton;
    bool lit = true;
    bool constrained = false;
    PixelPoint anchor;
    PixelPoint last;
    PictureBytes before{};    // the buffer at the press
    PictureBytes expected{};  // what the buffer holds while the drag is undisturbed
    bool was_modified = false;
    PictureSelection selection;  // as it was at the press
  };

  void Press(QMouseEvent* event);
  void Move(QMouseEvent* event);
  void Release(QMouseEvent* event);
  void PencilTo(PixelPoint p);
  void ShowShape();
  void PlaceText(PixelPoint at, bool lit);
  void ShowTextAtPointer();
  // The buffer becomes `result` as one step of the history named `label`.
  void Commit(const PictureBytes& result, const char* label);
  // False once something else changed the picture or the current buffer during the drag.
  bool DragUndisturbed() const;
  void UpdateCursor();

  // The selection tool (canvas_selection.cpp).
  void PressSelection(PixelPoint p, Drag drag);
  void MoveSelection(PixelPoint p);
  void ReleaseSelection();
  void CommitSelection(const PictureBytes& result, const char* label);
  // Forgets a selection whose picture something else changed.
  void CheckSelection();
  void DropSelection();
  void ShowMarquee();

  EditorState& state_;
  Editor& editor_;
  CanvasWidget& canvas_;
  ui::Platform& platform_;
  DrawingTool tool_ = DrawingTool::kNone;
  std::optional<Drag> drag_;
  MonoBitmap text_;
  PictureSelection selection_;
  int selection_buffer_ = 0;
  PictureBytes selection_picture_{};  // the buffer as the selection last left it
};

}  // namespace lumigrid
