#include "files/mono_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

namespace lumigrid {
namespace {

RgbImage RandomImage(int width, int height, unsigned seed, int depth = 24) {
  std::mt19937 random(seed);
  RgbImage image(width, height, depth);
  for (PackedRgb& c : image.pixels) c = random() & 0xFFFFFF;
  return image;
}

// Straightforward area average in floating point: the oracle for ScaleArea.
PackedRgb ReferenceAverage(const RgbImage& source, int width, int height, int tx, int ty) {
  const double sx = double(source.width) / width;
  const double sy = double(source.height) / height;
  const double x0 = tx * sx, x1 = (tx + 1) * sx, y0 = ty * sy, y1 = (ty + 1) * sy;
  double r = 0, g = 0, b = 0;
  for (int y = int(y0); y < std::min(source.height, int(std::ceil(y1))); ++y) {
    const double wy = std::min(y + 1.0, y1) - std::max(double(y), y0);
    for (int x = int(x0); x < std::min(source.width, int(std::ceil(x1))); ++x) {
      const double w = wy * (std::min(x + 1.0, x1) - std::max(double(x), x0));
      const PackedRgb c = source.At(x, y);
      r += w * RedOf(c);
      g += w * GreenOf(c);
      b += w * BlueOf(c);
    }
  }
  const double area = (x1 - x0) * (y1 - y0);
  return MakeRgb(int(std::lround(r / area)), int(std::lround(g / area)),
                 int(std::lround(b / area)));
}

TEST(Grey, WeightedSumDividedBy94) {
  struct Case {
    PackedRgb colour;
    int grey;
  };
  const Case cases[] = {{0xFF0000, 81},  {0x00FF00, 143}, {0x0000FF, 29},  {0xFFFF00, 225},
                        {0xFFFFFF, 255}, {0x000000, 0},   {0xDBDBDB, 219}, {0xDCDCDC, 220}};
  for (const Case& c : cases) {
    EXPECT_EQ(Grey(RedOf(c.colour), GreenOf(c.colour), BlueOf(c.colour)), c.grey) << c.colour;
    RgbImage image(1, 1, 24, c.colour | 0xFF000000);  // a stray alpha byte changes nothing
    GrayscaleImage(image);
    EXPECT_EQ(image.At(0, 0), MakeRgb(c.grey, c.grey, c.grey)) << std::hex << c.colour;
  }
}

TEST(ImageToPicture, GreyThresholdDecidesLitPixels) {
  struct Case {
    PackedRgb colour;
    int depth;
    bool lit;
  };
  const Case cases[] = {
      {0xDBDBDB, 24, true},
      {0xDCDCDC, 24, false},
      {0xFF0000, 24, true},
      {0x00FF00, 24, true},
      {0x0000FF, 24, true},
      {0xFFFF00, 24, false},
      {0x000000, 24, true},
      {0xFFFFFF, 24, false},
      // Green 210 but grey 229: a 1-bit image is grey-converted too unless black-and-white.
      {0xFFD2FF, 24, false},
      {0xFFD2FF, 1, false},
      // Cyan's green is 255 but its grey 173.
      {0x00FFFF, 1, true},
  };
  for (const Case& c : cases) {
    const RgbImage image(kPictureWidth, kPictureHeight, c.depth, c.colour);
    const PictureBytes bytes = ImageToPicture(SourceOf(image, {c.colour, kWhite}));
    const uint8_t expected = c.lit ? 0xFF : 0x00;
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [&](uint8_t b) { return b == expected; }))
        << std::hex << c.colour << " depth " << std::dec << c.depth;
  }
}

TEST(ConvertToPicture, LitPixelsMatchThePictureBuffer) {
  std::mt19937 random(3);
  RgbImage image(kPictureWidth, kPictureHeight);
  PictureBuffer expected;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      const int green = static_cast<int>(random() % 256);
      image.Set(x, y, MakeRgb(255, green, 255));
      expected.SetPixel(x, y, green < kLitBelowGreen);
    }
  }
  EXPECT_EQ(ConvertToPicture(image), expected.Bytes());
}

