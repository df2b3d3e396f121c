#include "app/documentation.h"

#include <filesystem>
#include <system_error>

#include "files/safe_file.h"

namespace lumigrid {

namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.lexically_normal().u8string();
  return std::string(text.begin(), text.end());
}

bool IsFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

}  // namespace

std::optional<Documentation> FindDocumentation(const std::string& program_folder,
                                               const std::string& source_folder) {
  if (!program_folder.empty()) {
    const fs::path installed = PathFromUtf8(program_folder) / ".." / "share" / "doc" / "lumigrid";
    if (IsFile(installed / "README.md")) {
      return Documentation{Utf8(installed / "README.md"), Utf8(installed)};
    }
  }
  if (!source_folder.empty()) {
    const fs::path tree = PathFromUtf8(source_folder);
    if (IsFile(tree / "README.md")) {
      const fs::path docs = tree / "docs";
      return Documentation{Utf8(tree / "README.md"), Utf8(IsFolder(docs) ? docs : tree)};
    }
  }
  return std::nullopt;
}

}  // namespace lumigrid
