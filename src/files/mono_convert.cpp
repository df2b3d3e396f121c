#include "files/mono_convert.h"

#include <algorithm>
#include <cstddef>

#include "picture/geometry.h"

namespace lumigrid {

namespace {

// Spans of one axis in units of 1/target of a source pixel, so every overlap is a whole
// number: source pixel i spans [target * i, target * (i + 1)), target pixel j spans
// [source * j, source * (j + 1)).
template <typename Span>
std::vector<Span> AxisSpans(int source, int target) {
  std::vector<Span> spans(static_cast<std::size_t>(std::max(target, 0)));
  if (source <= 0) return spans;
  for (int j = 0; j < target; ++j) {
    const int64_t lo = int64_t{source} * j;
    const int64_t hi = int64_t{source} * (j + 1);
    Span& span = spans[static_cast<std::size_t>(j)];
    span.first = lo / target;
    span.last = (hi - 1) / target;
    span.first_weight = static_cast<uint64_t>(std::min((span.first + 1) * target, hi) - lo);
    span.last_weight = static_cast<uint64_t>(hi - std::max(span.last * target, lo));
  }
  return spans;
}

// Overlap of source pixel i with each target pixel it touches, on an axis of `source` pixels
// scaled to `target`: calls visit(target pixel, weight in the units above).
template <typename Visit>
void ForEachCovered(int64_t i, int64_t source, int64_t target, Visit visit) {
  const int64_t lo = target * i;
  const int64_t hi = target * (i + 1);
  for (int64_t j = lo / source; j <= (hi - 1) / source; ++j) {
    const int64_t weight = std::min(hi, source * (j + 1)) - std::max(lo, source * j);
    visit(static_cast<int>(j), static_cast<uint64_t>(weight));
  }
}

struct ChannelSums {
  uint64_t r = 0;
  uint64_t g = 0;
  uint64_t b = 0;
};

// The one of two colours nearer to the average sum / area, decided on the exact sums: the
// rounded average would turn a tie into a choice by rounding direction. A tie goes to the
// darker colour, so a thin line covering exactly half of a scaled pixel is kept.
PackedRgb NearerColour(const ChannelSums& sum, uint64_t area,
                       const std::array<PackedRgb, 2>& two_colours) {
  const auto [first, second] = two_colours;
  // area * (|avg - first|^2 - |avg - second|^2)
  //   = 2 sum . (second - first) + area * (|first|^2 - |second|^2)
  const auto term = [area](uint64_t channel_sum, int a, int b) {
    return 2 * static_cast<int64_t>(channel_sum) * (b - a) +
           static_cast<int64_t>(area) * (a * a - b * b);
  };
  const int64_t difference = term(sum.r, RedOf(first), RedOf(second)) +
                             term(sum.g, GreenOf(first), GreenOf(second)) +
                             term(sum.b, BlueOf(first), BlueOf(second));
  if (difference != 0) return difference < 0 ? first : second;
  const auto grey = [](PackedRgb c) { return Grey(RedOf(c), GreenOf(c), BlueOf(c)); };
  return grey(second) < grey(first) ? second : first;
}

// N x N ordered-dither thresholds 0..N*N-1 (N a power of two); every row holds half of them
// below the middle, alternating.
template <int N>
constexpr std::array<std::array<int, N>, N> BayerMatrix() {
  std::array<std::array<int, N>, N> m{};
  constexpr int kBase[2][2] = {{0, 2}, {3, 1}};
  for (int n = 1; n < N; n *= 2) {
    std::array<std::array<int, N>, N> next{};
    for (int y = 0; y < 2 * n; ++y)
      for (int x = 0; x < 2 * n; ++x) next[y][x] = 4 * m[y % n][x % n] + kBase[y / n][x / n];
    m = next;
  }
  return m;
}

// Lit where a level lies below the middle of its matrix cell's step of 0..255.
template <int N>
void OrderedDither(const std::vector<int>& levels, std::vector<bool>& lit) {
  static constexpr auto kMatrix = BayerMatrix<N>();
  constexpr int kStep = 256 / (N * N);
  for (int y = 0; y < kPictureHeight; ++y)
    for (int x = 0; x < kPictureWidth; ++x)
      lit[y * kPictureWidth + x] =
          levels[y * kPictureWidth + x] < kStep * kMatrix[y % N][x % N] + kStep / 2;
}

// Lit pixels of a 128 x 64 field of grey levels by error diffusion: each pixel's error from
// black or white goes to its not yet visited neighbours by the given weights. Rows run in
// alternate directions, so the error does not pile up at one edge.
struct Diffusion {
  int dx, dy, weight;
};
template <std::size_t N>
std::vector<bool> Diffuse(std::vector<int> levels, const Diffusion (&spread)[N], int divisor) {
  constexpr int kScale = 64;  // fixed point, so small errors are not lost to rounding
  for (int& v : levels) v *= kScale;
  std::vector<bool> lit(levels.size());
  for (int y = 0; y < kPictureHeight; ++y) {
    const int direction = y % 2 == 0 ? 1 : -1;
    for (int i = 0; i < kPictureWidth; ++i) {
      const int x = direction > 0 ? i : kPictureWidth - 1 - i;
      const int at = y * kPictureWidth + x;
      lit[at] = levels[at] < 128 * kScale;
      const int error = levels[at] - (lit[at] ? 0 : 255 * kScale);
      for (const Diffusion& d : spread) {
        const int nx = x + d.dx * direction;
        const int ny = y + d.dy;
        if (nx < 0 || nx >= kPictureWidth || ny >= kPictureHeight) continue;
        levels[ny * kPictureWidth + nx] += error * d.weight / divisor;
      }
    }
  }
  return lit;
}

}  // namespace

RgbImage::RgbImage(int w, int h, int bits_per_pixel, PackedRgb fill)
    : width(std::max(w, 0)),
      height(std::max(h, 0)),
      depth(bits_per_pixel),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

ImageSource SourceOf(const RgbImage& image, std::array<PackedRgb, 2> two_colours) {
  ImageSource source;
  source.width = image.width;
  source.height = image.height;
  source.depth = image.depth;
  source.two_colours = two_colours;
  source.rows = [&image](int y) { return image.Row(y); };
  return source;
}

bool IsBlackAndWhite(const std::array<PackedRgb, 2>& two_colours) {
  const PackedRgb a = two_colours[0] & 0xFFFFFF;
  const PackedRgb b = two_colours[1] & 0xFFFFFF;
  return (a == kBlack && b == kWhite) || (a == kWhite && b == kBlack);
}

void GrayscaleImage(RgbImage& image) {
  for (PackedRgb& c : image.pixels) {
    const int grey = Grey(RedOf(c), GreenOf(c), BlueOf(c));
    c = MakeRgb(grey, grey, grey);
  }
}

PackedRgb OverWhite(uint32_t argb) {
  const int alpha = static_cast<int>(argb >> 24);
  const auto blend = [alpha](int channel) {
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
  };
  return MakeRgb(blend(RedOf(argb)), blend(GreenOf(argb)), blend(BlueOf(argb)));
}

bool IsImportableSize(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

AreaAverager::AreaAverager(int full_width, int full_height, PixelRect window, int width, int height,
                           bool bottom_up)
    : full_width_(std::max(full_width, 0)),
      full_height_(std::max(full_height, 0)),
      window_(window),
      width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bottom_up_(bottom_up),
      column_spans_(AxisSpans<Span>(window.width, width_)),
      row_spans_(AxisSpans<Span>(window.height, height_)),
      sums_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
  const auto columns = static_cast<std::size_t>(std::max(window_.width, 0));
  for (Columns& open : open_) {
    open.r.assign(columns, 0);
    open.g.assign(columns, 0);
    open.b.assign(columns, 0);
  }
}

int64_t AreaAverager::NextWindowRow() {
  const int index = rows_added_++;
  if (index >= full_height_ || window_.width <= 0 || width_ == 0) return -1;
  const int y = bottom_up_ ? full_height_ - 1 - index : index;
  if (y < window_.y || y >= window_.y + window_.height) return -1;
  // Rows of the window in the order they come; a bottom-up image is scaled upside down and
  // its target rows put back in place (the spans are symmetric).
  return bottom_up_ ? window_.y + window_.height - 1 - y : y - window_.y;
}

template <typename Add>
void AreaAverager::Accumulate(int64_t s, Add add) {
  while (next_open_row_ < height_ && row_spans_[next_open_row_].last < s) ++next_open_row_;
  for (int ty = next_open_row_; ty < height_ && row_spans_[ty].first <= s; ++ty) {
    const Span& span = row_spans_[ty];
    const auto weight = static_cast<uint32_t>(s == span.first  ? span.first_weight
                                              : s == span.last ? span.last_weight
                                                               : uint64_t(height_));
    Columns& open = open_[ty & 1];
    add(weight, open);
    if (span.last == s) FlushRow(ty, open);
  }
}

void AreaAverager::AddRow(const PackedRgb* row) {
  const int64_t s = NextWindowRow();
  if (s < 0) return;
  const PackedRgb* pixels = row + window_.x;
  const auto count = static_cast<std::size_t>(window_.width);
  Accumulate(s, [pixels, count](uint32_t weight, Columns& open) {
    uint32_t* r = open.r.data();
    uint32_t* g = open.g.data();
    uint32_t* b = open.b.data();
    for (std::size_t x = 0; x < count; ++x) {
      const PackedRgb c = pixels[x];
      r[x] += weight * ((c >> 16) & 0xFF);
      g[x] += weight * ((c >> 8) & 0xFF);
      b[x] += weight * (c & 0xFF);
    }
  });
}

void AreaAverager::AddRowOver(PackedRgb background,
                              const std::vector<std::pair<int, PackedRgb>>& pixels) {
  const int64_t s = NextWindowRow();
  if (s < 0) return;
  const int br = RedOf(background);
  const int bg = GreenOf(background);
  const int bb = BlueOf(background);
  Accumulate(s, [&](uint32_t weight, Columns& open) {
    open.base_r += weight * static_cast<uint32_t>(br);
    open.base_g += weight * static_cast<uint32_t>(bg);
    open.base_b += weight * static_cast<uint32_t>(bb);
    for (const auto& [x, c] : pixels) {
      const int column = x - window_.x;
      if (column < 0 || column >= window_.width) continue;
      // Differences from the base, wrapping below zero where the pixel is darker.
      open.r[column] += weight * static_cast<uint32_t>(RedOf(c) - br);
      open.g[column] += weight * static_cast<uint32_t>(GreenOf(c) - bg);
      open.b[column] += weight * static_cast<uint32_t>(BlueOf(c) - bb);
    }
  });
}

void AreaAverager::AddUniformRows(PackedRgb colour, int count) {
  count = std::clamp(count, 0, full_height_ - rows_added_);
  const int first = rows_added_;
  rows_added_ += count;
  if (count == 0 || window_.width <= 0 || width_ == 0) return;
  // The rows in top-down terms, cut to the window, then as window positions in feeding order.
  const int top = bottom_up_ ? full_height_ - first - count : first;
  const int lo = std::max(top, window_.y);
  const int hi = std::min(top + count, window_.y + window_.height);  // exclusive
  if (lo >= hi) return;
  const int64_t s0 = bottom_up_ ? window_.y + window_.height - hi : lo - window_.y;
  const int64_t s1 = s0 + (hi - lo) - 1;
  const int64_t source = window_.height;
  while (next_open_row_ < height_ && row_spans_[next_open_row_].last < s0) ++next_open_row_;
  for (int ty = next_open_row_; ty < height_ && row_spans_[ty].first <= s1; ++ty) {
    // Units of the run inside target row ty (see AxisSpans).
    const int64_t covered =
        std::min((s1 + 1) * height_, source * (ty + 1)) - std::max(s0 * height_, source * ty);
    const auto weight = static_cast<uint32_t>(covered);
    Columns& open = open_[ty & 1];
    open.base_r += weight * static_cast<uint32_t>(RedOf(colour));
    open.base_g += weight * static_cast<uint32_t>(GreenOf(colour));
    open.base_b += weight * static_cast<uint32_t>(BlueOf(colour));
    if (row_spans_[ty].last <= s1) FlushRow(ty, open);
  }
}

void AreaAverager::FlushRow(int target_row, Columns& open) {
  const int row = bottom_up_ ? height_ - 1 - target_row : target_row;
  Sum* out = &sums_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_)];
  const auto full = static_cast<uint64_t>(width_);
  const uint32_t br = open.base_r;
  const uint32_t bg = open.base_g;
  const uint32_t bb = open.base_b;
  for (int tx = 0; tx < width_; ++tx) {
    const Span& span = column_spans_[tx];
    Sum& sum = out[tx];
    const auto add = [&](int64_t i, uint64_t weight) {
      sum.r += weight * uint32_t(open.r[i] + br);
      sum.g += weight * uint32_t(open.g[i] + bg);
      sum.b += weight * uint32_t(open.b[i] + bb);
    };
    add(span.first, span.first_weight);
    if (span.last == span.first) continue;
    // Fully covered columns carry the same weight: add them up first, multiply once.
    Sum inner;
    for (int64_t i = span.first + 1; i < span.last; ++i) {
      inner.r += uint32_t(open.r[i] + br);
      inner.g += uint32_t(open.g[i] + bg);
      inner.b += uint32_t(open.b[i] + bb);
    }
    sum.r += inner.r * full;
    sum.g += inner.g * full;
    sum.b += inner.b * full;
    add(span.last, span.last_weight);
  }
  std::fill(open.r.begin(), open.r.end(), 0);
  std::fill(open.g.begin(), open.g.end(), 0);
  std::fill(open.b.begin(), open.b.end(), 0);
  open.base_r = open.base_g = open.base_b = 0;
}

