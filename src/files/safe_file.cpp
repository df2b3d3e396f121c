#include "files/safe_file.h"

#include <algorithm>
#include <fstream>
#include <random>

namespace lumigrid {

namespace fs = std::filesystem;

namespace {

// A name beside the target that no file has yet. Random, so two saves into one folder do
// not collide.
std::optional<fs::path> FreeTemporaryName(const fs::path& target) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path stem = target.filename();
  for (int attempt = 0; attempt < 16; ++attempt) {
    fs::path candidate = target;
    candidate.replace_filename(stem.u8string() + u8".~" +
                               fs::path(std::to_string(random() % 1000000000)).u8string() +
                               u8".tmp");
    std::error_code ec;
    if (fs::symlink_status(candidate, ec).type() == fs::file_type::not_found) return candidate;
  }
  return std::nullopt;
}

bool WriteNewFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  out.close();
  return !out.fail();
}

}  // namespace

fs::path PathFromUtf8(const std::string& utf8_path) {
  return fs::path(std::u8string(utf8_path.begin(), utf8_path.end()));
}

bool WriteFileSafely(const std::string& utf8_path, std::string_view bytes) {
  fs::path target = PathFromUtf8(utf8_path);
  if (!target.has_filename()) return false;
  std::error_code ec;
  // Through a link, the file it names is replaced and the link stays.
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    fs::path resolved = fs::canonical(target, ec);
    if (!ec) target = resolved;
  }
  const fs::file_status existing = fs::status(target, ec);
  const bool replaces = fs::exists(existing);
  if (replaces) {
    if (!fs::is_regular_file(existing)) return false;
    // Renaming over a read-only file would succeed where writing into it is refused.
    std::ofstream probe(target, std::ios::binary | std::ios::app);
    if (!probe) return false;
  }

  const std::optional<fs::path> temporary = FreeTemporaryName(target);
  if (!temporary) return false;
  if (!WriteNewFile(*temporary, bytes)) {
    fs::remove(*temporary, ec);
    return false;
  }
  if (replaces) fs::permissions(*temporary, existing.permissions(), ec);  // best effort
  fs::rename(*temporary, target, ec);
  if (ec) {
    fs::remove(*temporary, ec);
    return false;
  }
  return true;
}

std::optional<std::string> ReadFileBytes(const std::string& utf8_path, std::size_t max_bytes) {
  const fs::path path = PathFromUtf8(utf8_path);
  std::error_code ec;
  if (fs::is_directory(path, ec)) return std::nullopt;  // opens for reading on some systems
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // Read in pieces instead of trusting the size: the file may be shorter or still growing.
  constexpr std::size_t kPiece = 64 * 1024;
  std::string bytes;
  while (bytes.size() < max_bytes) {
    const std::size_t old_size = bytes.size();
    const std::size_t want = std::min(kPiece, max_bytes - old_size);
    bytes.resize(old_size + want);
    in.read(bytes.data() + old_size, static_cast<std::streamsize>(want));
    bytes.resize(old_size + static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    if (static_cast<std::size_t>(in.gcount()) < want) break;
  }
  return bytes;
}

std::optional<std::uintmax_t> FileSize(const std::string& utf8_path) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(PathFromUtf8(utf8_path), ec);
  if (ec) return std::nullopt;
  return size;
}

}  // namespace lumigrid
