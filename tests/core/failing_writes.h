// Ways to make a write fail that work even for root, for tests of what a failed save keeps.
#pragma once

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

namespace lumigrid::testing {

// A folder in which no entry can be created, renamed or removed, while the files already in it
// stay writable: what a locked shared folder looks like even to root. Unlocked on destruction.
class LockedFolder {
 public:
  explicit LockedFolder(const std::filesystem::path& folder) : folder_(folder) {
    locked_ = Attr("+i");
    refuses_ = locked_ && !std::ofstream(folder_ / "probe");
  }
  ~LockedFolder() {
    if (locked_) Attr("-i");
  }
  bool Locked() const { return refuses_; }

 private:
  bool Attr(const char* change) const {
    const std::string command =
        std::string("chattr ") + change + " '" + folder_.string() + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
  }
  std::filesystem::path folder_;
  bool locked_ = false;
  bool refuses_ = false;
};

// Makes every write past the first `bytes` of a file fail, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};

// Runs `action` in a child process as the unprivileged user "nobody", to meet the refusals
// root's rights would hide. Its answer, or nullopt where that cannot be done (not root).
inline std::optional<bool> AsNobody(const std::function<bool()>& action) {
  constexpr uid_t kNobody = 65534;
  if (geteuid() != 0) return std::nullopt;
  const pid_t child = fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
    _exit(action() ? 0 : 1);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
    return std::nullopt;
  }
  return WEXITSTATUS(status) == 0;
}

}  // namespace lumigrid::testing
#endif
