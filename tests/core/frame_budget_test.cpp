#include "frames/frame_budget.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "file_bytes.h"
#include "frames/frame_table.h"

namespace lumigrid {
namespace {

using testing::ReadGolden;

PictureBytes WithByte(PictureBytes p, int offset, uint8_t value) {
  p[offset] = value;
  return p;
}

// Picture 1 lights one byte, picture 2 one more; the skip map leaves only the second to write.
struct TwoPictures {
  PictureBytes p1 = WithByte({}, 0, 0x01);
  PictureBytes p2 = WithByte(p1, 5, 0x02);
  PictureBytes map = [] {
    PictureBytes m;
    m.fill(0xFF);
    m[5] = 0x00;
    return m;
  }();
};

struct BudgetCase {
  const char* name;
  int transition;  // -1: the total
  int64_t changed;
  MethodBudget whole, skip_map, script;
  friend void PrintTo(const BudgetCase& c, std::ostream* os) { *os << c.name; }
};

class FrameBudgetTest : public ::testing::TestWithParam<BudgetCase> {};

TEST_P(FrameBudgetTest, CountsEachMethod) {
  const BudgetCase& p = GetParam();
  const TwoPictures t;
  const auto budget = ComputeFrameBudget({t.p1, t.p2}, t.map, {}, 250);
  ASSERT_TRUE(budget.has_value());
  ASSERT_EQ(budget->transitions.size(), 2u);
  const TransitionBudget& row =
      p.transition < 0 ? budget->total : budget->transitions[p.transition];
  EXPECT_EQ(row.changed_bytes, p.changed);
  EXPECT_EQ(row.whole, p.whole);
  EXPECT_EQ(row.skip_map, p.skip_map);
  EXPECT_EQ(row.script, p.script);
  EXPECT_EQ(row.skip_map_missed, 0);
}

// Whole: 16 pages of set page, set column and 64 data. A one-byte script frame: set page,
// set column, the byte; its table a page byte, column, length, the byte and the frame end.
INSTANTIATE_TEST_SUITE_P(
    TwoPictures, FrameBudgetTest,
    ::testing::Values(
        // The skip map cannot speak for the blank display, so the first frame is whole.
        BudgetCase{"FirstFrame",
                   0,
                   1,
                   {1024, 1056, 1024, 264000},
                   {1024, 1056, 1073, 264000},
                   {1, 3, 5, 750}},
        BudgetCase{"SecondFrame", 1, 1, {1024, 1056, 1024, 264000}, {1, 3, 5, 750}, {1, 3, 5, 750}},
        // Table totals are whole tables: each picture once, or every frame and the end byte.
        BudgetCase{"Total",
                   -1,
                   2,
                   {2048, 2112, 2048, 528000},
                   {1025, 1059, 1079, 264750},
                   {2, 6, 11, 1500}}),
    [](const auto& info) { return std::string(info.param.name); });

// The script is the cheapest way to each picture: never dearer than the whole picture or
// than a correct skip map's writes.
TEST(ComputeFrameBudget, ScriptNeverCostsMoreThanTheOtherMethods) {
  std::mt19937 random(21);
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<PictureBytes> pictures(4);
    for (auto& p : pictures) {
      const int density = static_cast<int>(random() % 101);
      for (auto& b : p) {
        b = static_cast<int>(random() % 100) < density ? static_cast<uint8_t>(random()) : 0;
      }
    }
    PictureBytes map;
    for (auto& b : map) b = random() % 2 ? 0xFF : 0x00;
    const SequenceOptions options{std::nullopt, trial % 2 == 0, trial % 3 != 0};
    const auto budget = ComputeFrameBudget(pictures, map, options);
    ASSERT_TRUE(budget.has_value());
    EXPECT_EQ(budget->total.script.table_bytes,
              static_cast<int64_t>(
                  EncodeFrameTable(MakeStandaloneFrameScript(pictures, options)).size()));
    EXPECT_EQ(budget->total.scrolling.table_bytes,
              static_cast<int64_t>(EncodeFrameTable(MakeFrameScript(pictures, options)).size()));
    for (const TransitionBudget& t : budget->transitions) {
      EXPECT_LE(t.script.operations, t.whole.operations) << "trial " << trial;
      // Without scrolling both scripts write the same bytes; carried registers only save.
      if (!options.scroll && !options.loop) {
        EXPECT_LE(t.scrolling.operations, t.script.operations) << "trial " << trial;
      }
      EXPECT_GE(t.script.data_writes, t.changed_bytes) << "trial " << trial;
      if (t.skip_map_missed == 0) {
        EXPECT_LE(t.script.operations, t.skip_map.operations) << "trial " << trial;
      }
    }
  }
}

// A byte moved up a page: the scrolling script only changes the start line, unless told not
// to scroll.
TEST(ComputeFrameBudget, TheScrollingScriptChangesTheStartLine) {
  PictureBytes first{};
  first[DisplayMemoryOffset(1, 1, 10)] = 0x81;
  PictureBytes moved{};
  moved[DisplayMemoryOffset(1, 0, 10)] = 0x81;
  const PictureBytes map{};
  for (const bool scroll : {true, false}) {
    const auto budget = ComputeFrameBudget({first, moved}, map, {std::nullopt, false, scroll});
    ASSERT_TRUE(budget.has_value());
    const TransitionBudget& t = budget->transitions[1];
    EXPECT_EQ(t.script, (MethodBudget{2, 6, 9, 6000}));
    // Without scrolling the page register the first frame left saves a "set page".
    EXPECT_EQ(t.scrolling, (scroll ? MethodBudget{0, 2, 3, 2000} : MethodBudget{2, 5, 9, 5000}));
    EXPECT_EQ(t.start_line, scroll ? 8 : 0);
    EXPECT_EQ(budget->total.start_line, t.start_line);
    const std::string text = FormatFrameBudget(*budget);
    EXPECT_NE(text.find(scroll ? "(d) scrolling script" : "(d) script, no scroll"),
              std::string::npos);
  }
}

TEST(ComputeFrameBudget, CountsChangedBytesTheSkipMapWouldSkip) {
  const TwoPictures t;
  PictureBytes skip_all;
  skip_all.fill(0xFF);
  const auto budget = ComputeFrameBudget({t.p1, t.p2}, skip_all, {std::nullopt, true});
  ASSERT_TRUE(budget.has_value());
  ASSERT_EQ(budget->transitions.size(), 3u);
  EXPECT_EQ(budget->transitions[0].skip_map_missed, 0) << "first frame is written whole";
  EXPECT_EQ(budget->transitions[1].skip_map_missed, 1);
  EXPECT_EQ(budget->transitions[2].skip_map_missed, 1);
  EXPECT_EQ(budget->total.skip_map_missed, 2);
  EXPECT_EQ(budget->transitions[2].from, 2);
  EXPECT_EQ(budget->transitions[2].to, 1);
}

TEST(ComputeFrameBudget, RefusesCyclesOutsideTheRange) {
  const TwoPictures t;
  for (int64_t cycle : {int64_t{0}, int64_t{-1000}, kMaxBusCycleNs + 1}) {
    EXPECT_FALSE(ComputeFrameBudget({t.p1}, t.map, {}, cycle).has_value()) << cycle;
  }
  EXPECT_TRUE(ComputeFrameBudget({t.p1}, t.map, {}, kMaxBusCycleNs).has_value());
  EXPECT_TRUE(ComputeFrameBudget({t.p1}, t.map, {}, 1).has_value());
}

TEST(FormatFrameBudget, MatchesTheGoldenTable) {
  const TwoPictures t;
  // Byte 700 changes too, but the skip map skips it.
  const auto budget = ComputeFrameBudget({t.p1, WithByte(t.p2, 700, 0x40)}, t.map,
                                         {WithByte({}, 0, 0x01), true}, 1500);
  ASSERT_TRUE(budget.has_value());
  EXPECT_EQ(FormatFrameBudget(*budget), ReadGolden("frame_budget.txt"));
}

}  // namespace
}  // namespace lumigrid
