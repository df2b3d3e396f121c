// lumigrid-cli with animations: a GIF's frames as pictures (import, frames, budget), pictures
// as a GIF (render --gif), and the import's brightness, contrast and margin.
#include <QImage>

#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "core/file_bytes.h"
#include "core/temp_folder.h"
#include "core/test_pictures.h"
#include "files/gif_encode.h"
#include "files/image_import.h"
#include "files/picture_file.h"
#include "frames/frame_budget.h"
#include "frames/frame_script.h"
#include "frames/frame_table.h"
#include "optimize/identical_scan.h"

namespace lumigrid::cli {
namespace {

using lumigrid::testing::RandomPicture;
using lumigrid::testing::ReadAll;
using lumigrid::testing::TempFolder;
using testing::RunInProcess;

std::string AsString(const PictureBytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Three pictures and the GIF the editor saves of them, black on white at scale 2: importing it
// gives the pictures back.
struct Animation {
  TempFolder folder;
  std::vector<PictureBytes> pictures{RandomPicture(31), RandomPicture(32), RandomPicture(33)};
  std::string gif = folder.File("anim.gif");
  std::vector<std::string> chr;

  Animation() {
    lumigrid::testing::WriteRaw(PathFromUtf8(gif),
                                *EncodeGifAnimation(pictures, RenderLook::kPlain, 2, 100));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      chr.push_back(folder.File("p" + std::to_string(i + 1) + ".chr"));
      EXPECT_TRUE(WritePictureFile(chr.back(), pictures[i]));
    }
  }
};

TEST(CliAnimation, ImportWritesOneFilePerFrameByThePattern) {
  Animation a;
  const auto run = RunInProcess({"import", a.gif, "-o", a.folder.File("frame%02d.chr")});
  ASSERT_EQ(run.exit_code, kExitOk) << run.err;
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(ReadAll(a.folder.File("frame0" + std::to_string(i) + ".chr")),
              AsString(a.pictures[static_cast<std::size_t>(i - 1)]))
        << i;
  }
  // %d without width, %% kept; a picture of one frame takes a pattern too.
  ASSERT_EQ(RunInProcess({"import", a.gif, "-o", a.folder.File("%%x%d.chr")}).exit_code, kExitOk);
  EXPECT_EQ(ReadAll(a.folder.File("%x3.chr")), AsString(a.pictures[2]));
  const std::string still = a.folder.File("still.gif");
  lumigrid::testing::WriteRaw(PathFromUtf8(still),
                              *EncodeGifAnimation({a.pictures[1]}, RenderLook::kPlain, 1, 100));
  ASSERT_EQ(RunInProcess({"import", still, "-o", a.folder.File("one%03d.chr")}).exit_code, kExitOk);
  EXPECT_EQ(ReadAll(a.folder.File("one001.chr")), AsString(a.pictures[1]));
  EXPECT_EQ(RunInProcess({"import", still, "-o", a.folder.File("one.chr")}).exit_code, kExitOk);

