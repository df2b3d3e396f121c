#include "app/fault_handler.h"

#include <QSocketNotifier>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/fault_message.h"
#include "app/main_window.h"
#include "app/recovery_file.h"
#include "app/settings_store.h"
#include "files/safe_file.h"
#include "picture/editor.h"
#include "picture/editor_state.h"
#include "ui/application.h"
#include "ui/fault_trap.h"
#include "ui/platform.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumigrid {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Join(const std::string& folder, const std::string& name) {
  const std::u8string path =
      (PathFromUtf8(folder) / std::filesystem::path(std::u8string(name.begin(), name.end())))
          .u8string();
  return std::string(path.begin(), path.end());
}

// A folder of the current user and not a link; made owner-only when missing.
bool PrepareOwnFolder(const std::string& folder) {
  if (folder.empty()) return false;
#ifdef _WIN32
  std::error_code ec;
  std::filesystem::create_directories(PathFromUtf8(folder), ec);
  return std::filesystem::is_directory(PathFromUtf8(folder), ec);
#else
  ::mkdir(folder.c_str(), 0700);
  struct stat st;
  return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
#endif
}

#ifndef _WIN32
// Async-signal-safe: open, write, fsync, close, rename and unlink only.
void WriteAll(int fd, const char* data, size_t size, bool& ok) {
  while (ok && size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      ok = false;
      return;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
}
#endif

}  // namespace

FatalErrorHandler::FatalErrorHandler(ui::Platform& platform, const std::string& recovery_folder,
                                     QObject* parent)
    : QObject(parent), platform_(platform), folder_(recovery_folder) {
  recovery_ = PrepareOwnFolder(folder_);
  for (int b = 1; b <= kBufferCount; ++b) {
    copies_[b - 1] = Join(folder_, RecoveryFileName(b));
    partial_copies_[b - 1] = copies_[b - 1] + ".part";
  }
  ui::InstallFaultTrap(&FatalErrorHandler::WriteRecovery, this);
  if (auto* app = qobject_cast<ui::Application*>(QCoreApplication::instance())) {
    // Queued: the message is shown from the loop, not inside the abandoned event.
    connect(app, &ui::Application::faultCaught, this, &FatalErrorHandler::ReportFault,
            Qt::QueuedConnection);
  }
  // A fault signal sent to the program is reported once the loop takes events again.
  if (const int notice = ui::FaultNoticeDescriptor(); notice >= 0) {
    auto* notifier = new QSocketNotifier(notice, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &FatalErrorHandler::ReportFault);
  }
}

FatalErrorHandler::~FatalErrorHandler() { ui::RestoreFaultHandling(); }

void FatalErrorHandler::WriteRecovery(void* context) {
  auto* self = static_cast<FatalErrorHandler*>(context);
  if (!self->recovery_ || self->state_ == nullptr) return;
#ifndef _WIN32
  for (int b = 1; b <= kBufferCount; ++b) {
    const char* copy = self->copies_[b - 1].c_str();
    const PictureBuffer& buffer = self->state_->Buffer(b);
    if (!buffer.Modified()) {
      // A copy from an earlier fault of this run is stale once the picture was saved; one
      // left by an earlier run waits for its question at the start.
      if (self->written_[b - 1]) ::unlink(copy);
      continue;
    }
    const char* partial = self->partial_copies_[b - 1].c_str();
    const int fd = ::open(partial, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) continue;
    bool ok = true;
    WriteAll(fd, reinterpret_cast<const char*>(buffer.Bytes().data()), buffer.Bytes().size(), ok);
    const std::string& name = buffer.FileName();
    WriteAll(fd, name.data(), std::min(name.size(), kMaxRecoveredNameBytes), ok);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    // Renamed only once whole, so an earlier copy is never replaced by half of one.
    if (!ok || ::rename(partial, copy) != 0) {
      ::unlink(partial);
    } else {
      self->written_[b - 1] = 1;
    }
  }
#else
  // Windows: the exception filter runs on the faulting thread's own stack, where these
  // plain calls are allowed.
  for (int b = 1; b <= kBufferCount; ++b) {
    const PictureBuffer& buffer = self->state_->Buffer(b);
    if (!buffer.Modified()) {
      std::error_code ec;
      if (self->written_[b - 1]) std::filesystem::remove(PathFromUtf8(self->copies_[b - 1]), ec);
      continue;
    }
    if (WriteFileSafely(self->copies_[b - 1], RecoveryFileContent(buffer))) {
      self->written_[b - 1] = 1;
    }
  }
#endif
}

