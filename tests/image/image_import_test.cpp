#include "files/image_import_qt.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

#include "files/mono_convert.h"
#include "image/stream_writers.h"

namespace lumigrid {
namespace {

// Which pixels of the 128 x 64 picture an image is expected to light.
using PixelRule = std::function<bool(int x, int y)>;

PictureBytes Expected(const PixelRule& lit) {
  PictureBuffer picture;
  for (int y = 0; y < kPictureHeight; ++y)
    for (int x = 0; x < kPictureWidth; ++x) picture.SetPixel(x, y, lit(x, y));
  return picture.Bytes();
}

QImage Filled(int width, int height, QImage::Format format,
              const std::function<QRgb(int x, int y)>& colour) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, colour(x, y));
  return image.convertToFormat(format);
}

class ImageImportTest : public ::testing::Test {
 protected:
  QString Save(const QImage& image, const QString& name, const char* format, int quality = -1) {
    const QString path = dir_.filePath(name);
    EXPECT_TRUE(image.save(path, format, quality)) << name.toStdString();
    return path;
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  void ExpectPicture(const QString& path, const PictureBytes& expected) {
    const ImageDecodeResult result = DecodeImageToPicture(path);
    ASSERT_EQ(result.status, ImageDecodeStatus::kOk) << path.toStdString();
    EXPECT_EQ(result.bytes, expected) << path.toStdString();
  }
  void ExpectStatus(const QString& path, ImageDecodeStatus status) {
    const ImageDecodeResult result = DecodeImageToPicture(path);
    EXPECT_EQ(result.status, status) << path.toStdString();
    EXPECT_EQ(result.bytes, PictureBytes{}) << path.toStdString();
  }

  QTemporaryDir dir_;
};

TEST_F(ImageImportTest, UniformColoursThroughEveryFileTypeAndScale) {
  struct Case {
    QRgb colour;
    bool lit;
  };
  // Grey 219 is lit, 220 clear; red, green and blue are lit, yellow (grey 225) is not.
  const Case colours[] = {{qRgb(255, 255, 255), false}, {qRgb(0, 0, 0), true},
                          {qRgb(219, 219, 219), true},  {qRgb(220, 220, 220), false},
                          {qRgb(255, 0, 0), true},      {qRgb(0, 255, 0), true},
                          {qRgb(0, 0, 255), true},      {qRgb(255, 255, 0), false}};
  const QSize sizes[] = {{128, 64}, {300, 200}, {1200, 1000}};
  for (const Case& c : colours) {
    for (const QSize size : sizes) {
      for (const char* type : {"png", "bmp"}) {
        const QImage image = Filled(size.width(), size.height(), QImage::Format_RGB32,
                                    [&](int, int) { return c.colour; });
        const QString path = Save(image, QString("u.%1").arg(type), type);
        SCOPED_TRACE(testing::Message() << std::hex << c.colour << std::dec << " " << size.width()
                                        << "x" << size.height() << " " << type);
        ExpectPicture(path, Expected([&](int, int) { return c.lit; }));
      }
    }
  }
}

TEST_F(ImageImportTest, PixelFormatsAreReadAsTheirColours) {
  // Left half grey 219 (lit), right half grey 220 (clear), in every stored pixel format.
  const auto halves = [](int width) {
    return
        [width](int x, int) { return x < width / 2 ? qRgb(219, 219, 219) : qRgb(220, 220, 220); };
  };
  const PictureBytes expected = Expected([](int x, int) { return x < 64; });
  const QImage::Format formats[] = {QImage::Format_RGB32,       QImage::Format_ARGB32,
                                    QImage::Format_Grayscale8,  QImage::Format_RGB888,
                                    QImage::Format_Grayscale16, QImage::Format_RGBA64};
  for (const QImage::Format format : formats) {
    for (const int width : {128, 256, 1600}) {
      const int height = width / 2;
      const QImage image = Filled(width, height, format, halves(width));
      SCOPED_TRACE(testing::Message() << "format " << format << " width " << width);
      ExpectPicture(Save(image, "f.png", "png"), expected);
      ExpectPicture(Save(image, "f.bmp", "bmp"), expected);
    }
  }
  // An 8-bit palette image.
  QImage indexed(256, 128, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(220, 220, 220), qRgb(219, 219, 219)});
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 256; ++x) indexed.setPixel(x, y, x < 128 ? 1 : 0);
  ExpectPicture(Save(indexed, "i.png", "png"), expected);
  ExpectPicture(Save(indexed, "i.bmp", "bmp"), expected);
}

