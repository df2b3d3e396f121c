// Recovery copies of modified pictures, written when the program faults and offered at the
// next start. One file per buffer: its 1024 display-memory bytes, then its file name (UTF-8).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "picture/picture_buffer.h"

namespace lumigrid {

inline constexpr const char* kRecoveryFolderName = "recovery";
// A file name longer than this is not a path the program made.
inline constexpr size_t kMaxRecoveredNameBytes = 4096;

// "buffer01.rcv" .. "buffer10.rcv".
std::string RecoveryFileName(int b);

// The content of buffer b's recovery copy.
std::string RecoveryFileContent(const PictureBuffer& buffer);

struct RecoveredBuffer {
  PictureBytes bytes{};
  std::string file_name;
};

// nullopt when the content is too short or its name too long to be a recovery copy.
std::optional<RecoveredBuffer> ParseRecoveryFile(std::string_view content);

}  // namespace lumigrid
