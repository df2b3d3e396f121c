#include "picture/canvas_tools.h"

#include <QMouseEvent>

#include "edit/draw.h"
#include "picture/canvas_widget.h"
#include "picture/editor.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

QPoint At(const QMouseEvent* event) { return event->position().toPoint(); }

}  // namespace

CanvasTools::CanvasTools(EditorState& state, Editor& editor, CanvasWidget& canvas,
                         ui::Platform& platform, QObject* parent)
    : QObject(parent), state_(state), editor_(editor), canvas_(canvas), platform_(platform) {
  canvas_.installEventFilter(this);
  // An undo, a new picture or a file opened changes the picture as a whole.
  connect(&editor_, &Editor::canvasRedrawn, this, &CanvasTools::Poll);
}

bool CanvasTools::Active() const { return tool_ != DrawingTool::kNone && state_.WorkMode() == 1; }

void CanvasTools::SetTool(DrawingTool tool) {
  Settle();
  tool_ = tool;
  UpdateCursor();
  emit toolChanged(tool);
}

void CanvasTools::SetText(MonoBitmap text) {
  text_ = std::move(text);
  ShowTextAtPointer();
}

void CanvasTools::UpdateCursor() {
  if (Active()) {
    canvas_.setCursor(Qt::CrossCursor);
  } else {
    canvas_.unsetCursor();
  }
}

void CanvasTools::Settle() {
  CancelDrag();
  DropSelection();
  editor_.EndPreview();
  UpdateCursor();
}

bool CanvasTools::DragUndisturbed() const {
  return drag_ && drag_->buffer == state_.CurrentBuffer() &&
         state_.Current().Bytes() == drag_->expected;
}

void CanvasTools::CancelDrag() {
  if (!drag_) return;
  if (DragUndisturbed()) {
    if (tool_ == DrawingTool::kPencil) {
      // The pencil drew into the picture as it went: put back what was there.
      const CellSet cells = DifferingCells(state_.Current().Bytes(), drag_->before);
      state_.Current().Bytes() = drag_->before;
      state_.Current().SetModified(drag_->was_modified);
      editor_.CellsChanged(cells);
    }
    if (drag_->kind != DragKind::kStroke) selection_ = drag_->selection;
  }
  drag_.reset();
  editor_.EndPreview();
  ShowMarquee();
}

void CanvasTools::SetConstrained(bool constrained) {
  if (!drag_ || drag_->constrained == constrained) return;
  drag_->constrained = constrained;
  if (IsShapeTool(tool_) && DragUndisturbed()) ShowShape();
}

void CanvasTools::Poll() {
  if (drag_ && !DragUndisturbed()) {
    // An undo, a buffer switch or a command changed the picture under the drag: it ends
    // without drawing.
    drag_.reset();
    editor_.EndPreview();
  }
  CheckSelection();
  if (!drag_) ShowTextAtPointer();
}

bool CanvasTools::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &canvas_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (!Active()) return false;
      Press(static_cast<QMouseEvent*>(event));
      return true;
    case QEvent::MouseMove:
      if (!Active()) return false;
      Move(static_cast<QMouseEvent*>(event));
      return true;
    case QEvent::MouseButtonRelease:
      if (!Active()) return false;
      Release(static_cast<QMouseEvent*>(event));
      return true;
    default:
      return false;
  }
}

void CanvasTools::Press(QMouseEvent* event) {
  Poll();
  if (drag_) return;  // a second button during a drag changes nothing
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  const std::optional<PixelPoint> p = CanvasPixelAt(At(event).x(), At(event).y());
  if (!p) return;  // the gap between the crystals or the margin
  const bool lit = button == Qt::LeftButton;
  PictureBuffer& picture = state_.Current();

  switch (tool_) {
    case DrawingTool::kFill: {
      PictureBuffer filled = picture;
      if (FloodFill(filled, *p, lit)) Commit(filled.Bytes(), ToolStepName(tool_));
      return;
    }
    case DrawingTool::kText:
      PlaceText(*p, lit);
      return;
    default:
      break;
  }

  Drag drag;
  drag.buffer = state_.CurrentBuffer();
  drag.button = button;
  drag.lit = lit;
  drag.constrained = event->modifiers() & Qt::ShiftModifier;
  drag.anchor = drag.last = *p;
  drag.before = drag.expected = picture.Bytes();
  drag.was_modified = picture.Modified();
  if (tool_ == DrawingTool::kSelection) {
    if (button == Qt::LeftButton) PressSelection(*p, drag);
    return;
  }
  drag_ = drag;
  if (tool_ == DrawingTool::kPencil) {
    PencilTo(*p);
  } else {
    ShowShape();
  }
}

