#include "frames/frame_script.h"

#include <algorithm>
#include <array>
#include <bit>

#include "frames/page_plan.h"
#include "frames/register_plan.h"

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

FrameScript MakeStandaloneFrameScript(const std::vector<PictureBytes>& pictures,
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

namespace {

using ChipMasks = std::array<PageMasks, 2>;  // changed columns of each page of chips 1 and 2

ColumnWords AtStartLine(const ColumnWords& picture, int line) {
  ColumnWords memory;
  for (size_t x = 0; x < memory.size(); ++x) memory[x] = std::rotl(picture[x], line);
  return memory;
}

// Bytes that differ between two memories, as the changed columns of every page.
ChipMasks ChangedColumns(const ColumnWords& before, const ColumnWords& after) {
  ChipMasks masks{};
  for (int x = 0; x < kPictureWidth; ++x) {
    const uint64_t diff = before[x] ^ after[x];
    if (diff == 0) continue;
    PageMasks& chip = masks[x / kColumns];
    const ColumnMask bit = ColumnMask{1} << (x % kColumns);
    for (int page = 0; page < kPageCount; ++page) {
      if ((diff >> (8 * page)) & 0xFF) chip[page] |= bit;
    }
  }
  return masks;
}

// Bytes that differ: a quick floor under the standalone cost.
int ChangedBytes(const ColumnWords& before, const ColumnWords& after) {
  int count = 0;
  for (size_t x = 0; x < before.size(); ++x) {
    uint64_t d = before[x] ^ after[x];
    d |= d >> 4;
    d |= d >> 2;
    d |= d >> 1;
    count += CountOnes(d & 0x0101010101010101);
  }
  return count;
}

// The standalone cost of turning `before` into `after` (as StandaloneOperations of their
// ChangedColumns), eight columns at a time: byte i of a word holds, for column 8g + i, a bit
// for each page whose byte there changes.
int StandaloneCost(const ColumnWords& before, const ColumnWords& after) {
  int count = 0;
  for (int chip = 0; chip < 2; ++chip) {
    std::array<uint64_t, kColumns / 8> changed{};
    for (int x = 0; x < kColumns; ++x) {
      uint64_t d = before[chip * kColumns + x] ^ after[chip * kColumns + x];
      d |= d >> 4;
      d |= d >> 2;
      d |= d >> 1;
      // Bit 0 of each byte, one per page, gathered into the top byte.
      const uint64_t pages = ((d & 0x0101010101010101) * 0x0102040810204080) >> 56;
      changed[x / 8] |= pages << (8 * (x % 8));
    }
    uint64_t any = 0, all = ~uint64_t{0};
    uint64_t before_first = changed.back() >> 56;  // column 63 comes before column 0
    for (const uint64_t word : changed) {
      const uint64_t previous = word << 8 | before_first;
      count += CountOnes(word) + CountOnes(word & ~previous);  // data and run starts
      before_first = word >> 56;
      any |= word;
      all &= word;
    }
    for (int shift = 32; shift >= 8; shift /= 2) {
      any |= any >> shift;
      all &= all >> shift;
    }
    // A "set page" for each changed page, and the one "set column" of a page changed whole.
    count += CountOnes(any & 0xFF) + CountOnes(all & 0xFF);
  }
  return count;
}

int StandaloneOperations(const ChipMasks& masks) {
  int count = 0;
  for (const PageMasks& chip : masks) {
    for (ColumnMask m : chip) count += StandalonePageOperations(m);
  }
  return count;
}

constexpr int kStartLineOperations = 2;  // one command per chip
constexpr int kMaxRun = kColumns - 1;    // data bytes of a segment without "set column"

// One transition of the scrolling script before its page writes are planned.
struct Step {
  int line = 0;  // the start line after it
  bool line_changed = false;
  int operations = 0;  // standalone, with the change of start line
  ChipMasks masks{};
  ColumnWords memory{};  // after it
};

// The start line that turns `memory` (shown at `line`) into `picture` most cheaply.
Step ChooseStartLine(const ColumnWords& memory, int line, const ColumnWords& picture, bool scroll,
                     std::optional<int> forced) {
  Step best;
  best.operations = -1;
  for (int move = 0; move < kPictureHeight; ++move) {
    const int candidate = forced ? *forced : (line + move) % kPictureHeight;
    if (move > 0 && (forced || !scroll)) break;
    const int change = candidate == line ? 0 : kStartLineOperations;
    const ColumnWords after = AtStartLine(picture, candidate);
    if (best.operations >= 0 && change + ChangedBytes(memory, after) >= best.operations) continue;
    const int operations = change + StandaloneCost(memory, after);
    if (best.operations >= 0 && operations >= best.operations) continue;
    best = {candidate, change != 0, operations, {}, after};
  }
  best.masks = ChangedColumns(memory, best.memory);
  return best;
}

// The start lines of a whole sequence, each transition's chosen on its own. With `first`, the
// first picture is shown at that line; a loop frame returns to the first picture's line.
std::vector<Step> ChooseStartLines(const std::vector<ColumnWords>& pictures,
                                   const ColumnWords& start, bool loop, bool scroll,
                                   std::optional<int> first) {
  std::vector<Step> steps;
  steps.reserve(pictures.size() + 1);
  for (size_t i = 0; i < pictures.size(); ++i) {
    const ColumnWords& memory = i == 0 ? start : steps.back().memory;
    const int line = i == 0 ? 0 : steps.back().line;
    steps.push_back(
        ChooseStartLine(memory, line, pictures[i], scroll, i == 0 ? first : std::nullopt));
  }
  if (loop) {
    const Step& last = steps.back();
    steps.push_back(ChooseStartLine(last.memory, last.line, pictures[0], scroll, steps[0].line));
  }
  return steps;
}

int64_t TotalOperations(const std::vector<Step>& steps) {
  int64_t total = 0;
  for (const Step& s : steps) total += s.operations;
  return total;
}

struct Registers {
  int page = -1;  // -1: unknown
  int column = -1;
};

void Play(const PageWrite& write, Registers& r) {
  r.page = write.page;
  for (const FrameSegment& s : write.segments) {
    r.column = (s.column + static_cast<int>(s.data.size())) % kColumns;
  }
}

// What one chip's registers are after the first frame and after the loop frame, and which of
// them the frames after the first read before setting them: those frames play after both.
struct LoopRegisters {
  Registers after_first;
  Registers after_loop;
  bool reads_page = false;
  bool reads_column = false;
  bool Kept() const {
    return (!reads_page || after_loop.page == after_first.page) &&
           (!reads_column || after_loop.column == after_first.column);
  }
};

LoopRegisters FollowLoop(const FrameScript& script, int chip) {
  LoopRegisters loop;
  bool touched = false;
  for (size_t f = 0; f < script.frames.size(); ++f) {
    for (const PageWrite& w : script.frames[f].pages) {
      if (w.chip != chip) continue;
      if (f == 0) {
        Play(w, loop.after_first);
        loop.after_loop = loop.after_first;
        continue;
      }
      if (!touched && !w.segments.empty()) {
        loop.reads_page = !w.set_page;
        loop.reads_column = !w.segments.front().set_column;
        touched = true;
      }
      Play(w, loop.after_loop);
    }
  }
  return loop;
}

// The same from one chip's plan, before its frames are built.
LoopRegisters FollowPlan(const ChipPlan& plan) {
  LoopRegisters loop;
  bool touched = false;
  for (size_t f = 0; f < plan.frames.size(); ++f) {
    for (const PlannedPage& p : plan.frames[f]) {
      Registers& r = f == 0 ? loop.after_first : loop.after_loop;
      if (f > 0 && !touched) {
        loop.reads_page = !p.set_page;
        loop.reads_column = p.entry.has_value();
        touched = true;
      }
      r = {p.page, p.exit};
      if (f == 0) loop.after_loop = loop.after_first;
    }
  }
  return loop;
}

// Operations of the byte that Landing adds.
int LandingOperations(const LoopRegisters& loop) {
  if (loop.Kept()) return 0;
  const int page = loop.reads_page ? loop.after_first.page : loop.after_loop.page;
  const int column = loop.reads_column ? (loop.after_first.column + kColumns - 1) % kColumns
                                       : std::max(loop.after_loop.column, 0);
  return (page != loop.after_loop.page) + (column != loop.after_loop.column) + 1;
}

// A byte rewritten with its own value, at the end of the loop frame, that leaves the chip's
// registers as the frames after the loop expect; none when the loop frame leaves them so.
std::optional<PageWrite> Landing(const FrameScript& script, int chip,
                                 const PictureBytes& first_memory) {
  const LoopRegisters loop = FollowLoop(script, chip);
  if (loop.Kept()) return std::nullopt;
  const int page = loop.reads_page ? loop.after_first.page : loop.after_loop.page;
  const int column = loop.reads_column ? (loop.after_first.column + kColumns - 1) % kColumns
                                       : std::max(loop.after_loop.column, 0);
  PageWrite w{
      static_cast<uint8_t>(chip), static_cast<uint8_t>(page), {}, page != loop.after_loop.page};
  w.segments.push_back({static_cast<uint8_t>(column),
                        {first_memory[DisplayMemoryOffset(chip, page, column)]},
                        column != loop.after_loop.column});
  return w;
}

// The frames of the steps, each chip's pages as planned.
std::vector<Frame> BuildFrames(const std::vector<Step>& steps,
                               const std::array<ChipPlan, 2>& plans) {
  std::vector<Frame> frames(steps.size());
  for (size_t t = 0; t < steps.size(); ++t) {
    Frame& frame = frames[t];
    if (steps[t].line_changed) frame.start_line = static_cast<uint8_t>(steps[t].line);
    const PictureBytes memory = ColumnsPicture(steps[t].memory);
    for (int chip = 1; chip <= 2; ++chip) {
      for (const PlannedPage& planned : plans[chip - 1].frames[t]) {
        PageWrite write{
            static_cast<uint8_t>(chip), static_cast<uint8_t>(planned.page), {}, planned.set_page};
        const int base = DisplayMemoryOffset(chip, planned.page, 0);
        for (const PlannedSegment& p :
             PlanPage(steps[t].masks[chip - 1][planned.page], planned.entry, planned.exit)) {
          // A run without "set column" holds at most 63 bytes in the table: split a whole page.
          for (int from = 0; from < p.length;) {
            const int to = !p.set_column && from == 0 ? std::min(p.length, kMaxRun) : p.length;
            FrameSegment segment{
                static_cast<uint8_t>((p.start + from) % kColumns), {}, p.set_column && from == 0};
            for (int i = from; i < to; ++i) {
              segment.data.push_back(memory[base + (p.start + i) % kColumns]);
            }
            write.segments.push_back(std::move(segment));
            from = to;
          }
        }
        frame.pages.push_back(std::move(write));
      }
    }
  }
  return frames;
}

}  // namespace

FrameScript MakeFrameScript(const std::vector<PictureBytes>& pictures,
                            const SequenceOptions& options) {
  FrameScript script;
  script.loop = options.loop && !pictures.empty();
  if (pictures.empty()) return script;
  std::vector<ColumnWords> columns;
  columns.reserve(pictures.size());
  for (const PictureBytes& p : pictures) columns.push_back(PictureColumns(p));
  const ColumnWords start = PictureColumns(options.start.value_or(PictureBytes{}));

  std::vector<Step> steps =
      ChooseStartLines(columns, start, script.loop, options.scroll, std::nullopt);
  if (script.loop && options.scroll) {
    // The loop frame's own choice for the first picture's line may make a cheaper sequence.
    // Worth a second pass only when the loop frame gains more than the first frame loses.
    const Step& before_loop = steps[steps.size() - 2];
    const Step loop_choice =
        ChooseStartLine(before_loop.memory, before_loop.line, columns[0], true, std::nullopt);
    const int wanted = loop_choice.line;
    const int first_loss =
        wanted == steps[0].line
            ? 0
            : ChooseStartLine(start, 0, columns[0], true, wanted).operations - steps[0].operations;
    if (wanted != steps[0].line && steps.back().operations - loop_choice.operations > first_loss) {
      std::vector<Step> other = ChooseStartLines(columns, start, true, true, wanted);
      if (TotalOperations(other) < TotalOperations(steps)) steps = std::move(other);
    }
  }

  std::array<std::vector<PageMasks>, 2> chip_frames;
  for (const Step& s : steps) {
    for (int chip = 0; chip < 2; ++chip) chip_frames[chip].push_back(s.masks[chip]);
  }
  const std::array<ChipPlanner, 2> planners{ChipPlanner(chip_frames[0]),
                                            ChipPlanner(chip_frames[1])};
  std::array<ChipPlan, 2> plans{planners[0].Plan(), planners[1].Plan()};
  if (script.loop) {
    // The frames after the loop expect the registers the first frame left: where the loop
    // frame leaves a chip's otherwise, the search may end there instead, or else the loop frame
    // ends with a byte that leaves them so.
    for (int chip = 0; chip < 2; ++chip) {
      const LoopRegisters loop = FollowPlan(plans[chip]);
      if (loop.Kept()) continue;
      ChipPlan other =
          planners[chip].Plan(ChipEnd{loop.reads_page ? loop.after_first.page : -1,
                                      loop.reads_column ? loop.after_first.column : -1});
      if (other.operations + LandingOperations(FollowPlan(other)) <
          plans[chip].operations + LandingOperations(loop)) {
        plans[chip] = std::move(other);
      }
    }
  }
  script.frames = BuildFrames(steps, plans);
  if (!script.loop) return script;
  const PictureBytes first_memory = ColumnsPicture(steps[0].memory);
  for (int chip = 1; chip <= 2; ++chip) {
    if (auto landing = Landing(script, chip, first_memory)) {
      script.frames.back().pages.push_back(std::move(*landing));
    }
  }
  return script;
}

bool LoopKeepsRegisters(const FrameScript& script) {
  return !script.loop || (FollowLoop(script, 1).Kept() && FollowLoop(script, 2).Kept());
}

int FinalStartLine(const FrameScript& script) {
  int line = 0;
  for (const Frame& frame : script.frames) {
    if (frame.start_line) line = *frame.start_line;
  }
  return line;
}

std::vector<BusOp> FrameBusOps(const Frame& frame) {
  std::vector<BusOp> ops;
  ops.reserve(static_cast<size_t>(FrameOperationCount(frame)));
  if (frame.start_line) {
    for (int chip = 1; chip <= 2; ++chip) {
      ops.push_back(CommandOp(chip, kStartLineCommand | *frame.start_line));
    }
  }
  for (const PageWrite& page : frame.pages) {
    if (page.set_page) ops.push_back(CommandOp(page.chip, kSetPageCommand | page.page));
    for (const FrameSegment& segment : page.segments) {
      if (segment.set_column) {
        ops.push_back(CommandOp(page.chip, kSetColumnCommand | segment.column));
      }
      for (uint8_t value : segment.data) ops.push_back(DataOp(page.chip, value));
    }
  }
  return ops;
}

int FrameOperationCount(const Frame& frame) {
  int count = frame.start_line ? kStartLineOperations : 0;
  for (const PageWrite& page : frame.pages) {
    count += page.set_page;
    for (const FrameSegment& segment : page.segments) count += segment.set_column;
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
