// The history and the transforms without the screen: one undo, one redo, each transform, and
// the memory the histories of all ten buffers hold when each has its full 256 steps of
// whole-picture changes. The memory is counted by the heap itself: the allocation functions of
// this program add up the usable size of every block they hand out.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "core/test_pictures.h"
#include "edit/transforms.h"
#include "picture/editor_state.h"

// The replaced operator new takes its blocks from malloc, so freeing them is right; GCC cannot see
// that through the inlined allocation functions.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

std::atomic<long long> g_live_bytes{0};

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  g_live_bytes += static_cast<long long>(malloc_usable_size(p));
  return p;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  g_live_bytes -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace lumigrid;
using lumigrid::testing::RandomPicture;

// The longest step name of the menu, so the names cost what they can.
constexpr const char* kLabel = "копирование буфера";

// Buffer b with `steps` whole-picture changes recorded.
void FillHistory(EditorState& state, int b, int steps) {
  for (int i = 0; i < steps; ++i) {
    state.Buffer(b).Bytes() = Transformed(state.Buffer(b).Bytes(), Transform::kInvert);
    state.Buffer(b).Bytes()[0] = static_cast<uint8_t>(i);  // no two steps alike
    state.RecordEdit(b, kLabel);
  }
}

void BM_HistoryMemoryOfTenFullBuffers(benchmark::State& state) {
  for (auto _ : state) {
    auto editor = std::make_unique<EditorState>();
    for (int b = 1; b <= kBufferCount; ++b) editor->Buffer(b).Bytes() = RandomPicture(b);
    const long long before = g_live_bytes;
    for (int b = 1; b <= kBufferCount; ++b) {
      FillHistory(*editor, b, PictureHistory::kMaxSteps + 10);  // beyond the bound
    }
    const long long heap = g_live_bytes - before;
    std::size_t counted = 0;
    for (int b = 1; b <= kBufferCount; ++b) counted += editor->History(b).MemoryBytes();
    state.counters["heap_MB"] = static_cast<double>(heap) / 1e6;
    state.counters["steps_MB"] = static_cast<double>(counted) / 1e6;
    state.counters["steps"] = kBufferCount * editor->History(1).UndoCount();
  }
}
BENCHMARK(BM_HistoryMemoryOfTenFullBuffers)->Iterations(1)->Unit(benchmark::kMillisecond);

// Undo (or redo) of one whole-picture step; at the end of the history the other way round.
void BM_UndoRedoStep(benchmark::State& state) {
  EditorState editor;
  editor.Buffer(1).Bytes() = RandomPicture(1);
  FillHistory(editor, 1, PictureHistory::kMaxSteps);
  bool undo = true;
  for (auto _ : state) {
    if (!(undo ? editor.UndoEdit(1) : editor.RedoEdit(1))) undo = !undo;
    benchmark::DoNotOptimize(editor.Buffer(1).Bytes().data());
  }
}
BENCHMARK(BM_UndoRedoStep)->Unit(benchmark::kMicrosecond);

void BM_Transform(benchmark::State& state) {
  const auto transform = static_cast<Transform>(state.range(0));
  PictureBytes picture = RandomPicture(2);
  for (auto _ : state) {
    picture = Transformed(picture, transform, ShiftEdge::kWrap);
    benchmark::DoNotOptimize(picture.data());
  }
}
BENCHMARK(BM_Transform)
    ->DenseRange(static_cast<int>(Transform::kInvert), static_cast<int>(Transform::kShiftDown))
    ->ArgName("transform")
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
