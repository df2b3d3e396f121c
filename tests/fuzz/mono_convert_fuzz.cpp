// Area-average scaling and the monochrome conversion against a slow model: every target pixel
// summed over the exact overlap of every source pixel, rounded (or, for 1-bit images, the
// nearer of the two colours) on exact integers. Row pointers are handed out as the scaler
// asks for them, so a row read twice or out of order shows too.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "files/mono_convert.h"
#include "fuzz_support.h"

namespace {

using lumigrid::PackedRgb;
using lumigrid::fuzz::Check;

// Overlap of source pixel i with target pixel j along an axis, in 1/(source*target) units.
int64_t Overlap(int source, int target, int i, int j) {
  const int64_t lo = std::max(int64_t{target} * i, int64_t{source} * j);
  const int64_t hi = std::min(int64_t{target} * (i + 1), int64_t{source} * (j + 1));
  return std::max<int64_t>(0, hi - lo);
}

// For every target pixel along an axis, the source pixels it overlaps and by how much.
using AxisModel = std::vector<std::vector<std::pair<int, int64_t>>>;
AxisModel Axis(int source, int target) {
  AxisModel axis(static_cast<size_t>(target));
  for (int j = 0; j < target; ++j) {
    for (int i = 0; i < source; ++i) {
      if (const int64_t w = Overlap(source, target, i, j)) {
        axis[static_cast<size_t>(j)].emplace_back(i, w);
      }
    }
  }
  return axis;
}

PackedRgb ModelPixel(const std::vector<PackedRgb>& pixels, int sw, int sh, const AxisModel& xs,
                     const AxisModel& ys, int tx, int ty, int depth,
                     const std::array<PackedRgb, 2>& two) {
  int64_t sum[3] = {0, 0, 0};
  for (const auto& [y, wy] : ys[static_cast<size_t>(ty)]) {
    for (const auto& [x, wx] : xs[static_cast<size_t>(tx)]) {
      const int64_t w = wy * wx;
      const PackedRgb c =
          pixels[static_cast<size_t>(y) * static_cast<size_t>(sw) + static_cast<size_t>(x)];
      sum[0] += w * lumigrid::RedOf(c);
      sum[1] += w * lumigrid::GreenOf(c);
      sum[2] += w * lumigrid::BlueOf(c);
    }
  }
  const int64_t area = int64_t{sw} * sh;
  if (depth != 1) {
    const auto avg = [area](int64_t s) { return static_cast<int>((s + area / 2) / area); };
    return lumigrid::MakeRgb(avg(sum[0]), avg(sum[1]), avg(sum[2]));
  }
  // area^2 times the squared distance of the average to colour c.
  const auto distance = [&](PackedRgb c) {
    const int64_t d[3] = {sum[0] - area * lumigrid::RedOf(c), sum[1] - area * lumigrid::GreenOf(c),
                          sum[2] - area * lumigrid::BlueOf(c)};
    return d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
  };
  const int64_t d0 = distance(two[0]);
  const int64_t d1 = distance(two[1]);
  if (d0 != d1) return d0 < d1 ? two[0] : two[1];
  const auto grey = [](PackedRgb c) {
    return lumigrid::Grey(lumigrid::RedOf(c), lumigrid::GreenOf(c), lumigrid::BlueOf(c));
  };
  return grey(two[1]) < grey(two[0]) ? two[1] : two[0];
}

struct Source {
  int width;
  int height;
  int depth;
  std::array<PackedRgb, 2> two;
  std::vector<PackedRgb> pixels;
  mutable int next_row = 0;

