#include "picture/zoom_view_widget.h"

#include <QPainter>

#include "ui/qt_colour.h"

namespace lumigrid {

ZoomViewWidget::ZoomViewWidget(QWidget* parent)
    : ui::ImageWidget(QSize(kZoomWidth, kZoomWidth), ui::ToQColor(colour::kBackground), parent) {
  ClearView();
}

void ZoomViewWidget::FillSquare(int n, Rgb colour) {
  const Rect r = ZoomSquareRect(n);
  if (r.width == 0) return;
  QPainter painter(&MutableImage());
  painter.fillRect(r.x, r.y, r.width, r.height, ui::ToQColor(colour));
  update(r.x, r.y, r.width, r.height);
}

void ZoomViewWidget::LoadCell(const CellBytes& bytes) {
  // One painter and one update for the whole view: a whole picture changed by a command
  // reloads the open cell, and 64 of each cost more than the canvas redraw.
  QPainter painter(&MutableImage());
  const QColor lit = ui::ToQColor(colour::kPixelLit);
  const QColor unlit = ui::ToQColor(colour::kSquareUnlit);
  for (int n = 1; n <= kZoomSquareCount; ++n) {
    const Rect r = ZoomSquareRect(n);
    const bool on = TestBit(bytes[SquareByte(n) - 1], SquareRow(n)) != 0;
    painter.fillRect(r.x, r.y, r.width, r.height, on ? lit : unlit);
  }
  update();
}

void ZoomViewWidget::ClearView() {
  for (int n = 1; n <= kZoomSquareCount; ++n) FillSquare(n, colour::kViewEmpty);
}

void ZoomViewWidget::PaintSquare(int n, bool lit) {
  FillSquare(n, lit ? colour::kPixelLit : colour::kSquareUnlit);
}

ZoomViewWidget::Hit ZoomViewWidget::SquareAt(QPoint local) {
  for (int n = 1; n <= kZoomSquareCount; ++n) {
    const Rect r = ZoomSquareRect(n);
    if (r.Contains(local.x(), local.y())) return {n, local.x() - r.x, local.y() - r.y};
  }
  return {};
}

}  // namespace lumigrid
