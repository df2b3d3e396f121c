// Any file given to the image import: a refused one leaves a blank picture; an accepted PNG or
// JPEG gives the same picture as the image read whole by Qt and converted in one piece (the import
// reads row by row). Large images, which the import reduces while decoding, are only decoded.
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/image_import_qt.h"
#include "files/mono_convert.h"
#include "fuzz_support.h"

namespace {

using lumigrid::fuzz::Check;

// The image plugins need an application object.
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "image_decode_fuzz";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);  // lives as long as the process
  }
}

// Small enough that the import decodes it as it is, without reducing it.
bool DecodedAsItIs(const QByteArray& format, QSize size) {
  if (int64_t{size.width()} * size.height() >= 1'000'000) return false;
  return !(format == "jpeg" && size.width() % 8 == 0 && size.height() % 8 == 0 &&
           size.width() >= 8 * 128 && size.height() >= 8 * 64);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnsureApplication();
  const std::string path = lumigrid::fuzz::WriteScratchFile(
      "image", std::string_view(reinterpret_cast<const char*>(data), size));
  const QString qpath = QString::fromStdString(path);
  const lumigrid::ImageDecodeResult result = lumigrid::DecodeImageToPicture(qpath);
  Check(result.status != lumigrid::ImageDecodeStatus::kUnreadable, "a readable file is read");
  if (result.status != lumigrid::ImageDecodeStatus::kOk) {
    Check(result.bytes == lumigrid::PictureBytes{}, "a refused image leaves a blank picture");
    return 0;
  }

  QImageReader reader(qpath);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(false);
  const QByteArray format = reader.format();
  Check(format == "bmp" || format == "jpeg" || format == "png", "only BMP, JPEG, PNG accepted");
  if (!DecodedAsItIs(format, reader.size())) return 0;
  // Bitmaps are read by our own reader, which takes damaged headers and palettes its own
  // (checked) way; Qt's reader is no reference for those. PNG and JPEG share the libraries.
  if (format == "bmp") return 0;
  QImage image;
  if (!reader.read(&image)) return 0;  // the import's reader may recover more; not a fault
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  lumigrid::RgbImage whole(argb.width(), argb.height(), image.depth() == 1 ? 1 : 24);
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) whole.Set(x, y, lumigrid::OverWhite(argb.pixel(x, y)));
  }
  const QList<QRgb> table = image.colorTable();
  const std::array<lumigrid::Rgb, 2> two = {
      lumigrid::OverWhite(table.value(0, qRgb(0, 0, 0))),
      lumigrid::OverWhite(table.value(1, qRgb(255, 255, 255)))};
  Check(lumigrid::ImageToPicture(lumigrid::SourceOf(whole, two)) == result.bytes,
        "the picture equals the whole image converted in one piece");
  return 0;
}