  lumigrid::ImageSource View() const {
    next_row = 0;
    lumigrid::ImageSource s;
    s.width = width;
    s.height = height;
    s.depth = depth;
    s.two_colours = two;
    s.rows = [this](int y) {
      Check(y == next_row++, "rows are read once, top to bottom");
      return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    };
    return s;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumigrid::fuzz::Input in(data, size);
  Source src;
  const uint8_t shape = in.Byte();
  // Now and then exactly the picture size, which is copied instead of scaled (sizes read
  // from the input reach it too).
  const bool picture_size = (shape & 0x80) != 0;
  src.width = picture_size ? lumigrid::kPictureWidth : 1 + in.Word() % 200;
  src.height = picture_size ? lumigrid::kPictureHeight : 1 + in.Word() % 100;
  src.depth = (shape & 1) ? 1 : 24;
  const int tw = 1 + in.Byte() % 48;
  const int th = 1 + in.Byte() % 48;
  // Top bytes set too: they must be ignored.
  src.two = {in.Dword(), in.Dword()};
  const std::string_view rest = in.Rest();
  const size_t count = static_cast<size_t>(src.width) * static_cast<size_t>(src.height);
  // A 1-bit image holds only its two colours.
  src.pixels.resize(count, src.depth == 1 ? src.two[1] : lumigrid::kWhite);
  for (size_t i = 0; i < count && !rest.empty(); ++i) {
    if (src.depth == 1) {
      const auto byte = static_cast<uint8_t>(rest[(i / 8) % rest.size()]);
      src.pixels[i] = src.two[(byte >> (i % 8)) & 1];
    } else {
      const size_t at = (4 * i) % rest.size();
      const auto b = [&](size_t k) {
        return static_cast<uint32_t>(static_cast<uint8_t>(rest[(at + k) % rest.size()]));
      };
      src.pixels[i] = b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
    }
  }

  const lumigrid::RgbImage scaled = lumigrid::ScaleArea(src.View(), tw, th);
  Check(scaled.width == tw && scaled.height == th && scaled.depth == src.depth,
        "the scaled image has the asked size and the source depth");
  const AxisModel xs = Axis(src.width, tw);
  const AxisModel ys = Axis(src.height, th);
  for (int y = 0; y < th; ++y) {
    for (int x = 0; x < tw; ++x) {
      const PackedRgb want =
          ModelPixel(src.pixels, src.width, src.height, xs, ys, x, y, src.depth, src.two);
      Check((scaled.At(x, y) & 0xFFFFFF) == (want & 0xFFFFFF), "scaled pixel equals the model");
    }
  }

  // The whole conversion: the model scaled to 128 x 64 (or the image as it is), grey unless
  // black-and-white, lit where green < 220; pixel (x, y) is bit y % 8 of byte x % 8 of cell
  // 16 (y / 8) + x / 8. A 1-bit image of other colours is converted as a colour image.
  const lumigrid::PictureBytes picture = lumigrid::ImageToPicture(src.View());
  const PackedRgb first = src.two[0] & 0xFFFFFF;
  const PackedRgb second = src.two[1] & 0xFFFFFF;
  const bool black_and_white =
      src.depth == 1 && ((first == 0 && second == 0xFFFFFF) || (first == 0xFFFFFF && second == 0));
  const int depth = black_and_white ? 1 : 24;
  lumigrid::PictureBytes want{};
  const AxisModel px = Axis(src.width, lumigrid::kPictureWidth);
  const AxisModel py = Axis(src.height, lumigrid::kPictureHeight);
  const bool copied =
      src.width == lumigrid::kPictureWidth && src.height == lumigrid::kPictureHeight;
  for (int y = 0; y < lumigrid::kPictureHeight; ++y) {
    for (int x = 0; x < lumigrid::kPictureWidth; ++x) {
      PackedRgb c =
          copied ? src.pixels[static_cast<size_t>(y) * 128 + static_cast<size_t>(x)]
                 : ModelPixel(src.pixels, src.width, src.height, px, py, x, y, depth, src.two);
      int green = lumigrid::GreenOf(c);
      if (depth != 1) green = lumigrid::Grey(lumigrid::RedOf(c), green, lumigrid::BlueOf(c));
      if (green < lumigrid::kLitBelowGreen) {
        want[static_cast<size_t>(((y / 8) * 16 + x / 8) * 8 + x % 8)] |=
            static_cast<uint8_t>(1u << (y % 8));
      }
    }
  }
  Check(picture == want, "the picture equals the modelled conversion");
  return 0;
}