void AreaAverager::AddPixels(int y, int x0, int dx, const PackedRgb* pixels, int count) {
  if (y < window_.y || y >= window_.y + window_.height || width_ == 0 || height_ == 0) return;
  const int64_t ww = window_.width;
  const int64_t wh = window_.height;
  ForEachCovered(y - window_.y, wh, height_, [&](int ty, uint64_t row_weight) {
    Sum* out = &sums_[static_cast<std::size_t>(ty) * static_cast<std::size_t>(width_)];
    for (int k = 0; k < count; ++k) {
      const int64_t x = int64_t{x0} + int64_t{k} * dx - window_.x;
      if (x < 0 || x >= ww) continue;
      const PackedRgb c = pixels[k];
      ForEachCovered(x, ww, width_, [&](int tx, uint64_t column_weight) {
        const uint64_t weight = row_weight * column_weight;
        out[tx].r += weight * static_cast<uint64_t>(RedOf(c));
        out[tx].g += weight * static_cast<uint64_t>(GreenOf(c));
        out[tx].b += weight * static_cast<uint64_t>(BlueOf(c));
      });
    }
  });
}

RgbImage AreaAverager::Result(int depth, const std::array<PackedRgb, 2>& two_colours) const {
  RgbImage result(width_, height_, depth);
  if (window_.width <= 0 || window_.height <= 0) return result;
  // Every target pixel covers window width x window height units in all.
  const uint64_t area =
      static_cast<uint64_t>(window_.width) * static_cast<uint64_t>(window_.height);
  const auto average = [area](uint64_t sum) { return static_cast<int>((sum + area / 2) / area); };
  for (std::size_t i = 0; i < sums_.size(); ++i) {
    const Sum& s = sums_[i];
    result.pixels[i] = depth == 1 ? NearerColour({s.r, s.g, s.b}, area, two_colours)
                                  : MakeRgb(average(s.r), average(s.g), average(s.b));
  }
  return result;
}

