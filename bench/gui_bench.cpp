// What the user waits for on screen: a whole canvas redraw from the buffer bytes, one painted
// pixel with the readout that follows it (the painting poll as it runs after a mouse event),
// and a listing generated and shown in its view.
#include <benchmark/benchmark.h>

#include "bench_window.h"
#include "codegen/listing_commands.h"
#include "codegen/listing_view.h"
#include "core/test_pictures.h"
#include "picture/canvas_geometry.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "picture/zoom_view_widget.h"

namespace {

using namespace lumigrid;
using lumigrid::testing::RandomPicture;

BenchWindow& Shared() {
  static BenchWindow fixture(
      [](EditorState& state) { state.Buffer(1).Bytes() = RandomPicture(7); });
  return fixture;
}

void BM_RedrawWholeCanvas(benchmark::State& state) {
  BenchWindow& f = Shared();
  for (auto _ : state) {
    f.window->Editor().RedrawCanvas();
    f.window->Canvas()->repaint();  // on screen, not only into the cell images
  }
}
BENCHMARK(BM_RedrawWholeCanvas)->Unit(benchmark::kMicrosecond);

void BM_PaintOnePixelWithReadout(benchmark::State& state) {
  BenchWindow& f = Shared();
  f.window->Editor().OpenCell(42);
  ZoomViewWidget* zoom = f.window->CellSidePanel()->ZoomView();
  const Rect square = ZoomSquareRect(20);
  const QPoint inside = zoom->mapToGlobal(QPoint(square.x + 8, square.y + 8));
  bool left = true;
  for (auto _ : state) {
    // Alternate the buttons so every poll sets or clears the pixel.
    f.platform.SetPointer(inside, left ? Qt::LeftButton : Qt::RightButton);
    f.window->Editor().RunPolls();
    left = !left;
  }
}
BENCHMARK(BM_PaintOnePixelWithReadout)->Unit(benchmark::kMicrosecond);

void BM_GenerateAndShowListing(benchmark::State& state) {
  BenchWindow& f = Shared();
  ListingCommands& listings = f.window->Listings();
  for (auto _ : state) {
    listings.Convert();
    f.window->CurrentListing()->repaint();
  }
}
BENCHMARK(BM_GenerateAndShowListing)->Unit(benchmark::kMicrosecond);

}  // namespace
