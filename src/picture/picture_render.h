// Pictures drawn as images for showing outside the editor: as the canvas draws them, or black
// on white at a whole-number scale. Images index a fixed palette, so a sequence of pictures
// shares one colour table.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "picture/picture_buffer.h"
#include "picture/rgb.h"

namespace lumigrid {

enum class RenderLook {
  kCanvas,  // the canvas area: white ground, cells apart in the cell colour, lit pixels black
  kPlain,   // lit pixels black, the rest white, each pixel scale x scale
};

// Palette indices of a rendered image.
inline constexpr uint8_t kRenderWhite = 0;
inline constexpr uint8_t kRenderCell = 1;
inline constexpr uint8_t kRenderLit = 2;
// The canvas's colours (picture/canvas_geometry.h) by palette index.
extern const std::array<Rgb, 3> kRenderPalette;

inline constexpr int kMaxPlainScale = 8;

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // row by row, indices into kRenderPalette
  uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// kCanvas is the canvas's size (530 x 264) whatever the scale; kPlain is 128 scale x 64 scale,
// the scale taken within 1..kMaxPlainScale.
IndexedImage RenderPicture(const PictureBytes& bytes, RenderLook look, int scale = 1);

}  // namespace lumigrid
