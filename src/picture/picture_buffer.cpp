#include "picture/picture_buffer.h"

namespace lumigrid {

uint8_t PictureBuffer::Byte(int c, int k) const {
  if (!IsValidCell(c) || !IsValidCellByte(k)) return 0;
  return bytes_[ByteOffset(c, k)];
}

void PictureBuffer::SetByte(int c, int k, uint8_t value) {
  if (!IsValidCell(c) || !IsValidCellByte(k)) return;
  bytes_[ByteOffset(c, k)] = value;
}

CellBytes PictureBuffer::Cell(int c) const {
  CellBytes cell{};
  for (int k = 1; k <= kBytesPerCell; ++k) cell[k - 1] = Byte(c, k);
  return cell;
}

void PictureBuffer::SetCell(int c, const CellBytes& bytes) {
  for (int k = 1; k <= kBytesPerCell; ++k) SetByte(c, k, bytes[k - 1]);
}

bool PictureBuffer::Pixel(int x, int y) const {
  const PixelAddress a = PixelToAddress(x, y);
  return a.cell != 0 && TestBit(Byte(a.cell, a.byte), a.row) != 0;
}

void PictureBuffer::SetPixel(int x, int y, bool lit) {
  const PixelAddress a = PixelToAddress(x, y);
  if (a.cell != 0) SetCellPixel(a.cell, a.byte, a.row, lit);
}

void PictureBuffer::SetCellPixel(int c, int k, int r, bool lit) {
  const uint8_t mask = RowMask(r);
  if (mask == 0) return;
  const uint8_t old = Byte(c, k);
  SetByte(c, k, lit ? (old | mask) : (old & static_cast<uint8_t>(0xFF - mask)));
}

}  // namespace lumigrid
