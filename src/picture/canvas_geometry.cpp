#include "picture/canvas_geometry.h"

#include <algorithm>

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

namespace {

constexpr int kCellPitch = kCanvasCellSize + 1;
constexpr int kCrystalGap = 2;  // beyond the 1-pixel gap every cell has
constexpr int kSecondCrystalLeft = 1 + kCellPitch * kCellsPerCrystalRow + kCrystalGap;

// Column or row 0..7 of a cell from an offset 0..32 inside its pitch (32: the gap after it).
constexpr int InCell(int offset) { return std::min(offset / kCanvasPixelSize, 7); }

// Picture column under canvas column x; -1 over the crystal gap, -2 left of the picture and
// -3 right of it.
int ColumnAt(int x) {
  if (x < 1) return -2;
  if (x < kSecondCrystalLeft - kCrystalGap - 1)
    return 8 * ((x - 1) / kCellPitch) + InCell((x - 1) % kCellPitch);
  if (x < kSecondCrystalLeft) return -1;
  const int from = x - kSecondCrystalLeft;
  if (from >= kCellsPerCrystalRow * kCellPitch - 1) return -3;
  return kSegmentsPerCrystal + 8 * (from / kCellPitch) + InCell(from % kCellPitch);
}

// Picture row under canvas row y; -2 above the picture, -3 below it.
int RowAt(int y) {
  if (y < 1) return -2;
  if (y >= 1 + kPageCount * kCellPitch - 1) return -3;
  return 8 * ((y - 1) / kCellPitch) + InCell((y - 1) % kCellPitch);
}

}  // namespace

std::optional<PixelPoint> CanvasPixelAt(int x, int y) {
  const int column = ColumnAt(x);
  const int row = RowAt(y);
  if (column < 0 || row < 0) return std::nullopt;
  return PixelPoint{column, row};
}

PixelPoint NearestCanvasPixel(int x, int y) {
  int column = ColumnAt(x);
  if (column == -1) {
    // The middle of the crystal gap goes to the first crystal.
    column = x <= kSecondCrystalLeft - kCrystalGap ? kSegmentsPerCrystal - 1 : kSegmentsPerCrystal;
  } else if (column == -2) {
    column = 0;
  } else if (column == -3) {
    column = kPictureWidth - 1;
  }
  int row = RowAt(y);
  if (row == -2) row = 0;
  if (row == -3) row = kPictureHeight - 1;
  return {column, row};
}

Rect CanvasPixelRect(PixelPoint p) {
  if (!IsInPicture(p)) return {};
  const Rect cell = CanvasCellRect(PixelToAddress(p.x, p.y).cell);
  return {cell.x + kCanvasPixelSize * (p.x % 8), cell.y + kCanvasPixelSize * (p.y % 8),
          kCanvasPixelSize, kCanvasPixelSize};
}

Rect ZoomSquareRect(int n) {
  if (n < 1 || n > kZoomSquareCount) return {};
  return {1 + 17 * (SquareByte(n) - 1), 1 + 17 * (SquareRow(n) - 1), kZoomSquareSize,
          kZoomSquareSize};
}

}  // namespace lumigrid
