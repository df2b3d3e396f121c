// The canvas: the current picture enlarged fourfold as 128 cell images. It only draws what it
// is told and reports clicks; the editor decides what they mean.
#pragma once

#include <QImage>
#include <QWidget>

#include "picture/canvas_geometry.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

class CanvasWidget : public QWidget {
  Q_OBJECT

 public:
  explicit CanvasWidget(QWidget* parent = nullptr);

  void DrawCell(int c, const CellBytes& bytes, CellLook look);
  void DrawPicture(const PictureBuffer& picture);  // every cell in the normal colour

  const QImage& Image() const { return image_; }

 signals:
  void cellPressed(int cell, Qt::MouseButton button);
  void cellDoubleClicked(int cell);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void RenderCell(int c, const CellBytes& bytes, CellLook look);

  QImage image_;
};

}  // namespace lumigrid
