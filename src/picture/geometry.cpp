#include "picture/geometry.h"

namespace lumigrid {

CellPlace CellPosition(int c) {
  if (!IsValidCell(c)) return {};
  const int page = (c - 1) / kCellsPerPageRow + 1;
  const int column = c - kCellsPerPageRow * (page - 1);  // 1..16 across the page row
  if (column > kCellsPerCrystalRow) return {2, page, column - kCellsPerCrystalRow};
  return {1, page, column};
}

PixelAddress PixelToAddress(int x, int y) {
  if (x < 0 || x >= kPictureWidth || y < 0 || y >= kPictureHeight) return {};
  return {kCellsPerPageRow * (y / 8) + x / 8 + 1, x % 8 + 1, y % 8 + 1};
}

DisplayByte CellByteToDisplay(int c, int k) {
  if (!IsValidCell(c) || !IsValidCellByte(k)) return {};
  const int g = CellPlaceInRow(c);
  return {g < kCellsPerCrystalRow ? 1 : 2, CellPageRow(c),
          kCellsPerCrystalRow * (g % kCellsPerCrystalRow) + (k - 1)};
}

}  // namespace lumigrid