RgbImage ScaleArea(const ImageSource& source, int width, int height) {
  if (source.width <= 0 || source.height <= 0 || !source.rows) {
    return RgbImage(width, height, source.depth);
  }
  AreaAverager averager(source.width, source.height, {0, 0, source.width, source.height}, width,
                        height);
  for (int y = 0; y < source.height; ++y) averager.AddRow(source.rows(y));
  return averager.Result(source.depth, source.two_colours);
}

FitPlacement PlaceImage(int width, int height, Fit fit) {
  FitPlacement place{{0, 0, width, height}, {0, 0, kPictureWidth, kPictureHeight}};
  if (width <= 0 || height <= 0 || fit == Fit::kStretch) return place;
  const int64_t w = width;
  const int64_t h = height;
  // Wider than the picture's 2:1 or not; sizes rounded to the nearest pixel.
  const bool wider = w * kPictureHeight >= h * kPictureWidth;
  const auto rounded = [](int64_t num, int64_t den, int64_t lo, int64_t hi) {
    return static_cast<int>(std::clamp((2 * num + den) / (2 * den), lo, hi));
  };
  if (fit == Fit::kContain) {
    PixelRect& t = place.target;
    t.width = wider ? kPictureWidth : rounded(w * kPictureHeight, h, 1, kPictureWidth);
    t.height = wider ? rounded(h * kPictureWidth, w, 1, kPictureHeight) : kPictureHeight;
    t.x = (kPictureWidth - t.width) / 2;
    t.y = (kPictureHeight - t.height) / 2;
  } else {
    PixelRect& s = place.source;
    s.width = wider ? rounded(h * kPictureWidth, kPictureHeight, 1, w) : width;
    s.height = wider ? height : rounded(w * kPictureHeight, kPictureWidth, 1, h);
    s.x = (width - s.width) / 2;
    s.y = (height - s.height) / 2;
  }
  return place;
}

