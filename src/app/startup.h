// Start-up of the program: the settings it starts from and the main window it opens.
#pragma once

#include <QStringList>
#include <memory>

#include "app/settings.h"

namespace lumigrid {

namespace ui {
class Platform;
}
class MainWindow;

// Builds the main window hidden, places it at the stored position (corrected when out of
// range) and returns it; the caller shows it.
std::unique_ptr<MainWindow> CreateMainWindow(ui::Platform& platform, const Settings& settings);

// Opens the file the program was started with (the first of the parameters, program name
// excluded) into the current buffer, when it is an existing non-empty file; silently nothing
// otherwise.
void OpenCommandLineFile(MainWindow& window, const QStringList& parameters);

}  // namespace lumigrid
