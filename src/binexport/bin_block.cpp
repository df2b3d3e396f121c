#include "binexport/bin_block.h"

#include <algorithm>

namespace lumigrid {

namespace {

constexpr int kPageRowBytes = kCellsPerPageRow * kBytesPerCell;        // 128
constexpr int kCrystalRowBytes = kCellsPerCrystalRow * kBytesPerCell;  // 64

}  // namespace

bool BufferToBin(const EditorState& buffers, int b, int grouping, BinImage& image) {
  if (!IsValidBuffer(b) || (grouping != 0 && grouping != 1)) return false;
  // The buffer's cell walk is already the page-by-page order of the whole width.
  const PictureBytes& bytes = buffers.Buffer(b).Bytes();
  if (grouping == 0) {
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return true;
  }
  auto out = image.begin();
  for (int crystal = 0; crystal < 2; ++crystal) {
    for (int page = 0; page < kPageCount; ++page) {
      const auto from = bytes.begin() + page * kPageRowBytes + crystal * kCrystalRowBytes;
      out = std::copy(from, from + kCrystalRowBytes, out);
    }
  }
  return true;
}

int BuildBinBlock(const EditorState& buffers, const BinSlots& slots, int grouping, BinImage& image,
                  BinBlockArea& block) {
  int length = 0;
  for (const int slot : slots) {
    if (slot <= 0 || !BufferToBin(buffers, slot, grouping, image)) continue;
    std::copy(image.begin(), image.end(), block.begin() + length);
    length += kPictureBytes;
  }
  return length;
}

}  // namespace lumigrid