TEST_F(ImageImportTest, TransparentPartsAreBackground) {
  // Transparent black on the left, opaque black on the right.
  const QImage image = Filled(256, 128, QImage::Format_ARGB32, [](int x, int) {
    return x < 128 ? qRgba(0, 0, 0, 0) : qRgba(0, 0, 0, 255);
  });
  ExpectPicture(Save(image, "alpha.png", "png"), Expected([](int x, int) { return x >= 64; }));
}

TEST_F(ImageImportTest, UnscaledCorners) {
  const QImage image = Filled(128, 64, QImage::Format_RGB32, [](int x, int y) {
    return (x == 0 && y == 0) || (x == 127 && y == 63) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
  });
  PictureBytes expected{};
  expected[0] = 0x01;     // cell 1, byte 1
  expected[1023] = 0x80;  // cell 128, byte 8
  ExpectPicture(Save(image, "corners.png", "png"), expected);
  ExpectPicture(Save(image, "corners.bmp", "bmp"), expected);
}

TEST_F(ImageImportTest, ScalesTheWholeImageToTheDisplay) {
  std::mt19937 random(9);
  std::vector<bool> pattern(128 * 64);
  for (auto&& p : pattern) p = random() % 2 == 0;
  const auto black_if = [](bool dark) { return dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255); };
  const PictureBytes random_picture =
      Expected([&](int x, int y) { return bool(pattern[y * 128 + x]); });

  // 256 x 128: every 2 x 2 block becomes one pixel.
  const QImage doubled = Filled(256, 128, QImage::Format_RGB32, [&](int x, int y) {
    return black_if(pattern[y / 2 * 128 + x / 2]);
  });
  ExpectPicture(Save(doubled, "doubled.png", "png"), random_picture);

  // 64 x 64: every column is stretched to two.
  const QImage narrow = Filled(64, 64, QImage::Format_RGB32,
                               [&](int x, int y) { return black_if(pattern[y * 128 + x]); });
  ExpectPicture(Save(narrow, "narrow.bmp", "bmp"),
                Expected([&](int x, int y) { return bool(pattern[y * 128 + x / 2]); }));

  // 1000 x 10: squeezed across, stretched down; the dark quarter stays a quarter.
  const QImage strip = Filled(1000, 10, QImage::Format_RGB32,
                              [&](int x, int y) { return black_if(x < 500 && y < 5); });
  ExpectPicture(Save(strip, "strip.png", "png"),
                Expected([](int x, int y) { return x < 64 && y < 32; }));

  // Large images, one of them of sizes that do not divide evenly.
  const QImage quarter = Filled(2048, 1024, QImage::Format_RGB32,
                                [&](int x, int y) { return black_if(x < 1024 && y < 512); });
  const PictureBytes top_left = Expected([](int x, int y) { return x < 64 && y < 32; });
  ExpectPicture(Save(quarter, "quarter.png", "png"), top_left);
  ExpectPicture(Save(quarter, "quarter.jpg", "jpeg", 90), top_left);
  ExpectPicture(Save(quarter.copy(0, 0, 2044, 1021), "odd.jpg", "jpeg", 90),
                Expected([](int x, int y) { return x < 64 && y < 32; }));
}

