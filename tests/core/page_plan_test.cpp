#include "frames/page_plan.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "frames/frame_script.h"

namespace lumigrid {
namespace {

std::vector<int> Columns(ColumnMask m) {
  std::vector<int> columns;
  for (; m != 0; m &= m - 1) columns.push_back(std::countr_zero(m));
  return columns;
}

// Changed columns of many shapes: sparse, dense, single runs, every other column, runs round
// the wrap, a whole page.
ColumnMask RandomMask(std::mt19937& random) {
  const auto bits = [&] { return uint64_t{random()} << 32 | random(); };
  switch (random() % 6) {
    case 0:
      return bits() & bits() & bits();
    case 1:
      return bits() | bits();
    case 2:
      return std::rotl((ColumnMask{1} << (1 + random() % 63)) - 1, int(random() % 64));
    case 3:
      return 0x5555555555555555 & bits() | 0xAAAAAAAAAAAAAAAA & bits() & bits();
    case 4:
      return random() % 8 == 0 ? kAllColumns : ~(ColumnMask{1} << random() % 64);
    default:
      return bits();
  }
}

// Every entry the masks allow (a set column, or each column a free entry can use) and every
// exit they promise from it: the segments write every changed column, leave the counter at
// the exit, cost what the page costs alone less the carried commands, and take the header
// bytes SegmentHeaderBytes counts.
TEST(PlanPage, EveryPromisedEntryAndExitIsPlayedAtThePromisedCost) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 2000; ++trial) {
    const ColumnMask m = RandomMask(random);
    if (m == 0) continue;
    std::vector<std::optional<int>> entries{std::nullopt};
    const ColumnMask inside = m == kAllColumns ? 0 : InsideRuns(m);
    for (int c : Columns(m == kAllColumns ? kAllColumns : RunStarts(m) | inside)) {
      entries.push_back(c);
    }
    for (const std::optional<int> entry : entries) {
      // Entered inside a run, the page costs what it costs with a set column, and is left there.
      const bool inside_run = entry && (inside >> *entry & 1);
      const ColumnMask exits = inside_run ? ColumnMask{1} << *entry
                               : entry    ? ExitsFromEntry(m, *entry)
                                          : EnterPage(m, ColumnMask{0}).exits;
      ASSERT_NE(exits, 0u);
      for (int exit : Columns(exits)) {
        SCOPED_TRACE(::testing::Message() << std::hex << "mask " << m << std::dec << " entry "
                                          << entry.value_or(-1) << " exit " << exit);
        int column = entry.value_or(-1);
        ColumnMask written = 0;
        int operations = 0, header = 0;
        for (const PlannedSegment& s : PlanPage(m, entry, exit)) {
          ASSERT_TRUE(s.length >= 1 && s.length <= 64);
          if (s.set_column) {
            column = s.start;
            ++operations;
            header += 2;
          } else {
            ASSERT_EQ(column, s.start) << "a segment without set column starts elsewhere";
            header += (s.length + 62) / 63;
          }
          for (int i = 0; i < s.length; ++i) {
            written |= ColumnMask{1} << column;
            column = (column + 1) % 64;
            ++operations;
          }
        }
        ASSERT_EQ(written & m, m);
        ASSERT_EQ(column, exit);
        ASSERT_EQ(operations, StandalonePageOperations(m) - 1 - (entry && !inside_run ? 1 : 0));
        ASSERT_EQ(header, SegmentHeaderBytes(m, entry, exit));
      }
    }
  }
}

// A page's standalone cost is the standalone frame's, and entering it is free exactly where
// a run starts at the counter (anywhere on a whole page), leaving it wherever one of the free
// entries, or else a set column or an entry inside a run, would.
TEST(EnterPage, FreeWhereARunStartsAndExitsAsTheEntriesAllow) {
  std::mt19937 random(6);
  for (int trial = 0; trial < 2000; ++trial) {
    const ColumnMask m = RandomMask(random);
    if (m == 0) continue;
    PictureBytes to{};
    for (int c : Columns(m)) to[DisplayMemoryOffset(2, 3, c)] = 0x77;
    ASSERT_EQ(FrameOperationCount(MakeFrame(PictureBytes{}, to)), StandalonePageOperations(m));

    const ColumnMask counter = random() % 4 == 0 ? 0 : RandomMask(random) & RandomMask(random);
    const PageEntry e = EnterPage(m, counter);
    const ColumnMask starts = (m == kAllColumns ? kAllColumns : RunStarts(m)) & counter;
    ASSERT_EQ(e.free, starts != 0);
    ColumnMask exits = 0;
    for (int s : Columns(starts)) exits |= ExitsFromEntry(m, s);
    // Not free: a set column goes anywhere, or the counter inside a run stays as an exit.
    if (!e.free) exits = m == kAllColumns ? kAllColumns : GapStarts(m) | (InsideRuns(m) & counter);
    ASSERT_EQ(e.exits, exits) << std::hex << m << " " << counter;
  }
}

}  // namespace
}  // namespace lumigrid