TEST(ScaleArea, MatchesTheReferenceAverage) {
  struct Case {
    int source_width, source_height, width, height;
  };
  const Case cases[] = {{1000, 10, 128, 64}, {256, 128, 128, 64}, {64, 64, 128, 64},
                        {129, 65, 128, 64},  {127, 63, 128, 64},  {3, 7, 128, 64},
                        {1, 1, 128, 64},     {300, 2, 7, 5},      {7, 300, 1, 1}};
  unsigned seed = 1;
  for (const Case& c : cases) {
    const RgbImage source = RandomImage(c.source_width, c.source_height, seed++);
    const RgbImage scaled = ScaleArea(SourceOf(source), c.width, c.height);
    ASSERT_EQ(scaled.width, c.width);
    ASSERT_EQ(scaled.height, c.height);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const PackedRgb got = scaled.At(x, y);
        const PackedRgb want = ReferenceAverage(source, c.width, c.height, x, y);
        // Exact up to where a half is rounded.
        ASSERT_LE(std::abs(RedOf(got) - RedOf(want)) + std::abs(GreenOf(got) - GreenOf(want)) +
                      std::abs(BlueOf(got) - BlueOf(want)),
                  1)
            << c.source_width << "x" << c.source_height << " -> " << c.width << "x" << c.height
            << " at (" << x << ", " << y << ")";
      }
    }
  }
}

TEST(ScaleArea, UniformImageStaysExactlyUniform) {
  for (const auto& [w, h] : {std::pair{1000, 10}, {3, 3}, {641, 479}, {128, 65}}) {
    const RgbImage uniform(w, h, 24, 0x7F3A19);
    const RgbImage scaled = ScaleArea(SourceOf(uniform), 128, 64);
    EXPECT_TRUE(std::all_of(scaled.pixels.begin(), scaled.pixels.end(),
                            [](PackedRgb c) { return c == 0x7F3A19; }))
        << w << "x" << h;
  }
}

TEST(ScaleArea, CheckerAveragesToOnePixel) {
  struct Case {
    PackedRgb a, b, c, d, average;
  };
  const Case cases[] = {{kBlack, kWhite, kWhite, kBlack, 0x808080},
                        {kBlack, 0xFF0000, 0x00FF00, 0x0000FF, 0x404040},
                        {0x102030, 0x102030, 0x102030, 0x102032, 0x102031}};
  for (const Case& c : cases) {
    RgbImage checker(2, 2);
    checker.pixels = {c.a, c.b, c.c, c.d};
    EXPECT_EQ(ScaleArea(SourceOf(checker), 1, 1).pixels, std::vector<PackedRgb>{c.average})
        << std::hex << c.average;
  }
}

TEST(ScaleArea, OneBitImageStaysTwoColoured) {
  // Each 2 x 2 block of a 256 x 128 image holds 0..4 dark pixels; more than half dark gives
  // the dark colour, exactly half goes to the darker one too.
  const std::array<PackedRgb, 2> palette{0xFFFF00, 0xC00000};  // yellow, dark red
  RgbImage image(256, 128, 1, palette[0]);
  std::mt19937 random(5);
  std::vector<int> dark_count(128 * 64);
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 256; ++x) {
      if (random() % 2 == 0) continue;
      image.Set(x, y, palette[1]);
      ++dark_count[(y / 2) * 128 + x / 2];
    }
  }
  const RgbImage scaled = ScaleArea(SourceOf(image, palette), 128, 64);
  EXPECT_EQ(scaled.depth, 1);
  for (std::size_t i = 0; i < scaled.pixels.size(); ++i) {
    ASSERT_EQ(scaled.pixels[i], dark_count[i] >= 2 ? palette[1] : palette[0])
        << "block " << i << " with " << dark_count[i] << " dark pixels";
  }
  // Not black-and-white, so the picture is converted as a colour image: one dark red pixel of
  // four already makes the average's grey 183 (lit); all yellow is grey 225 (clear).
  const PictureBytes bytes = ImageToPicture(SourceOf(image, palette));
  PictureBuffer picture;
  picture.Bytes() = bytes;
  for (int i = 0; i < 128 * 64; ++i) ASSERT_EQ(picture.Pixel(i % 128, i / 128), dark_count[i] >= 1);
  // Black and white in either order keep the two colours: half or more black lights a pixel.
  for (const std::array<PackedRgb, 2> black_and_white :
       {std::array{kWhite, kBlack}, {kBlack, kWhite}}) {
    RgbImage mono(256, 128, 1, kWhite);
    for (std::size_t i = 0; i < mono.pixels.size(); ++i) {
      if (image.pixels[i] == palette[1]) mono.pixels[i] = kBlack;
    }
    picture.Bytes() = ImageToPicture(SourceOf(mono, black_and_white));
    for (int i = 0; i < 128 * 64; ++i) {
      ASSERT_EQ(picture.Pixel(i % 128, i / 128), dark_count[i] >= 2);
    }
  }
}

