// A small one-bit image: text laid out for stamping, a lifted selection. Pixel (x, y) counts
// from the top left corner, x across.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/picture_buffer.h"

namespace lumigrid {

class MonoBitmap {
 public:
  MonoBitmap() = default;
  // All pixels unlit. A negative size gives an empty bitmap.
  MonoBitmap(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Reads outside the bitmap give false; writes outside it are ignored.
  bool Get(int x, int y) const;
  void Set(int x, int y, bool lit = true);

  bool Contains(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }
  int LitCount() const;

  friend bool operator==(const MonoBitmap&, const MonoBitmap&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> pixels_;  // one byte per pixel, rows top first
};

enum class StampMode {
  kLitOnly,  // lit pixels light the picture; unlit ones leave it as it was
  kOpaque,   // every pixel of the bitmap replaces the picture's
};

// Puts the bitmap's top left corner at picture pixel (x, y). Whatever falls outside the
// 128 x 64 picture is dropped; x and y may be negative.
void StampBitmap(PictureBytes& picture, const MonoBitmap& bitmap, int x, int y,
                 StampMode mode = StampMode::kLitOnly);

// The width x height pixels of the picture whose top left corner is (x, y); pixels outside
// the picture read as unlit.
MonoBitmap CopyFromPicture(const PictureBytes& picture, int x, int y, int width, int height);

}  // namespace lumigrid
