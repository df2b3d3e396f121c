// Import of BMP, JPEG and PNG images as a monochrome 128 x 64 picture. The format is taken
// from the file's content, not its name.
#pragma once

#include <QString>

#include <cstdint>

#include "picture/picture_buffer.h"

namespace lumigrid {

enum class ImageDecodeStatus {
  kOk,
  kUnreadable,   // the file cannot be opened for reading
  kUndecodable,  // not a BMP, JPEG or PNG image, damaged, or too large
};

struct ImageDecodeResult {
  ImageDecodeStatus status = ImageDecodeStatus::kUndecodable;
  PictureBytes bytes{};  // the converted picture; all 0 unless status is kOk
};

// An image the decoder would have to produce with more pixels than this is refused before it
// is decoded. For a JPEG that is the size after the decoder's own 1/8 reduction.
inline constexpr int64_t kMaxDecodedPixels = 50'000'000;

// Decodes the image, scales it to 128 x 64 unless it has that size (area average of the whole
// image, aspect not kept), turns it grey unless it is 1-bit, and lights every pixel whose
// green is below 220.
ImageDecodeResult DecodeImageToPicture(const QString& path);

}  // namespace lumigrid
