// Reading and writing whole files by UTF-8 path. Writes go to a temporary file beside the
// target, flushed to disk and renamed over it only once complete. Where the folder refuses
// the temporary file or the target has other hard links, the target is rewritten in place and
// its old content, kept in memory, is put back when the write fails. Either way a failed save
// never destroys the old file, and the file keeps its permissions and, where allowed, owner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lumigrid {

// A filesystem path from UTF-8 text; Cyrillic names survive on Windows too.
std::filesystem::path PathFromUtf8(const std::string& utf8_path);

// Writes bytes as the whole content of the file. Returns false when the file cannot be
// written; an existing file is then left as it was and no temporary file remains. A folder,
// a read-only file or another non-regular file at the path is never replaced.
bool WriteFileSafely(const std::string& utf8_path, std::string_view bytes);

// Streams the new content of a file the user owns. Nothing is visible at the target until
// Commit() succeeds; a writer destroyed or aborted before that leaves the target exactly as it
// was and no temporary file behind. The old content stays readable through the target path
// while the new content is written, so a caller can copy kept parts of it through.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(const std::string& utf8_path);
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Prepares the write. False when the target cannot be replaced (a folder, a read-only or
  // other non-regular file, a missing folder).
  bool Open();
  // Appends bytes to the new content. False once any write has failed.
  bool Write(std::string_view bytes);
  // Puts the complete new content in place, flushed to disk. False when anything failed; the
  // target is then as it was before Open().
  bool Commit();
  // Drops the new content; the target stays as it was.
  void Abort();

  // The file the content goes to: the target, or the file a link at the target names (also
  // when that file does not exist yet; the link stays).
  const std::filesystem::path& Target() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The message after a failed save of the file, the same from every command that saves.
std::string SaveFailedText(std::string_view utf8_path);

// Up to max_bytes from the start of the file; nullopt when it cannot be opened for reading
// (missing, a folder, no permission), is no regular file (a FIFO, a device) or a read fails.
// Never blocks on a FIFO.
std::optional<std::string> ReadFileBytes(const std::string& utf8_path, std::size_t max_bytes);

// Size in bytes of a regular file; nullopt when there is none at the path.
std::optional<std::uintmax_t> FileSize(const std::string& utf8_path);

}  // namespace lumigrid
