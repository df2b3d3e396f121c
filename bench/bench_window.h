// The main window for benchmarks of what the user waits for on screen: the scripted platform,
// default settings, shown offscreen. main() comes from widget_bench_main.cpp.
#pragma once

#include <functional>
#include <memory>

#include "app/main_window.h"
#include "ui/scripted_platform.h"

namespace lumigrid {

struct BenchWindow {
  // prepare fills the state before the window is shown, so the first paint shows it.
  explicit BenchWindow(const std::function<void(EditorState&)>& prepare = {});

  ui::ScriptedPlatform platform;
  std::unique_ptr<MainWindow> window;
};

}  // namespace lumigrid
