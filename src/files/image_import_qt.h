// The image import for callers that hold Qt paths.
#pragma once

#include <QString>

#include "files/image_import.h"

namespace lumigrid {

inline ImageDecodeResult DecodeImageToPicture(const QString& path,
                                              const ConversionOptions& options = {}) {
  return DecodeImageFile(path.toStdString(), options);
}

}  // namespace lumigrid
