// Frame scripts of three 100-picture sequences: text scrolling up one row per picture, a
// sprite moving over a background, and unrelated noise. Times the scripts and their table
// forms; the counters of BM_Budget are the bus operations and table bytes of each method and
// how far the scrolling script is from lower bounds for its memory changes: whole_, skip_,
// today_ (the standalone script), new_ (MakeFrameScript) and noscroll_ (MakeFrameScript without
// scrolling), each in _ops and _bytes, all from blank and not looping.
//
// The start lines the script chose fix the memory each frame must change (and their
// 2-operation changes). For those changes:
// - exact_ops: the fewest operations of any script that writes each changed page in one visit
//   per frame, registers carried over: the planner's full search (PlanChipFrames without its
//   short cuts), which the tests check against a breadth-first search over every bus operation
//   on small sequences.
// - bound_ops: a cruder bound, computed here on its own. Of any writes that make the changes,
//   per chip and frame: every changed page costs its data, its rewritten one-byte gaps and a
//   "set column" per other gap (each costs one operation either way), plus a "set page" and a
//   "set column" unless the registers carry them. At most one "set page" per chip and frame
//   can carry, and only for a page of the chip's last frame with changes; a page's "set
//   column" only where the counter stands at the start of one of its runs: a column where a
//   page of the same frame can end (after one of its gaps), or where the last frame could
//   leave the counter (after its pages' gaps, or carried through the inside of their runs from
//   before). Counting each such pairing at most once per page and per page before it (a
//   maximum matching) gives at least as many carries as any order can have, so no more
//   operations than any script that writes each page in one visit per frame.
#include <benchmark/benchmark.h>

#include <array>
#include <bit>
#include <string>
#include <vector>

#include "core/frame_sequences.h"
#include "frames/frame_budget.h"
#include "frames/frame_script.h"
#include "frames/frame_table.h"
#include "frames/page_plan.h"
#include "frames/register_plan.h"
#include "optimize/identical_scan.h"

