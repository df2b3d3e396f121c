// Raw display-memory images of chosen buffers, as the two crystals hold them, for writing into
// binary files.
#pragma once

#include <array>
#include <cstdint>

#include "picture/editor_state.h"

namespace lumigrid {

using BinImage = std::array<uint8_t, kPictureBytes>;
// Selected index of each slot list: 0 names no buffer, n names buffer n.
using BinSlots = std::array<int, kBufferCount>;
constexpr int kMaxBinBlockBytes = kBufferCount * kPictureBytes;
using BinBlockArea = std::array<uint8_t, kMaxBinBlockBytes>;

// Writes the image of buffer b: grouping 0 runs page by page across the whole width (each page
// crystal 1's 64 segments, then crystal 2's); grouping 1 gives all of crystal 1's memory in page
// order, then all of crystal 2's. Refuses, writing nothing, when b is not 1..10 or grouping is
// neither 0 nor 1.
bool BufferToBin(const EditorState& buffers, int b, int grouping, BinImage& image);

// The images of the slots that name a buffer, in slot order, back to back from the start of
// block. Returns the length in bytes, a multiple of 1024; a slot that names no buffer or a
// refused one adds nothing and leaves no gap.
int BuildBinBlock(const EditorState& buffers, const BinSlots& slots, int grouping, BinImage& image,
                  BinBlockArea& block);

}  // namespace lumigrid
