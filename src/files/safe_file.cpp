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

}  // namespace

fs::path PathFromUtf8(const std::string& utf8_path) {
  return fs::path(std::u8string(utf8_path.begin(), utf8_path.end()));
}

struct SafeFileWriter::State {
  fs::path target;
  fs::path temporary;
  fs::file_status existing;
  bool replaces = false;
  bool open = false;
  bool failed = false;
  std::ofstream out;
};

SafeFileWriter::SafeFileWriter(const std::string& utf8_path) : state_(std::make_unique<State>()) {
  state_->target = PathFromUtf8(utf8_path);
}

SafeFileWriter::~SafeFileWriter() { Abort(); }

const fs::path& SafeFileWriter::Target() const { return state_->target; }

bool SafeFileWriter::Open() {
  State& s = *state_;
  if (s.open || !s.target.has_filename()) return false;
  std::error_code ec;
  // Through a link, the file it names is replaced and the link stays.
  if (fs::is_symlink(fs::symlink_status(s.target, ec))) {
    fs::path resolved = fs::canonical(s.target, ec);
    if (!ec) s.target = resolved;
  }
  s.existing = fs::status(s.target, ec);
  s.replaces = fs::exists(s.existing);
  if (s.replaces) {
    if (!fs::is_regular_file(s.existing)) return false;
    // Renaming over a read-only file would succeed where writing into it is refused.
    std::ofstream probe(s.target, std::ios::binary | std::ios::app);
    if (!probe) return false;
  }
  const std::optional<fs::path> temporary = FreeTemporaryName(s.target);
  if (!temporary) return false;
  s.temporary = *temporary;
  s.out.open(s.temporary, std::ios::binary | std::ios::trunc);
  if (!s.out) {
    fs::remove(s.temporary, ec);
    return false;
  }
  s.open = true;
  s.failed = false;
  return true;
}

bool SafeFileWriter::Write(std::string_view bytes) {
  State& s = *state_;
  if (!s.open || s.failed) return false;
  s.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!s.out) s.failed = true;
  return !s.failed;
}

bool SafeFileWriter::Commit() {
  State& s = *state_;
  if (!s.open) return false;
  s.out.flush();
  s.out.close();
  if (s.failed || s.out.fail()) {
    Abort();
    return false;
  }
  std::error_code ec;
  if (s.replaces) fs::permissions(s.temporary, s.existing.permissions(), ec);  // best effort
  fs::rename(s.temporary, s.target, ec);
  if (ec) {
    Abort();
    return false;
  }
  s.open = false;
  return true;
}

void SafeFileWriter::Abort() {
  State& s = *state_;
  if (!s.open) return;
  if (s.out.is_open()) s.out.close();
  std::error_code ec;
  fs::remove(s.temporary, ec);
  s.open = false;
}

bool WriteFileSafely(const std::string& utf8_path, std::string_view bytes) {
  SafeFileWriter writer(utf8_path);
  return writer.Open() && writer.Write(bytes) && writer.Commit();
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
