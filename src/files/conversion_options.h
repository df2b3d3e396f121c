// How an imported image is fitted into the picture and turned into lit and clear pixels.
// Plain data shared by the import and its callers.
#pragma once

namespace lumigrid {

// A pixel is lit when its green component is below this (0..219), clear from 220 up.
constexpr int kLitBelowGreen = 220;

// The defaults give the editor's import.
enum class Fit {
  kStretch,  // the whole image fills the picture, aspect not kept
  kContain,  // the whole image, aspect kept, centred on white
  kCover,    // aspect kept, the picture filled, the image's excess cut off evenly
};
enum class Dither { kNone, kFloydSteinberg, kAtkinson, kOrdered };

struct ConversionOptions {
  // Lit below this grey level (below this green for a 1-bit image). Dithering renders grey as
  // a density of lit pixels instead, so it does not use the threshold.
  int threshold = kLitBelowGreen;
  bool invert = false;  // swap lit and clear, after everything else
  Fit fit = Fit::kStretch;
  Dither dither = Dither::kNone;
};

}  // namespace lumigrid
