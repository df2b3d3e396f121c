// The import's options beyond threshold, invert, fit and dither, and the frame that lets the
// import dialog convert an image again under any options: it must give exactly what a fresh
// import with those options gives.
#include <gtest/gtest.h>

#include <random>

#include "files/import_plan.h"
#include "files/import_session.h"
#include "files/mono_convert.h"

namespace lumigrid {
namespace {

RgbImage RandomImage(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  RgbImage image(width, height);
  for (PackedRgb& c : image.pixels) c = random() & 0xFFFFFF;
  return image;
}

int LitCount(const PictureBytes& bytes) {
  int lit = 0;
  for (uint8_t b : bytes) lit += __builtin_popcount(b);
  return lit;
}

// Options spread over every control, each combination once per image.
std::vector<ConversionOptions> OptionGrid() {
  std::vector<ConversionOptions> grid;
  const int adjustments[][2] = {{0, 0}, {-35, 20}, {60, -70}, {0, 100}, {-100, -100}};
  for (int fit = 0; fit < kFitCount; ++fit) {
    for (const Dither dither : {Dither::kNone, Dither::kFloydSteinberg, Dither::kAtkinson,
                                Dither::kOrdered, Dither::kOrdered4}) {
      for (const auto& [brightness, contrast] : adjustments) {
        for (const Margin margin : {Margin::kWhite, Margin::kUnlit, Margin::kLit}) {
          ConversionOptions o;
          o.fit = static_cast<Fit>(fit);
          o.dither = dither;
          o.brightness = brightness;
          o.contrast = contrast;
          o.margin = margin;
          o.invert = (brightness + fit) % 2 != 0;
          o.threshold = 90 + 40 * fit;
          grid.push_back(o);
        }
      }
    }
  }
  return grid;
}

TEST(ImportFrame, ConvertsUnderAnyOptionsAsAFreshImportDoes) {
  struct Source {
    RgbImage image;
    std::array<PackedRgb, 2> two_colours{kBlack, kWhite};
  };
  std::vector<Source> sources;
  for (const auto& [w, h] : {std::pair{300, 100}, {90, 200}, {128, 64}, {33, 7}}) {
    sources.push_back({RandomImage(w, h, static_cast<unsigned>(w * h))});
  }
  RgbImage two = RandomImage(150, 90, 5);
  two.depth = 1;
  for (PackedRgb& c : two.pixels) c = c % 3 ? kWhite : kBlack;
  sources.push_back({two});

  for (const Source& s : sources) {
    const ImageSource source = SourceOf(s.image, s.two_colours);
    ImportFrame frame;
    DecodeRequest request;
    request.frame = &frame;
    request.preview_width = 64;
    request.preview_height = 48;
    PictureBuilder builder(source.width, source.height, source.depth, s.two_colours, false,
                           request);
    for (int y = 0; y < source.height; ++y) builder.AddRow(source.rows(y));
    EXPECT_EQ(builder.Picture(), ImageToPicture(source)) << "the request's own options";

    const PixelRect preview = PreviewSize(source.width, source.height, 64, 48);
    EXPECT_EQ(frame.preview.width, preview.width);
    EXPECT_EQ(frame.preview.height, preview.height);
    for (const ConversionOptions& o : OptionGrid()) {
      ASSERT_EQ(ConvertFrame(frame, o), ImageToPicture(source, o))
          << s.image.width << "x" << s.image.height << " depth " << s.image.depth << " fit "
          << static_cast<int>(o.fit) << " dither " << static_cast<int>(o.dither) << " brightness "
          << o.brightness << " contrast " << o.contrast << " margin " << static_cast<int>(o.margin)
          << " invert " << o.invert;
    }
  }
}

TEST(AdjustLevel, ContrastAboutMidGreyThenBrightness) {
  struct Case {
    int level, brightness, contrast, expected;
  };
  const Case cases[] = {
      {0, 0, 0, 0},        {200, 0, 0, 200},   {255, 0, 0, 255},  // neutral: unchanged
      {100, 20, 0, 151},   {100, -100, 0, 0},  {100, 100, 0, 255}, {250, 10, 0, 255},
      {200, 0, 50, 255},   {160, 0, 50, 192},  {100, 0, 50, 72},   {127, 0, 100, 0},
      {128, 0, 100, 255},  {200, 0, -50, 164}, {0, 0, -100, 128},  {255, 0, -100, 128},
      {160, -20, 50, 141}, {90, 0, 150, 0},    {90, 300, 0, 255},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AdjustLevel(c.level, c.brightness, c.contrast), c.expected)
        << c.level << " b " << c.brightness << " c " << c.contrast;
  }
}

TEST(ConvertGreys, AdjustsTheImageAndNeverTheMargin) {
  GreyField field;
  std::mt19937 random(7);
  for (uint8_t& level : field.levels) level = static_cast<uint8_t>(random());
  field.image = {32, 0, 64, 64};  // contained: margins of 32 columns on both sides
  for (const auto& [brightness, contrast] : {std::pair{40, 0}, {0, 60}, {-30, -40}}) {
    GreyField adjusted = field;
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 32; x < 96; ++x) {
        uint8_t& level = adjusted.levels[static_cast<std::size_t>(y * kPictureWidth + x)];
        level = static_cast<uint8_t>(AdjustLevel(level, brightness, contrast));
      }
    }
    ConversionOptions options;
    options.brightness = brightness;
    options.contrast = contrast;
    EXPECT_EQ(ConvertGreys(field, options), ConvertGreys(adjusted, {}))
        << brightness << " " << contrast;
  }

  // A lit or unlit margin stays so whatever inverts, darkens or dithers the image.
  for (const Margin margin : {Margin::kUnlit, Margin::kLit}) {
    for (const bool invert : {false, true}) {
      ConversionOptions options;
      options.margin = margin;
      options.invert = invert;
      options.brightness = -100;
      options.dither = Dither::kFloydSteinberg;
      PictureBuffer picture;
      picture.Bytes() = ConvertGreys(field, options);
      for (int y = 0; y < kPictureHeight; ++y) {
        for (const int x : {0, 31, 96, 127}) {
          ASSERT_EQ(picture.Pixel(x, y), margin == Margin::kLit) << x << "," << y;
        }
        ASSERT_EQ(picture.Pixel(32, y), !invert) << "black image column, row " << y;
      }
    }
  }
}

