// What the user waits for after a command of the menu "Рисунок": the picture changed, the
// history step taken, the canvas redrawn on screen and the open cell's enlarged view and readout
// following it. Through the command table, as the menu runs it.
#include <benchmark/benchmark.h>

#include "app/commands.h"
#include "app/picture_commands.h"
#include "bench_window.h"
#include "core/test_pictures.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "picture/zoom_view_widget.h"

namespace {

using namespace lumigrid;
using lumigrid::testing::RandomPicture;

BenchWindow& Shared() {
  static BenchWindow fixture(
      [](EditorState& state) { state.Buffer(1).Bytes() = RandomPicture(3); });
  return fixture;
}

void Repaint(BenchWindow& f) {
  f.window->Canvas()->repaint();
  f.window->CellSidePanel()->ZoomView()->repaint();
}

void BM_TransformOnScreen(benchmark::State& state) {
  BenchWindow& f = Shared();
  f.window->Editor().OpenCell(42);
  const int command = static_cast<int>(state.range(0));
  // Shifts wrap around, so every one of them changes the picture.
  if (!f.window->Pictures().WrapShift()) f.window->Dispatch(command::kShiftWrap);
  for (auto _ : state) {
    f.window->Dispatch(command);
    Repaint(f);
  }
}
BENCHMARK(BM_TransformOnScreen)
    ->Arg(command::kInvert)
    ->Arg(command::kRotate180)
    ->Arg(command::kShiftDown)
    ->ArgName("command")
    ->Unit(benchmark::kMicrosecond);

// Undo, or redo once nothing is left to undo, of whole-picture steps.
void BM_UndoRedoOnScreen(benchmark::State& state) {
  BenchWindow& f = Shared();
  f.window->Editor().OpenCell(42);
  for (int i = 0; i < 256; ++i) f.window->Dispatch(command::kInvert);
  EditorState& editor = f.window->State();
  bool undo = true;
  for (auto _ : state) {
    const PictureHistory& history = editor.History(1);
    if (undo ? !history.CanUndo(editor.Current().Bytes())
             : !history.CanRedo(editor.Current().Bytes())) {
      undo = !undo;
    }
    f.window->Dispatch(undo ? command::kUndo : command::kRedo);
    Repaint(f);
  }
}
BENCHMARK(BM_UndoRedoOnScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
