#include "picture/picture_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "picture/editor_state.h"

namespace lumigrid {
namespace {

TEST(PictureBuffer, PixelsLandInTheDisplayByteAndBit) {
  PictureBuffer b;
  b.SetPixel(0, 0, true);
  EXPECT_EQ(b.Byte(1, 1), 0x01);
  EXPECT_EQ(b.Bytes()[0], 0x01);
  b.Clear();
  b.SetPixel(127, 63, true);
  EXPECT_EQ(b.Byte(128, 8), 0x80);
  EXPECT_EQ(b.Bytes()[1023], 0x80);
  b.Clear();
  b.SetPixel(64, 0, true);
  EXPECT_EQ(b.Bytes()[64], 0x01);
  b.Clear();
  b.SetPixel(0, 8, true);
  EXPECT_EQ(b.Bytes()[128], 0x01);
}

TEST(PictureBuffer, SetAndClearTouchOnlyTheirBit) {
  PictureBuffer b;
  for (int r = 1; r <= 8; ++r) {
    b.SetByte(5, 3, 0xFF);
    b.SetCellPixel(5, 3, r, false);
    EXPECT_EQ(b.Byte(5, 3), 0xFF - (1 << (r - 1))) << "row " << r;
    b.SetByte(5, 3, 0x00);
    b.SetCellPixel(5, 3, r, true);
    EXPECT_EQ(b.Byte(5, 3), 1 << (r - 1)) << "row " << r;
    EXPECT_TRUE(b.Pixel(8 * 4 + 2, r - 1));
  }
  b.SetCellPixel(5, 3, 0, true);
  b.SetCellPixel(5, 3, 9, true);
  EXPECT_EQ(b.Byte(5, 3), 0x80);
}

TEST(PictureBuffer, OutOfRangeAccessIsHarmless) {
  PictureBuffer b;
  b.SetByte(0, 1, 0xAA);
  b.SetByte(129, 1, 0xAA);
  b.SetByte(1, 0, 0xAA);
  b.SetByte(1, 9, 0xAA);
  b.SetPixel(-1, 0, true);
  b.SetPixel(0, 64, true);
  EXPECT_TRUE(std::all_of(b.Bytes().begin(), b.Bytes().end(), [](uint8_t v) { return v == 0; }));
  EXPECT_EQ(b.Byte(0, 0), 0);
  EXPECT_FALSE(b.Pixel(500, 0));
}

TEST(PictureBuffer, FullyLitPictureIsAllFF) {
  PictureBuffer b;
  for (int y = 0; y < kPictureHeight; ++y)
    for (int x = 0; x < kPictureWidth; ++x) b.SetPixel(x, y, true);
  EXPECT_TRUE(std::all_of(b.Bytes().begin(), b.Bytes().end(), [](uint8_t v) { return v == 0xFF; }));
  b.Clear();
  EXPECT_TRUE(std::all_of(b.Bytes().begin(), b.Bytes().end(), [](uint8_t v) { return v == 0; }));
}

TEST(EditorState, StartsBlankOnBufferOneInEditingMode) {
  EditorState s;
  EXPECT_EQ(s.CurrentBuffer(), 1);
  EXPECT_EQ(s.SelectedCell(), kNoCell);
  EXPECT_EQ(s.WorkMode(), 1);
  EXPECT_EQ(s.CellClipboard(), CellBytes{});
  for (int b = 1; b <= kBufferCount; ++b) {
    EXPECT_FALSE(s.BufferModified(b));
    EXPECT_TRUE(s.BufferFileName(b).empty());
    EXPECT_EQ(s.ConversionOptions(b), ListingOptions{});
  }
}

TEST(EditorState, BuffersAreIndependent) {
  EditorState s;
  s.Buffer(3).SetByte(1, 1, 0x3C);
  s.MarkModified(3);
  s.SetBufferFileName(3, "C:\\pics\\logo.chr");
  EXPECT_EQ(s.Buffer(3, 1, 1), 0x3C);
  EXPECT_EQ(s.Buffer(2, 1, 1), 0);
  EXPECT_TRUE(s.BufferModified(3));
  EXPECT_FALSE(s.BufferModified(2));
  EXPECT_EQ(s.BufferFileName(3), "C:\\pics\\logo.chr");
  s.MarkClean(3);
  EXPECT_FALSE(s.BufferModified(3));
}

// 0 means "none" in the panels' buffer lists; a slip must not reach buffer 1.
TEST(EditorState, OutOfRangeBufferIsASpareThatNeverKeepsAnything) {
  for (const int spare : {0, -1, 11, 1000}) {
    EditorState s;
    s.Buffer(spare).SetByte(1, 1, 0x5A);
    s.MarkModified(spare);
    s.SetBufferFileName(spare, "spare.chr");
    s.ConversionOptions(spare).directive_name = "db";
    EXPECT_EQ(s.Buffer(spare, 1, 1), 0) << spare;
    EXPECT_FALSE(s.BufferModified(spare)) << spare;
    EXPECT_EQ(s.BufferFileName(spare), "") << spare;
    EXPECT_EQ(s.ConversionOptions(spare), ListingOptions{}) << spare;
    for (int b = 1; b <= kBufferCount; ++b) {
      EXPECT_EQ(s.Buffer(b).Bytes(), PictureBytes{}) << spare << " reached " << b;
      EXPECT_FALSE(s.BufferModified(b)) << spare << " reached " << b;
      EXPECT_EQ(s.BufferFileName(b), "") << spare << " reached " << b;
      EXPECT_EQ(s.ConversionOptions(b), ListingOptions{}) << spare << " reached " << b;
    }
  }
}

TEST(EditorState, RejectsOutOfRangeCurrentBufferAndCell) {
  EditorState s;
  s.SetCurrentBuffer(11);
  EXPECT_EQ(s.CurrentBuffer(), 1);
  s.SetCurrentBuffer(0);
  EXPECT_EQ(s.CurrentBuffer(), 1);
  s.SetCurrentBuffer(10);
  EXPECT_EQ(s.CurrentBuffer(), 10);
  s.SetSelectedCell(129);
  EXPECT_EQ(s.SelectedCell(), kNoCell);
  s.SetSelectedCell(128);
  EXPECT_EQ(s.SelectedCell(), 128);
}

}  // namespace
}  // namespace lumigrid
