#include "frames/page_plan.h"

#include <algorithm>
#include <array>

namespace lumigrid {
namespace {

constexpr int kColumns = 64;

}  // namespace

int SegmentHeaderBytes(ColumnMask changed, std::optional<int> entry, int exit) {
  // A full page is one segment with "set column", or runs of 63 and 1 byte without.
  if (changed == kAllColumns) return 2;
  // Each skipped gap ends a segment of two header bytes ("set column", length): the gaps of
  // two or more, the exit's, and the one entered over (none inside a run), whose segment has
  // only a length byte.
  const ColumnMask long_gaps = GapStarts(changed) & ~std::rotr(changed, 1);
  ColumnMask skipped = long_gaps | ColumnMask{1} << exit;
  if (!entry) return 2 * CountOnes(skipped);
  const int before = (*entry - std::countl_zero(std::rotr(changed, *entry)) + kColumns) % kColumns;
  skipped |= ColumnMask{1} << before;
  // With no gap of two or more between the entered run and the exit's gap, the gap after the
  // entered run is skipped too (see PlanPage).
  const int next = GapAfter(changed, *entry);
  if (exit != before && next != exit) {
    const int span = (exit - next + kColumns) % kColumns;
    if ((std::rotr(long_gaps, next) & ((ColumnMask{1} << span) - 1)) == 0) {
      skipped |= ColumnMask{1} << next;
    }
  }
  // Entered inside a run with every gap rewritten: one run of all 64 bytes, split in two.
  if (skipped == ColumnMask{1} << *entry) return 2;
  return 2 * CountOnes(skipped) - 1;
}

std::vector<PlannedSegment> PlanPage(ColumnMask changed, std::optional<int> entry, int exit) {
  if (changed == kAllColumns) return {{entry.value_or(exit), kColumns, !entry.has_value()}};
  struct Gap {
    int start = 0;
    int length = 0;
    bool skip = false;
  };
  std::array<Gap, kColumns / 2> gaps{};  // in column order
  size_t n = 0;
  // Entered inside a run: the run is cut there, as by a gap of no columns, skipped.
  const ColumnMask cut = entry && (InsideRuns(changed) >> *entry & 1) ? ColumnMask{1} << *entry : 0;
  for (ColumnMask g = GapStarts(changed) | cut; g != 0; g &= g - 1) {
    const int start = std::countr_zero(g);
    const int length = (cut >> start & 1) ? 0 : std::countr_zero(std::rotr(changed, start));
    gaps[n++] = {start, length, length != 1};  // a one-byte gap is rewritten
  }
  auto run_after = [&](size_t i) { return (gaps[i].start + gaps[i].length) % kColumns; };
  auto find = [&](auto&& match) {
    size_t i = 0;
    while (i < n && !match(i)) ++i;
    return i;
  };
  const size_t last = find([&](size_t i) { return gaps[i].start == exit; });
  gaps[last].skip = true;
  size_t first = last;  // the segment after this gap is played first
  if (entry) {
    first = find([&](size_t i) { return run_after(i) == *entry; });
    gaps[first].skip = true;
    // The entered segment ends at the first skipped gap after it. If that is the exit's gap
    // (and not the one entered over), the entered segment, which is played first, would be
    // the only one ending there: end it at the gap after its run instead.
    const size_t next = (first + 1) % n;
    if (first != last && next != last) {
      size_t i = next;
      while (!gaps[i].skip) i = (i + 1) % n;
      if (i == last) gaps[next].skip = true;
    }
  }

  std::vector<PlannedSegment> segments;
  auto segment_after = [&](size_t i) {
    size_t j = (i + 1) % n;
    while (!gaps[j].skip) j = (j + 1) % n;
    const int start = run_after(i);
    const int length =
        j == i ? kColumns - gaps[i].length : (gaps[j].start - start + kColumns) % kColumns;
    return PlannedSegment{start, length, true};
  };
  if (entry) {
    segments.push_back(segment_after(first));
    segments.back().set_column = false;
  }
  // Then round the page from the segment after the exit's gap, so that the one ending at the
  // exit's gap comes last.
  for (size_t k = 0; k < n; ++k) {
    const size_t i = (last + k) % n;
    if (gaps[i].skip && !(entry && i == first)) segments.push_back(segment_after(i));
  }
  return segments;
}

}  // namespace lumigrid
