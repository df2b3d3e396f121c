#include "app/recovery_file.h"

#include <algorithm>

namespace lumigrid {

std::string RecoveryFileName(int b) {
  std::string name = "buffer00.rcv";
  name[6] = static_cast<char>('0' + b / 10 % 10);
  name[7] = static_cast<char>('0' + b % 10);
  return name;
}

std::string RecoveryFileContent(const PictureBuffer& buffer) {
  std::string content(buffer.Bytes().begin(), buffer.Bytes().end());
  return content + buffer.FileName();
}

std::optional<RecoveredBuffer> ParseRecoveryFile(std::string_view content) {
  constexpr size_t kBytes = kPictureBytes;
  if (content.size() < kBytes || content.size() - kBytes > kMaxRecoveredNameBytes) {
    return std::nullopt;
  }
  RecoveredBuffer result;
  std::copy_n(content.begin(), kBytes, result.bytes.begin());
  result.file_name = content.substr(kBytes);
  return result;
}

}  // namespace lumigrid
