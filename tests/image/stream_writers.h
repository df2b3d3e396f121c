// Writes PNG and JPEG files row by row straight through libpng and libjpeg, so tests and
// benchmarks can make images far larger than they could hold.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lumigrid::testing_images {

// Fills one row of width grey levels (channels == 1) or RGB triples (channels == 3).
using RowFiller = std::function<void(int y, uint8_t* row)>;

bool WritePng(const std::string& path, int width, int height, int channels, const RowFiller& fill,
              bool interlaced = false);
bool WriteJpeg(const std::string& path, int width, int height, int channels, int quality,
               const RowFiller& fill);

}  // namespace lumigrid::testing_images
