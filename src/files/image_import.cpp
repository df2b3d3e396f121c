#include "files/image_import.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <vector>

#include "files/mono_convert.h"

namespace lumigrid {

namespace {

// Covers kMaxDecodedPixels at 8 bytes a pixel (16-bit PNG); a backstop for formats whose
// header the size check could not read.
constexpr int kAllocationLimitMb = 400;

// A large opaque PNG is scaled by Qt's PNG reader row by row while it decodes (an area
// average too), so the full image is never held: that saves both the memory and the time of
// touching it.
constexpr int64_t kStreamedPngPixels = 1'000'000;

bool IsImportedFormat(const QByteArray& format) {
  return format == "bmp" || format == "jpeg" || format == "png";
}

// libjpeg's 1/8 scaling outputs only the DC term of each 8 x 8 block, which is the block's
// average. The area average of the reduced image is then the area average of the whole one at
// block precision. Used only when the blocks tile the image exactly and the reduced image is
// still at least 128 x 64.
bool CanReduceJpeg(QSize size) {
  constexpr int kBlock = 8;
  return size.width() % kBlock == 0 && size.height() % kBlock == 0 &&
         size.width() / kBlock >= kPictureWidth && size.height() / kBlock >= kPictureHeight;
}

int64_t PixelCount(QSize size) { return int64_t{size.width()} * int64_t{size.height()}; }

bool IsStreamablePng(QSize size, QImage::Format format) {
  const QPixelFormat pixel_format = QImage::toPixelFormat(format);
  // Alpha has to be laid over white before averaging; 1-bit images keep their two colours.
  return PixelCount(size) >= kStreamedPngPixels && size.width() >= kPictureWidth &&
         size.height() >= kPictureHeight && pixel_format.bitsPerPixel() > 1 &&
         pixel_format.alphaUsage() != QPixelFormat::UsesAlpha;
}

// The rows of a decoded image as 0xRRGGBB values. RGB32 rows are handed out as they are;
// other formats are converted one row at a time so a large image is never copied whole.
class QImageRows {
 public:
  explicit QImageRows(const QImage& image)
      : image_(image), table_(image.colorTable()), row_(static_cast<std::size_t>(image.width())) {}

  const Rgb* Row(int y) {
    const int width = image_.width();
    switch (image_.format()) {
      case QImage::Format_RGB32:
        return reinterpret_cast<const Rgb*>(image_.constScanLine(y));
      case QImage::Format_ARGB32: {
        const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        for (int x = 0; x < width; ++x) row_[x] = OverWhite(line[x]);
        return row_.data();
      }
      case QImage::Format_Mono:
      case QImage::Format_MonoLSB: {
        const uchar* line = image_.constScanLine(y);
        const bool msb_first = image_.format() == QImage::Format_Mono;
        for (int x = 0; x < width; ++x) {
          const int shift = msb_first ? 7 - (x & 7) : (x & 7);
          row_[x] = PaletteColour((line[x >> 3] >> shift) & 1);
        }
        return row_.data();
      }
      default: {
        QImage line(image_.constScanLine(y), width, 1, image_.bytesPerLine(), image_.format());
        if (!table_.isEmpty()) line.setColorTable(table_);
        line.convertTo(QImage::Format_ARGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(line.constScanLine(0));
        for (int x = 0; x < width; ++x) row_[x] = OverWhite(pixels[x]);
        return row_.data();
      }
    }
  }

  // Colour i of a 1-bit image; a missing table entry counts as black (0) or white (1).
  Rgb PaletteColour(int i) const {
    return OverWhite(table_.value(i, i == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)));
  }

 private:
  const QImage& image_;
  const QList<QRgb> table_;
  std::vector<Rgb> row_;
};

}  // namespace

ImageDecodeResult DecodeImageToPicture(const QString& path) {
  ImageDecodeResult result;
  QFile file(path);
  if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
    result.status = ImageDecodeStatus::kUnreadable;
    return result;
  }

  QImageReader reader(&file);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(false);
  reader.setAllocationLimit(kAllocationLimitMb);
  const QByteArray format = reader.format();
  const QSize size = reader.size();
  if (!IsImportedFormat(format) || !size.isValid() || size.isEmpty()) return result;
  const bool reduce_jpeg = format == "jpeg" && CanReduceJpeg(size);
  if (PixelCount(reduce_jpeg ? size / 8 : size) > kMaxDecodedPixels) return result;
  if (reduce_jpeg) {
    reader.setScaledSize(size / 8);
  } else if (format == "png" && IsStreamablePng(size, reader.imageFormat())) {
    reader.setScaledSize(QSize(kPictureWidth, kPictureHeight));
  }

  QImage image;
  if (!reader.read(&image) || image.isNull()) return result;

  QImageRows rows(image);
  ImageSource source;
  source.width = image.width();
  source.height = image.height();
  source.depth = image.depth();
  source.two_colours = {rows.PaletteColour(0), rows.PaletteColour(1)};
  source.rows = [&rows](int y) { return rows.Row(y); };
  result.bytes = ImageToPicture(source);
  result.status = ImageDecodeStatus::kOk;
  return result;
}

}  // namespace lumigrid
