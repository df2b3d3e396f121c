#include "app/startup.h"

#include <string>
#include <vector>

#include "app/file_commands.h"
#include "app/file_rules.h"
#include "app/main_window.h"

namespace lumigrid {

std::unique_ptr<MainWindow> CreateMainWindow(ui::Platform& platform, const Settings& settings) {
  auto window = std::make_unique<MainWindow>(platform, settings);
  window->move(CorrectWindowCoordinate(settings.window_x),
               CorrectWindowCoordinate(settings.window_y));
  return window;
}

void OpenCommandLineFile(MainWindow& window, const QStringList& parameters) {
  std::vector<std::string> names;
  for (const QString& p : parameters) names.push_back(p.toStdString());
  window.Files().OpenSelectedFile(StartupFile(names));
}

}  // namespace lumigrid