TEST_F(ImageImportTest, OneBitBitmapKeepsItsTwoColours) {
  // Each 2 x 2 block has one, two or three black pixels. Averaged and greyed, even one black
  // pixel (grey 191) would light the block; kept two-coloured, two or more do.
  QImage mono(256, 128, QImage::Format_Mono);
  mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  std::mt19937 random(4);
  std::vector<int> dark(128 * 64);
  for (int i = 0; i < 128 * 64; ++i) dark[i] = 1 + static_cast<int>(random() % 3);
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 256; ++x) {
      const int corner = (y % 2) * 2 + x % 2;
      mono.setPixel(x, y, corner < dark[y / 2 * 128 + x / 2] ? 1 : 0);
    }
  }
  const QString path = Save(mono, "mono.bmp", "bmp");
  ASSERT_EQ(QImageReader(path).read().depth(), 1) << "the bitmap must decode as 1-bit";
  ExpectPicture(path, Expected([&](int x, int y) { return dark[y * 128 + x] >= 2; }));

  const QImage unscaled = mono.scaled(128, 64);
  ExpectPicture(Save(unscaled, "mono128.bmp", "bmp"),
                Expected([&](int x, int y) { return unscaled.pixelIndex(x, y) == 1; }));
}

TEST_F(ImageImportTest, OneBitImagesOfOtherColoursConvertAsColourImages) {
  // Only black and white, in either order, keep the two-colour rounding; any other palette is
  // averaged exactly and grey-converted. Cyan's green is 255 (clear) but its grey 173 (lit).
  struct Case {
    QRgb first, second;
    bool black_and_white;
  };
  const Case cases[] = {{qRgb(255, 255, 255), qRgb(0, 0, 0), true},
                        {qRgb(0, 0, 0), qRgb(255, 255, 255), true},
                        {qRgb(0, 255, 255), qRgb(255, 255, 255), false},
                        {qRgb(0, 0, 255), qRgb(0, 255, 0), false},
                        {qRgb(0, 160, 0), qRgb(255, 165, 0), false}};
  std::mt19937 random(23);
  for (const Case& c : cases) {
    for (const QSize size : {QSize(256, 128), QSize(128, 64), QSize(301, 170)}) {
      QImage mono(size, QImage::Format_Mono);
      mono.setColorTable({c.first, c.second});
      RgbImage colours(size.width(), size.height(), c.black_and_white ? 1 : 24);
      for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
          const int index = random() % 3 == 0 ? 1 : 0;
          mono.setPixel(x, y, index);
          colours.Set(x, y, (index == 1 ? c.second : c.first) & 0xFFFFFF);
        }
      }
      const PictureBytes expected =
          ImageToPicture(SourceOf(colours, {c.first & 0xFFFFFF, c.second & 0xFFFFFF}));
      SCOPED_TRACE(testing::Message() << std::hex << c.first << "/" << c.second << std::dec << " "
                                      << size.width() << "x" << size.height());
      for (const char* type : {"png", "bmp"}) {
        const QString path = Save(mono, QString("mono.%1").arg(type), type);
        ASSERT_EQ(QImageReader(path).read().depth(), 1) << type;
        ExpectPicture(path, expected);
      }
    }
  }
  QImage cyan(300, 200, QImage::Format_Mono);
  cyan.setColorTable({qRgb(0, 255, 255), qRgb(255, 255, 255)});
  cyan.fill(0);
  ExpectPicture(Save(cyan, "cyan.png", "png"), Expected([](int, int) { return true; }));
}

TEST_F(ImageImportTest, FormatComesFromTheContent) {
  const QImage half = Filled(128, 64, QImage::Format_RGB32, [](int x, int) {
    return x < 64 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
  });
  const PictureBytes left = Expected([](int x, int) { return x < 64; });
  ExpectPicture(Save(half, "photo.png", "jpeg", 95), left);
  ExpectPicture(Save(half, "picture.jpg", "png"), left);
  ExpectPicture(Save(half, "noextension", "bmp"), left);
  ExpectPicture(Save(half, QString::fromUtf8("рисунок.Png"), "png"), left);

  const QByteArray gif(
      "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01"
      "\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
      "D\x01\x00;",
      43);
  QFile png_file(Save(half, "valid.png", "png"));
  ASSERT_TRUE(png_file.open(QIODevice::ReadOnly));
  const QByteArray png = png_file.readAll();
  const auto kNotAnImage = ImageDecodeStatus::kNotAnImage;
  const auto kDamaged = ImageDecodeStatus::kUndecodable;
  const struct {
    const char* name;
    QByteArray bytes;
    ImageDecodeStatus status;
  } undecodable[] = {
      {"photo.jpg", "This is a text file, not a picture.\n", kNotAnImage},
      {"empty.png", "", kNotAnImage},
      {"netpbm.jpg", "P1\n2 2\n1 0\n0 1\n", kNotAnImage},  // an image, but not one we import
      {"anim.png", gif, kNotAnImage},
      {"truncated.png", png.left(60), kDamaged},
      {"garbage.bmp", QByteArray("BM") + QByteArray(200, '\x7f'), kDamaged},
  };
  for (const auto& u : undecodable) ExpectStatus(Write(u.name, u.bytes), u.status);
}

