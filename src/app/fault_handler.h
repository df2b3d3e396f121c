// The fatal-error handler: on a processor fault it saves a recovery copy of every modified
// picture, abandons the command and asks from the event loop whether to end the program.
// At the next start the copies are offered back.
#pragma once

#include <QObject>
#include <array>
#include <csignal>
#include <memory>
#include <string>

#include "picture/geometry.h"

namespace lumigrid {

namespace ui {
class Platform;
}
class EditorState;
class MainWindow;

// Exit code of a run ended from the fault message.
inline constexpr int kFatalExitCode = 1;

class FatalErrorHandler : public QObject {
  Q_OBJECT

 public:
  // Registers the handler. Recovery copies go into `recovery_folder` (created owner-only);
  // none are written when it is empty or not a folder of the current user.
  FatalErrorHandler(ui::Platform& platform, const std::string& recovery_folder,
                    QObject* parent = nullptr);
  ~FatalErrorHandler() override;

  // The pictures whose modified buffers are copied on a fault.
  void Watch(const EditorState* state) { state_ = state; }

  // Shows the fault message for the last abandoned command or sent fault signal. Yes ends the
  // program; after the first No later faults are passed over silently (their copies are still
  // written).
  void ReportFault();

 signals:
  // After a fault has been reported (or passed over).
  void faultHandled();

 private:
  static void WriteRecovery(void* self);

  ui::Platform& platform_;
  const EditorState* state_ = nullptr;
  bool recovery_ = false;
  std::string folder_;
  std::array<std::string, kBufferCount> copies_;
  std::array<std::string, kBufferCount> partial_copies_;
  // Copies this run wrote; the others belong to an earlier run.
  std::array<volatile std::sig_atomic_t, kBufferCount> written_{};
  bool silent_ = false;
  bool showing_ = false;
};

// The end of a run whose settings are written and copies removed: the window is destroyed,
// unless a fault abandoned a command during the run, then the process ends with 0.
[[noreturn]] void EndRun(std::unique_ptr<MainWindow> window);

// Ends the process: the fault handling in force before the program started comes back and
// buffered output is written. Never returns.
[[noreturn]] void ExitCleanup(int exit_code = 0);

// The folder of recovery copies beside the settings file.
std::string RecoveryFolderIn(const std::string& settings_folder);

// When recovery copies are found, asks whether to restore them: Yes loads each into its
// buffer, marked modified, with its file name. Either answer removes the copies.
void OfferRecovery(MainWindow& window, const std::string& recovery_folder);

// At a normal end the pictures went through the closing questions; older copies would only
// be offered again.
void RemoveRecoveryCopies(const std::string& recovery_folder);

}  // namespace lumigrid
