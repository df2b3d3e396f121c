// The canvas: the current picture enlarged fourfold as 128 cell images. It only draws what it
// is told and reports clicks; the editor decides what they mean.
#pragma once

#include "picture/canvas_geometry.h"
#include "picture/picture_buffer.h"
#include "ui/image_widget.h"

namespace lumigrid {

class CanvasWidget : public ui::ImageWidget {
  Q_OBJECT

 public:
  explicit CanvasWidget(QWidget* parent = nullptr);

  void DrawCell(int c, const CellBytes& bytes, CellLook look);
  void DrawPicture(const PictureBuffer& picture);  // every cell in the normal colour

 signals:
  void cellPressed(int cell, Qt::MouseButton button);
  void cellDoubleClicked(int cell);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void RenderCell(int c, const CellBytes& bytes, CellLook look);
};

}  // namespace lumigrid
