// Display-memory geometry of a 128 x 64 module built from two KS0107/KS0108 controllers
// ("crystals") of 64 columns each. Buffers, cells, bytes and rows count from 1; pages and
// segments of display memory from 0.
#pragma once

#include <compare>
#include <cstdint>

namespace lumigrid {

constexpr int kPictureWidth = 128;
constexpr int kPictureHeight = 64;
constexpr int kBufferCount = 10;
constexpr int kCellCount = 128;
constexpr int kBytesPerCell = 8;
constexpr int kCellsPerPageRow = 16;    // 8 per crystal
constexpr int kCellsPerCrystalRow = 8;  // column groups of one crystal
constexpr int kPageCount = 8;
constexpr int kSegmentsPerCrystal = 64;
constexpr int kPictureBytes = kCellCount * kBytesPerCell;  // 1024

constexpr bool IsValidBuffer(int b) { return b >= 1 && b <= kBufferCount; }
constexpr bool IsValidCell(int c) { return c >= 1 && c <= kCellCount; }
constexpr bool IsValidCellByte(int k) { return k >= 1 && k <= kBytesPerCell; }

// Where a cell lies, as shown to the user: all three values count from 1.
// `group` is the cell's column group 1..8 inside its crystal ("Сегмент" on screen),
// not a segment address; the cell's first segment is 8 * (group - 1).
struct CellPlace {
  int crystal = 0;  // 1 or 2
  int page = 0;     // 1..8
  int group = 0;    // 1..8
  friend bool operator==(const CellPlace&, const CellPlace&) = default;
};

// Position of cell c (1..128). Out-of-range cells give all zeros.
CellPlace CellPosition(int c);

// Mask of row r (1..8, top row = bit 0) inside a display byte.
constexpr uint8_t RowMask(int r) {
  return (r >= 1 && r <= 8) ? static_cast<uint8_t>(1u << (r - 1)) : uint8_t{0};
}

// value AND the mask of row r: non-zero when the pixel is lit; 0 for r outside 1..8.
constexpr int TestBit(int value, int r) { return value & RowMask(r); }

// A pixel of the picture: x 0..127 across, y 0..63 down (drawing may reach past the edges).
struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
  friend auto operator<=>(const PixelPoint&, const PixelPoint&) = default;
};

constexpr bool IsInPicture(PixelPoint p) {
  return p.x >= 0 && p.x < kPictureWidth && p.y >= 0 && p.y < kPictureHeight;
}

// Address of one pixel inside a picture.
struct PixelAddress {
  int cell = 0;  // 1..128
  int byte = 0;  // 1..8, left column first
  int row = 0;   // 1..8, top first (bit row - 1)
};

PixelAddress PixelToAddress(int x, int y);

// Offset 0..1023 of byte k of cell c in the cell walk (file and display-memory order).
constexpr int ByteOffset(int c, int k) { return (c - 1) * kBytesPerCell + (k - 1); }

// Place 0..15 of cell c in its page row, and its page row 0..7.
constexpr int CellPlaceInRow(int c) { return (c - 1) % kCellsPerPageRow; }
constexpr int CellPageRow(int c) { return (c - 1) / kCellsPerPageRow; }

// Display byte of cell c, byte k: crystal 1..2, page 0..7, segment 0..63.
struct DisplayByte {
  int crystal = 0;
  int page = 0;
  int segment = 0;
};
DisplayByte CellByteToDisplay(int c, int k);

}  // namespace lumigrid
