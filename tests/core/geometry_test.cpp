#include "picture/geometry.h"

#include <gtest/gtest.h>

#include <string>

#include "picture/picture_buffer.h"

namespace lumigrid {
namespace {

struct PositionCase {
  int cell;
  CellPlace place;
  friend void PrintTo(const PositionCase& c, std::ostream* os) { *os << "cell " << c.cell; }
};

class CellPositionTest : public testing::TestWithParam<PositionCase> {};

TEST_P(CellPositionTest, GivesCrystalPageAndGroup) {
  const auto& p = GetParam();
  EXPECT_EQ(CellPosition(p.cell), p.place) << "cell " << p.cell;
}

INSTANTIATE_TEST_SUITE_P(Cells, CellPositionTest,
                         testing::Values(PositionCase{1, {1, 1, 1}}, PositionCase{8, {1, 1, 8}},
                                         PositionCase{9, {2, 1, 1}}, PositionCase{16, {2, 1, 8}},
                                         PositionCase{17, {1, 2, 1}}, PositionCase{120, {1, 8, 8}},
                                         PositionCase{128, {2, 8, 8}}, PositionCase{0, {0, 0, 0}},
                                         PositionCase{129, {0, 0, 0}}),
                         [](const auto& info) { return "cell" + std::to_string(info.index); });

TEST(CellPosition, AgreesWithDisplayAddressOfEveryCell) {
  for (int c = 1; c <= kCellCount; ++c) {
    const CellPlace place = CellPosition(c);
    for (int k = 1; k <= kBytesPerCell; ++k) {
      const DisplayByte d = CellByteToDisplay(c, k);
      EXPECT_EQ(d.crystal, place.crystal) << "cell " << c;
      EXPECT_EQ(d.page, place.page - 1) << "cell " << c;
      EXPECT_EQ(d.segment, 8 * (place.group - 1) + (k - 1)) << "cell " << c << " byte " << k;
      // The cell walk is the display-memory order: 128 * page + 64 * (crystal - 1) + segment.
      EXPECT_EQ(ByteOffset(c, k), 128 * d.page + 64 * (d.crystal - 1) + d.segment);
    }
  }
}

TEST(TestBit, ReturnsTheMaskedValueNotOne) {
  EXPECT_EQ(TestBit(0x80, 8), 0x80);
  EXPECT_EQ(TestBit(0xFF, 1), 0x01);
  EXPECT_EQ(TestBit(0x7F, 8), 0);
  EXPECT_EQ(TestBit(0xFF, 0), 0);
  EXPECT_EQ(TestBit(0xFF, 9), 0);
  for (int r = 1; r <= 8; ++r) EXPECT_EQ(TestBit(0xFF, r), 1 << (r - 1)) << "row " << r;
}

struct PixelCase {
  int x, y;
  int cell, byte, row;
  friend void PrintTo(const PixelCase& c, std::ostream* os) { *os << c.x << "," << c.y; }
};

class PixelAddressTest : public testing::TestWithParam<PixelCase> {};

TEST_P(PixelAddressTest, MapsPixelToCellByteAndBit) {
  const auto& p = GetParam();
  const PixelAddress a = PixelToAddress(p.x, p.y);
  EXPECT_EQ(a.cell, p.cell);
  EXPECT_EQ(a.byte, p.byte);
  EXPECT_EQ(a.row, p.row);
}

INSTANTIATE_TEST_SUITE_P(Corners, PixelAddressTest,
                         testing::Values(PixelCase{0, 0, 1, 1, 1},   // top left
                                         PixelCase{63, 7, 8, 8, 8},  // last column, crystal 1
                                         PixelCase{64, 0, 9, 1, 1},  // segment 0 of crystal 2
                                         PixelCase{127, 63, 128, 8, 8}, PixelCase{0, 8, 17, 1, 1},
                                         PixelCase{-1, 0, 0, 0, 0}, PixelCase{128, 0, 0, 0, 0},
                                         PixelCase{0, 64, 0, 0, 0}),
                         [](const auto& info) { return "pixel" + std::to_string(info.index); });

}  // namespace
}  // namespace lumigrid