namespace lumigrid {
namespace {

constexpr int kPictures = 100;

std::vector<PictureBytes> Sequence(int64_t which) {
  if (which == 0) return testing::TickerPictures(kPictures);
  if (which == 1) return testing::SpritePictures(kPictures);
  return testing::NoisePictures(kPictures);
}

void SequenceArgs(benchmark::internal::Benchmark* b) {
  b->ArgName("ticker0_sprite1_noise2")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
}

void BM_MakeStandaloneFrameScript(benchmark::State& state) {
  const auto pictures = Sequence(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(MakeStandaloneFrameScript(pictures, {}));
}
BENCHMARK(BM_MakeStandaloneFrameScript)->Apply(SequenceArgs);

void BM_MakeFrameScriptNoScroll(benchmark::State& state) {
  const auto pictures = Sequence(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(MakeFrameScript(pictures, {std::nullopt, false, false}));
  }
}
BENCHMARK(BM_MakeFrameScriptNoScroll)->Apply(SequenceArgs);

void BM_MakeFrameScript(benchmark::State& state) {
  const auto pictures = Sequence(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(MakeFrameScript(pictures, {}));
}
BENCHMARK(BM_MakeFrameScript)->Apply(SequenceArgs);

void BM_MakeFrameScriptLooping(benchmark::State& state) {
  const auto pictures = Sequence(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(MakeFrameScript(pictures, {std::nullopt, true}));
}
BENCHMARK(BM_MakeFrameScriptLooping)->Apply(SequenceArgs);

void BM_EncodeFrameTable(benchmark::State& state) {
  const FrameScript script = MakeFrameScript(Sequence(2), {std::nullopt, true});
  for (auto _ : state) benchmark::DoNotOptimize(EncodeFrameTable(script));
}
BENCHMARK(BM_EncodeFrameTable)->Unit(benchmark::kMillisecond);

void BM_FrameTableAsmLines(benchmark::State& state) {
  const FrameScript script = MakeFrameScript(Sequence(2), {std::nullopt, true});
  for (auto _ : state) benchmark::DoNotOptimize(FrameTableAsmLines(script, ListingOptions{}));
}
BENCHMARK(BM_FrameTableAsmLines)->Unit(benchmark::kMillisecond);

// The pages one frame changes on one chip.
struct ChipFrame {
  std::vector<ColumnMask> pages;  // changed columns of each changed page
  std::vector<int> numbers;       // their page numbers
};

// Bipartite maximum matching: left[i] may precede right[j] when edge(i, j).
int MaxMatching(size_t left, size_t right, auto&& edge) {
  std::vector<int> match(right, -1);
  int count = 0;
  for (size_t i = 0; i < left; ++i) {
    std::vector<bool> seen(right, false);
    auto augment = [&](auto&& self, size_t u) -> bool {
      for (size_t j = 0; j < right; ++j) {
        if (!edge(u, j) || seen[j]) continue;
        seen[j] = true;
        if (match[j] < 0 || self(self, static_cast<size_t>(match[j]))) {
          match[j] = static_cast<int>(u);
          return true;
        }
      }
      return false;
    };
    count += augment(augment, i);
  }
  return count;
}

// May a page ending at one of `exits` be followed by page `m` entered without "set column"?
bool Meets(ColumnMask exits, ColumnMask m) {
  return m == kAllColumns ? exits != 0 : (exits & RunStarts(m)) != 0;
}

// The crude bound described at the top for the memory changes of `script` played from
// `start`.
int64_t LowerBound(const FrameScript& script, const PictureBytes& start) {
  Ks0108Model model(start);
  int64_t bound = 0;
  // Where the counter may stand when a frame begins: after a gap of the last frame's pages
  // (anywhere after a whole page), or carried through the inside of one of their runs.
  std::array<ColumnMask, 2> carried{};
  std::array<unsigned, 2> last{};  // the pages of each chip's last frame with changes
  for (const Frame& frame : script.frames) {
    const PictureBytes before = model.Memory();
    model.Apply(FrameBusOps(frame));
    const PictureBytes after = model.Memory();
    if (frame.start_line) bound += 2;
    for (int chip = 1; chip <= 2; ++chip) {
      std::vector<ColumnMask> pages;
      unsigned numbers = 0;
      for (int page = 0; page < kPageCount; ++page) {
        ColumnMask m = 0;
        for (int c = 0; c < kSegmentsPerCrystal; ++c) {
          const int i = DisplayMemoryOffset(chip, page, c);
          if (before[i] != after[i]) m |= ColumnMask{1} << c;
        }
        if (m == 0) continue;
        pages.push_back(m);
        numbers |= 1u << page;
        bound += StandalonePageOperations(m);
      }
      if (pages.empty()) continue;
      const size_t k = pages.size();
      auto exits = [&](size_t i) {
        return pages[i] == kAllColumns ? kAllColumns : GapStarts(pages[i]);
      };
      // Left: the carried counter (index k), then the pages; right: the pages.
      const int carries = MaxMatching(k + 1, k, [&](size_t i, size_t j) {
        if (i == k) return Meets(carried[chip - 1], pages[j]);
        return i != j && Meets(exits(i), pages[j]);
      });
      bound -= carries + ((numbers & last[chip - 1]) != 0);  // and one carried page
      ColumnMask gaps = 0, inside = 0;
      for (size_t i = 0; i < k; ++i) {
        gaps |= exits(i);
        inside |= InsideRuns(pages[i]);
      }
      carried[chip - 1] = gaps | (inside & carried[chip - 1]);
      last[chip - 1] = numbers;
    }
  }
  return bound;
}

// The planner's full search's optimum for the memory changes of `script` played from `start`.
int64_t ExactOperations(const FrameScript& script, const PictureBytes& start) {
  Ks0108Model model(start);
  std::array<std::vector<PageMasks>, 2> chips;
  int64_t operations = 0;
  for (const Frame& frame : script.frames) {
    const PictureBytes before = model.Memory();
    model.Apply(FrameBusOps(frame));
    const PictureBytes after = model.Memory();
    if (frame.start_line) operations += 2;
    for (int chip = 1; chip <= 2; ++chip) {
      PageMasks masks{};
      for (int page = 0; page < kPageCount; ++page) {
        for (int c = 0; c < kSegmentsPerCrystal; ++c) {
          const int i = DisplayMemoryOffset(chip, page, c);
          if (before[i] != after[i]) masks[page] |= ColumnMask{1} << c;
        }
      }
      chips[chip - 1].push_back(masks);
    }
  }
  for (const auto& frames : chips) operations += PlanChipFrames(frames, {}, true).operations;
  return operations;
}

// The budget of each method and the scrolling script's distance from the bounds, as counters.
void BM_Budget(benchmark::State& state) {
  const auto pictures = Sequence(state.range(0));
  std::vector<const PictureBytes*> sources;
  for (const PictureBytes& p : pictures) sources.push_back(&p);
  const PictureBytes map = ScanIdenticalBytes(sources, 1);
  std::optional<FrameBudget> budget;
  for (auto _ : state) budget = ComputeFrameBudget(pictures, map);
  const TransitionBudget& t = budget->total;
  auto set = [&](const char* name, int64_t value) {
    state.counters[name] = static_cast<double>(value);
  };
  set("whole_ops", t.whole.operations);
  set("whole_bytes", t.whole.table_bytes);
  set("skip_ops", t.skip_map.operations);
  set("skip_bytes", t.skip_map.table_bytes);
  set("today_ops", t.script.operations);
  set("today_bytes", t.script.table_bytes);
  set("new_ops", t.scrolling.operations);
  set("new_bytes", t.scrolling.table_bytes);
  auto gaps = [&](const char* prefix, const FrameScript& script, int64_t ops) {
    const int64_t exact = ExactOperations(script, PictureBytes{});
    const int64_t bound = LowerBound(script, PictureBytes{});
    set((std::string(prefix) + "exact_ops").c_str(), exact);
    set((std::string(prefix) + "bound_ops").c_str(), bound);
    state.counters[std::string(prefix) + "bound_gap_pct"] =
        100.0 * static_cast<double>(ops - bound) / static_cast<double>(bound);
  };
  gaps("", MakeFrameScript(pictures), t.scrolling.operations);
  const FrameScript flat = MakeFrameScript(pictures, {std::nullopt, false, false});
  int64_t flat_ops = 0;
  for (const Frame& f : flat.frames) flat_ops += FrameOperationCount(f);
  set("noscroll_ops", flat_ops);
  set("noscroll_bytes", static_cast<int64_t>(EncodeFrameTable(flat).size()));
  gaps("noscroll_", flat, flat_ops);
}
BENCHMARK(BM_Budget)->Apply(SequenceArgs);

}  // namespace
}  // namespace lumigrid
