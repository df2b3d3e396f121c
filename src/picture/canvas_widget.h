// The canvas: the current picture enlarged fourfold as 128 cell images. It only draws what it
// is told and reports clicks; the editor decides what they mean.
#pragma once

#include <array>
#include <optional>

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
  // The look cell c was last drawn in.
  CellLook DrawnLook(int c) const;

  // A dashed frame over the canvas (a selection), in canvas coordinates; none to remove it.
  void SetMarquee(std::optional<Rect> frame);
  std::optional<Rect> Marquee() const { return marquee_; }

 signals:
  void cellPressed(int cell, Qt::MouseButton button);
  void cellDoubleClicked(int cell);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void RenderCell(int c, const CellBytes& bytes, CellLook look);
  void UpdateFrame(const Rect& frame);

  std::array<CellLook, kCellCount> looks_{};
  std::optional<Rect> marquee_;
};

}  // namespace lumigrid
