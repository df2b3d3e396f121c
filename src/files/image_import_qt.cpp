#include "files/image_import_qt.h"

#include <QImage>
#include <vector>

#include "files/mono_convert.h"

namespace lumigrid {

ImageDecodeResult ConvertQtImage(const QImage& image, const ConversionOptions& options) {
  ImageDecodeResult result;
  if (image.isNull() || !IsImportableSize(image.width(), image.height())) return result;
  const QList<QRgb> table = image.colorTable();
  bool one_bit = image.depth() == 1;
  for (const QRgb c : table) one_bit = one_bit && qAlpha(c) == 255;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  if (argb.isNull()) return result;
  std::vector<PackedRgb> row(static_cast<size_t>(argb.width()));
  ImageSource source;
  source.width = argb.width();
  source.height = argb.height();
  source.depth = one_bit ? 1 : 24;
  source.two_colours = {OverWhite(table.value(0, qRgb(0, 0, 0))),
                        OverWhite(table.value(1, qRgb(255, 255, 255)))};
  source.rows = [&](int y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (size_t x = 0; x < row.size(); ++x) row[x] = OverWhite(line[x]);
    return row.data();
  };
  result.status = ImageDecodeStatus::kOk;
  result.bytes = ImageToPicture(source, options);
  return result;
}

}  // namespace lumigrid