TEST(OverWhite, TransparentIsBackground) {
  struct Case {
    uint32_t argb;
    PackedRgb rgb;
  };
  const Case cases[] = {{0x00000000, kWhite},
                        {0xFF123456, 0x123456},
                        {0x80000000, 0x7F7F7F},
                        {0x00FF0000, kWhite},
                        {0x40FFFFFF, kWhite}};
  for (const Case& c : cases) EXPECT_EQ(OverWhite(c.argb), c.rgb) << std::hex << c.argb;
}

}  // namespace
}  // namespace lumigrid

namespace lumigrid {
namespace {

// Feeds a whole image to an averager the way a decoder would.
RgbImage Averaged(const RgbImage& image, PixelRect window, int width, int height, bool bottom_up) {
  AreaAverager averager(image.width, image.height, window, width, height, bottom_up);
  for (int i = 0; i < image.height; ++i) {
    averager.AddRow(image.Row(bottom_up ? image.height - 1 - i : i));
  }
  return averager.Result(image.depth, {kBlack, kWhite});
}

RgbImage Cropped(const RgbImage& image, PixelRect window) {
  RgbImage out(window.width, window.height, image.depth);
  for (int y = 0; y < window.height; ++y)
    for (int x = 0; x < window.width; ++x) out.Set(x, y, image.At(window.x + x, window.y + y));
  return out;
}

TEST(AreaAverager, RowOrderWindowAndInterlacedPassesGiveTheSameAverage) {
  struct Case {
    int width, height;
    PixelRect window;
    int target_width, target_height;
  };
  const Case cases[] = {
      {300, 200, {0, 0, 300, 200}, 128, 64}, {301, 97, {0, 0, 301, 97}, 128, 64},
      {100, 30, {0, 0, 100, 30}, 128, 64},   {500, 90, {13, 7, 180, 81}, 128, 64},
      {129, 65, {1, 1, 127, 63}, 128, 64},   {40, 400, {0, 100, 40, 20}, 7, 5},
  };
  unsigned seed = 20;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.width << "x" << c.height << " window " << c.window.x << "," << c.window.y
                 << " " << c.window.width << "x" << c.window.height);
    const RgbImage image = RandomImage(c.width, c.height, seed++);
    const RgbImage want =
        ScaleArea(SourceOf(Cropped(image, c.window)), c.target_width, c.target_height);
    EXPECT_EQ(Averaged(image, c.window, c.target_width, c.target_height, false).pixels,
              want.pixels);
    EXPECT_EQ(Averaged(image, c.window, c.target_width, c.target_height, true).pixels, want.pixels);

