#include "edit/mono_bitmap.h"

#include <algorithm>

#include "picture/geometry.h"

namespace lumigrid {
namespace {

bool PicturePixel(const PictureBytes& picture, int x, int y) {
  const PixelAddress a = PixelToAddress(x, y);
  return a.cell != 0 && TestBit(picture[ByteOffset(a.cell, a.byte)], a.row) != 0;
}

void SetPicturePixel(PictureBytes& picture, int x, int y, bool lit) {
  const PixelAddress a = PixelToAddress(x, y);
  if (a.cell == 0) return;
  uint8_t& byte = picture[ByteOffset(a.cell, a.byte)];
  const uint8_t mask = RowMask(a.row);
  byte = lit ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
}

}  // namespace

MonoBitmap::MonoBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

bool MonoBitmap::Get(int x, int y) const {
  return Contains(x, y) && pixels_[static_cast<size_t>(y) * width_ + x] != 0;
}

void MonoBitmap::Set(int x, int y, bool lit) {
  if (Contains(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = lit ? 1 : 0;
}

int MonoBitmap::LitCount() const {
  return static_cast<int>(std::count(pixels_.begin(), pixels_.end(), uint8_t{1}));
}

void StampBitmap(PictureBytes& picture, const MonoBitmap& bitmap, int x, int y, StampMode mode) {
  // Only the part of the bitmap over the picture; the bounds are clamped in 64 bits so a
  // position far outside cannot overflow.
  const int64_t first_column = std::max<int64_t>(0, -int64_t{x});
  const int64_t last_column = std::min<int64_t>(bitmap.Width(), int64_t{kPictureWidth} - x);
  const int64_t first_row = std::max<int64_t>(0, -int64_t{y});
  const int64_t last_row = std::min<int64_t>(bitmap.Height(), int64_t{kPictureHeight} - y);
  for (int64_t by = first_row; by < last_row; ++by) {
    for (int64_t bx = first_column; bx < last_column; ++bx) {
      const bool lit = bitmap.Get(static_cast<int>(bx), static_cast<int>(by));
      if (lit || mode == StampMode::kOpaque) {
        SetPicturePixel(picture, static_cast<int>(x + bx), static_cast<int>(y + by), lit);
      }
    }
  }
}

MonoBitmap CopyFromPicture(const PictureBytes& picture, int x, int y, int width, int height) {
  MonoBitmap bitmap(width, height);
  for (int by = 0; by < bitmap.Height(); ++by) {
    for (int bx = 0; bx < bitmap.Width(); ++bx) {
      const int64_t px = int64_t{x} + bx, py = int64_t{y} + by;
      if (px >= 0 && px < kPictureWidth && py >= 0 && py < kPictureHeight) {
        bitmap.Set(bx, by, PicturePixel(picture, static_cast<int>(px), static_cast<int>(py)));
      }
    }
  }
  return bitmap;
}

}  // namespace lumigrid
