// What the fault guard adds to every event: a guarded call against a plain one, and the
// settings file read and rewritten as at start and end.
#include <benchmark/benchmark.h>

#include "app/settings_file.h"
#include "ui/fault_trap.h"

namespace lumigrid {
namespace {

void Nothing(void* counter) { ++*static_cast<int*>(counter); }

void BM_PlainCall(benchmark::State& state) {
  int counter = 0;
  void (*volatile body)(void*) = &Nothing;
  for (auto _ : state) body(&counter);
  benchmark::DoNotOptimize(counter);
}
BENCHMARK(BM_PlainCall);

void BM_GuardedCall(benchmark::State& state) {
  ui::InstallFaultTrap(nullptr, nullptr);
  int counter = 0;
  for (auto _ : state) benchmark::DoNotOptimize(ui::RunGuardedCall(&Nothing, &counter));
  ui::RestoreFaultHandling();
}
BENCHMARK(BM_GuardedCall);

void BM_SettingsReadAndRewrite(benchmark::State& state) {
  Settings settings;
  for (int i = 0; i < 10; ++i) settings.recent_files[i] = "C:\\Рисунки\\" + std::to_string(i);
  SettingsDocument written;
  StoreSettings(written, settings);
  const std::string bytes = written.Bytes();
  for (auto _ : state) {
    SettingsDocument doc = SettingsDocument::Parse(bytes);
    const Settings read = SettingsFromDocument(doc);
    StoreSettings(doc, read);
    benchmark::DoNotOptimize(doc.Bytes());
  }
}
BENCHMARK(BM_SettingsReadAndRewrite);

}  // namespace
}  // namespace lumigrid

BENCHMARK_MAIN();
