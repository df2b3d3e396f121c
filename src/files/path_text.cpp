#include "files/path_text.h"

namespace lumigrid {

namespace {
constexpr std::string_view kSeparators = "\\/";
}  // namespace

std::string PathExtension(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  // "C:\pics.d\data": the dot belongs to a folder name, not to the file.
  if (path.find_first_of(kSeparators, dot) != std::string_view::npos) return {};
  return std::string(path.substr(dot + 1));
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return lower;
}

bool HasExtension(std::string_view path, std::string_view lower_ext) {
  return LowerAscii(PathExtension(path)) == lower_ext;
}

std::string PathFilePart(std::string_view path) {
  const auto separator = path.find_last_of(kSeparators);
  if (separator == std::string_view::npos) return std::string(path);
  return std::string(path.substr(separator + 1));
}

}  // namespace lumigrid
