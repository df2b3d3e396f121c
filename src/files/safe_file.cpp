#include "files/safe_file.h"

#include <algorithm>
#include <cerrno>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace lumigrid {

namespace fs = std::filesystem;

namespace {

// File descriptors rather than streams: only they can be flushed to disk and chowned.
#ifdef _WIN32
constexpr int kCommonFlags = _O_BINARY | _O_NOINHERIT;
constexpr int kNoBlock = 0;
int OpenFile(const fs::path& path, int flags) {
  return _wopen(path.c_str(), flags | kCommonFlags, _S_IREAD | _S_IWRITE);
}
int CloseFile(int fd) { return _close(fd); }
long long WriteSome(int fd, const char* data, std::size_t size) {
  return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
long long ReadSome(int fd, char* data, std::size_t size) {
  return _read(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
bool SeekToStart(int fd) { return _lseeki64(fd, 0, SEEK_SET) == 0; }
bool TruncateFile(int fd, std::size_t size) {
  return _chsize_s(fd, static_cast<long long>(size)) == 0;
}
bool SyncFile(int fd) { return _commit(fd) == 0; }
void SyncFolder(const fs::path&) {}  // the rename is flushed with the file's own metadata
#else
constexpr int kCommonFlags = O_CLOEXEC;
constexpr int kNoBlock = O_NONBLOCK;  // a FIFO swapped in must not hang the save
int OpenFile(const fs::path& path, int flags) {
  return ::open(path.c_str(), flags | kCommonFlags, 0666);
}
int CloseFile(int fd) { return ::close(fd); }
long long WriteSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
long long ReadSome(int fd, char* data, std::size_t size) { return ::read(fd, data, size); }
bool SeekToStart(int fd) { return ::lseek(fd, 0, SEEK_SET) == 0; }
bool TruncateFile(int fd, std::size_t size) {
  return ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}
bool SyncFile(int fd) { return ::fsync(fd) == 0; }
// Makes the rename itself survive a power cut. Some file systems refuse to sync a folder;
// the content is safe on disk by then, so that is not a failure.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
#endif

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const long long written = WriteSome(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool ReadAll(int fd, std::string& bytes) {
  char piece[64 * 1024];
  for (;;) {
    const long long got = ReadSome(fd, piece, sizeof piece);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    bytes.append(piece, static_cast<std::size_t>(got));
  }
}

// Makes the open file hold exactly these bytes, flushed to disk.
bool Rewrite(int fd, std::string_view bytes) {
  return SeekToStart(fd) && WriteAll(fd, bytes) && TruncateFile(fd, bytes.size()) && SyncFile(fd);
}

// What a replacement must carry over from the file it replaces.
struct FileFacts {
  std::uintmax_t links = 1;
#ifndef _WIN32
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;
#endif
};

std::optional<FileFacts> FactsOf(int fd, const fs::path& path) {
  FileFacts facts;
#ifdef _WIN32
  std::error_code ec;
  facts.links = fs::hard_link_count(path, ec);
  if (ec) return std::nullopt;
#else
  (void)path;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  facts.links = info.st_nlink;
  facts.mode = info.st_mode & 07777;
  facts.owner = info.st_uid;
  facts.group = info.st_gid;
#endif
  return facts;
}

// Gives a new file the owner and permissions of the one it replaces. The owner only where the
// system allows (the group alone is often still allowed); the mode after, as chown clears
// set-id bits.
void CarryOver(int fd, const fs::path& path, const FileFacts& facts, fs::perms perms) {
#ifdef _WIN32
  (void)fd;
  (void)facts;
  std::error_code ec;
  fs::permissions(path, perms, ec);
#else
  (void)path;
  (void)perms;
  if (::fchown(fd, facts.owner, facts.group) != 0) {
    [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), facts.group);
  }
  ::fchmod(fd, facts.mode);
#endif
}

// The file a chain of links at the path ends in, existing or not; nullopt for a loop.
std::optional<fs::path> FollowLinks(fs::path path) {
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) return std::nullopt;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return std::nullopt;
}

// A new file with a short random name beside the target; the name must leave room for the
// longest file name the folder allows.
int CreateTemporary(const fs::path& target, fs::path& name) {
  std::random_device seed;
  std::mt19937 random(seed());
  static constexpr char kHex[] = "0123456789abcdef";
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::string base = ".~";
    for (int i = 0; i < 8; ++i) base += kHex[random() % 16];
    name = target.parent_path() / (base + ".tmp");
    const int fd = OpenFile(name, O_WRONLY | O_CREAT | O_EXCL);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

fs::path PathFromUtf8(const std::string& utf8_path) {
  return fs::path(std::u8string(utf8_path.begin(), utf8_path.end()));
}

struct SafeFileWriter::State {
  fs::path target;
  fs::path temporary;  // empty while writing in place
  int fd = -1;
  bool open = false;
  bool failed = false;
  bool created = false;     // in place: the target did not exist before
  std::string old_content;  // in place: put back when the write fails
  std::string new_content;  // in place: held until Commit, so the old stays readable

  // Opens the target itself for writing in place, keeping what it holds.
  bool OpenInPlace(bool exists) {
    fd = OpenFile(target, exists ? O_RDWR : O_RDWR | O_CREAT | O_EXCL);
    if (fd < 0) return false;
    created = !exists;
    old_content.clear();
    if (exists && !ReadAll(fd, old_content)) {
      CloseFile(fd);
      fd = -1;
      return false;
    }
    return true;
  }

  // Moves what was written to the temporary file over to a write in place.
  bool MoveToInPlace() {
    const int in = OpenFile(temporary, O_RDONLY);
    const bool read = in >= 0 && ReadAll(in, new_content);
    if (in >= 0) CloseFile(in);
    std::error_code ec;
    fs::remove(temporary, ec);
    temporary.clear();
    return read && OpenInPlace(fs::exists(target, ec));
  }

  // Writes the new content over the target; on failure puts the old content back.
  bool CommitInPlace() {
    const bool written = Rewrite(fd, new_content);
    if (!written && !created) Rewrite(fd, old_content);
    const bool closed = CloseFile(fd) == 0;
    fd = -1;
    if (written && closed && created) SyncFolder(target.parent_path());
    return written && closed;
  }
};

SafeFileWriter::SafeFileWriter(const std::string& utf8_path) : state_(std::make_unique<State>()) {
  state_->target = PathFromUtf8(utf8_path);
}

SafeFileWriter::~SafeFileWriter() { Abort(); }

const fs::path& SafeFileWriter::Target() const { return state_->target; }

bool SafeFileWriter::Open() {
  State& s = *state_;
  if (s.open || !s.target.has_filename()) return false;
  // Through a link, the file it names is written and the link stays, even when that file
  // does not exist yet.
  const std::optional<fs::path> target = FollowLinks(s.target);
  if (!target) return false;
  s.target = *target;
  std::error_code ec;
  const fs::file_status status = fs::status(s.target, ec);
  const bool exists = fs::exists(status);
  if (exists && !fs::is_regular_file(status)) return false;

  std::optional<FileFacts> facts;
  if (exists) {
    // Renaming over a read-only file would succeed where writing into it is refused.
    const int probe = OpenFile(s.target, O_WRONLY | kNoBlock);
    if (probe < 0) return false;
    facts = FactsOf(probe, s.target);
    CloseFile(probe);
    if (!facts) return false;
  }
  s.failed = false;
  s.created = false;
  s.old_content.clear();
  s.new_content.clear();

  // A rename would split the file from its other names, so those are written in place.
  if (!facts || facts->links <= 1) {
    s.fd = CreateTemporary(s.target, s.temporary);
    if (s.fd >= 0) {
      if (facts) CarryOver(s.fd, s.temporary, *facts, status.permissions());
      s.open = true;
      return true;
    }
    s.temporary.clear();
  }

  // In place: the folder refused the temporary file or the file has other names.
  if (!s.OpenInPlace(exists)) return false;
  s.open = true;
  return true;
}

bool SafeFileWriter::Write(std::string_view bytes) {
  State& s = *state_;
  if (!s.open || s.failed) return false;
  if (s.temporary.empty()) {
    s.new_content.append(bytes);
  } else if (!WriteAll(s.fd, bytes)) {
    s.failed = true;
  }
  return !s.failed;
}

bool SafeFileWriter::Commit() {
  State& s = *state_;
  if (!s.open) return false;
  if (s.failed) {
    Abort();
    return false;
  }
  if (!s.temporary.empty()) {
    // The content must be on disk before the rename makes it the file.
    const bool synced = SyncFile(s.fd);
    const bool closed = CloseFile(s.fd) == 0;
    s.fd = -1;
    std::error_code ec;
    if (synced && closed) fs::rename(s.temporary, s.target, ec);
    if (!synced || !closed) {
      Abort();
      return false;
    }
    if (!ec) {
      SyncFolder(s.target.parent_path());
      s.temporary.clear();
      s.open = false;
      return true;
    }
    // The folder took a new file but may not replace this one (a sticky folder and another
    // user's file): the file is written in place instead.
    if (!s.MoveToInPlace()) {
      Abort();
      return false;
    }
  }
  if (!s.CommitInPlace()) {
    Abort();
    return false;
  }
  s.temporary.clear();
  s.old_content.clear();
  s.new_content.clear();
  s.open = false;
  return true;
}

void SafeFileWriter::Abort() {
  State& s = *state_;
  if (!s.open) return;
  if (s.fd >= 0) CloseFile(s.fd);
  s.fd = -1;
  std::error_code ec;
  if (!s.temporary.empty()) fs::remove(s.temporary, ec);
  if (s.temporary.empty() && s.created) fs::remove(s.target, ec);
  s.temporary.clear();
  s.old_content.clear();
  s.new_content.clear();
  s.open = false;
}

bool WriteFileSafely(const std::string& utf8_path, std::string_view bytes) {
  SafeFileWriter writer(utf8_path);
  return writer.Open() && writer.Write(bytes) && writer.Commit();
}

std::string SaveFailedText(std::string_view utf8_path) {
  return "Не удалось сохранить файл\n" + std::string(utf8_path);
}

std::optional<std::string> ReadFileBytes(const std::string& utf8_path, std::size_t max_bytes) {
  // Without blocking: a FIFO opened for reading would wait for a writer for ever.
  const int fd = OpenFile(PathFromUtf8(utf8_path), O_RDONLY | kNoBlock);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  if (FactsOf(fd, PathFromUtf8(utf8_path))) bytes.emplace();
  // Read in pieces instead of trusting the size: the file may be shorter or still growing.
  constexpr std::size_t kPiece = 64 * 1024;
  while (bytes && bytes->size() < max_bytes) {
    const std::size_t old_size = bytes->size();
    const std::size_t want = std::min(kPiece, max_bytes - old_size);
    bytes->resize(old_size + want);
    const long long got = ReadSome(fd, bytes->data() + old_size, want);
    bytes->resize(old_size + static_cast<std::size_t>(std::max(got, 0LL)));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) bytes.reset();
    if (got <= 0) break;
  }
  CloseFile(fd);
  return bytes;
}

std::optional<std::uintmax_t> FileSize(const std::string& utf8_path) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(PathFromUtf8(utf8_path), ec);
  if (ec) return std::nullopt;
  return size;
}

}  // namespace lumigrid
