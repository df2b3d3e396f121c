#include "app/settings_store.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "app/settings_file.h"
#include "files/safe_file.h"
#include "ui/platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumigrid {

namespace {

// A settings file is a few hundred bytes; anything far larger is not ours.
constexpr size_t kMaxSettingsBytes = 1 << 20;

}  // namespace

std::string SettingsFolder() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  if (n == 0 || n > MAX_PATH) return {};
  wchar_t long_form[32768];
  const DWORD m = GetLongPathNameW(buffer, long_form, 32768);
  const std::filesystem::path folder((m > 0 && m < 32768) ? long_form : buffer);
  const std::u8string text = folder.u8string();
  return std::string(text.begin(), text.end());
#else
  const std::string folder =
      SettingsFolderFor(std::getenv("TMPDIR"), std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
  if (folder.empty()) return folder;
  std::error_code ec;
  const std::filesystem::path path = PathFromUtf8(folder);
  if (!std::filesystem::exists(path, ec)) {
    std::filesystem::create_directories(path.parent_path(), ec);
    ::mkdir(folder.c_str(), 0700);
  }
  return folder;
#endif
}

std::string SettingsPathIn(const std::string& folder) {
  if (folder.empty()) return {};
  std::string path = folder;
  const char last = path.back();
  if (last != '/' && last != '\\') path += '/';
  return path + kSettingsFileName;
}

OwnFile ReadOwnFile(const std::string& path) {
#ifdef _WIN32
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(PathFromUtf8(path), ec);
  if (status.type() == std::filesystem::file_type::not_found) return {};
  if (status.type() != std::filesystem::file_type::regular) return {OwnFileState::kRefused, {}};
  std::optional<std::string> bytes = ReadFileBytes(path, kMaxSettingsBytes);
  if (!bytes) return {OwnFileState::kRefused, {}};
  return {OwnFileState::kOwn, std::move(*bytes)};
#else
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    struct stat st;
    // ENOTDIR: a plain file stands where a folder of the path should be, so nothing can
    // exist here either.
    if (::lstat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) return {};
    return {OwnFileState::kRefused, {}};
  }
  OwnFile result{OwnFileState::kRefused, {}};
  struct stat st;
  // Checked on the open file, so it cannot be swapped between the test and the read.
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
    std::string bytes;
    char chunk[4096];
    ssize_t n = 0;
    while (bytes.size() <= kMaxSettingsBytes && (n = ::read(fd, chunk, sizeof chunk)) > 0) {
      bytes.append(chunk, static_cast<size_t>(n));
    }
    if (n == 0) result = {OwnFileState::kOwn, std::move(bytes)};
  }
  ::close(fd);
  return result;
#endif
}

namespace {

bool CreateEmptyFile(const std::string& path) {
  if (path.empty()) return false;
#ifdef _WIN32
  return WriteFileSafely(path, {});
#else
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  return ::close(fd) == 0;
#endif
}

}  // namespace

Settings ReadSettings(ui::Platform& platform, const std::string& path) {
  const OwnFile file = path.empty() ? OwnFile{} : ReadOwnFile(path);
  if (file.state == OwnFileState::kOwn) {
    return SettingsFromDocument(SettingsDocument::Parse(file.bytes));
  }
  if (file.state == OwnFileState::kMissing && !CreateEmptyFile(path)) {
    platform.ShowMessage(nullptr, {QStringLiteral("Запуск программы"),
                                   QStringLiteral("Не удалось создать файл с настройками"),
                                   ui::MessageIcon::kError});
  }
  return Settings{};
}

bool WriteSettings(const std::string& path, const Settings& settings) {
  if (path.empty()) return false;
  // Read again: the file may have been edited while the program ran.
  const OwnFile file = ReadOwnFile(path);
  if (file.state != OwnFileState::kOwn) return false;
  SettingsDocument document = SettingsDocument::Parse(file.bytes);
  StoreSettings(document, settings);
  // The path is checked once more right before the write, which would follow a link.
  if (ReadOwnFile(path).state != OwnFileState::kOwn) return false;
  return WriteFileSafely(path, document.Bytes());
}

}  // namespace lumigrid
