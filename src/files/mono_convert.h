// Turning a decoded image into a monochrome picture: area-averaging scale to 128 x 64, grey
// conversion and the fixed green threshold. Works on RGB values only; the decoders live in
// image_import.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "picture/picture_buffer.h"

namespace lumigrid {

// A colour as 0xRRGGBB. Any top byte is ignored, so Qt's 0xffRRGGBB values pass unchanged.
using Rgb = uint32_t;

constexpr int RedOf(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr Rgb MakeRgb(int r, int g, int b) {
  return static_cast<Rgb>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

constexpr Rgb kBlack = 0x000000;
constexpr Rgb kWhite = 0xFFFFFF;

// A pixel is lit when its green component is below this (0..219), clear from 220 up.
constexpr int kLitBelowGreen = 220;

struct RgbImage {
  RgbImage() = default;
  RgbImage(int w, int h, int bits_per_pixel = 24, Rgb fill = kWhite);

  Rgb At(int x, int y) const { return pixels[Index(x, y)]; }
  void Set(int x, int y, Rgb c) { pixels[Index(x, y)] = c; }
  const Rgb* Row(int y) const { return pixels.data() + Index(0, y); }

  int width = 0;
  int height = 0;
  int depth = 24;           // bits per pixel of the decoded image; 1 = black-and-white
  std::vector<Rgb> pixels;  // row by row, top row first

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
  }
};

// Hands out the rows of an image, each called for once, top to bottom: width values of row y.
// The pointer needs to stay valid only until the next call.
using RowReader = std::function<const Rgb*(int y)>;

// An image as a decoder hands it over, read row by row so a large one needs no copy.
struct ImageSource {
  int width = 0;
  int height = 0;
  int depth = 24;  // 1 = black-and-white: no grey conversion, scaled with two colours
  std::array<Rgb, 2> two_colours{kBlack, kWhite};  // the palette of a 1-bit image
  RowReader rows;
};

ImageSource SourceOf(const RgbImage& image,
                     std::array<Rgb, 2> two_colours = std::array<Rgb, 2>{kBlack, kWhite});

// (30 R + 53 G + 11 B) div 94: the weights add up to 94, so white stays 255, black 0.
constexpr int Grey(int r, int g, int b) { return (30 * r + 53 * g + 11 * b) / 94; }

// Replaces every pixel by (grey, grey, grey).
void GrayscaleImage(RgbImage& image);

// A 0xAARRGGBB colour with straight alpha laid over white: transparent parts of an image
// count as background, not as the black their colour channels often hold.
Rgb OverWhite(uint32_t argb);

// Scales to width x height by area averaging: every target pixel is the average colour of
// the source area it covers, partly covered source pixels weighted by the covered fraction.
// The whole image is used, the aspect ratio is not kept and small images are enlarged. The
// result keeps the source depth: a 1-bit image stays two-coloured, each pixel taking the one
// of its two colours nearer (RGB distance) to the exact average, a tie going to the darker.
// For black and white that lights a scaled pixel when at least half of its area is black.
// An empty source gives a white image.
RgbImage ScaleArea(const ImageSource& source, int width, int height);

// Pixel (x, y) of a 128 x 64 image becomes bit y mod 8 of byte x mod 8 + 1 of cell
// 16 (y div 8) + x div 8 + 1, lit when its green is below 220. Pixels the image lacks are
// clear.
PictureBytes ConvertToPicture(const RgbImage& image);

// The whole conversion: scale to 128 x 64 unless the image has that size, grey unless it is
// 1-bit, then threshold.
PictureBytes ImageToPicture(const ImageSource& source);

}  // namespace lumigrid
