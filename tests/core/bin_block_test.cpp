#include "binexport/bin_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace lumigrid {
namespace {

// The display byte of crystal n (1, 2), page p, segment s, read pixel by pixel.
uint8_t DisplayByteOf(const PictureBuffer& picture, int n, int p, int s) {
  uint8_t value = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if (picture.Pixel((n - 1) * 64 + s, p * 8 + bit)) value |= static_cast<uint8_t>(1u << bit);
  }
  return value;
}

// The image as the crystals' memory map defines it, independent of the cell walk.
BinImage ReferenceImage(const PictureBuffer& picture, int grouping) {
  BinImage image{};
  for (int n = 1; n <= 2; ++n) {
    for (int p = 0; p < 8; ++p) {
      for (int s = 0; s < 64; ++s) {
        const int offset = grouping ? (n - 1) * 512 + p * 64 + s : p * 128 + (n - 1) * 64 + s;
        image[offset] = DisplayByteOf(picture, n, p, s);
      }
    }
  }
  return image;
}

TEST(BufferToBin, MatchesTheMemoryMapForRandomPictures) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 20; ++round) {
    EditorState state;
    const int b = 1 + round % kBufferCount;
    for (uint8_t& byte : state.Buffer(b).Bytes()) byte = static_cast<uint8_t>(random());
    for (int grouping : {0, 1}) {
      BinImage image{};
      ASSERT_TRUE(BufferToBin(state, b, grouping, image));
      EXPECT_EQ(image, ReferenceImage(state.Buffer(b), grouping))
          << "round " << round << ", buffer " << b << ", grouping " << grouping;
    }
  }
}

// One lit pixel lands as one byte at one offset, everything else zero.
TEST(BufferToBin, SingleLitPixelLandsAtItsOffset) {
  struct Case {
    int x, y, grouping, offset;
    uint8_t value;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0x01},       {0, 0, 1, 0, 0x01},        // page 0, crystal 1, segment 0
      {64, 0, 0, 64, 0x01},     {64, 0, 1, 512, 0x01},     // page 0, crystal 2, segment 0
      {0, 8, 0, 128, 0x01},     {0, 8, 1, 64, 0x01},       // page 1, crystal 1, segment 0
      {0, 16, 1, 128, 0x01},                               // page 2, crystal 1, segment 0
      {0, 32, 0, 512, 0x01},                               // page 4, crystal 1, segment 0
      {127, 63, 0, 1023, 0x80}, {127, 63, 1, 1023, 0x80},  // page 7, crystal 2, segment 63
      {0, 63, 0, 896, 0x80},    {0, 63, 1, 448, 0x80},     // page 7, crystal 1, segment 0, bit 7
      {63, 4, 0, 63, 0x10},     {63, 4, 1, 63, 0x10},      // last segment of crystal 1
  };
  for (const Case& c : cases) {
    EditorState state;
    state.Buffer(4).SetPixel(c.x, c.y, true);
    BinImage image{};
    ASSERT_TRUE(BufferToBin(state, 4, c.grouping, image));
    BinImage expected{};
    expected[c.offset] = c.value;
    EXPECT_EQ(image, expected) << "pixel (" << c.x << ", " << c.y << "), grouping " << c.grouping;
  }
}

TEST(BufferToBin, RefusesBadBufferOrFlagWritingNothing) {
  struct Case {
    int b, grouping;
  };
  for (const Case& c : {Case{0, 0}, Case{11, 0}, Case{-1, 1}, Case{1, 2}, Case{1, -1}}) {
    EditorState state;
    state.Buffer(1).Bytes().fill(0x5A);
    BinImage image;
    image.fill(0xEE);
    EXPECT_FALSE(BufferToBin(state, c.b, c.grouping, image)) << c.b << ", " << c.grouping;
    EXPECT_EQ(image,
              [] {
                BinImage untouched;
                untouched.fill(0xEE);
                return untouched;
              }())
        << c.b << ", " << c.grouping;
  }
}

// Buffer b filled with its own number, so the block shows which images it holds, in order.
TEST(BuildBinBlock, NamedSlotsInOrderWithoutGaps) {
  struct Case {
    BinSlots slots;
    std::vector<int> buffers;  // images expected in the block, in order
  };
  const Case cases[] = {
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {1}},
      {{2, 0, 2, 0, 0, 0, 0, 0, 0, 0}, {2, 2}},
      {{0, 0, 0, 0, 0, 0, 0, 0, 0, 7}, {7}},
      {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}},
      {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
      {{3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3}},
      {{5, 11, 0, -1, 6, 0, 0, 0, 0, 0}, {5, 6}},  // a refused slot adds nothing
  };
  EditorState state;
  for (int b = 1; b <= kBufferCount; ++b) {
    PictureBytes& bytes = state.Buffer(b).Bytes();
    for (int i = 0; i < kPictureBytes; ++i) bytes[i] = static_cast<uint8_t>(b * 16 + i % 16);
  }
  for (int grouping : {0, 1}) {
    for (const Case& c : cases) {
      BinImage image{};
      auto block = std::make_unique<BinBlockArea>();
      const int length = BuildBinBlock(state, c.slots, grouping, image, *block);
      ASSERT_EQ(length, static_cast<int>(c.buffers.size()) * kPictureBytes);
      for (std::size_t i = 0; i < c.buffers.size(); ++i) {
        BinImage expected{};
        ASSERT_TRUE(BufferToBin(state, c.buffers[i], grouping, expected));
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(),
                               block->begin() + static_cast<int>(i) * kPictureBytes))
            << "image " << i << " of slots starting " << c.slots[0] << ", grouping " << grouping;
      }
    }
  }
}

}  // namespace
}  // namespace lumigrid
