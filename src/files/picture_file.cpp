#include "files/picture_file.h"

#include <algorithm>
#include <string_view>

#include "files/safe_file.h"

namespace lumigrid {

std::optional<PictureBytes> ReadPictureFile(const std::string& utf8_path) {
  const std::optional<std::string> data = ReadFileBytes(utf8_path, kPictureBytes);
  if (!data) return std::nullopt;
  PictureBytes bytes{};
  std::transform(data->begin(), data->end(), bytes.begin(),
                 [](char ch) { return static_cast<uint8_t>(ch); });
  return bytes;
}

bool WritePictureFile(const std::string& utf8_path, const PictureBytes& bytes) {
  return WriteFileSafely(
      utf8_path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace lumigrid
