// Any file given as a GIF: it is refused as a whole or gives one picture per frame; the frames
// the import dialog keeps convert to exactly what a fresh decoding with the same options gives.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/image_frames.h"
#include "fuzz_support.h"

using lumigrid::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumigrid::fuzz::Input input(data, size);
  // The first byte chooses the options the kept frames are converted with once more.
  const uint8_t choice = input.Byte();
  lumigrid::ConversionOptions options;
  options.fit = static_cast<lumigrid::Fit>(choice % lumigrid::kFitCount);
  options.dither = static_cast<lumigrid::Dither>(choice / 3 % lumigrid::kDitherCount);
  options.invert = (choice & 0x80) != 0;
  options.brightness = (choice & 0x40) != 0 ? -30 : 0;
  options.contrast = (choice & 0x20) != 0 ? 50 : 0;
  options.margin = static_cast<lumigrid::Margin>(choice / 15 % lumigrid::kMarginCount);
  const std::string path = lumigrid::fuzz::WriteScratchFile("gif", input.Rest());

  lumigrid::FramesRequest plain;
  plain.max_frames = 3;
  const lumigrid::DecodedFrames decoded = lumigrid::DecodeImageFrames(path, plain);
  Check(decoded.status != lumigrid::ImageDecodeStatus::kUnreadable, "a readable file is read");
  if (decoded.status != lumigrid::ImageDecodeStatus::kOk) {
    Check(decoded.pictures.empty() && decoded.frames.empty(), "a refused file gives nothing");
    return 0;
  }
  Check(decoded.frame_count >= 1 && decoded.frame_count <= lumigrid::kMaxGifFrames,
        "frames counted within the limit");
  Check(static_cast<int>(decoded.pictures.size()) == std::min(decoded.frame_count, 3),
        "a picture for every frame asked for");

  lumigrid::FramesRequest keep = plain;
  keep.keep_frames = true;
  keep.preview_width = 64;
  keep.preview_height = 48;
  const lumigrid::DecodedFrames kept = lumigrid::DecodeImageFrames(path, keep);
  Check(kept.status == decoded.status && kept.frame_count == decoded.frame_count &&
            kept.pictures == decoded.pictures && kept.frames.size() == kept.pictures.size(),
        "keeping the frames decodes the same file alike");
  lumigrid::FramesRequest chosen = plain;
  chosen.options = options;
  const lumigrid::DecodedFrames converted = lumigrid::DecodeImageFrames(path, chosen);
  Check(converted.pictures.size() == kept.frames.size(), "the same frames under any options");
  for (size_t i = 0; i < kept.frames.size(); ++i) {
    Check(lumigrid::ConvertFrame(kept.frames[i], {}) == decoded.pictures[i],
          "a kept frame converts as the plain decoding");
    Check(lumigrid::ConvertFrame(kept.frames[i], options) == converted.pictures[i],
          "a kept frame converts under other options as a decoding with them");
    const auto& preview = kept.frames[i].preview;
    Check(preview.width >= 1 && preview.width <= 64 && preview.height >= 1 && preview.height <= 48,
          "the preview fits its box");
  }
  return 0;
}
