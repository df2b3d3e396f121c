#include <QApplication>

#include "app/main_window.h"
#include "app/startup.h"
#include "app/startup_window.h"
#include "ui/application.h"
#include "ui/qt_platform.h"

int main(int argc, char** argv) {
  lumigrid::ui::Application app(argc, argv);
  lumigrid::ui::QtPlatform platform;
  const lumigrid::Settings settings = lumigrid::ReadSettings();

  auto startup = std::make_unique<lumigrid::StartupWindow>();
  startup->show();
  QApplication::processEvents();

  auto window = lumigrid::CreateMainWindow(platform, settings);
  window->show();
  lumigrid::OpenCommandLineFile(*window, QApplication::arguments().mid(1));

  startup.reset();
  return QApplication::exec();
}
