#include "picture/canvas_geometry.h"

namespace lumigrid {

Rect CanvasCellRect(int c) {
  if (!IsValidCell(c)) return {};
  const int g = CellPlaceInRow(c);
  const int x = 1 + 33 * g + (g >= kCellsPerCrystalRow ? 2 : 0);
  const int y = 1 + 33 * CellPageRow(c);
  return {x, y, kCanvasCellSize, kCanvasCellSize};
}

int CanvasCellAt(int x, int y) {
  for (int c = 1; c <= kCellCount; ++c) {
    if (CanvasCellRect(c).Contains(x, y)) return c;
  }
  return 0;
}

Rect ZoomSquareRect(int n) {
  if (n < 1 || n > kZoomSquareCount) return {};
  return {1 + 17 * (SquareByte(n) - 1), 1 + 17 * (SquareRow(n) - 1), kZoomSquareSize,
          kZoomSquareSize};
}

}  // namespace lumigrid
