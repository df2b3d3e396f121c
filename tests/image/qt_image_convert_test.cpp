// An image handed over by Qt (the clipboard's) gives the picture that importing a file of it
// gives, byte for byte.
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

#include "files/image_import_qt.h"
#include "files/mono_convert.h"

namespace lumigrid {
namespace {

struct Sample {
  const char* name;
  QImage image;
  bool opaque = true;  // a bitmap file holds no transparency
};

QImage Noise(int width, int height, QImage::Format format, unsigned seed, bool alpha = false) {
  std::mt19937 random(seed);
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int a = alpha ? static_cast<int>(random() % 256) : 255;
      image.setPixel(x, y, qRgba(random() % 256, random() % 256, random() % 256, a));
    }
  }
  return image.convertToFormat(format);
}

// Two colours at random; either index may be any colour of the table.
QImage TwoColours(int width, int height, QList<QRgb> table, unsigned seed) {
  std::mt19937 random(seed);
  QImage image(width, height, QImage::Format_Mono);
  image.setColorTable(table);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, random() % 2);
  }
  return image;
}

TEST(ConvertQtImage, GivesWhatImportingAFileOfTheImageGives) {
  const QRgb black = qRgb(0, 0, 0);
  const QRgb white = qRgb(255, 255, 255);
  const Sample samples[] = {
      {"colour 128x64", Noise(128, 64, QImage::Format_RGB32, 1)},
      {"colour scaled down", Noise(301, 157, QImage::Format_RGB888, 2)},
      {"colour scaled up", Noise(50, 30, QImage::Format_RGB32, 3)},
      {"grey", Noise(200, 100, QImage::Format_Grayscale8, 4)},
      {"alpha", Noise(190, 70, QImage::Format_ARGB32, 5, true), false},
      {"premultiplied alpha", Noise(128, 64, QImage::Format_ARGB32_Premultiplied, 6, true), false},
      {"one pixel", Noise(1, 1, QImage::Format_RGB32, 7)},
      {"black on white", TwoColours(256, 128, {white, black}, 8)},
      {"white on black", TwoColours(131, 67, {black, white}, 9)},
      {"two other colours", TwoColours(256, 100, {qRgb(200, 30, 30), qRgb(240, 240, 250)}, 10)},
      {"two colours, one transparent", TwoColours(256, 128, {qRgba(0, 0, 0, 0), black}, 11), false},
  };
  QTemporaryDir dir;
  for (const Sample& s : samples) {
    const ImageDecodeResult pasted = ConvertQtImage(s.image);
    ASSERT_EQ(pasted.status, ImageDecodeStatus::kOk) << s.name;
    for (const char* format : {"png", "bmp"}) {
      if (!s.opaque && std::string_view(format) == "bmp") continue;
      const QString path = dir.filePath(QString::fromUtf8(s.name) + "." + format);
      ASSERT_TRUE(s.image.save(path, format)) << s.name;
      const ImageDecodeResult imported = DecodeImageToPicture(path);
      ASSERT_EQ(imported.status, ImageDecodeStatus::kOk) << s.name << " " << format;
      EXPECT_EQ(pasted.bytes, imported.bytes) << s.name << " " << format;
    }
  }
}

TEST(ConvertQtImage, RefusesWhatTheImportRefuses) {
  EXPECT_EQ(ConvertQtImage(QImage()).status, ImageDecodeStatus::kUndecodable);
  // Wider than any side the import takes; one bit a pixel keeps it small.
  const QImage wide(kMaxImageSide + 1, 1, QImage::Format_Mono);
  const ImageDecodeResult result = ConvertQtImage(wide);
  EXPECT_NE(result.status, ImageDecodeStatus::kOk);
  EXPECT_EQ(result.bytes, PictureBytes{});
}

}  // namespace
}  // namespace lumigrid
