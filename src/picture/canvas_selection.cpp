// The selection tool of CanvasTools: dragging out a rectangle, moving it, and its copy, cut,
// paste and delete.
#include "edit/draw.h"
#include "picture/canvas_tools.h"
#include "picture/canvas_widget.h"
#include "picture/editor.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

// The dashed frame around the pixels of r on the canvas.
std::optional<Rect> MarqueeOf(const PixelRect& r) {
  const PixelRect on_picture = ClipToPicture(r);
  if (on_picture.Empty()) return std::nullopt;
  const Rect first = CanvasPixelRect({on_picture.x, on_picture.y});
  const Rect last =
      CanvasPixelRect({on_picture.x + on_picture.width - 1, on_picture.y + on_picture.height - 1});
  return Rect{first.x, first.y, last.x + last.width - first.x, last.y + last.height - first.y};
}

}  // namespace

void CanvasTools::PressSelection(PixelPoint p, Drag drag) {
  CheckSelection();
  drag.selection = selection_;
  const PixelRect& r = selection_.Rect();
  if (ClipToPicture(r).Contains(p)) {
    // Grabbed: `anchor` keeps where in the selection it was taken.
    drag.kind = DragKind::kMoving;
    drag.anchor = {p.x - r.x, p.y - r.y};
  } else {
    DropSelection();
    drag.kind = DragKind::kSelecting;
    canvas_.SetMarquee(std::nullopt);
  }
  drag_ = drag;
}

void CanvasTools::MoveSelection(PixelPoint p) {
  drag_->last = p;
  if (drag_->kind == DragKind::kSelecting) {
    canvas_.SetMarquee(MarqueeOf(RectBetween(drag_->anchor, p)));
    return;
  }
  // The first move lifts the pixels; the buffer keeps them until the release.
  editor_.ShowPreview(
      selection_.MoveTo(drag_->before, {p.x - drag_->anchor.x, p.y - drag_->anchor.y}));
  ShowMarquee();
}

void CanvasTools::ReleaseSelection() {
  const Drag drag = *drag_;
  drag_.reset();
  if (drag.kind == DragKind::kSelecting) {
    // A click without a drag leaves nothing selected.
    if (drag.last != drag.anchor) {
      selection_.Select(RectBetween(drag.anchor, drag.last));
      selection_buffer_ = drag.buffer;
      selection_picture_ = drag.before;
    }
    ShowMarquee();
    return;
  }
  // Dropped where the drag ended (a click on the selection moved nothing).
  if (selection_.Floating()) {
    CommitSelection(selection_.Picture(), ToolStepName(DrawingTool::kSelection));
  }
}

void CanvasTools::CommitSelection(const PictureBytes& result, const char* label) {
  Commit(result, label);
  selection_buffer_ = state_.CurrentBuffer();
  selection_picture_ = state_.Current().Bytes();
  ShowMarquee();
}

void CanvasTools::CheckSelection() {
  if (!selection_.Active() || drag_) return;
  if (selection_buffer_ != state_.CurrentBuffer() ||
      selection_picture_ != state_.Current().Bytes()) {
    selection_.Clear();
    ShowMarquee();
  }
}

void CanvasTools::DropSelection() {
  selection_.Clear();
  ShowMarquee();
}

void CanvasTools::ShowMarquee() { canvas_.SetMarquee(MarqueeOf(selection_.Rect())); }

bool CanvasTools::CopySelection() {
  CheckSelection();
  if (!selection_.Active() || drag_) return false;
  state_.PixelClipboard() = selection_.Content(state_.Current().Bytes());
  return true;
}

bool CanvasTools::CutSelection() {
  if (!CopySelection()) return false;
  CommitSelection(selection_.Remove(state_.Current().Bytes()), "вырезание");
  return true;
}

bool CanvasTools::DeleteSelection() {
  CheckSelection();
  if (!selection_.Active() || drag_) return false;
  CommitSelection(selection_.Remove(state_.Current().Bytes()), "удаление");
  return true;
}

bool CanvasTools::PasteSelection() {
  CheckSelection();
  if (state_.PixelClipboard().Empty() || drag_) return false;
  const QPoint local = canvas_.mapFromGlobal(platform_.PointerPosition());
  const PixelPoint at = NearestCanvasPixel(local.x(), local.y());
  CommitSelection(selection_.Float(state_.Current().Bytes(), state_.PixelClipboard(), at),
                  "вставка");
  return true;
}

}  // namespace lumigrid
