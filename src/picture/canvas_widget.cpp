#include "picture/canvas_widget.h"

#include <QMouseEvent>

#include "ui/qt_colour.h"

namespace lumigrid {

CanvasWidget::CanvasWidget(QWidget* parent)
    : ui::ImageWidget(QSize(kCanvasWidth, kCanvasHeight), ui::ToQColor(colour::kBackground),
                      parent) {
  DrawPicture(PictureBuffer{});
}

void CanvasWidget::RenderCell(int c, const CellBytes& bytes, CellLook look) {
  const Rect r = CanvasCellRect(c);
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
