// What an image decoder gives back: the picture, or why there is none.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "picture/picture_buffer.h"

namespace lumigrid {

// The editor refuses every status but kOk alike; the command-line tool tells them apart.
enum class ImageDecodeStatus {
  kOk,
  kUnreadable,   // the file cannot be opened for reading
  kNotAnImage,   // the content starts like none of the formats
  kUndecodable,  // damaged or cut short
  kTooLarge,     // a valid size beyond IsImportableSize
  kUnsupported,  // valid, but of a kind the import does not read
};

struct ImageDecodeResult {
  ImageDecodeStatus status = ImageDecodeStatus::kUndecodable;
  PictureBytes bytes{};  // the converted picture; all 0 unless status is kOk
  int64_t width = 0;     // the declared size, for kTooLarge
  int64_t height = 0;
  std::string kind;  // for kUnsupported: what is not read, in English ("bitmaps of 2 bits")
};

inline ImageDecodeResult Decoded(const PictureBytes& bytes) {
  ImageDecodeResult result;
  result.status = ImageDecodeStatus::kOk;
  result.bytes = bytes;
  return result;
}

// Refusals of a decoder, which leave the picture blank.
inline ImageDecodeResult Refusal(ImageDecodeStatus status) {
  ImageDecodeResult result;
  result.status = status;
  return result;
}
inline ImageDecodeResult TooLarge(int64_t width, int64_t height) {
  ImageDecodeResult result = Refusal(ImageDecodeStatus::kTooLarge);
  result.width = width;
  result.height = height;
  return result;
}
inline ImageDecodeResult Unsupported(std::string kind) {
  ImageDecodeResult result = Refusal(ImageDecodeStatus::kUnsupported);
  result.kind = std::move(kind);
  return result;
}

}  // namespace lumigrid
