// Logical operations and the animation: the operation on its own, the operation with the canvas
// redrawn on screen, and runs of pictures measured against their moments, with the processor
// time they take.
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
#include "tools/animation.h"
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

// A run of `frames` pictures at the delay of list index range(0), measured where the user
// sees it (the moment each picture is drawn): how far each lies behind its moment on the run's
// grid (the grid follows a picture that came late), the shortest time a picture stayed up, how
// often the grid had to move, and how much of one core the process used meanwhile.
void BM_AnimationTiming(benchmark::State& state) {
  const int delay_index = static_cast<int>(state.range(0));
  const int frames = static_cast<int>(state.range(1));
  const std::chrono::milliseconds delay(AnimationDelayMs(kAnimationDelays[delay_index]));
  BenchWindow& f = Shared();
  f.window->Dispatch(command::kModeAnimation);
  AnimationPanel& panel = f.window->Tools().Animation();
  panel.SetDelayIndex(delay_index);
  std::vector<Clock::time_point> stamps;
  QEventLoop loop;
  const auto connection = QObject::connect(&panel, &AnimationPanel::pictureShown, [&] {
    stamps.push_back(Clock::now());
    if (static_cast<int>(stamps.size()) == frames) loop.quit();
  });
  double max_dev = 0, sum_dev = 0, cpu_share = 0, shortest = 1e9;
  int within = 0, moved = 0;
  for (auto _ : state) {
    stamps.clear();
    stamps.reserve(frames);
    const double cpu_before = CpuSeconds();
    panel.StartAnimation();
    loop.exec();
    const double wall = std::chrono::duration<double>(stamps.back() - stamps.front()).count();
    cpu_share = (CpuSeconds() - cpu_before) / wall;
    panel.StopAnimation();
    max_dev = sum_dev = 0;
    shortest = 1e9;
    within = moved = 0;
    // The run's own rule replayed over the drawing moments gives each picture's moment.
    AnimationRun grid({1, 2}, delay, stamps[0]);
    for (int i = 1; i < frames; ++i) {
      const Clock::time_point moment = grid.NextDue();
      const double dev = std::chrono::duration<double, std::milli>(stamps[i] - moment).count();
      max_dev = std::max(max_dev, std::abs(dev));
      sum_dev += std::abs(dev);
      if (std::abs(dev) <= 2.0) ++within;
      grid.Advance(std::max(stamps[i], moment));
      if (grid.NextDue() != moment + delay) ++moved;
      shortest = std::min(
          shortest, std::chrono::duration<double, std::milli>(stamps[i] - stamps[i - 1]).count());
    }
  }
  QObject::disconnect(connection);
  state.counters["delay_ms"] = static_cast<double>(delay.count());
  state.counters["frames"] = frames;
  state.counters["max_dev_ms"] = max_dev;
  state.counters["mean_dev_ms"] = sum_dev / (frames - 1);
  state.counters["within_2ms_pct"] = 100.0 * within / (frames - 1);
  state.counters["shortest_ms"] = shortest;
  state.counters["grid_moves"] = moved;
  state.counters["cpu_pct_of_core"] = 100.0 * cpu_share;
}
BENCHMARK(BM_AnimationTiming)
    ->Args({0, 1000})  // 10 ms
    ->Args({2, 200})   // 50 ms
    ->Args({4, 50})    // 200 ms
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
