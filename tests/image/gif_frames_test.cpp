// GIF images as sequences of pictures, and the animation the editor saves as GIF read back.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

#include "files/gif_encode.h"
#include "files/image_frames.h"
#include "image/gif_writer.h"
#include "image/stream_writers.h"

namespace lumigrid {
namespace {

using testing_images::FrameFromRows;
using testing_images::GifBytes;
using testing_images::GifPalette;
using testing_images::GifTestFrame;
using testing_images::WhiteBlack;

// A 16 x 8 screen of '#' (black) and '.' (white): stretched to 128 x 64, each screen pixel is
// an 8 x 8 block of the picture.
PictureBytes Blocks(const std::vector<std::string>& screen) {
  PictureBuffer picture;
  for (int y = 0; y < kPictureHeight; ++y)
    for (int x = 0; x < kPictureWidth; ++x)
      picture.SetPixel(x, y, screen[static_cast<std::size_t>(y / 8)][x / 8] == '#');
  return picture.Bytes();
}

class GifFramesTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = dir_.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static DecodedFrames Decode(const std::string& path, int max_frames = kMaxGifFrames,
                              bool keep = false) {
    FramesRequest request;
    request.max_frames = max_frames;
    request.keep_frames = keep;
    return DecodeImageFrames(path, request);
  }

  QTemporaryDir dir_;
};

TEST_F(GifFramesTest, FramesAreLaidOnTheScreenAsAViewerShowsThem) {
  std::vector<GifTestFrame> frames;
  frames.push_back(FrameFromRows(
      0, 0,
      {"########........", "########........", "################", "################",
       "################", "########........", "########........", "########........"}));
  // Transparent pixels (2) keep what is there; afterwards the area goes back to the background.
  GifTestFrame holes = FrameFromRows(10, 2, {".22.", "2..2", ".22."});
  holes.transparent = 2;
  holes.disposal = 2;
  frames.push_back(holes);
  // Interlaced, with its own colour table (0 black, 1 white); what it covered comes back after.
  GifTestFrame own =
      FrameFromRows(0, 0, {"1111", "0000", "0000", "1111", "0000", "0000", "0000", "1100"});
  own.local = {{0, 0, 0}, {255, 255, 255}};
  own.interlaced = true;
  own.disposal = 3;
  frames.push_back(own);
  frames.push_back(FrameFromRows(15, 7, {"#"}));
  // A frame reaching past the screen is cut at its edge.
  frames.push_back(FrameFromRows(14, 6, {"....", "....", "...."}));

  const std::vector<std::vector<std::string>> expected{
      {"########........", "########........", "################", "################",
       "################", "########........", "########........", "########........"},
      {"########........", "########........", "##########.##.##", "###########..###",
       "##########.##.##", "########........", "########........", "########........"},
      {"....####........", "########........", "##########....##", "....######....##",
       "##########....##", "########........", "########........", "..######........"},
      {"########........", "########........", "##########....##", "##########....##",
       "##########....##", "########........", "########........", "########.......#"},
      {"########........", "########........", "##########....##", "##########....##",
       "##########....##", "########........", "########........", "########........"},
  };
  const GifPalette palette{{255, 255, 255}, {0, 0, 0}, {255, 0, 0}, {0, 0, 255}};
  const std::string path = Write("screen.gif", GifBytes(16, 8, palette, frames));
  const DecodedFrames decoded = Decode(path);
  ASSERT_EQ(decoded.status, ImageDecodeStatus::kOk);
  EXPECT_EQ(decoded.frame_count, 5);
  ASSERT_EQ(decoded.pictures.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(decoded.pictures[i], Blocks(expected[i])) << "frame " << i + 1;
  }
}

TEST_F(GifFramesTest, FramesPastTheLimitAreCountedAndKeptFramesConvertAlike) {
  std::vector<GifTestFrame> frames;
  for (int i = 0; i < 3; ++i) {
    GifTestFrame f;
    f.width = 40;
    f.height = 30;
    for (int p = 0; p < f.width * f.height; ++p) f.indices.push_back(p % (3 + i) == 0 ? 1 : 0);
    frames.push_back(f);
  }
  const std::string path = Write("three.gif", GifBytes(40, 30, WhiteBlack(), frames));
  const DecodedFrames all = Decode(path, kMaxGifFrames, true);
  ASSERT_EQ(all.status, ImageDecodeStatus::kOk);
  ASSERT_EQ(all.pictures.size(), 3u);
  ASSERT_EQ(all.frames.size(), 3u);
  ConversionOptions contain;
  contain.fit = Fit::kContain;
  contain.dither = Dither::kAtkinson;
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(ConvertFrame(all.frames[i], {}), all.pictures[i]) << i;
    FramesRequest request;
    request.options = contain;
    EXPECT_EQ(ConvertFrame(all.frames[i], contain), DecodeImageFrames(path, request).pictures[i])
        << i;
  }
  EXPECT_NE(all.pictures[0], all.pictures[1]);

