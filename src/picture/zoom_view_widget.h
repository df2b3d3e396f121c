// The enlarged view of the open cell: 64 squares of 16 x 16 with 1-pixel white gaps.
#pragma once

#include "picture/canvas_geometry.h"
#include "picture/picture_buffer.h"
#include "ui/image_widget.h"

namespace lumigrid {

class ZoomViewWidget : public ui::ImageWidget {
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

 protected:
 private:
  void FillSquare(int n, Rgb colour);
};

}  // namespace lumigrid
