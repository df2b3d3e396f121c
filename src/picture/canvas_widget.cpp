#include "picture/canvas_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/qt_colour.h"

namespace lumigrid {

CanvasWidget::CanvasWidget(QWidget* parent)
    : ui::ImageWidget(QSize(kCanvasWidth, kCanvasHeight), ui::ToQColor(colour::kBackground),
                      parent) {
  DrawPicture(PictureBuffer{});
  // A click takes the keyboard focus, so the tool keys work right after it.
  setFocusPolicy(Qt::ClickFocus);
}

void CanvasWidget::RenderCell(int c, const CellBytes& bytes, CellLook look) {
  const Rect r = CanvasCellRect(c);
  looks_[c - 1] = look;
  const QRgb background = ui::ToQColor(CellBackground(look)).rgb();
  const QRgb lit = ui::ToQColor(colour::kPixelLit).rgb();
  for (int y = 0; y < kCanvasCellSize; ++y) {
    auto* line = reinterpret_cast<QRgb*>(MutableImage().scanLine(r.y + y)) + r.x;
    const int row = y / kCanvasPixelSize + 1;
    for (int x = 0; x < kCanvasCellSize; ++x) {
      line[x] = TestBit(bytes[x / kCanvasPixelSize], row) ? lit : background;
    }
  }
}

void CanvasWidget::DrawCell(int c, const CellBytes& bytes, CellLook look) {
  if (!IsValidCell(c)) return;
  RenderCell(c, bytes, look);
  const Rect r = CanvasCellRect(c);
  update(r.x, r.y, r.width, r.height);
}

void CanvasWidget::DrawPicture(const PictureBuffer& picture) {
  for (int c = 1; c <= kCellCount; ++c) RenderCell(c, picture.Cell(c), CellLook::kNormal);
  update();
}

CellLook CanvasWidget::DrawnLook(int c) const {
  return IsValidCell(c) ? looks_[c - 1] : CellLook::kNormal;
}

void CanvasWidget::UpdateFrame(const Rect& frame) {
  update(frame.x - 1, frame.y - 1, frame.width + 2, frame.height + 2);
}

void CanvasWidget::SetMarquee(std::optional<Rect> frame) {
  if (frame == marquee_) return;
  if (marquee_) UpdateFrame(*marquee_);
  marquee_ = frame;
  if (marquee_) UpdateFrame(*marquee_);
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
  ui::ImageWidget::paintEvent(event);
  if (!marquee_) return;
  QPainter painter(this);
  const QRect frame(marquee_->x, marquee_->y, marquee_->width - 1, marquee_->height - 1);
  // Black dashes on white show on lit and unlit pixels alike.
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(frame);
  QPen dashes(Qt::black, 1, Qt::CustomDashLine);
  dashes.setDashPattern({2, 2});
  painter.setPen(dashes);
  painter.drawRect(frame);
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (const int c = CanvasCellAt(p.x(), p.y())) emit cellPressed(c, event->button());
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const int c = CanvasCellAt(p.x(), p.y());
  if (c != 0 && event->button() == Qt::LeftButton) emit cellDoubleClicked(c);
}

}  // namespace lumigrid
