// Writes PNG and JPEG files row by row straight through libpng and libjpeg, so tests and
// benchmarks can make images far larger than they could hold.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumigrid::testing_images {

// Fills one row of width grey levels (channels == 1) or RGB triples (channels == 3).
using RowFiller = std::function<void(int y, uint8_t* row)>;

// Gradients in each channel with noise on top, like a camera picture (RGB rows).
RowFiller PhotoLike(int width, int height);

bool WritePng(const std::string& path, int width, int height, int channels, const RowFiller& fill,
              bool interlaced = false);
bool WriteJpeg(const std::string& path, int width, int height, int channels, int quality,
               const RowFiller& fill);

// A PNG file of 8-bit grey pixels put together by hand, with `extra` chunks between the
// header and the pixel data: chunks libpng's writer would refuse or never write. The first 33
// bytes are the signature and the header chunk.
struct PngChunk {
  std::string type;
  std::string data;
};
std::string GreyPngFile(int width, int height, const std::function<uint8_t(int x, int y)>& grey,
                        const std::vector<PngChunk>& extra = {});
// Length, type, data and CRC of one chunk.
std::string PngChunkBytes(const PngChunk& chunk);

}  // namespace lumigrid::testing_images
