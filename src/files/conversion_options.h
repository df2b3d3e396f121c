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
constexpr int kFitCount = 3;
enum class Dither { kNone, kFloydSteinberg, kAtkinson, kOrdered, kOrdered4 };
constexpr int kDitherCount = 5;

// What the picture shows beside a contained image.
enum class Margin {
  kWhite,  // white, converted with the image (so lit when inverted)
  kUnlit,  // clear, whatever the other options
  kLit,    // lit, whatever the other options
};
constexpr int kMarginCount = 3;

// Brightness and contrast run from -100 to 100; 0 leaves the grey levels as they are.
constexpr int kMaxBrightness = 100;
constexpr int kMaxContrast = 100;

struct ConversionOptions {
  // Lit below this grey level (below this green for a 1-bit image). Dithering renders grey as
  // a density of lit pixels instead, so it does not use the threshold.
  int threshold = kLitBelowGreen;
  bool invert = false;  // swap lit and clear, after everything else
  Fit fit = Fit::kStretch;
  Dither dither = Dither::kNone;
  // Applied to the grey levels before they become lit or clear: contrast spreads them from
  // the middle grey (-100 flat grey, 100 a hard cut at 128), then brightness shifts them
  // (-100 to black, 100 to white).
  int brightness = 0;
  int contrast = 0;
  Margin margin = Margin::kWhite;

  friend bool operator==(const ConversionOptions&, const ConversionOptions&) = default;
};

}  // namespace lumigrid