    // Adam7's passes: every pixel once, rows of each pass top to bottom, passes in turn.
    const int starts[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
    const int steps[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
    AreaAverager sparse(c.width, c.height, c.window, c.target_width, c.target_height);
    std::vector<PackedRgb> pass_row;
    for (int pass = 0; pass < 7; ++pass) {
      const auto [x0, y0] = starts[pass];
      const auto [dx, dy] = steps[pass];
      for (int y = y0; y < c.height; y += dy) {
        pass_row.clear();
        for (int x = x0; x < c.width; x += dx) pass_row.push_back(image.At(x, y));
        sparse.AddPixels(y, x0, dx, pass_row.data(), static_cast<int>(pass_row.size()));
      }
    }
    EXPECT_EQ(sparse.Result(24, {kBlack, kWhite}).pixels, want.pixels);
  }
}

TEST(AreaAverager, UniformAndSparseRowsSumLikeTheRowsThemselves) {
  // Runs of one colour fed at once, and rows fed as their differences from white, across
  // target row edges and the window's edges.
  struct Run {
    int rows;
    PackedRgb colour;  // kBlack + 1 marks rows of random pixels
  };
  const std::vector<Run> runs = {{3, kWhite},  {1, 1},        {250, 0x336699}, {7, 1},
                                 {40, kBlack}, {1, 0xABCDEF}, {30, 1}};
  int height = 0;
  for (const Run& run : runs) height += run.rows;
  RgbImage image = RandomImage(211, height, 31);
  int y = 0;
  for (const Run& run : runs) {
    for (int i = 0; i < run.rows; ++i, ++y) {
      if (run.colour == 1) continue;
      for (int x = 0; x < image.width; ++x) image.Set(x, y, run.colour);
    }
  }
  for (const bool bottom_up : {false, true}) {
    for (const PixelRect window : {PixelRect{0, 0, 211, height}, PixelRect{5, 2, 150, 280}}) {
      SCOPED_TRACE(testing::Message() << "bottom up " << bottom_up << " window y " << window.y);
      AreaAverager averager(image.width, image.height, window, 128, 64, bottom_up);
      const auto order = bottom_up ? std::vector<Run>(runs.rbegin(), runs.rend()) : runs;
      int fed = 0;
      for (const Run& run : order) {
        if (run.colour != 1) {
          averager.AddUniformRows(run.colour, run.rows);
          fed += run.rows;
          continue;
        }
        for (int i = 0; i < run.rows; ++i, ++fed) {
          const int y = bottom_up ? height - 1 - fed : fed;
          if (window.y == 0) {
            averager.AddRow(image.Row(y));
            continue;
          }
          // The same row as the pixels that differ from a white one.
          std::vector<std::pair<int, PackedRgb>> over;
          for (int x = 0; x < image.width; ++x) {
            if (image.At(x, y) != kWhite) over.emplace_back(x, image.At(x, y));
          }
          averager.AddRowOver(kWhite, over);
        }
      }
      EXPECT_EQ(averager.Result(24, {kBlack, kWhite}).pixels,
                Averaged(image, window, 128, 64, false).pixels);
    }
  }
}

TEST(IsImportableSize, SidesAndPixelCountBound) {
  struct Case {
    int64_t width, height;
    bool importable;
  };
  const Case cases[] = {{1, 1, true},          {65535, 16384, true},   {65536, 1, false},
                        {1, 65536, false},     {65535, 16385, false},  {0, 10, false},
                        {10, -1, false},       {1, 49'999'999, false}, {14142, 14142, true},
                        {40000, 40000, false}, {8000, 6400, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsImportableSize(c.width, c.height), c.importable) << c.width << "x" << c.height;
  }
}

TEST(PlaceImage, ContainAndCoverKeepTheAspect) {
  struct Case {
    int width, height;
    Fit fit;
    FitPlacement place;
  };
  const Case cases[] = {
      {256, 256, Fit::kStretch, {{0, 0, 256, 256}, {0, 0, 128, 64}}},
      {256, 256, Fit::kContain, {{0, 0, 256, 256}, {32, 0, 64, 64}}},
      {256, 256, Fit::kCover, {{0, 64, 256, 128}, {0, 0, 128, 64}}},
      {256, 128, Fit::kContain, {{0, 0, 256, 128}, {0, 0, 128, 64}}},
      {256, 128, Fit::kCover, {{0, 0, 256, 128}, {0, 0, 128, 64}}},
      {1000, 10, Fit::kContain, {{0, 0, 1000, 10}, {0, 31, 128, 1}}},
      {1000, 10, Fit::kCover, {{490, 0, 20, 10}, {0, 0, 128, 64}}},
      {1, 1000, Fit::kContain, {{0, 0, 1, 1000}, {63, 0, 1, 64}}},
      {1, 1000, Fit::kCover, {{0, 499, 1, 1}, {0, 0, 128, 64}}},
      {640, 480, Fit::kContain, {{0, 0, 640, 480}, {21, 0, 85, 64}}},
      {640, 480, Fit::kCover, {{0, 80, 640, 320}, {0, 0, 128, 64}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceImage(c.width, c.height, c.fit), c.place)
        << c.width << "x" << c.height << " fit " << static_cast<int>(c.fit);
  }
}

int LitIn(const PictureBytes& bytes, int x0, int x1, int y) {
  PictureBuffer picture;
  picture.Bytes() = bytes;
  int lit = 0;
  for (int x = x0; x < x1; ++x) lit += picture.Pixel(x, y) ? 1 : 0;
  return lit;
}

TEST(ConversionOptions, DefaultsGiveTheEditorsPicture) {
  // The editor's rule written out: area average, grey, lit below 220.
  for (const auto& [w, h] : {std::pair{128, 64}, {300, 171}, {77, 40}}) {
    RgbImage image = RandomImage(w, h, static_cast<unsigned>(w));
    for (PackedRgb& c : image.pixels) c = c % 2 ? c | 0xC0C0C0 : c;  // many pixels near 220
    RgbImage scaled = ScaleArea(SourceOf(image), kPictureWidth, kPictureHeight);
    PictureBuffer expected;
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 0; x < kPictureWidth; ++x) {
        const PackedRgb c = scaled.At(x, y);
        expected.SetPixel(x, y, Grey(RedOf(c), GreenOf(c), BlueOf(c)) < 220);
      }
    }
    EXPECT_EQ(ImageToPicture(SourceOf(image), ConversionOptions{}), expected.Bytes())
        << w << "x" << h;
  }
}

TEST(ConversionOptions, ThresholdInvertAndContain) {
  struct Case {
    PackedRgb colour;
    int width, height;
    ConversionOptions options;
    int lit_left, lit_middle;  // lit pixels of row 0 in columns 0..31 and 32..95
  };
  const Case cases[] = {
      {0x636363, 128, 64, {.threshold = 100}, 32, 64},
      {0x646464, 128, 64, {.threshold = 100}, 0, 0},
      {0x646464, 128, 64, {.threshold = 100, .invert = true}, 32, 64},
      {kBlack, 64, 64, {.fit = Fit::kContain}, 0, 64},
      {kBlack, 64, 64, {.invert = true, .fit = Fit::kContain}, 32, 0},
      {kBlack, 64, 64, {.fit = Fit::kCover}, 32, 64},
  };
  for (const Case& c : cases) {
    const RgbImage image(c.width, c.height, 24, c.colour);
    const PictureBytes bytes = ImageToPicture(SourceOf(image), c.options);
    SCOPED_TRACE(testing::Message()
                 << std::hex << c.colour << std::dec << " " << c.width << "x" << c.height);
    EXPECT_EQ(LitIn(bytes, 0, 32, 0), c.lit_left);
    EXPECT_EQ(LitIn(bytes, 32, 96, 0), c.lit_middle);
  }
}

TEST(ConversionOptions, HalfGreyDithersToHalfTheDotsSpreadEvenly) {
  // Grey 127 and 128 lie 1/510 off half, so error diffusion gathers that excess into a few
  // rows; every other row holds half its pixels, and the dots never run together.
  for (const Dither dither : {Dither::kFloydSteinberg, Dither::kAtkinson, Dither::kOrdered}) {
    for (const int level : {127, 128}) {
      const RgbImage field(kPictureWidth, kPictureHeight, 24, MakeRgb(level, level, level));
      const PictureBytes bytes = ImageToPicture(SourceOf(field), {.dither = dither});
      SCOPED_TRACE(testing::Message()
                   << "dither " << static_cast<int>(dither) << " grey " << level);
      int total = 0;
      int even_rows = 0;
      for (int y = 0; y < kPictureHeight; ++y) {
        const int lit = LitIn(bytes, 0, kPictureWidth, y);
        total += lit;
        even_rows += std::abs(lit - kPictureWidth / 2) <= 1 ? 1 : 0;
        for (int x = 0; x < kPictureWidth; x += 4) {
          ASSERT_NEAR(LitIn(bytes, x, x + 4, y), 2, 1) << "row " << y << " column " << x;
        }
      }
      EXPECT_NEAR(total, kPictureWidth * kPictureHeight / 2, 24);
      EXPECT_GE(even_rows, dither == Dither::kOrdered ? kPictureHeight : kPictureHeight * 3 / 4);
    }
  }
}

}  // namespace
}  // namespace lumigrid
