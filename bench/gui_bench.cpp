// What the user waits for on screen: a whole canvas redraw from the buffer bytes, one painted
// pixel with the readout that follows it (the painting poll as it runs after a mouse event),
// and a listing generated and shown in its view.
#include <benchmark/benchmark.h>

#include <random>

#include "app/main_window.h"
#include "app/startup.h"
#include "codegen/listing_commands.h"
#include "codegen/listing_view.h"
#include "picture/canvas_geometry.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "picture/zoom_view_widget.h"
#include "ui/application.h"
#include "ui/scripted_platform.h"

namespace {

using namespace lumigrid;

struct Fixture {
  ui::ScriptedPlatform platform;
  std::unique_ptr<MainWindow> window = CreateMainWindow(platform, Settings{});
  Fixture() {
    std::mt19937 random(7);
    for (auto& byte : window->State().Buffer(1).Bytes()) byte = static_cast<uint8_t>(random());
    window->show();
    QApplication::processEvents();
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_RedrawWholeCanvas(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.window->Editor().RedrawCanvas();
    f.window->Canvas()->repaint();  // on screen, not only into the cell images
  }
}
BENCHMARK(BM_RedrawWholeCanvas)->Unit(benchmark::kMicrosecond);

void BM_PaintOnePixelWithReadout(benchmark::State& state) {
  Fixture& f = Shared();
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
  Fixture& f = Shared();
  ListingCommands& listings = f.window->Listings();
  for (auto _ : state) {
    listings.Convert();
    f.window->CurrentListing()->repaint();
  }
}
BENCHMARK(BM_GenerateAndShowListing)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  lumigrid::ui::Application app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
