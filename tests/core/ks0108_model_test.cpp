#include "frames/ks0108_model.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <random>
#include <string>
#include <vector>

#include "picture/picture_buffer.h"

namespace lumigrid {
namespace {

// Every pixel, lit alone through the bus, shows where the editor's buffer puts it.
TEST(Ks0108Model, EachPixelLandsWhereTheCanvasShowsIt) {
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      const int chip = x < kSegmentsPerCrystal ? 1 : 2;
      Ks0108Model model;
      model.Apply(CommandOp(chip, kSetPageCommand | (y / 8)));
      model.Apply(CommandOp(chip, kSetColumnCommand | (x % kSegmentsPerCrystal)));
      model.Apply(DataOp(chip, static_cast<uint8_t>(1u << (y % 8))));

      PictureBuffer shown;
      shown.Bytes() = model.Picture();
      ASSERT_TRUE(shown.Pixel(x, y)) << "pixel " << x << "," << y;
      int lit = 0;
      for (uint8_t b : shown.Bytes()) lit += std::popcount(b);
      ASSERT_EQ(lit, 1) << "pixel " << x << "," << y;
    }
  }
}

TEST(Ks0108Model, MemoryAddressesAgreeWithTheCellWalk) {
  for (int c = 1; c <= kCellCount; ++c) {
    for (int k = 1; k <= kBytesPerCell; ++k) {
      const DisplayByte d = CellByteToDisplay(c, k);
      EXPECT_EQ(DisplayMemoryOffset(d.crystal, d.page, d.segment), ByteOffset(c, k))
          << "cell " << c << " byte " << k;
    }
  }
}

struct Written {
  int chip, page, column;
  uint8_t value;
};

struct BusCase {
  const char* name;
  std::vector<BusOp> ops;
  std::vector<Written> memory;   // every non-zero byte afterwards
  std::array<int, 4> registers;  // page and column of chip 1, then of chip 2
  friend void PrintTo(const BusCase& c, std::ostream* os) { *os << c.name; }
};

class Ks0108BusTest : public ::testing::TestWithParam<BusCase> {};

TEST_P(Ks0108BusTest, LeavesMemoryAndRegisters) {
  const BusCase& p = GetParam();
  Ks0108Model model;
  model.Apply(p.ops);
  PictureBytes expected{};
  for (const Written& w : p.memory)
    expected[DisplayMemoryOffset(w.chip, w.page, w.column)] = w.value;
  EXPECT_EQ(model.Picture(), expected);
  const std::array<int, 4> registers{model.Chip(1).page, model.Chip(1).column, model.Chip(2).page,
                                     model.Chip(2).column};
  EXPECT_EQ(registers, p.registers);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, Ks0108BusTest,
    ::testing::Values(BusCase{"ColumnWrapsWithinThePage",
                              {CommandOp(1, 0xBA), CommandOp(1, 0x7F), DataOp(1, 0x11),
                               DataOp(1, 0x22)},
                              {{1, 2, 63, 0x11}, {1, 2, 0, 0x22}},
                              {2, 1, 0, 0}},
                      BusCase{"PageDoesNotIncrement",
                              {CommandOp(1, 0xBF), CommandOp(1, 0x40), DataOp(1, 1),
                               CommandOp(1, 0x40), DataOp(1, 2)},
                              {{1, 7, 0, 2}},
                              {7, 1, 0, 0}},
                      BusCase{"ChipsKeepTheirOwnRegisters",
                              {CommandOp(1, 0xB9), CommandOp(1, 0x45), CommandOp(2, 0xBB),
                               CommandOp(2, 0x40), DataOp(2, 0x80), DataOp(1, 0x01)},
                              {{2, 3, 0, 0x80}, {1, 1, 5, 0x01}},
                              {1, 6, 3, 1}},
                      BusCase{"DisplayOnAndStartLineLeaveMemory",
                              {CommandOp(1, kDisplayOnCommand), CommandOp(2, 0xC0 | 17),
                               CommandOp(2, kDisplayOffCommand)},
                              {},
                              {0, 0, 0, 0}},
                      BusCase{"OtherChipNumbersReachNothing",
                              {DataOp(0, 0xFF), DataOp(3, 0xFF), CommandOp(3, 0xBC)},
                              {},
                              {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// The glass shows memory row (y + start line) mod 64 of each chip at screen row y, each chip
// through its own start line; and the memory made for a start line shows the picture.
TEST(Ks0108Model, ShowsEachChipThroughItsOwnStartLine) {
  std::mt19937 random(8);
  PictureBytes memory;
  for (auto& b : memory) b = static_cast<uint8_t>(random());
  PictureBuffer stored;
  stored.Bytes() = memory;
  for (const auto& [line1, line2] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 63},
                                     std::pair{17, 40}, std::pair{8, 8}, std::pair{63, 1}}) {
    Ks0108Model model(memory);
    model.Apply(CommandOp(1, kStartLineCommand | line1));
    model.Apply(CommandOp(2, kStartLineCommand | line2));
    EXPECT_EQ(model.Memory(), memory);
    PictureBuffer shown;
    shown.Bytes() = model.Picture();
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 0; x < kPictureWidth; ++x) {
        const int line = x < kSegmentsPerCrystal ? line1 : line2;
        ASSERT_EQ(shown.Pixel(x, y), stored.Pixel(x, (y + line) % kPictureHeight))
            << "pixel " << x << "," << y << " at lines " << line1 << "," << line2;
      }
    }
    Ks0108Model scrolled(MemoryForStartLine(memory, line1));
    for (int chip = 1; chip <= 2; ++chip) {
      scrolled.Apply(CommandOp(chip, kStartLineCommand | line1));
    }
    EXPECT_EQ(scrolled.Picture(), memory) << "line " << line1;
  }
}

}  // namespace
}  // namespace lumigrid
