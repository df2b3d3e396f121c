#include "test_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "app/startup.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/zoom_view_widget.h"

namespace lumigrid::testing_support {

void MainWindowTest::SetUp() {
  window_ = CreateMainWindow(platform_, settings_);
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
}

void MainWindowTest::TearDown() {
  window_.reset();
  QApplication::processEvents();
}

void MainWindowTest::MovePointer(QWidget* widget, QPoint local, Qt::MouseButtons buttons) {
  const QPoint global = widget->mapToGlobal(local);
  platform_.SetPointer(global, buttons);
  QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(global), Qt::NoButton, buttons,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

QPoint MainWindowTest::CellCentre(int c) {
  const Rect r = CanvasCellRect(c);
  return {r.x + r.width / 2, r.y + r.height / 2};
}

void MainWindowTest::ClickCell(int c, Qt::MouseButton button) {
  CanvasWidget* canvas = window_->Canvas();
  platform_.SetPointer(canvas->mapToGlobal(CellCentre(c)));
  QTest::mouseClick(canvas, button, Qt::NoModifier, CellCentre(c));
}

void MainWindowTest::DoubleClickCell(int c) {
  CanvasWidget* canvas = window_->Canvas();
  platform_.SetPointer(canvas->mapToGlobal(CellCentre(c)));
  QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, CellCentre(c));
}

void MainWindowTest::PointAtSquare(int n, int dx, int dy, Qt::MouseButtons buttons) {
  const Rect r = ZoomSquareRect(n);
  MovePointer(window_->CellSidePanel()->ZoomView(), QPoint(r.x + dx, r.y + dy), buttons);
}

QImage MainWindowTest::CanvasShot() { return window_->Canvas()->grab().toImage(); }

QImage MainWindowTest::ZoomShot() { return window_->CellSidePanel()->ZoomView()->grab().toImage(); }

QColor At(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

}  // namespace lumigrid::testing_support
