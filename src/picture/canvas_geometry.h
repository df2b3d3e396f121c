// Where the canvas cells and the enlarged view's squares lie, and their colours.
#pragma once

#include <cstdint>
#include <optional>

#include "picture/geometry.h"
#include "picture/rgb.h"

namespace lumigrid {

namespace colour {
inline constexpr Rgb kCellNormal{97, 213, 155};
inline constexpr Rgb kCellOpen{148, 255, 164};
inline constexpr Rgb kCellHover{18, 237, 237};
inline constexpr Rgb kPixelLit{0, 0, 0};
inline constexpr Rgb kSquareUnlit{97, 213, 155};
inline constexpr Rgb kViewEmpty{154, 154, 154};
inline constexpr Rgb kBackground{255, 255, 255};
}  // namespace colour

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Contains(int px, int py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Canvas: 128 cells of 32 x 32 (every pixel a 4 x 4 square) in a white area of 530 x 264.
constexpr int kCanvasWidth = 530;
constexpr int kCanvasHeight = 264;
constexpr int kCanvasCellSize = 32;
constexpr int kCanvasPixelSize = 4;

// Cell c in canvas coordinates: 1 pixel apart, with a 3-pixel gap between the crystals.
Rect CanvasCellRect(int c);
// The cell at a canvas point, or 0 over a gap or outside.
int CanvasCellAt(int x, int y);

// The picture pixel under a canvas point, at pixel precision: inside a cell each pixel is its
// 4 x 4 square; the 1-pixel gap right of or below a cell belongs to the cell's last column or
// row, so a drag across cells passes no gap. The 3-pixel gap between the crystals and the
// 1-pixel margin at the top and left are no pixel.
std::optional<PixelPoint> CanvasPixelAt(int x, int y);
// The pixel nearest to a canvas point, for a drag that leaves the picture or crosses a gap.
PixelPoint NearestCanvasPixel(int x, int y);
// The 4 x 4 square of a picture pixel on the canvas.
Rect CanvasPixelRect(PixelPoint p);

// Enlarged view: 64 squares of 16 x 16 with 1-pixel gaps in a white area of 136 x 136.
// Squares are numbered column by column: square n = 8 (k - 1) + r.
constexpr int kZoomWidth = 136;
constexpr int kZoomSquareSize = 16;
constexpr int kZoomSquareCount = 64;

constexpr int SquareByte(int n) { return (n - 1) / 8 + 1; }
constexpr int SquareRow(int n) { return (n - 1) % 8 + 1; }
constexpr int SquareNumber(int k, int r) { return 8 * (k - 1) + r; }
Rect ZoomSquareRect(int n);

}  // namespace lumigrid

namespace lumigrid {

// How a canvas cell is drawn: normal, as the open cell, or under the pointer.
enum class CellLook { kNormal = 0, kOpen = 1, kHover = 2 };

constexpr Rgb CellBackground(CellLook look) {
  switch (look) {
    case CellLook::kOpen:
      return colour::kCellOpen;
    case CellLook::kHover:
      return colour::kCellHover;
    case CellLook::kNormal:
      break;
  }
  return colour::kCellNormal;
}

}  // namespace lumigrid