GreyField PlaceGreys(const RgbImage& scaled, const PixelRect& target, int depth) {
  GreyField field;
  field.levels.fill(255);
  field.image = target;
  for (int y = 0; y < scaled.height; ++y) {
    for (int x = 0; x < scaled.width; ++x) {
      const PackedRgb c = scaled.At(x, y);
      field.levels[static_cast<std::size_t>((target.y + y) * kPictureWidth + target.x + x)] =
          static_cast<uint8_t>(depth > 1 ? Grey(RedOf(c), GreenOf(c), BlueOf(c)) : GreenOf(c));
    }
  }
  return field;
}

int AdjustLevel(int level, int brightness, int contrast) {
  int v = level;
  if (contrast >= kMaxContrast) {
    v = level < 128 ? 0 : 255;
  } else if (contrast > 0) {
    v = 128 + (level - 128) * 100 / (100 - contrast);
  } else if (contrast < 0) {
    v = 128 + (level - 128) * (100 + std::max(contrast, -kMaxContrast)) / 100;
  }
  v += std::clamp(brightness, -kMaxBrightness, kMaxBrightness) * 255 / 100;
  return std::clamp(v, 0, 255);
}

PictureBytes ConvertGreys(const GreyField& field, const ConversionOptions& options) {
  const PixelRect& image = field.image;
  const auto in_image = [&image](int x, int y) {
    return x >= image.x && x < image.x + image.width && y >= image.y && y < image.y + image.height;
  };
  const bool adjust = options.brightness != 0 || options.contrast != 0;
  std::vector<int> levels(field.levels.begin(), field.levels.end());
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      int& level = levels[y * kPictureWidth + x];
      if (in_image(x, y)) {
        if (adjust) level = AdjustLevel(level, options.brightness, options.contrast);
      } else if (options.margin != Margin::kWhite) {
        // Dithering next to the margin sees it as it will be shown, before the invert.
        level = (options.margin == Margin::kLit) != options.invert ? 0 : 255;
      }
    }
  }

  std::vector<bool> lit(levels.size());
  switch (options.dither) {
    case Dither::kNone:
      for (std::size_t i = 0; i < levels.size(); ++i) lit[i] = levels[i] < options.threshold;
      break;
    case Dither::kOrdered:
      OrderedDither<8>(levels, lit);
      break;
    case Dither::kOrdered4:
      OrderedDither<4>(levels, lit);
      break;
    case Dither::kFloydSteinberg: {
      static constexpr Diffusion kSpread[] = {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}};
      lit = Diffuse(levels, kSpread, 16);
      break;
    }
    case Dither::kAtkinson: {
      // Spreads only 6/8 of the error, which keeps light and dark areas clean.
      static constexpr Diffusion kSpread[] = {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1},
                                              {0, 1, 1}, {1, 1, 1}, {0, 2, 1}};
      lit = Diffuse(levels, kSpread, 8);
      break;
    }
  }

  PictureBytes bytes{};
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      bool on = lit[y * kPictureWidth + x] != options.invert;
      if (options.margin != Margin::kWhite && !in_image(x, y)) on = options.margin == Margin::kLit;
      if (!on) continue;
      const PixelAddress at = PixelToAddress(x, y);
      bytes[static_cast<std::size_t>(ByteOffset(at.cell, at.byte))] |= RowMask(at.row);
    }
  }
  return bytes;
}

