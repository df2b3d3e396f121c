// Drawing primitives of the tools on the canvas: lines, rectangles, ellipses and the flood
// fill, on picture pixels. Shapes are lists of pixels that may reach past the picture's edges;
// plotting drops what falls outside.
#pragma once

#include <bitset>
#include <span>
#include <vector>

#include "picture/picture_buffer.h"

namespace lumigrid {

// Bresenham's line, both ends included: one pixel per step along the longer axis, the other
// coordinate rounded to the nearest pixel (halves away from the end with the smaller
// coordinate along the longer axis). The same pixels whichever end comes first.
std::vector<PixelPoint> LinePixels(PixelPoint a, PixelPoint b);

// The end of a line from `from` held to the nearest of the eight directions 45 degrees apart
// (Shift). A diagonal keeps the longer of the two distances.
PixelPoint SnapTo45Degrees(PixelPoint from, PixelPoint to);
// The corner opposite `from` of the square on the longer side of the box from `from` to `to`,
// on the side of `to` (Shift for rectangles and ellipses).
PixelPoint SnapToSquare(PixelPoint from, PixelPoint to);

// The outline, or the whole area, of the box with corners a and b (any two opposite ones).
std::vector<PixelPoint> RectanglePixels(PixelPoint a, PixelPoint b, bool filled);

// The midpoint ellipse inscribed in the box with corners a and b: it touches all four sides,
// is symmetric about both axes of the box and is an 8-connected closed curve one pixel thin.
// A box one pixel wide or high gives a straight line.
std::vector<PixelPoint> EllipsePixels(PixelPoint a, PixelPoint b);

// Lights (or clears) the listed pixels that lie inside the picture.
void PlotPixels(PictureBuffer& picture, std::span<const PixelPoint> pixels, bool lit);

// 4-connected flood fill: the region of pixels of the seed's colour reachable from the seed
// through left, right, up and down neighbours takes the colour `lit`. False, with nothing
// changed, for a seed outside the picture or already of that colour.
bool FloodFill(PictureBuffer& picture, PixelPoint seed, bool lit);

// Cells (bit c - 1 for cell c) for redrawing only what a change touched.
using CellSet = std::bitset<kCellCount>;
CellSet CellsOfPixels(std::span<const PixelPoint> pixels);
CellSet DifferingCells(const PictureBytes& a, const PictureBytes& b);

}  // namespace lumigrid