  const DecodedFrames two = Decode(path, 2);
  ASSERT_EQ(two.status, ImageDecodeStatus::kOk);
  EXPECT_EQ(two.frame_count, 3);
  EXPECT_EQ(two.pictures,
            std::vector<PictureBytes>(all.pictures.begin(), all.pictures.begin() + 2));
}

TEST_F(GifFramesTest, OtherImagesAreOneFrameOfTheirUsualImport) {
  const auto stripes = [](int y, uint8_t* row) {
    for (int x = 0; x < 300; ++x) row[x] = static_cast<uint8_t>((x / 7 + y / 5) % 2 ? 30 : 240);
  };
  const std::string path = dir_.filePath("stripes.png").toStdString();
  ASSERT_TRUE(testing_images::WritePng(path, 300, 170, 1, stripes));
  const DecodedFrames decoded = Decode(path, kMaxGifFrames, true);
  ASSERT_EQ(decoded.status, ImageDecodeStatus::kOk);
  EXPECT_EQ(decoded.frame_count, 1);
  ASSERT_EQ(decoded.pictures.size(), 1u);
  EXPECT_EQ(decoded.pictures[0], DecodeImageFile(path).bytes);
  ConversionOptions cover;
  cover.fit = Fit::kCover;
  cover.threshold = 100;
  EXPECT_EQ(ConvertFrame(decoded.frames[0], cover), DecodeImageFile(path, cover).bytes);
}

TEST_F(GifFramesTest, DamagedFilesAreRefusedAndAMissingTrailerIsForgiven) {
  std::vector<GifTestFrame> frames(2);
  for (GifTestFrame& f : frames) {
    f.width = 64;
    f.height = 64;
    for (int p = 0; p < 64 * 64; ++p) f.indices.push_back(static_cast<uint8_t>((p * 7) % 2));
  }
  const std::string whole = GifBytes(64, 64, WhiteBlack(), frames);
  ASSERT_EQ(whole.back(), ';');
  EXPECT_EQ(Decode(Write("no_trailer.gif", whole.substr(0, whole.size() - 1))).pictures.size(), 2u);
  for (const double share : {0.02, 0.3, 0.6, 0.9}) {
    const auto cut = static_cast<std::size_t>(static_cast<double>(whole.size()) * share);
    const DecodedFrames decoded = Decode(Write("cut.gif", whole.substr(0, cut)));
    EXPECT_NE(decoded.status, ImageDecodeStatus::kOk) << share;
    EXPECT_TRUE(decoded.pictures.empty()) << share;
  }
  // Indices but no colour table to give them colours.
  const std::string uncoloured = GifBytes(64, 64, {}, frames);
  EXPECT_EQ(Decode(Write("uncoloured.gif", uncoloured)).status, ImageDecodeStatus::kUndecodable);
  EXPECT_NE(Decode(Write("text.gif", "GIF89a, but nothing more")).status, ImageDecodeStatus::kOk);
}

// Every frame of a GIF as the screen shows it, read with giflib's own whole-file reader.
struct ReadBack {
  int width = 0;
  int height = 0;
  std::vector<std::vector<uint8_t>> screens;  // palette indices
  std::vector<int> delays;
  bool loops = false;
  GifPalette palette;
};

