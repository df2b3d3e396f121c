// The image import for callers that hold Qt paths and images.
#pragma once

#include <QString>

#include "files/image_import.h"

class QImage;

namespace lumigrid {

inline ImageDecodeResult DecodeImageToPicture(const QString& path,
                                              const ConversionOptions& options = {}) {
  return DecodeImageFile(path.toStdString(), options);
}

// An image Qt has decoded (one from the system clipboard) converted as the import converts a
// file holding it: the same conversion, a two-coloured opaque 1-bit image keeping its two
// colours as a 1-bit file does, transparent parts laid over white, the same size bounds.
ImageDecodeResult ConvertQtImage(const QImage& image, const ConversionOptions& options = {});

}  // namespace lumigrid
