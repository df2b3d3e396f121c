// Images as sequences of frames: an animated GIF gives one picture per frame, any other image
// (GIF of one frame, BMP, JPEG, PNG) one. Each file is decoded once; every frame asked for is
// converted from the same pass, and with `keep_frames` kept for converting again under other
// options (the import dialog).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/image_import.h"
#include "files/mono_convert.h"

namespace lumigrid {

// What a hostile GIF can make the decoder do is bounded by these; beyond them the file is
// refused (as unsupported). The composed screen is kept whole (4 bytes a pixel), once more for a
// frame that restores what was under it: 1920 x 1200 fits.
inline constexpr int kMaxGifFrames = 10000;
inline constexpr int64_t kMaxGifScreenPixels = 2'500'000;
// Work in units of about 1.3 ns, the scaling of one screen pixel for one fit kept; decoding a
// pixel of a frame costs about six, converting a frame about a hundred thousand. The limit is
// under half a second; ten frames of the largest screen, every fit kept (the import dialog), fit
// within it.
inline constexpr int64_t kMaxGifWork = int64_t{300} << 20;
inline constexpr int64_t kGifDecodeWork = 6;
inline constexpr int64_t kGifFrameWork = 128 << 10;

// True when the bytes start like a GIF file ("GIF87a" or "GIF89a").
bool StartsLikeGif(std::string_view head);

struct FramesRequest {
  ConversionOptions options;
  // Also keep each frame's greys for every fit and a preview of at most this size.
  bool keep_frames = false;
  int preview_width = 0;
  int preview_height = 0;
  // Frames converted; those after them are only counted.
  int max_frames = kMaxGifFrames;
};

struct DecodedFrames {
  ImageDecodeStatus status = ImageDecodeStatus::kUndecodable;
  std::vector<PictureBytes> pictures;  // by the request's options, one per converted frame
  std::vector<ImportFrame> frames;     // with keep_frames
  int frame_count = 0;                 // every frame of the file, counted past max_frames
  int64_t width = 0;                   // the declared size, for kTooLarge
  int64_t height = 0;
  std::string kind;  // for kUnsupported: what is not read, in English
};

// Decodes the image at the path by its content. A refusal holds no pictures; a GIF that is not
// one is kNotAnImage, one damaged or cut short kUndecodable.
DecodedFrames DecodeImageFrames(const std::string& utf8_path, const FramesRequest& request);

}  // namespace lumigrid