ReadBack ReadGif(const std::string& bytes) {
  struct Source {
    const std::string* bytes;
    std::size_t at = 0;
  } source{&bytes};
  const auto read = [](GifFileType* gif, GifByteType* out, int count) {
    auto* s = static_cast<Source*>(gif->UserData);
    const int n = static_cast<int>(std::min<std::size_t>(count, s->bytes->size() - s->at));
    std::copy_n(s->bytes->data() + s->at, n, out);
    s->at += static_cast<std::size_t>(n);
    return n;
  };
  int error = 0;
  GifFileType* gif = DGifOpen(&source, read, &error);
  ReadBack back;
  if (gif == nullptr || DGifSlurp(gif) != GIF_OK) return back;
  back.width = gif->SWidth;
  back.height = gif->SHeight;
  for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
    const GifColorType& c = gif->SColorMap->Colors[i];
    back.palette.push_back({c.Red, c.Green, c.Blue});
  }
  std::vector<uint8_t> screen(static_cast<std::size_t>(back.width * back.height), 0);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x)
        screen[static_cast<std::size_t>((d.Top + y) * back.width + d.Left + x)] =
            image.RasterBits[y * d.Width + x];
    back.screens.push_back(screen);
    GraphicsControlBlock control;
    DGifSavedExtensionToGCB(gif, i, &control);
    back.delays.push_back(control.DelayTime);
    for (int e = 0; e < image.ExtensionBlockCount; ++e) {
      const ExtensionBlock& block = image.ExtensionBlocks[e];
      if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
          std::string(reinterpret_cast<char*>(block.Bytes), 11) == "NETSCAPE2.0") {
        back.loops = true;
      }
    }
  }
  DGifCloseFile(gif, &error);
  return back;
}

TEST(GifExport, ReadsBackAsTheFramesDelaysAndPixelsOfEachLook) {
  std::vector<PictureBytes> pictures(4);
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < kPictureBytes; ++k) pictures[i][k] = static_cast<uint8_t>(k * (i + 3));
  }
  pictures[3] = pictures[2];  // no change: still a frame of its own
  struct Case {
    RenderLook look;
    int scale;
    int delay_ms;
    int delay_cs;
  };
  for (const Case c : {Case{RenderLook::kPlain, 1, 200, 20}, Case{RenderLook::kPlain, 3, 4000, 400},
                       Case{RenderLook::kCanvas, 1, 10, 1}, Case{RenderLook::kPlain, 8, 15, 2}}) {
    const auto bytes = EncodeGifAnimation(pictures, c.look, c.scale, c.delay_ms);
    ASSERT_TRUE(bytes.has_value());
    const ReadBack back = ReadGif(*bytes);
    SCOPED_TRACE(testing::Message() << "scale " << c.scale << " delay " << c.delay_ms);
    ASSERT_EQ(back.screens.size(), pictures.size());
    EXPECT_TRUE(back.loops);
    EXPECT_EQ(back.delays, std::vector<int>(pictures.size(), c.delay_cs));
    for (std::size_t i = 0; i < kRenderPalette.size(); ++i) {
      EXPECT_EQ(back.palette[i], (std::array<uint8_t, 3>{kRenderPalette[i].r, kRenderPalette[i].g,
                                                         kRenderPalette[i].b}));
    }
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      const IndexedImage expected = RenderPicture(pictures[i], c.look, c.scale);
      EXPECT_EQ(back.width, expected.width);
      EXPECT_EQ(back.height, expected.height);
      EXPECT_EQ(back.screens[i], expected.pixels) << "frame " << i;
    }
  }
  EXPECT_FALSE(EncodeGifAnimation({}, RenderLook::kPlain, 1, 200).has_value());
}

TEST_F(GifFramesTest, AnExportedAnimationImportsBackToItsPictures) {
  std::vector<PictureBytes> pictures(3);
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < kPictureBytes; ++k) pictures[i][k] = static_cast<uint8_t>(k * 13 + i * 77);
  }
  for (const int scale : {1, 2, 5}) {
    const auto bytes = EncodeGifAnimation(pictures, RenderLook::kPlain, scale, 100);
    ASSERT_TRUE(bytes.has_value());
    const DecodedFrames decoded = Decode(Write("back.gif", *bytes));
    ASSERT_EQ(decoded.status, ImageDecodeStatus::kOk);
    EXPECT_EQ(decoded.pictures, pictures) << "scale " << scale;
  }
}

}  // namespace
}  // namespace lumigrid
