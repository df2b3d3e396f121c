#include "files/mono_convert.h"

#include <algorithm>
#include <cstddef>

#include "picture/geometry.h"

namespace lumigrid {

namespace {

// How the source pixels along one axis fall into one target pixel. Lengths are counted in
// units of 1/target of a source pixel, so every overlap is a whole number: source pixel i
// spans [target * i, target * (i + 1)), target pixel j spans [source * j, source * (j + 1)).
struct AxisSpan {
  int64_t first = 0;          // first source pixel touched
  int64_t last = 0;           // last source pixel touched
  uint64_t first_weight = 0;  // covered units of the first pixel
  uint64_t last_weight = 0;   // covered units of the last pixel, if it is not the first
};

std::vector<AxisSpan> AxisSpans(int source, int target) {
  std::vector<AxisSpan> spans(static_cast<std::size_t>(target));
  for (int j = 0; j < target; ++j) {
    const int64_t lo = int64_t{source} * j;
    const int64_t hi = int64_t{source} * (j + 1);
    AxisSpan& span = spans[static_cast<std::size_t>(j)];
    span.first = lo / target;
    span.last = (hi - 1) / target;
    span.first_weight = static_cast<uint64_t>(std::min((span.first + 1) * target, hi) - lo);
    span.last_weight = static_cast<uint64_t>(hi - std::max(span.last * target, lo));
  }
  return spans;
}

struct Sum {
  uint64_t r = 0;
  uint64_t g = 0;
  uint64_t b = 0;
};

void AddWeighted(Sum& sum, Rgb c, uint64_t weight) {
  sum.r += weight * static_cast<uint64_t>(RedOf(c));
  sum.g += weight * static_cast<uint64_t>(GreenOf(c));
  sum.b += weight * static_cast<uint64_t>(BlueOf(c));
}

// Weighted sums of one source row over every target column.
void SumRow(const Rgb* row, const std::vector<AxisSpan>& columns, uint64_t full_weight,
            std::vector<Sum>& out) {
  for (std::size_t j = 0; j < columns.size(); ++j) {
    const AxisSpan& span = columns[j];
    Sum sum;
    AddWeighted(sum, row[span.first], span.first_weight);
    if (span.last != span.first) {
      // Fully covered pixels carry the same weight: add them up first, multiply once.
      uint64_t r = 0;
      uint64_t g = 0;
      uint64_t b = 0;
      for (int64_t i = span.first + 1; i < span.last; ++i) {
        const Rgb c = row[i];
        r += (c >> 16) & 0xFF;
        g += (c >> 8) & 0xFF;
        b += c & 0xFF;
      }
      sum.r += r * full_weight;
      sum.g += g * full_weight;
      sum.b += b * full_weight;
      AddWeighted(sum, row[span.last], span.last_weight);
    }
    out[j] = sum;
  }
}

// The one of two colours nearer to the average sum / area, decided on the exact sums: the
// rounded average would turn a tie into a choice by rounding direction. A tie goes to the
// darker colour, so a thin line covering exactly half of a scaled pixel is kept.
Rgb NearerColour(const Sum& sum, uint64_t area, const std::array<Rgb, 2>& two_colours) {
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
  const auto grey = [](Rgb c) { return Grey(RedOf(c), GreenOf(c), BlueOf(c)); };
  return grey(second) < grey(first) ? second : first;
}

}  // namespace

RgbImage::RgbImage(int w, int h, int bits_per_pixel, Rgb fill)
    : width(std::max(w, 0)),
      height(std::max(h, 0)),
      depth(bits_per_pixel),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

ImageSource SourceOf(const RgbImage& image, std::array<Rgb, 2> two_colours) {
  ImageSource source;
  source.width = image.width;
  source.height = image.height;
  source.depth = image.depth;
  source.two_colours = two_colours;
  source.rows = [&image](int y) { return image.Row(y); };
  return source;
}

void GrayscaleImage(RgbImage& image) {
  for (Rgb& c : image.pixels) {
    const int grey = Grey(RedOf(c), GreenOf(c), BlueOf(c));
    c = MakeRgb(grey, grey, grey);
  }
}

Rgb OverWhite(uint32_t argb) {
  const int alpha = static_cast<int>(argb >> 24);
  const auto blend = [alpha](int channel) {
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
  };
  return MakeRgb(blend(RedOf(argb)), blend(GreenOf(argb)), blend(BlueOf(argb)));
}

RgbImage ScaleArea(const ImageSource& source, int width, int height) {
  RgbImage result(width, height, source.depth);
  if (source.width <= 0 || source.height <= 0 || result.pixels.empty() || !source.rows) {
    return result;
  }
  const std::vector<AxisSpan> columns = AxisSpans(source.width, result.width);
  const std::vector<AxisSpan> rows = AxisSpans(source.height, result.height);
  const auto full_column = static_cast<uint64_t>(result.width);
  const auto full_row = static_cast<uint64_t>(result.height);

  std::vector<Sum> row_sums(columns.size());
  std::vector<Sum> sums(result.pixels.size());
  std::size_t first_open_row = 0;  // target rows before it have all their source rows
  for (int y = 0; y < source.height; ++y) {
    SumRow(source.rows(y), columns, full_column, row_sums);
    while (rows[first_open_row].last < y) ++first_open_row;
    for (std::size_t ty = first_open_row; ty < rows.size() && rows[ty].first <= y; ++ty) {
      const AxisSpan& span = rows[ty];
      const uint64_t weight = y == span.first  ? span.first_weight
                              : y == span.last ? span.last_weight
                                               : full_row;
      Sum* target = &sums[ty * columns.size()];
      for (std::size_t tx = 0; tx < columns.size(); ++tx) {
        target[tx].r += row_sums[tx].r * weight;
        target[tx].g += row_sums[tx].g * weight;
        target[tx].b += row_sums[tx].b * weight;
      }
    }
  }

  // Every target pixel covers source.width x source.height units in all.
  const uint64_t area = static_cast<uint64_t>(source.width) * static_cast<uint64_t>(source.height);
  const auto average = [area](uint64_t sum) { return static_cast<int>((sum + area / 2) / area); };
  for (std::size_t i = 0; i < sums.size(); ++i) {
    result.pixels[i] = source.depth == 1
                           ? NearerColour(sums[i], area, source.two_colours)
                           : MakeRgb(average(sums[i].r), average(sums[i].g), average(sums[i].b));
  }
  return result;
}

PictureBytes ConvertToPicture(const RgbImage& image) {
  PictureBytes bytes{};
  const int width = std::min(image.width, kPictureWidth);
  const int height = std::min(image.height, kPictureHeight);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (GreenOf(image.At(x, y)) >= kLitBelowGreen) continue;
      const PixelAddress at = PixelToAddress(x, y);
      bytes[static_cast<std::size_t>(ByteOffset(at.cell, at.byte))] |= RowMask(at.row);
    }
  }
  return bytes;
}

PictureBytes ImageToPicture(const ImageSource& source) {
  RgbImage image;
  if (source.width == kPictureWidth && source.height == kPictureHeight && source.rows) {
    image = RgbImage(kPictureWidth, kPictureHeight, source.depth);
    for (int y = 0; y < kPictureHeight; ++y) {
      const Rgb* row = source.rows(y);
      std::copy(row, row + kPictureWidth, image.pixels.begin() + std::ptrdiff_t{y} * kPictureWidth);
    }
  } else {
    image = ScaleArea(source, kPictureWidth, kPictureHeight);
  }
  if (image.depth > 1) GrayscaleImage(image);
  return ConvertToPicture(image);
}

}  // namespace lumigrid
