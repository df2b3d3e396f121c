#include "frames/frame_script.h"

#include <algorithm>
#include <array>

namespace lumigrid {
namespace {

constexpr int kColumns = kSegmentsPerCrystal;

using RowMask = std::array<bool, kColumns>;

struct Run {
  int start = 0;
  int length = 0;
};

// At most 32 runs fit in a page: each is followed by at least one unmarked column.
template <typename T>
struct RowList {
  std::array<T, kColumns / 2> items{};
  size_t size = 0;
  void push_back(const T& item) { items[size++] = item; }
  T& back() { return items[size - 1]; }
  T& operator[](size_t i) { return items[i]; }
  bool empty() const { return size == 0; }
  const T* begin() const { return items.data(); }
  const T* end() const { return items.data() + size; }
  T* begin() { return items.data(); }
  T* end() { return items.data() + size; }
};
using Runs = RowList<Run>;

// The segments of one page that write every marked column, in the fewest operations.
// Marked columns form runs around the circle 0..63; each gap between two runs costs one
// operation whether rewritten (a one-byte gap) or skipped with a "set column", and at least
// one gap must be skipped, since the page's writes begin with a "set column".
Runs PlanRow(const RowMask& marked) {
  Runs segments;
  const int count = static_cast<int>(std::count(marked.begin(), marked.end(), true));
  if (count == 0) return segments;
  if (count == kColumns) {
    segments.push_back({0, kColumns});
    return segments;
  }

  // Cyclic runs, from an unmarked column followed by a marked one, so that every unmarked
  // column falls into the gap after some run.
  int origin = 0;
  while (marked[origin] || !marked[(origin + 1) % kColumns]) ++origin;
  Runs runs;
  RowList<int> gaps;  // gaps[i]: unmarked columns after runs[i]
  for (int step = 1; step <= kColumns; ++step) {
    const int column = (origin + step) % kColumns;
    const bool was = marked[(column + kColumns - 1) % kColumns];
    if (marked[column]) {
      if (!was) runs.push_back({column, 0});
      ++runs.back().length;
    } else if (!runs.empty()) {
      if (was) gaps.push_back(0);
      ++gaps.back();
    }
  }

  // Skip every gap of two or more; if none is that long, skip the one before the run that
  // starts lowest, so the output does not depend on where the search began.
  const size_t n = runs.size;
  RowList<bool> skip;
  skip.size = n;
  bool any = false;
  for (size_t i = 0; i < n; ++i) any |= (skip[i] = gaps[i] >= 2);
  if (!any) {
    size_t lowest = 0;
    for (size_t i = 1; i < n; ++i) {
      if (runs[i].start < runs[lowest].start) lowest = i;
    }
    skip[(lowest + n - 1) % n] = true;
  }

  for (size_t i = 0; i < n; ++i) {
    if (!skip[(i + n - 1) % n]) continue;  // runs[i] continues the segment before it
    Run segment{runs[i].start, 0};
    for (size_t j = i;; j = (j + 1) % n) {
      segment.length += runs[j].length;
      if (skip[j]) break;
      segment.length += gaps[j];
    }
    segments.push_back(segment);
  }
  std::sort(segments.begin(), segments.end(),
            [](const Run& a, const Run& b) { return a.start < b.start; });
  return segments;
}

// One page write per page with marked columns, laid out by `plan`; the data come from `to`.
template <typename Marks, typename Plan>
Frame BuildFrame(const PictureBytes& to, Marks&& marks, Plan&& plan_row) {
  Frame frame;
  for (int page = 0; page < kPageCount; ++page) {
    for (int chip = 1; chip <= 2; ++chip) {
      const int base = DisplayMemoryOffset(chip, page, 0);
      RowMask marked;
      for (int column = 0; column < kColumns; ++column) marked[column] = marks(base + column);
      const Runs plan = plan_row(marked);
      if (plan.empty()) continue;
      PageWrite write{static_cast<uint8_t>(chip), static_cast<uint8_t>(page), {}};
      write.segments.reserve(plan.size);
      for (const Run& run : plan) {
        FrameSegment segment{static_cast<uint8_t>(run.start), {}};
        segment.data.reserve(static_cast<size_t>(run.length));
        for (int i = 0; i < run.length; ++i) {
          segment.data.push_back(to[base + (run.start + i) % kColumns]);
        }
        write.segments.push_back(std::move(segment));
      }
      frame.pages.push_back(std::move(write));
    }
  }
  return frame;
}

// Only the skip map's own runs: no gap is rewritten and nothing runs past column 63.
Runs PlanMaskRow(const RowMask& marked) {
  Runs runs;
  for (int column = 0; column < kColumns; ++column) {
    if (!marked[column]) continue;
    if (column == 0 || !marked[column - 1]) runs.push_back({column, 0});
    ++runs.back().length;
  }
  return runs;
}

}  // namespace

Frame MakeFrame(const PictureBytes& from, const PictureBytes& to) {
  return BuildFrame(
      to, [&](int offset) { return from[offset] != to[offset]; }, PlanRow);
}

Frame MakeSkipMapFrame(const PictureBytes& to, const PictureBytes& skip_map) {
  return BuildFrame(
      to, [&](int offset) { return skip_map[offset] != 0xFF; }, PlanMaskRow);
}

FrameScript MakeFrameScript(const std::vector<PictureBytes>& pictures,
                            const SequenceOptions& options) {
  FrameScript script;
  script.loop = options.loop && !pictures.empty();
  if (pictures.empty()) return script;
  script.frames.reserve(pictures.size() + 1);
  script.frames.push_back(MakeFrame(options.start.value_or(PictureBytes{}), pictures.front()));
  for (size_t i = 1; i < pictures.size(); ++i) {
    script.frames.push_back(MakeFrame(pictures[i - 1], pictures[i]));
  }
  if (script.loop) script.frames.push_back(MakeFrame(pictures.back(), pictures.front()));
  return script;
}

std::vector<BusOp> FrameBusOps(const Frame& frame) {
  std::vector<BusOp> ops;
  ops.reserve(static_cast<size_t>(FrameOperationCount(frame)));
  for (const PageWrite& page : frame.pages) {
    ops.push_back(CommandOp(page.chip, kSetPageCommand | page.page));
    for (const FrameSegment& segment : page.segments) {
      ops.push_back(CommandOp(page.chip, kSetColumnCommand | segment.column));
      for (uint8_t value : segment.data) ops.push_back(DataOp(page.chip, value));
    }
  }
  return ops;
}

int FrameOperationCount(const Frame& frame) {
  int count = 0;
  for (const PageWrite& page : frame.pages) {
    count += 1 + static_cast<int>(page.segments.size());
  }
  return count + FrameDataCount(frame);
}

int FrameDataCount(const Frame& frame) {
  int count = 0;
  for (const PageWrite& page : frame.pages) {
    for (const FrameSegment& segment : page.segments) {
      count += static_cast<int>(segment.data.size());
    }
  }
  return count;
}

}  // namespace lumigrid
