// Frame scripts of three 100-picture sequences: text scrolling up one row per picture, a
// sprite moving over a background, and unrelated noise. Times the scripts and their table
// forms; the counters of BM_Budget are the bus operations and table bytes of each method and
// how far the scrolling script is from a lower bound under the display model.
//
// The bound: the memory each frame must change is fixed by the start lines the script chose
// (so are their 2-operation changes). Of any writes that make those changes, per chip and
// frame: every changed page costs its data, its rewritten one-byte gaps and a "set column" per
// other gap (each costs one operation either way), plus a "set page" and a "set column"
// unless the registers carry them. At most one "set page" per chip and frame can carry (the
// register holds one page), and a page's "set column" only where the counter stands at the
// start of one of its runs: after another page of the same frame, or after the last frame,
// ended at that column. Counting each such "ending before" (a pair of pages whose gap starts
// meet the other's run starts; the carried counter as one more page) at most once per page
// and per page before it — a maximum matching — gives more carries than any order can
// realise, so fewer operations than any script: a lower bound.
#include <benchmark/benchmark.h>

#include <array>
#include <bit>
#include <vector>

#include "core/frame_sequences.h"
#include "frames/frame_budget.h"
#include "frames/frame_script.h"
#include "frames/frame_table.h"
#include "frames/page_plan.h"
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

// The lower bound described at the top for the memory changes of `script` played from
// `start`.
int64_t LowerBound(const FrameScript& script, const PictureBytes& start) {
  Ks0108Model model(start);
  int64_t bound = 0;
  std::array<ChipFrame, 2> last;  // each chip's last frame with changes
  for (const Frame& frame : script.frames) {
    const PictureBytes before = model.Memory();
    model.Apply(FrameBusOps(frame));
    const PictureBytes after = model.Memory();
    if (frame.start_line) bound += 2;
    for (int chip = 1; chip <= 2; ++chip) {
      ChipFrame now;
      for (int page = 0; page < kPageCount; ++page) {
        ColumnMask m = 0;
        for (int c = 0; c < kSegmentsPerCrystal; ++c) {
          const int i = DisplayMemoryOffset(chip, page, c);
          if (before[i] != after[i]) m |= ColumnMask{1} << c;
        }
        if (m == 0) continue;
        now.pages.push_back(m);
        now.numbers.push_back(page);
        bound += StandalonePageOperations(m);
      }
      if (now.pages.empty()) continue;
      ChipFrame& previous = last[chip - 1];
      bool page_carries = false;
      ColumnMask carried = 0;  // every column the last frame could have left the counter at
      for (size_t i = 0; i < previous.pages.size(); ++i) {
        carried |= previous.pages[i] == kAllColumns ? kAllColumns : GapStarts(previous.pages[i]);
        for (int n : now.numbers) page_carries |= n == previous.numbers[i];
      }
      const size_t k = now.pages.size();
      // Left: the carried counter (index k), then the pages; right: the pages.
      const int carries = MaxMatching(k + 1, k, [&](size_t i, size_t j) {
        if (i == k) return Meets(carried, now.pages[j]);
        const ColumnMask exits =
            now.pages[i] == kAllColumns ? kAllColumns : GapStarts(now.pages[i]);
        return i != j && Meets(exits, now.pages[j]);
      });
      bound -= carries + page_carries;
      previous = now;
    }
  }
  return bound;
}

// The budget of each method and the scrolling script's distance from the bound, as counters.
void BM_Budget(benchmark::State& state) {
  const auto pictures = Sequence(state.range(0));
  std::vector<const PictureBytes*> sources;
  for (const PictureBytes& p : pictures) sources.push_back(&p);
  const PictureBytes map = ScanIdenticalBytes(sources, 1);
  const SequenceOptions options{};
  std::optional<FrameBudget> budget;
  for (auto _ : state) budget = ComputeFrameBudget(pictures, map, options);
  const TransitionBudget& t = budget->total;
  const FrameScript script = MakeFrameScript(pictures, options);
  const int64_t bound = LowerBound(script, PictureBytes{});
  state.counters["whole_ops"] = static_cast<double>(t.whole.operations);
  state.counters["whole_bytes"] = static_cast<double>(t.whole.table_bytes);
  state.counters["skip_ops"] = static_cast<double>(t.skip_map.operations);
  state.counters["skip_bytes"] = static_cast<double>(t.skip_map.table_bytes);
  state.counters["today_ops"] = static_cast<double>(t.script.operations);
  state.counters["today_bytes"] = static_cast<double>(t.script.table_bytes);
  state.counters["new_ops"] = static_cast<double>(t.scrolling.operations);
  state.counters["new_bytes"] = static_cast<double>(t.scrolling.table_bytes);
  const FrameScript flat = MakeFrameScript(pictures, {std::nullopt, false, false});
  int64_t flat_ops = 0, flat_bytes = static_cast<int64_t>(EncodeFrameTable(flat).size());
  for (const Frame& f : flat.frames) flat_ops += FrameOperationCount(f);
  state.counters["noscroll_ops"] = static_cast<double>(flat_ops);
  state.counters["noscroll_bytes"] = static_cast<double>(flat_bytes);
  state.counters["bound_ops"] = static_cast<double>(bound);
  state.counters["gap_pct"] =
      100.0 * static_cast<double>(t.scrolling.operations - bound) / static_cast<double>(bound);
  const int64_t flat_bound = LowerBound(flat, PictureBytes{});
  state.counters["noscroll_gap_pct"] =
      100.0 * static_cast<double>(flat_ops - flat_bound) / static_cast<double>(flat_bound);
}
BENCHMARK(BM_Budget)->Apply(SequenceArgs);

}  // namespace
}  // namespace lumigrid