PictureBytes ConvertToPicture(const RgbImage& image, const ConversionOptions& options) {
  GreyField field;
  field.levels.fill(255);
  for (int y = 0; y < std::min(image.height, kPictureHeight); ++y)
    for (int x = 0; x < std::min(image.width, kPictureWidth); ++x)
      field.levels[static_cast<std::size_t>(y * kPictureWidth + x)] =
          static_cast<uint8_t>(GreenOf(image.At(x, y)));
  return ConvertGreys(field, options);
}

PictureBytes ConvertFrame(const ImportFrame& frame, const ConversionOptions& options) {
  const auto fit = static_cast<std::size_t>(options.fit);
  if (fit >= frame.fits.size()) return PictureBytes{};
  const auto& field = frame.fits[fit];
  return field ? ConvertGreys(*field, options) : PictureBytes{};
}

PixelRect PreviewSize(int width, int height, int box_width, int box_height) {
  if (width <= 0 || height <= 0) return {0, 0, 1, 1};
  const int64_t w = width;
  const int64_t h = height;
  // Wider than the box or not; the other side rounded, never below 1.
  if (w * box_height >= h * box_width) {
    return {0, 0, box_width, static_cast<int>(std::max<int64_t>(1, (h * box_width + w / 2) / w))};
  }
  return {0, 0, static_cast<int>(std::max<int64_t>(1, (w * box_height + h / 2) / h)), box_height};
}

