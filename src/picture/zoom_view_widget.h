// The enlarged view of the open cell: 64 squares of 16 x 16 with 1-pixel white gaps.
#pragma once

#include <QImage>
#include <QWidget>

#include "picture/canvas_geometry.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

class ZoomViewWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ZoomViewWidget(QWidget* parent = nullptr);

  void LoadCell(const CellBytes& bytes);
  void ClearView();  // every square grey: no cell open
  void PaintSquare(int n, bool lit);

  // The square under a point in widget coordinates (0: none) and the offset inside it.
  struct Hit {
    int square = 0;
    int dx = 0;
    int dy = 0;
  };
  static Hit SquareAt(QPoint local);

  const QImage& Image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void FillSquare(int n, Rgb colour);

  QImage image_;
};

}  // namespace lumigrid
