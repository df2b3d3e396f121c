// Import of BMP, JPEG and PNG images as a monochrome 128 x 64 picture. The format is taken
// from the file's content, not its name. Every decoder hands its rows one by one to the
// area-average conversion, so memory does not grow with the image.
#pragma once

#include <string>

#include "files/conversion_options.h"
#include "files/image_decode_result.h"

namespace lumigrid {

// Decodes the image and converts it by the options; the defaults are the editor's import
// (scaled to 128 x 64 by area average, aspect not kept, grey unless 1-bit, lit below 220).
// A declared size beyond IsImportableSize is refused before anything is decoded; a file
// whose pixel data ends early or that the decoder finds corrupt is refused too. A PNG's
// ancillary chunks other than tRNS are skipped unread, so their declared lengths cost nothing.
ImageDecodeResult DecodeImageFile(const std::string& utf8_path,
                                  const ConversionOptions& options = {});

}  // namespace lumigrid
