// The tools on the canvas as the user waits for them: a pencil segment across the picture, a
// line dragged across it and released, and a flood fill of the whole picture, each through the
// canvas's mouse events (with the pointer polls that follow every event) and including the
// canvas's repaint on screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include "app/commands.h"
#include "app/drawing_tool_commands.h"
#include "bench_window.h"
#include "picture/canvas_geometry.h"
#include "picture/canvas_widget.h"

namespace {

using namespace lumigrid;

BenchWindow& Shared() {
  static BenchWindow fixture;
  return fixture;
}

QPoint On(PixelPoint p) {
  const Rect r = CanvasPixelRect(p);
  return {r.x + 1, r.y + 1};
}

void Send(BenchWindow& f, QEvent::Type type, PixelPoint p, Qt::MouseButton button) {
  CanvasWidget* canvas = f.window->Canvas();
  const QPoint local = On(p);
  const QPoint global = canvas->mapToGlobal(local);
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
  f.platform.SetPointer(global, held);
  QMouseEvent event(type, QPointF(local), QPointF(global),
                    type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
  QApplication::sendEvent(canvas, &event);
}

void BM_PencilSegmentAcrossThePicture(benchmark::State& state) {
  BenchWindow& f = Shared();
  f.window->Dispatch(command::kToolPencil);
  bool left = true;
  for (auto _ : state) {
    // Every segment changes the pixels it crosses: the buttons take turns.
    const Qt::MouseButton button = left ? Qt::LeftButton : Qt::RightButton;
    state.PauseTiming();
    Send(f, QEvent::MouseButtonPress, {0, 0}, button);
    state.ResumeTiming();
    Send(f, QEvent::MouseMove, {127, 63}, button);
    f.window->Canvas()->repaint();
    state.PauseTiming();
    Send(f, QEvent::MouseButtonRelease, {127, 63}, button);
    state.ResumeTiming();
    left = !left;
  }
}
BENCHMARK(BM_PencilSegmentAcrossThePicture)->Unit(benchmark::kMicrosecond);

void BM_LineAcrossThePicture(benchmark::State& state) {
  BenchWindow& f = Shared();
  f.window->Dispatch(command::kToolLine);
  bool left = true;
  for (auto _ : state) {
    const Qt::MouseButton button = left ? Qt::LeftButton : Qt::RightButton;
    // Press, the preview at the far end, the release that draws it as one step.
    Send(f, QEvent::MouseButtonPress, {0, 0}, button);
    Send(f, QEvent::MouseMove, {127, 63}, button);
    Send(f, QEvent::MouseButtonRelease, {127, 63}, button);
    f.window->Canvas()->repaint();
    left = !left;
  }
}
BENCHMARK(BM_LineAcrossThePicture)->Unit(benchmark::kMicrosecond);

void BM_FloodFillOfTheWholePicture(benchmark::State& state) {
  BenchWindow& f = Shared();
  f.window->State().Buffer(1).Clear();
  f.window->Dispatch(command::kToolFill);
  bool left = true;
  for (auto _ : state) {
    // All 8192 pixels change every time: lit, then unlit again.
    const Qt::MouseButton button = left ? Qt::LeftButton : Qt::RightButton;
    Send(f, QEvent::MouseButtonPress, {64, 32}, button);
    Send(f, QEvent::MouseButtonRelease, {64, 32}, button);
    f.window->Canvas()->repaint();
    left = !left;
  }
}
BENCHMARK(BM_FloodFillOfTheWholePicture)->Unit(benchmark::kMicrosecond);

}  // namespace
