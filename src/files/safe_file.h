// Reading and writing whole files by UTF-8 path. Writes go to a temporary file beside the
// target that replaces it only once complete, so a failed save never destroys the old file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
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

// Up to max_bytes from the start of the file; nullopt when it cannot be opened for reading
// (missing, a folder, no permission) or a read fails.
std::optional<std::string> ReadFileBytes(const std::string& utf8_path, std::size_t max_bytes);

// Size in bytes of a regular file; nullopt when there is none at the path.
std::optional<std::uintmax_t> FileSize(const std::string& utf8_path);

}  // namespace lumigrid