void CanvasTools::PencilTo(PixelPoint p) {
  PictureBuffer& picture = state_.Current();
  const PictureBytes was = picture.Bytes();
  // The whole way from the last point: a fast drag leaves no gaps.
  PlotPixels(picture, LinePixels(drag_->last, p), drag_->lit);
  drag_->last = p;
  drag_->expected = picture.Bytes();
  if (picture.Bytes() == was) return;
  state_.MarkModified(drag_->buffer);
  editor_.CellsChanged(DifferingCells(was, picture.Bytes()));
}

void CanvasTools::ShowShape() {
  PictureBuffer preview;
  preview.Bytes() = drag_->before;
  PlotPixels(preview, ShapePixels(tool_, drag_->anchor, drag_->last, drag_->constrained),
             drag_->lit);
  editor_.ShowPreview(preview.Bytes());
}

void CanvasTools::Move(QMouseEvent* event) {
  Poll();
  if (!drag_) return;
  const PixelPoint p = NearestCanvasPixel(At(event).x(), At(event).y());
  const bool constrained = event->modifiers() & Qt::ShiftModifier;
  if (p == drag_->last && constrained == drag_->constrained) return;
  drag_->constrained = constrained;
  if (drag_->kind != DragKind::kStroke) {
    MoveSelection(p);
  } else if (tool_ == DrawingTool::kPencil) {
    PencilTo(p);
  } else {
    drag_->last = p;
    ShowShape();
  }
}

void CanvasTools::Release(QMouseEvent* event) {
  if (!drag_ || event->button() != drag_->button) return;
  Move(event);
  if (!drag_) return;
  if (drag_->kind != DragKind::kStroke) {
    ReleaseSelection();
    return;
  }
  const Drag drag = *drag_;
  drag_.reset();
  if (tool_ == DrawingTool::kPencil) {
    // Drawn already; the stroke from press to release is one step.
    state_.RecordEdit(drag.buffer, ToolStepName(tool_));
    return;
  }
  PictureBuffer result;
  result.Bytes() = drag.before;
  PlotPixels(result, ShapePixels(tool_, drag.anchor, drag.last, drag.constrained), drag.lit);
  Commit(result.Bytes(), ToolStepName(tool_));
}

void CanvasTools::PlaceText(PixelPoint at, bool lit) {
  if (text_.Empty()) return;
  PictureBytes result = state_.Current().Bytes();
  StampBitmap(result, text_, at.x, at.y, lit ? StampMode::kLitOnly : StampMode::kLitClears);
  Commit(result, ToolStepName(DrawingTool::kText));
  ShowTextAtPointer();
}

void CanvasTools::ShowTextAtPointer() {
  if (tool_ != DrawingTool::kText || !Active() || text_.Empty()) return;
  const QPoint local = canvas_.mapFromGlobal(platform_.PointerPosition());
  if (!canvas_.rect().contains(local)) {
    editor_.EndPreview();
    return;
  }
  // Over the gap between the crystals the text stays where it was.
  const std::optional<PixelPoint> p = CanvasPixelAt(local.x(), local.y());
  if (!p) return;
  PictureBytes preview = state_.Current().Bytes();
  StampBitmap(preview, text_, p->x, p->y);
  editor_.ShowPreview(preview);
}

void CanvasTools::Commit(const PictureBytes& result, const char* label) {
  const int b = state_.CurrentBuffer();
  PictureBuffer& picture = state_.Current();
  const PictureBytes before = picture.Bytes();
  picture.Bytes() = result;
  editor_.EndPreview();
  if (result == before) return;
  state_.MarkModified(b);
  state_.RecordEdit(b, label);
  editor_.CellsChanged(DifferingCells(before, result));
}

}  // namespace lumigrid
