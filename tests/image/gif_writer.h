// GIF files for tests, frame by frame through giflib: any placement, colour table,
// transparency, disposal and interlacing a decoder has to handle.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumigrid::testing_images {

using GifPalette = std::vector<std::array<uint8_t, 3>>;  // a power of two entries, 2..256

struct GifTestFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;  // width x height, row by row, top row first
  GifPalette local;              // empty: the global table
  int transparent = -1;
  int disposal = 0;  // 0 unspecified, 1 keep, 2 background, 3 previous
  int delay_cs = 10;
  bool interlaced = false;
};

// The whole file; an empty global palette writes none.
std::string GifBytes(int width, int height, const GifPalette& global,
                     const std::vector<GifTestFrame>& frames);

// The black-and-white palette: index 0 white, 1 black.
GifPalette WhiteBlack();

// A frame covering (left, top, w, h) drawn from a picture of '#' (1), '.' (0) and digits.
GifTestFrame FrameFromRows(int left, int top, const std::vector<std::string>& rows);

// Pieces for files put together by hand. The header, screen descriptor and a global table of
// white and black: 19 bytes.
std::string GifHeader(int width, int height);
// One frame as giflib writes it: control block (8 bytes), descriptor (10), compressed data.
std::string GifFrameChunk(const GifTestFrame& frame);
// A frame of one colour: LZW strings grow by a pixel each, so a few kilobytes fill megapixels.
GifTestFrame UniformFrame(int width, int height);
// An image descriptor without a colour table: the 10 bytes before a frame's data.
std::string GifImageDescriptor(int left, int top, int width, int height);

}  // namespace lumigrid::testing_images
