#include "app/startup.h"

#include "app/main_window.h"

namespace lumigrid {

Settings ReadSettings() { return Settings{}; }

std::unique_ptr<MainWindow> CreateMainWindow(ui::Platform& platform, const Settings& settings) {
  auto window = std::make_unique<MainWindow>(platform, settings);
  window->move(CorrectWindowCoordinate(settings.window_x),
               CorrectWindowCoordinate(settings.window_y));
  return window;
}

}  // namespace lumigrid
