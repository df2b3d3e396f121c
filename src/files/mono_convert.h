// Turning a decoded image into a monochrome picture: area-averaging scale to 128 x 64, grey
// conversion and the fixed green threshold. Works on RGB values only; the decoders live in
// image_import.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "files/conversion_options.h"
#include "picture/picture_buffer.h"
#include "picture/rgb.h"

namespace lumigrid {

struct RgbImage {
  RgbImage() = default;
  RgbImage(int w, int h, int bits_per_pixel = 24, PackedRgb fill = kWhite);

  PackedRgb At(int x, int y) const { return pixels[Index(x, y)]; }
  void Set(int x, int y, PackedRgb c) { pixels[Index(x, y)] = c; }
  const PackedRgb* Row(int y) const { return pixels.data() + Index(0, y); }

  int width = 0;
  int height = 0;
  int depth = 24;                 // bits per pixel of the decoded image; 1 = black-and-white
  std::vector<PackedRgb> pixels;  // row by row, top row first

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
  }
};

// Hands out the rows of an image, each called for once, top to bottom: width values of row y.
// The pointer needs to stay valid only until the next call.
using RowReader = std::function<const PackedRgb*(int y)>;

// An image as a decoder hands it over, read row by row so a large one needs no copy.
struct ImageSource {
  int width = 0;
  int height = 0;
  int depth = 24;  // 1: two colours (see IsBlackAndWhite for what that changes)
  std::array<PackedRgb, 2> two_colours{kBlack, kWhite};  // the palette of a 1-bit image
  RowReader rows;
};

ImageSource SourceOf(const RgbImage& image,
                     std::array<PackedRgb, 2> two_colours = std::array<PackedRgb, 2>{kBlack,
                                                                                     kWhite});

// A 1-bit image counts as black-and-white when its two colours are black and white, in either
// order: only such an image keeps its two colours through the scaling and skips the grey
// conversion. Any other 1-bit image is converted as a colour image.
bool IsBlackAndWhite(const std::array<PackedRgb, 2>& two_colours);

// (30 R + 53 G + 11 B) div 94: the weights add up to 94, so white stays 255, black 0.
constexpr int Grey(int r, int g, int b) { return (30 * r + 53 * g + 11 * b) / 94; }

// Replaces every pixel by (grey, grey, grey).
void GrayscaleImage(RgbImage& image);

// A 0xAARRGGBB colour with straight alpha laid over white: transparent parts of an image
// count as background, not as the black their colour channels often hold.
PackedRgb OverWhite(uint32_t argb);

// Refusal bounds for a declared image size: beyond them the column sums of a row could not
// be kept (a side above 65535) or the import would take too long to be sensible (above 1 Gpx).
constexpr int kMaxImageSide = 65535;
constexpr int64_t kMaxImagePixels = int64_t{1} << 30;
bool IsImportableSize(int64_t width, int64_t height);

// A rectangle of pixels.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Area-average scaling fed one source row at a time: every target pixel is the average colour
// of the source area it covers, partly covered source pixels weighted by the covered fraction.
// Each source row is first summed into the (at most two) target rows it falls into, column by
// column; a target row is reduced across once complete. The cost follows the pixels fed, and
// the memory is a few words per source column plus the target.
class AreaAverager {
 public:
  // Scales `window` of a full_width x full_height image to width x height. Rows are fed in
  // file order: top first, or bottom first when `bottom_up`. Sides up to kMaxImageSide.
  AreaAverager(int full_width, int full_height, PixelRect window, int width, int height,
               bool bottom_up = false);

  // The next row, full_width pixels.
  void AddRow(const PackedRgb* row);
  // The next row: `background` but for the listed pixels (column, colour; columns rising), at
  // a cost that follows the list, not the width.
  void AddRowOver(PackedRgb background, const std::vector<std::pair<int, PackedRgb>>& pixels);
  // The next `count` rows, all of one colour, at a cost that follows neither.
  void AddUniformRows(PackedRgb colour, int count);
  // Every dx-th pixel of row y (top-down), starting at x0: the passes of an interlaced image.
  // Pixels may come in any order but each exactly once; not mixed with AddRow.
  void AddPixels(int y, int x0, int dx, const PackedRgb* pixels, int count);

  int RowsAdded() const { return rows_added_; }

  // The scaled image. A 1-bit image (depth 1) stays two-coloured: each pixel takes the one of
  // `two_colours` nearer (RGB distance) to the exact average, a tie going to the darker, so a
  // black-and-white image lights a pixel when at least half of its area is black.
  RgbImage Result(int depth, const std::array<PackedRgb, 2>& two_colours) const;

 private:
  struct Span {
    int64_t first = 0;
    int64_t last = 0;
    uint64_t first_weight = 0;
    uint64_t last_weight = 0;
  };
  struct Sum {
    uint64_t r = 0;
    uint64_t g = 0;
    uint64_t b = 0;
  };
  // Weighted column sums of the source rows of one target row: base + column, modulo 2^32.
  // The true sums stay below 2^24 for sides up to 65535, since a target row's weights add up
  // to the window height, so a column may go below zero on the way (a pixel darker than the
  // row's base) and still end exact.
  struct Columns {
    std::vector<uint32_t> r, g, b;
    uint32_t base_r = 0, base_g = 0, base_b = 0;
  };

  // The position of the next row in the window, in feeding order, or -1 when it lies outside.
  int64_t NextWindowRow();
  // Calls add(target row, weight, columns) for every target row that window row s falls
  // into, then reduces the target rows it completes.
  template <typename Add>
  void Accumulate(int64_t s, Add add);
  void FlushRow(int target_row, Columns& columns);

