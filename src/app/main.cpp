#include <QApplication>

#include "app/fault_handler.h"
#include "app/main_window.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "app/startup_window.h"
#include "ui/application.h"
#include "ui/qt_platform.h"

int main(int argc, char** argv) {
  lumigrid::ui::Application app(argc, argv);
  lumigrid::ui::QtPlatform platform;
  const std::string settings_folder = lumigrid::SettingsFolder();
  const std::string settings_path = lumigrid::SettingsPathIn(settings_folder);
  const std::string recovery_folder = lumigrid::RecoveryFolderIn(settings_folder);
  lumigrid::FatalErrorHandler fatal_errors(platform, recovery_folder);
  const lumigrid::Settings settings = lumigrid::ReadSettings(platform, settings_path);

  auto startup = std::make_unique<lumigrid::StartupWindow>();
  startup->show();
  QApplication::processEvents();

  auto window = lumigrid::CreateMainWindow(platform, settings);
  fatal_errors.Watch(&window->State());
  window->show();
  lumigrid::OpenCommandLineFile(*window, QApplication::arguments().mid(1));

  startup.reset();
  // Asked once start-up is over: the top-most start-up window would cover the question.
  lumigrid::OfferRecovery(*window, recovery_folder);
  QApplication::exec();
  lumigrid::WriteSettings(settings_path, window->CollectSettings());
  lumigrid::RemoveRecoveryCopies(recovery_folder);
  fatal_errors.Watch(nullptr);
  lumigrid::EndRun(std::move(window));
}