TEST(ConvertGreys, OrderedFourByFourLightsItsShareOfEveryBlock) {
  // Thresholds 8, 24, ..., 248: a level lights the pixels whose threshold lies above it.
  for (const int level : {0, 7, 8, 100, 128, 247, 248, 255}) {
    GreyField field;
    field.levels.fill(static_cast<uint8_t>(level));
    ConversionOptions options;
    options.dither = Dither::kOrdered4;
    const PictureBytes bytes = ConvertGreys(field, options);
    int per_block = 0;
    for (int t = 8; t < 256; t += 16) per_block += level < t ? 1 : 0;
    EXPECT_EQ(LitCount(bytes), per_block * (kPictureWidth * kPictureHeight / 16)) << level;
    PictureBuffer picture;
    picture.Bytes() = bytes;
    for (int y = 0; y < kPictureHeight; ++y)
      for (int x = 0; x < kPictureWidth; ++x)
        ASSERT_EQ(picture.Pixel(x, y), picture.Pixel(x % 4, y % 4)) << "a 4 x 4 pattern";
  }
}

TEST(PreviewSize, KeepsTheAspectWithinTheBox) {
  struct Case {
    int width, height;
    PixelRect expected;
  };
  const Case cases[] = {{4000, 3000, {0, 0, 256, 192}}, {3000, 4000, {0, 0, 144, 192}},
                        {128, 64, {0, 0, 256, 128}},    {1, 10000, {0, 0, 1, 192}},
                        {10000, 1, {0, 0, 256, 1}},     {0, 5, {0, 0, 1, 1}}};
  for (const Case& c : cases) {
    EXPECT_EQ(PreviewSize(c.width, c.height, 256, 192), c.expected) << c.width << "x" << c.height;
  }
}

TEST(PlanImport, FramesFillTheBuffersFromTheTargetOn) {
  struct Case {
    int frames, first, written, left_out;
  };
  const Case cases[] = {{1, 1, 1, 0},    {3, 3, 3, 0},  {8, 3, 8, 0}, {9, 3, 8, 1},
                        {25, 1, 10, 15}, {2, 10, 1, 1}, {0, 4, 0, 0}, {3, 11, 0, 3}};
  for (const Case& c : cases) {
    const ImportPlan plan = PlanImport(c.frames, c.first);
    EXPECT_EQ(plan.written, c.written) << c.frames << " from " << c.first;
    EXPECT_EQ(plan.left_out, c.left_out) << c.frames << " from " << c.first;
  }
}

TEST(ImportSession, KeepsFramesOfEveryFileInOrderAndCountsTheRest) {
  const auto frame_of = [](PackedRgb colour) {
    const RgbImage image(40, 20, 24, colour);
    ImportFrame frame;
    DecodeRequest request;
    request.frame = &frame;
    PictureBuilder builder(image.width, image.height, 24, {kBlack, kWhite}, false, request);
    for (int y = 0; y < image.height; ++y) builder.AddRow(image.Row(y));
    builder.Picture();
    return frame;
  };
  ImportSession session;
  std::vector<ImportFrame> first;
  first.push_back(frame_of(kBlack));
  session.AddFile(std::move(first), 1);
  std::vector<ImportFrame> second;
  second.push_back(frame_of(kWhite));
  session.AddFile(std::move(second), 12);  // an animation of which one frame was kept
  EXPECT_EQ(session.FramesKept(), 2);
  EXPECT_EQ(session.FrameCount(), 13);
  EXPECT_EQ(LitCount(session.Picture(0, {})), kPictureWidth * kPictureHeight);
  EXPECT_EQ(LitCount(session.Picture(1, {})), 0);
  EXPECT_EQ(session.Picture(2, {}), PictureBytes{});
  EXPECT_EQ(session.Plan(5).left_out, 7);
}

}  // namespace
}  // namespace lumigrid