TEST_F(ImageImportTest, AncillaryPngChunksLeaveThePixelsAsTheyAre) {
  // Text, colour-space and unknown chunks, valid, empty or damaged, change nothing: only the
  // header, palette, transparency and pixel data count.
  const auto grey = [](int x, int y) { return static_cast<uint8_t>((x * 7 + y * 13) % 256); };
  RgbImage image(300, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) image.Set(x, y, MakeRgb(grey(x, y), grey(x, y), grey(x, y)));
  const PictureBytes expected = ImageToPicture(SourceOf(image));
  using Chunks = std::vector<testing_images::PngChunk>;
  const std::string text("Comment\0a picture", 17);
  const Chunks variants[] = {
      {},
      {{"tEXt", text}, {"zTXt", std::string("Comment\0\0not deflate", 20)}},
      {{"tEXt", ""}, {"iTXt", ""}, {"sPLT", ""}},
      {{"prVt", ""}, {"prVt", std::string(100, 'x')}},
      {{"gAMA", std::string("\0\0\xB1\x8F", 4)},
       {"sRGB", std::string(1, '\0')},
       {"iCCP", std::string("icc\0\0bad profile", 17)},
       {"pHYs", std::string(9, '\1')}},
  };
  int i = 0;
  for (const Chunks& chunks : variants) {
    const std::string file = testing_images::GreyPngFile(300, 200, grey, chunks);
    ExpectPicture(Write(QString("chunks%1.png").arg(i++), QByteArray::fromStdString(file)),
                  expected);
  }
}

TEST_F(ImageImportTest, MissingFileOrFolderIsUnreadable) {
  ExpectStatus(dir_.filePath("missing.png"), ImageDecodeStatus::kUnreadable);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.png"));
  ExpectStatus(dir_.filePath("folder.png"), ImageDecodeStatus::kUnreadable);
}

