// The writes that bring one page of one chip up to date, as column masks, when the column
// counter may carry over from what was written before.
//
// A page's changed columns form runs around the circle 0..63 (the counter wraps from 63 to
// 0). Each gap between two runs costs one operation, rewritten (a gap of one byte) or skipped
// with a "set column", and at least one "set column" is needed: on its own a page costs
// 1 ("set page") + changed bytes + max(1, gaps). When the counter already stands at the start
// of a run, that run needs no "set column": one operation less. After the page the counter
// stands at the start of a gap, after the last run written. When it stands inside a run, the
// writes may begin there for what they cost anyway: the run's first part, written last, then
// leaves the counter where the page was entered.
#pragma once

#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumigrid {

using ColumnMask = uint64_t;  // bit y: column y (0..63) of one page
inline constexpr ColumnMask kAllColumns = ~ColumnMask{0};

// Set bits of a word, without asking the compiler for a library call where the target has no
// population-count instruction.
constexpr int CountOnes(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555;
  x = (x & 0x3333333333333333) + ((x >> 2) & 0x3333333333333333);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0F;
  return static_cast<int>((x * 0x0101010101010101) >> 56);
}

// Marked columns whose column before (round the wrap) is not marked.
constexpr ColumnMask RunStarts(ColumnMask m) { return m & ~std::rotl(m, 1); }
// Unmarked columns whose column before is marked: where the counter stands after a run.
constexpr ColumnMask GapStarts(ColumnMask m) { return ~m & std::rotl(m, 1); }
// Marked columns whose column before is marked too.
constexpr ColumnMask InsideRuns(ColumnMask m) { return m & std::rotl(m, 1); }

// Bus operations of the page written on its own: "set page", the segments' "set column"s and
// the data. 0 for an unchanged page.
constexpr int StandalonePageOperations(ColumnMask m) {
  if (m == 0) return 0;
  const int runs = CountOnes(RunStarts(m));
  return 1 + CountOnes(m) + (runs > 1 ? runs : 1);
}

// The unmarked column where the run of marked columns starting at `start` ends.
constexpr int GapAfter(ColumnMask changed, int start) {
  return (start + std::countr_one(std::rotr(changed, start))) % 64;
}

// The columns where entering at exactly column `entry` (free there) may leave the counter.
constexpr ColumnMask ExitsFromEntry(ColumnMask changed, int entry) {
  if (changed == kAllColumns) return ColumnMask{1} << entry;
  const ColumnMask gaps = GapStarts(changed);
  // The run entered first ends at the gap after it; another segment can be last unless that
  // gap is the only one.
  if ((gaps & (gaps - 1)) == 0) return gaps;
  return gaps & ~(ColumnMask{1} << GapAfter(changed, entry));
}

// Entering a changed page with the counter at one of the columns `counter` (0: unknown).
struct PageEntry {
  bool free = false;     // a run starts where the counter stands: no "set column" for it
  ColumnMask exits = 0;  // where the counter may stand after the page, at that cost
};
constexpr PageEntry EnterPage(ColumnMask changed, ColumnMask counter) {
  if (changed == kAllColumns) {
    // The counter runs once round the page and stops where it began.
    return counter != 0 ? PageEntry{true, counter} : PageEntry{false, kAllColumns};
  }
  const ColumnMask starts = RunStarts(changed) & counter;
  if (starts == 0) return {false, GapStarts(changed) | (InsideRuns(changed) & counter)};
  if ((starts & (starts - 1)) != 0) return {true, GapStarts(changed)};  // their first gaps differ
  return {true, ExitsFromEntry(changed, std::countr_zero(starts))};
}

// Table bytes of the segments' "set column" and length bytes (PlanPage's segments).
int SegmentHeaderBytes(ColumnMask changed, std::optional<int> entry, int exit);

struct PlannedSegment {
  int start = 0;   // first column written
  int length = 0;  // 1..64 bytes, round the wrap
  bool set_column = true;
  friend bool operator==(const PlannedSegment&, const PlannedSegment&) = default;
};

// Segments in play order that write every changed column (and rewrite one-byte gaps where
// that keeps the cost), with the fewest operations: entering at `entry` without a "set column"
// when given (a run start, any column of a full page, or the exit itself inside a run), and
// leaving the counter at `exit` (one of the exits EnterPage or ExitsFromEntry allow).
std::vector<PlannedSegment> PlanPage(ColumnMask changed, std::optional<int> entry, int exit);

}  // namespace lumigrid
