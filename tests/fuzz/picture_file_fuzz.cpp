// Any file loads as a picture of its first 1024 bytes (the rest clear); saving that picture
// writes exactly those 1024 bytes, also over a longer file, and loading it again gives the
// same picture.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/picture_file.h"
#include "files/safe_file.h"
#include "fuzz_support.h"

using lumigrid::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const std::string path = lumigrid::fuzz::WriteScratchFile("picture.chr", content);

  const auto loaded = lumigrid::ReadPictureFile(path);
  Check(loaded.has_value(), "a readable file loads");
  lumigrid::PictureBytes expected{};
  std::copy_n(data, std::min(size, expected.size()), expected.begin());
  Check(*loaded == expected, "the picture is the file's first 1024 bytes, the rest clear");

  // Saved over the file it came from, which may be longer or shorter.
  Check(lumigrid::WritePictureFile(path, *loaded), "the picture saves");
  Check(lumigrid::FileSize(path) == lumigrid::kPictureBytes, "a saved picture is 1024 bytes");
  const auto reloaded = lumigrid::ReadPictureFile(path);
  Check(reloaded.has_value() && *reloaded == *loaded, "saved and reloaded picture is equal");
  return 0;
}
