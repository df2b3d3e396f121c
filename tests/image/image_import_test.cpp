#include "files/image_import.h"

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
  // 1200 x 1000 PNGs are scaled while they are decoded.
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

  // Large images take the decoders' fast paths: JPEG's 1/8 reduction, PNG's scaled reading.
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
  const struct {
    const char* name;
    QByteArray bytes;
  } undecodable[] = {
      {"photo.jpg", "This is a text file, not a picture.\n"},
      {"empty.png", ""},
      {"netpbm.jpg", "P1\n2 2\n1 0\n0 1\n"},  // an image, but not one we import
      {"anim.png", gif},
      {"truncated.png", png.left(60)},
      {"garbage.bmp", QByteArray("BM") + QByteArray(200, '\x7f')},
  };
  for (const auto& u : undecodable) {
    ExpectStatus(Write(u.name, u.bytes), ImageDecodeStatus::kUndecodable);
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
  ExpectStatus(huge, ImageDecodeStatus::kUndecodable);
  ExpectStatus(Write("wide.png", PngHeaderOnly(2000000000, 1)), ImageDecodeStatus::kUndecodable);
  ExpectStatus(Write("over.png", PngHeaderOnly(7072, 7072)), ImageDecodeStatus::kUndecodable);
}

}  // namespace
}  // namespace lumigrid
