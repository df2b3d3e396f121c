// Decoding the files of an import with settings into one session, each file once.
#pragma once

#include <string>
#include <vector>

#include "files/image_import.h"
#include "files/import_session.h"

namespace lumigrid {

// The preview of the import dialog fits this box.
inline constexpr int kImportPreviewWidth = 256;
inline constexpr int kImportPreviewHeight = 192;

struct SessionLoad {
  ImageDecodeStatus status = ImageDecodeStatus::kOk;  // of the first file that failed
  std::string failed_path;
  ImportSession session;
};

// Every file in order, an animated GIF giving all its frames; at most max_kept frames are kept
// in all, the others only counted. Stops at the first file that cannot be read or decoded.
SessionLoad LoadImportSession(const std::vector<std::string>& utf8_paths, int max_kept);

}  // namespace lumigrid