  int full_width_;
  int full_height_;
  PixelRect window_;
  int width_;
  int height_;
  bool bottom_up_;
  std::vector<Span> column_spans_;
  std::vector<Span> row_spans_;
  Columns open_[2];
  std::vector<Sum> sums_;  // target pixels, top row first
  int rows_added_ = 0;
  int next_open_row_ = 0;
};

// Scales to width x height by area averaging (see AreaAverager). The whole image is used, the
// aspect ratio is not kept and small images are enlarged. The result keeps the source depth.
// An empty source gives a white image.
RgbImage ScaleArea(const ImageSource& source, int width, int height);

// Which part of a width x height image is scaled into which part of the picture.
struct FitPlacement {
  PixelRect source;
  PixelRect target;
  friend bool operator==(const FitPlacement&, const FitPlacement&) = default;
};
FitPlacement PlaceImage(int width, int height, Fit fit);

// The grey levels of a 128 x 64 picture before they become lit or clear: the scaled image
// placed in it (grey unless 1-bit, where the green of its two colours counts), white around.
// Every option but the fit works from these alone.
struct GreyField {
  std::array<uint8_t, kPictureWidth * kPictureHeight> levels;  // row by row
  PixelRect image{0, 0, kPictureWidth, kPictureHeight};        // the rest is margin
  friend bool operator==(const GreyField&, const GreyField&) = default;
};

// `scaled` (of the target's size, depth as decoded) placed at `target` of a white picture.
GreyField PlaceGreys(const RgbImage& scaled, const PixelRect& target, int depth);

// A grey level after contrast and brightness (see ConversionOptions), clamped to 0..255.
int AdjustLevel(int level, int brightness, int contrast);

// Lit and clear pixels by the options (all but the fit): contrast and brightness, threshold or
// dithering, invert, and the margin.
PictureBytes ConvertGreys(const GreyField& field, const ConversionOptions& options = {});

// Pixel (x, y) of a 128 x 64 image becomes bit y mod 8 of byte x mod 8 + 1 of cell
// 16 (y div 8) + x div 8 + 1, by default lit when its green is below 220. Pixels the image
// lacks count as white.
PictureBytes ConvertToPicture(const RgbImage& image, const ConversionOptions& options = {});

// What one decoding pass keeps of an image so that it can be converted again under any options:
// the greys of each fit asked for, and a colour view of the whole image for showing.
struct ImportFrame {
  int width = 0;  // of the image
  int height = 0;
  std::array<std::optional<GreyField>, kFitCount> fits;  // by Fit
  RgbImage preview;  // aspect kept, within the preview size asked for
};

// The picture of a frame under the options; a fit the frame lacks gives a blank picture.
PictureBytes ConvertFrame(const ImportFrame& frame, const ConversionOptions& options);

// A width x height image shrunk or enlarged to fit within box_width x box_height, aspect kept,
// at least 1 x 1.
PixelRect PreviewSize(int width, int height, int box_width, int box_height);

// What a decoder makes of an image: the picture by `options`; with `frame` set, also every
// fit's greys and a preview of at most preview_width x preview_height (0: none) into it, from
// the same rows.
struct DecodeRequest {
  DecodeRequest(const ConversionOptions& conversion = {}) : options(conversion) {}  // NOLINT

  ConversionOptions options;
  ImportFrame* frame = nullptr;
  int preview_width = 0;
  int preview_height = 0;
};

// The whole conversion of an image fed row by row by a decoder: placement, area average,
// grey unless black-and-white, then lit or clear pixels. One pass of rows serves every fit a
// request asks for.
class PictureBuilder {
 public:
  // The size must be importable (IsImportableSize). A depth of 1 with two colours other than
  // black and white is taken as a colour image.
  PictureBuilder(int width, int height, int depth, const std::array<PackedRgb, 2>& two_colours,
                 bool bottom_up = false, const DecodeRequest& request = {});

  void AddRow(const PackedRgb* row) {
    for (Scaler& s : scalers_) s.averager.AddRow(row);
  }
  void AddRowOver(PackedRgb background, const std::vector<std::pair<int, PackedRgb>>& pixels) {
    for (Scaler& s : scalers_) s.averager.AddRowOver(background, pixels);
  }
  void AddUniformRows(PackedRgb colour, int count) {
    for (Scaler& s : scalers_) s.averager.AddUniformRows(colour, count);
  }
  void AddPixels(int y, int x0, int dx, const PackedRgb* pixels, int count) {
    for (Scaler& s : scalers_) s.averager.AddPixels(y, x0, dx, pixels, count);
  }
  int RowsAdded() const { return scalers_.front().averager.RowsAdded(); }

  // The picture by the request's options; fills the request's frame too when it has one.
  PictureBytes Picture() const;

 private:
  static constexpr int kPreview = -1;
  struct Scaler {
    int fit;  // a Fit, or kPreview
    PixelRect target;
    AreaAverager averager;
  };

  GreyField Greys(const Scaler& scaler) const;

  int width_;
  int height_;
  int depth_;
  std::array<PackedRgb, 2> two_colours_;
  ConversionOptions options_;
  ImportFrame* frame_;
  std::vector<Scaler> scalers_;  // the options' fit first
};

// The whole conversion: placed and scaled into 128 x 64, grey unless black-and-white, then lit
// or clear.
PictureBytes ImageToPicture(const ImageSource& source, const ConversionOptions& options = {});

}  // namespace lumigrid
