// Colours, in the two forms the program uses: a triple for drawing and writing colour tables,
// and 0xRRGGBB packed into one word for the pixels of decoded images.
#pragma once

#include <cstdint>

namespace lumigrid {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A colour as 0xRRGGBB. Any top byte is ignored, so Qt's 0xffRRGGBB values pass unchanged.
using PackedRgb = uint32_t;

constexpr int RedOf(PackedRgb c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(PackedRgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(PackedRgb c) { return static_cast<int>(c & 0xFF); }
constexpr PackedRgb MakeRgb(int r, int g, int b) {
  return static_cast<PackedRgb>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

constexpr PackedRgb kBlack = 0x000000;
constexpr PackedRgb kWhite = 0xFFFFFF;

}  // namespace lumigrid
