// Logical operations and the animation: the operation on its own, the operation with the canvas
// redrawn on screen, and a 1000-picture run at 10 ms measured against its 10 ms grid, with the
// processor time it takes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QComboBox>
#include <QEventLoop>
#include <QRadioButton>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "app/tool_commands.h"
#include "bench_window.h"
#include "commands/command_numbers.h"
#include "core/test_pictures.h"
#include "picture/canvas_widget.h"
#include "tools/animation_panel.h"
#include "tools/logic_ops.h"
#include "tools/logic_panel.h"

namespace {

using namespace lumigrid;
using lumigrid::testing::RandomPicture;
using Clock = std::chrono::steady_clock;

void BM_CombineBytes(benchmark::State& state) {
  const auto op = static_cast<LogicOp>(state.range(0));
  const PictureBytes first = RandomPicture(1);
  const PictureBytes second = RandomPicture(2);
  PictureBytes result{};
  for (auto _ : state) {
    CombineBytes(op, first, second, result);
    benchmark::DoNotOptimize(result.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kPictureBytes);
}
BENCHMARK(BM_CombineBytes)->DenseRange(0, 2)->ArgName("op");

// As "Выполнить" runs it: the undo copy, the operation, the modified flag.
void BM_ApplyWithUndoCopy(benchmark::State& state) {
  EditorState editor_state;
  editor_state.Buffer(1).Bytes() = RandomPicture(1);
  editor_state.Buffer(2).Bytes() = RandomPicture(2);
  LogicUndo undo;
  for (auto _ : state) {
    undo.Apply(editor_state, LogicOp::kXor, 1, 2, 1);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ApplyWithUndoCopy);

BenchWindow& Shared() {
  static BenchWindow fixture([](EditorState& state) {
    state.Buffer(1).Bytes() = RandomPicture(1);
    state.Buffer(2).Bytes() = RandomPicture(2);
  });
  return fixture;
}

void BM_ExecuteAndRedrawCanvas(benchmark::State& state) {
  BenchWindow& f = Shared();
  f.window->Dispatch(command::kModeLogic);
  LogicPanel& panel = f.window->Tools().Logic();
  panel.OperationButton(LogicOp::kXor)->setChecked(true);
  panel.ResultList()->setCurrentIndex(0);  // into the current buffer: redrawn every time
  for (auto _ : state) {
    panel.ApplyLogicOp();
    f.window->Canvas()->repaint();
  }
}
BENCHMARK(BM_ExecuteAndRedrawCanvas)->Unit(benchmark::kMicrosecond);

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Pictures are drawn at t0 + i * 10 ms; the counters give how far the drawing moments lie from
// that grid and how much of one core the process used meanwhile.
void BM_AnimationAtDelay10(benchmark::State& state) {
  constexpr int kFrames = 1000;
  BenchWindow& f = Shared();
  f.window->Dispatch(command::kModeAnimation);
  AnimationPanel& panel = f.window->Tools().Animation();
  panel.SetDelayIndex(0);  // "10"
  std::vector<Clock::time_point> stamps;
  QEventLoop loop;
  const auto connection = QObject::connect(&panel, &AnimationPanel::pictureShown, [&] {
    stamps.push_back(Clock::now());
    if (static_cast<int>(stamps.size()) == kFrames) loop.quit();
  });
  double max_dev = 0, sum_dev = 0, cpu_share = 0;
  double sum_signed = 0;
  int within = 0;
  int late = 0;  // grid moments the last picture lags behind its own
  for (auto _ : state) {
    stamps.clear();
    stamps.reserve(kFrames);
    const double cpu_before = CpuSeconds();
    panel.StartAnimation();
    loop.exec();
    const double wall = std::chrono::duration<double>(stamps.back() - stamps.front()).count();
    cpu_share = (CpuSeconds() - cpu_before) / wall;
    panel.StopAnimation();
    max_dev = sum_dev = 0;
    within = 0;
    sum_signed = 0;
    late = 0;
    for (int i = 0; i < kFrames; ++i) {
      // Distance to the nearest moment of the grid: a picture that waited out a stall is
      // shown on a later moment, which still counts as on the grid.
      const double since = std::chrono::duration<double, std::milli>(stamps[i] - stamps[0]).count();
      const double signed_dev = since - 10.0 * std::round(since / 10.0);
      const double dev = std::abs(signed_dev);
      sum_signed += signed_dev;
      max_dev = std::max(max_dev, dev);
      sum_dev += dev;
      if (dev <= 2.0) ++within;
      if (since > 10.0 * i + 5.0)
        late = std::max(late, static_cast<int>(std::round(since / 10.0)) - i);
    }
  }
  QObject::disconnect(connection);
  state.counters["frames"] = kFrames;
  state.counters["max_dev_ms"] = max_dev;
  state.counters["mean_dev_ms"] = sum_dev / kFrames;
  state.counters["mean_signed_dev_ms"] = sum_signed / kFrames;
  state.counters["within_2ms_pct"] = 100.0 * within / kFrames;
  state.counters["slots_behind"] = late;
  state.counters["cpu_pct_of_core"] = 100.0 * cpu_share;
}
BENCHMARK(BM_AnimationAtDelay10)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