void FatalErrorHandler::ReportFault() {
  const std::optional<ui::FaultRecord> fault = ui::TakeFault();
  if (!fault || showing_) return;
  if (!silent_) {
    showing_ = true;
    const ui::Answer answer = platform_.ShowMessage(
        nullptr, {FromUtf8(FaultCaption()),
                  FromUtf8(FaultMessageText(ui::FaultDescription(fault->kind), {}, fault->address)),
                  ui::MessageIcon::kError, ui::MessageButtons::kYesNo, ui::Answer::kNo});
    showing_ = false;
    // No question about unsaved pictures and no settings: the state may be corrupted. The
    // recovery copies hold the pictures.
    if (answer == ui::Answer::kYes) ExitCleanup(kFatalExitCode);
    silent_ = true;
  }
  emit faultHandled();
}

void EndRun(std::unique_ptr<MainWindow> window) {
  // After an abandoned command the widgets' destructors would meet what it left half done
  // (a receiver still marked as inside a dead signal emission): the process ends without them.
  if (ui::AbandonedCalls() == 0) window.reset();
  ExitCleanup(0);
}

void ExitCleanup(int exit_code) {
  ui::RestoreFaultHandling();
  std::fflush(nullptr);
  std::_Exit(exit_code);
}

std::string RecoveryFolderIn(const std::string& settings_folder) {
  if (settings_folder.empty()) return {};
  return Join(settings_folder, kRecoveryFolderName);
}

void OfferRecovery(MainWindow& window, const std::string& recovery_folder) {
  if (recovery_folder.empty()) return;
  std::array<std::optional<RecoveredBuffer>, kBufferCount> found;
  bool any = false;
  for (int b = 1; b <= kBufferCount; ++b) {
    const OwnFile file = ReadOwnFile(Join(recovery_folder, RecoveryFileName(b)));
    if (file.state != OwnFileState::kOwn) continue;
    found[b - 1] = ParseRecoveryFile(file.bytes);
    any = any || found[b - 1].has_value();
  }
  if (!any) return;
  const ui::Answer answer = window.Platform().ShowMessage(
      &window, {FromUtf8(kRecoveryCaption), FromUtf8(kRecoveryQuestion), ui::MessageIcon::kQuestion,
                ui::MessageButtons::kYesNo, ui::Answer::kYes});
  if (answer == ui::Answer::kYes) {
    EditorState& state = window.State();
    for (int b = 1; b <= kBufferCount; ++b) {
      if (!found[b - 1]) continue;
      state.Buffer(b).Bytes() = found[b - 1]->bytes;
      state.SetBufferFileName(b, found[b - 1]->file_name);
      state.MarkModified(b);
    }
    window.Editor().RedrawCanvas();
    window.UpdateTitle();
  }
  RemoveRecoveryCopies(recovery_folder);
}

void RemoveRecoveryCopies(const std::string& recovery_folder) {
  if (recovery_folder.empty()) return;
  for (int b = 1; b <= kBufferCount; ++b) {
    std::error_code ec;
    const std::string copy = Join(recovery_folder, RecoveryFileName(b));
    std::filesystem::remove(PathFromUtf8(copy), ec);
    std::filesystem::remove(PathFromUtf8(copy + ".part"), ec);
  }
}

}  // namespace lumigrid