// A PNG declaring width x height 8-bit RGB pixels with no pixel data behind the header.
QByteArray PngHeaderOnly(quint32 width, quint32 height) {
  const auto chunk = [](const QByteArray& type, const QByteArray& data) {
    QByteArray out(4, '\0');
    qToBigEndian(static_cast<quint32>(data.size()), out.data());
    const QByteArray typed = type + data;
    quint32 crc = 0xFFFFFFFF;
    for (const char ch : typed) {
      crc ^= static_cast<quint8>(ch);
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    QByteArray crc_bytes(4, '\0');
    qToBigEndian(crc ^ 0xFFFFFFFF, crc_bytes.data());
    return out + typed + crc_bytes;
  };
  QByteArray header(13, '\0');
  qToBigEndian(width, header.data());
  qToBigEndian(height, header.data() + 4);
  header[8] = 8;  // bits per sample
  header[9] = 2;  // RGB
  const QByteArray empty_deflate("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", empty_deflate) +
         chunk("IEND", {});
}

TEST_F(ImageImportTest, HugeDeclaredImagesAreRefusedUndecoded) {
  // The header itself is valid: Qt reports the declared size.
  const QString huge = Write("huge.png", PngHeaderOnly(100000, 100000));
  ASSERT_EQ(QImageReader(huge).size(), QSize(100000, 100000));
  ExpectStatus(huge, ImageDecodeStatus::kTooLarge);
  ExpectStatus(Write("wide.png", PngHeaderOnly(2000000000, 1)), ImageDecodeStatus::kTooLarge);
  ExpectStatus(Write("side.png", PngHeaderOnly(65536, 1)), ImageDecodeStatus::kTooLarge);
  // An importable size whose pixel data is missing.
  ExpectStatus(Write("over.png", PngHeaderOnly(7072, 7072)), ImageDecodeStatus::kUndecodable);
}

// Exact area averages of a decoded grey image over the 128 x 64 target pixels, in floating
// point: the oracle the import is held to.
std::vector<double> ExactAverages(const QImage& decoded) {
  const QImage grey = decoded.convertToFormat(QImage::Format_Grayscale8);
  const int w = grey.width();
  const int h = grey.height();
  std::vector<double> sums(kPictureWidth * kPictureHeight);
  // Target pixels a source pixel falls into, with the share of its length in each.
  const auto shares = [](int i, int source, int target) {
    std::vector<std::pair<int, double>> out;
    const double lo = double(i) * target / source;
    const double hi = double(i + 1) * target / source;
    for (int j = int(lo); j < target && j < hi; ++j) {
      out.emplace_back(j, std::min(hi, j + 1.0) - std::max(lo, double(j)));
    }
    return out;
  };
  std::vector<std::vector<std::pair<int, double>>> columns(w);
  for (int x = 0; x < w; ++x) columns[x] = shares(x, w, kPictureWidth);
  for (int y = 0; y < h; ++y) {
    const uchar* row = grey.constScanLine(y);
    for (const auto& [ty, wy] : shares(y, h, kPictureHeight)) {
      for (int x = 0; x < w; ++x) {
        for (const auto& [tx, wx] : columns[x]) sums[ty * kPictureWidth + tx] += wy * wx * row[x];
      }
    }
  }
  return sums;  // each target pixel's shares add up to 1 x 1
}

// Compares an import with the oracle; a pixel within one grey level of the threshold may go
// either way.
void ExpectMatchesOracle(const QString& path) {
  const QImage decoded(path);
  ASSERT_FALSE(decoded.isNull()) << path.toStdString();
  const std::vector<double> averages = ExactAverages(decoded);
  const ImageDecodeResult result = DecodeImageToPicture(path);
  ASSERT_EQ(result.status, ImageDecodeStatus::kOk) << path.toStdString();
  PictureBuffer picture;
  picture.Bytes() = result.bytes;
  int undecided = 0;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      const double average = averages[y * kPictureWidth + x];
      if (std::abs(average - (kLitBelowGreen - 0.5)) <= 1.0) {
        ++undecided;
        continue;
      }
      EXPECT_EQ(picture.Pixel(x, y), average < kLitBelowGreen - 0.5)
          << path.toStdString() << " at (" << x << ", " << y << ") average " << average;
    }
  }
  EXPECT_LT(undecided, kPictureWidth * kPictureHeight / 10) << "too few pixels decided";
}

TEST_F(ImageImportTest, EveryFormatMatchesTheExactAverageOfItsPixels) {
  // Patches of random grey around the threshold with noise on top. The size is whole 8 x 8
  // blocks of JPEG, but the target pixels (19.56 x 23.38) straddle them.
  const int width = 2504;
  const int height = 1496;
  std::mt19937 random(8);
  std::vector<int> patches(80 * 80);
  for (int& p : patches) p = 170 + static_cast<int>(random() % 86);
  QImage image(width, height, QImage::Format_Grayscale8);
  for (int y = 0; y < height; ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < width; ++x) {
      const int noise = static_cast<int>(random() % 31) - 15;
      row[x] = static_cast<uchar>(std::clamp(patches[(y / 37) * 80 + x / 41] + noise, 0, 255));
    }
  }
  ExpectMatchesOracle(Save(image, "oracle.bmp", "bmp"));
  ExpectMatchesOracle(Save(image, "oracle.png", "png"));
  ExpectMatchesOracle(Save(image, "oracle.jpg", "jpeg", 100));
}