PictureBuilder::PictureBuilder(int width, int height, int depth,
                               const std::array<PackedRgb, 2>& two_colours, bool bottom_up,
                               const DecodeRequest& request)
    : width_(width),
      height_(height),
      depth_(depth == 1 && !IsBlackAndWhite(two_colours) ? 24 : depth),
      two_colours_(two_colours),
      options_(request.options),
      frame_(request.frame) {
  const auto add = [&](int fit, const PixelRect& source, const PixelRect& target) {
    scalers_.push_back(
        {fit, target, AreaAverager(width, height, source, target.width, target.height, bottom_up)});
  };
  const auto add_fit = [&](Fit fit) {
    const FitPlacement placement = PlaceImage(width, height, fit);
    add(static_cast<int>(fit), placement.source, placement.target);
  };
  add_fit(options_.fit);
  if (frame_ == nullptr) return;
  for (int fit = 0; fit < kFitCount; ++fit) {
    if (fit != static_cast<int>(options_.fit)) add_fit(static_cast<Fit>(fit));
  }
  if (request.preview_width > 0 && request.preview_height > 0) {
    add(kPreview, {0, 0, width, height},
        PreviewSize(width, height, request.preview_width, request.preview_height));
  }
}

GreyField PictureBuilder::Greys(const Scaler& scaler) const {
  return PlaceGreys(scaler.averager.Result(depth_, two_colours_), scaler.target, depth_);
}

PictureBytes PictureBuilder::Picture() const {
  if (frame_ != nullptr) {
    frame_->width = width_;
    frame_->height = height_;
    for (const Scaler& s : scalers_) {
      if (s.fit == kPreview) {
        frame_->preview = s.averager.Result(24, two_colours_);
      } else {
        frame_->fits[static_cast<std::size_t>(s.fit)] = Greys(s);
      }
    }
    return ConvertFrame(*frame_, options_);
  }
  return ConvertGreys(Greys(scalers_.front()), options_);
}

PictureBytes ImageToPicture(const ImageSource& source, const ConversionOptions& options) {
  if (source.width <= 0 || source.height <= 0 || !source.rows) {
    return ConvertToPicture(RgbImage(kPictureWidth, kPictureHeight, source.depth), options);
  }
  PictureBuilder builder(source.width, source.height, source.depth, source.two_colours, false,
                         options);
  for (int y = 0; y < source.height; ++y) builder.AddRow(source.rows(y));
  return builder.Picture();
}

}  // namespace lumigrid
