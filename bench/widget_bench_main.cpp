// main() of the benchmarks that need widgets: offscreen, inside the program's own application
// object, as the editor runs.
#include <benchmark/benchmark.h>

#include "ui/application.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  lumigrid::ui::Application app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