TEST_F(ImageImportTest, JpegBandOnATargetEdgeStaysOneColumnWide) {
  // Column 61 covers x = 491.8 .. 499.9 and holds the whole band (lit); column 62 covers only
  // an eighth of x = 499, mean grey 251 (clear).
  QImage image(1032, 520, QImage::Format_Grayscale8);
  image.fill(255);
  for (int y = 0; y < 520; ++y) std::fill_n(image.scanLine(y) + 496, 4, uchar{0});
  ExpectPicture(Save(image, "band.jpg", "jpeg", 100), Expected([](int x, int) { return x == 61; }));
}

TEST_F(ImageImportTest, SamePictureGivesTheSameBytesInEveryLosslessFormat) {
  // 3 x 3 squares of grey 214 and 226: every target pixel averages 219.75 .. 220.25.
  QImage squares(2000, 600, QImage::Format_RGB32);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 2000; ++x) {
      const int v = (x / 3 + y / 3) % 2 ? 226 : 214;
      squares.setPixel(x, y, qRgb(v, v, v));
    }
  }
  const ImageDecodeResult bmp = DecodeImageToPicture(Save(squares, "squares.bmp", "bmp"));
  const ImageDecodeResult png = DecodeImageToPicture(Save(squares, "squares.png", "png"));
  ASSERT_EQ(bmp.status, ImageDecodeStatus::kOk);
  ASSERT_EQ(png.status, ImageDecodeStatus::kOk);
  EXPECT_EQ(bmp.bytes, png.bytes);

  // An interlaced PNG hands its pixels over in seven passes; the sums must not change.
  std::mt19937 random(12);
  std::vector<uint8_t> colours(999 * 3 * 17);
  for (uint8_t& c : colours) c = static_cast<uint8_t>(150 + random() % 106);
  const auto fill = [&](int y, uint8_t* row) {
    for (int i = 0; i < 999 * 3; ++i) row[i] = colours[(y % 17) * 999 * 3 + (i + y) % (999 * 3)];
  };
  const std::string plain = dir_.filePath("plain.png").toStdString();
  const std::string interlaced = dir_.filePath("interlaced.png").toStdString();
  ASSERT_TRUE(testing_images::WritePng(plain, 999, 555, 3, fill, false));
  ASSERT_TRUE(testing_images::WritePng(interlaced, 999, 555, 3, fill, true));
  const ImageDecodeResult a = DecodeImageFile(plain);
  const ImageDecodeResult b = DecodeImageFile(interlaced);
  ASSERT_EQ(a.status, ImageDecodeStatus::kOk);
  EXPECT_EQ(a.bytes, b.bytes);
  EXPECT_NE(a.bytes, PictureBytes{}) << "the picture should not be blank";
}

TEST_F(ImageImportTest, DamagedFilesAreRefused) {
  // A bitmap declaring 128 x 64 at 32 bits with 4 bytes of pixels, and whole images cut short.
  QByteArray header(54, '\0');
  header[0] = 'B';
  header[1] = 'M';
  qToLittleEndian<quint32>(54, header.data() + 10);
  qToLittleEndian<quint32>(40, header.data() + 14);
  qToLittleEndian<qint32>(128, header.data() + 18);
  qToLittleEndian<qint32>(64, header.data() + 22);
  qToLittleEndian<quint16>(1, header.data() + 26);
  qToLittleEndian<quint16>(32, header.data() + 28);
  ExpectStatus(Write("short.bmp", header + QByteArray(4, '\0')), ImageDecodeStatus::kUndecodable);

  const QImage photo = Filled(640, 480, QImage::Format_RGB32,
                              [](int x, int y) { return qRgb(x % 256, y % 256, (x * y) % 256); });
  for (const char* type : {"jpeg", "png", "bmp"}) {
    QFile file(Save(photo, "whole", type));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    for (const double share : {0.5, 0.9}) {
      SCOPED_TRACE(testing::Message() << type << " cut to " << share);
      ExpectStatus(Write("cut", whole.left(int(whole.size() * share))),
                   ImageDecodeStatus::kUndecodable);
    }
  }
}

}  // namespace
}  // namespace lumigrid