  const std::vector<std::string> entries = a.folder.Entries();
  for (const auto& [pattern, message] : std::vector<std::pair<std::string, std::string>>{
           {"many.chr", "holds 3 frames: give -o a pattern such as frame%02d.chr"},
           {"f%s.chr", "needs one %d or %0Nd"},
           {"f%d-%d.chr", "needs one %d or %0Nd"},
           {"f%.chr", "needs one %d or %0Nd"}}) {
    const auto bad = RunInProcess({"import", a.gif, "-o", a.folder.File(pattern)});
    EXPECT_EQ(bad.exit_code, kExitUsage) << pattern;
    EXPECT_NE(bad.err.find(message), std::string::npos) << bad.err;
  }
  EXPECT_EQ(a.folder.Entries(), entries) << "nothing written by a refused command";
}

TEST(CliAnimation, FramesAndBudgetTakeAGifAsItsPictures) {
  Animation a;
  const auto from_gif = RunInProcess({"frames", "--loop", "--format", "c", a.gif});
  const auto from_chr =
      RunInProcess({"frames", "--loop", "--format", "c", a.chr[0], a.chr[1], a.chr[2]});
  ASSERT_EQ(from_gif.exit_code, kExitOk) << from_gif.err;
  EXPECT_EQ(from_gif.out, from_chr.out);
  SequenceOptions loop;
  loop.loop = true;
  EXPECT_EQ(from_gif.out, FrameTableC(MakeFrameScript(a.pictures, loop)).value());
  // A GIF among other pictures gives its frames in its place.
  EXPECT_EQ(
      RunInProcess({"frames", "--format", "bin", a.chr[2], a.gif}).out,
      RunInProcess({"frames", "--format", "bin", a.chr[2], a.chr[0], a.chr[1], a.chr[2]}).out);

  const auto budget = RunInProcess({"budget", "--loop", "--min-run", "2", a.gif});
  ASSERT_EQ(budget.exit_code, kExitOk) << budget.err;
  std::vector<const PictureBytes*> sources;
  for (const PictureBytes& p : a.pictures) sources.push_back(&p);
  EXPECT_EQ(budget.out, FormatFrameBudget(
                            *ComputeFrameBudget(a.pictures, ScanIdenticalBytes(sources, 2), loop)));

  // Commands of one picture refuse an animation rather than pick a frame.
  const auto listing = RunInProcess({"listing", a.gif});
  EXPECT_EQ(listing.exit_code, kExitFailure);
  EXPECT_NE(listing.err.find("an animation of 3 frames"), std::string::npos) << listing.err;
}

TEST(CliAnimation, GifsBeyondTheBoundsAreRefusedNamingTheBound) {
  TempFolder folder;
  // Header, screen size, a global table of white and black, the trailer.
  const auto gif = [](int width, int height) {
    return "GIF89a" +
           std::string{char(width & 0xFF), char(width >> 8), char(height & 0xFF),
                       char(height >> 8)} +
           std::string("\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00;", 10);
  };
  const std::string wide = folder.File("wide.gif");
  lumigrid::testing::WriteRaw(PathFromUtf8(wide), gif(4000, 4000));
  const auto run = RunInProcess({"import", wide, "-o", folder.File("x%d.chr")});
  EXPECT_EQ(run.exit_code, kExitFailure);
  EXPECT_EQ(run.err, "lumigrid-cli: " + wide +
                         ": the import does not read GIF screens of more than 2500000 pixels\n");
  const std::string empty = folder.File("empty.gif");
  lumigrid::testing::WriteRaw(PathFromUtf8(empty), gif(16, 16));
  EXPECT_EQ(RunInProcess({"frames", empty}).err,
            "lumigrid-cli: " + empty + ": the image is damaged or cut short\n")
      << "no frame at all";
}

TEST(CliAnimation, RenderGifIsTheEditorsAnimation) {
  Animation a;
  const std::string out = a.folder.File("out.gif");
  struct Case {
    std::vector<std::string> options;
    RenderLook look;
    int scale;
    int delay;
  };
  const Case cases[] = {{{}, RenderLook::kPlain, 1, 200},
                        {{"--delay", "100", "--scale", "4"}, RenderLook::kPlain, 4, 100},
                        {{"--canvas", "--delay=30"}, RenderLook::kCanvas, 1, 30}};
  for (const Case& c : cases) {
    std::vector<std::string> args{"render", a.chr[0], a.chr[1], a.chr[2], "--gif", out};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto run = RunInProcess(args);
    ASSERT_EQ(run.exit_code, kExitOk) << run.err;
    EXPECT_EQ(ReadAll(out), *EncodeGifAnimation(a.pictures, c.look, c.scale, c.delay))
        << c.options.size();
  }
  // A GIF in gives its frames out again.
  ASSERT_EQ(
      RunInProcess({"render", a.gif, "--gif", out, "--scale", "2", "--delay", "100"}).exit_code,
      kExitOk);
  EXPECT_EQ(ReadAll(out), ReadAll(a.gif));

  for (const auto& bad : std::vector<std::vector<std::string>>{{"--scale", "9"},
                                                               {"--delay", "5"},
                                                               {"--delay", "6000"},
                                                               {"--canvas", "--scale", "2"},
                                                               {"-o", a.folder.File("x.png")}}) {
    std::vector<std::string> args{"render", a.chr[0], "--gif", out};
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_EQ(RunInProcess(args).exit_code, kExitUsage) << bad[0];
  }
  EXPECT_EQ(RunInProcess({"render", a.chr[0], a.chr[1], "-o", a.folder.File("x.png")}).exit_code,
            kExitUsage);
  EXPECT_EQ(
      RunInProcess({"render", a.chr[0], "--delay", "100", "-o", a.folder.File("x.png")}).exit_code,
      kExitUsage);
}

TEST(CliAnimation, BrightnessContrastAndMarginReachTheConversion) {
  TempFolder folder;
  QImage image(300, 100, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 255 / 299, y, 128));
  const std::string png = folder.File("ramp.png");
  ASSERT_TRUE(image.save(QString::fromStdString(png), "PNG"));
  const std::string out = folder.File("out.chr");
  struct Case {
    std::vector<std::string> args;
    ConversionOptions options;
  };
  const Case cases[] = {
      {{"--brightness", "40"}, {.brightness = 40}},
      {{"--contrast=-60", "--brightness", "-25"}, {.brightness = -25, .contrast = -60}},
      {{"--contrast", "100"}, {.contrast = 100}},
      {{"--fit", "contain", "--margin", "lit", "--invert"},
       {.invert = true, .fit = Fit::kContain, .margin = Margin::kLit}},
      {{"--fit", "contain", "--margin", "unlit", "--dither", "ordered4"},
       {.fit = Fit::kContain, .dither = Dither::kOrdered4, .margin = Margin::kUnlit}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"import", png, "-o", out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = RunInProcess(args);
    ASSERT_EQ(run.exit_code, kExitOk) << run.err;
    EXPECT_EQ(ReadAll(out), AsString(DecodeImageFile(png, c.options).bytes)) << c.args[0];
  }
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"--brightness", "101"}, {"--contrast", "-101"}, {"--margin", "grey"}}) {
    std::vector<std::string> args{"import", png, "-o", out};
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_EQ(RunInProcess(args).exit_code, kExitUsage) << bad[0];
  }
}

}  // namespace
}  // namespace lumigrid::cli
