// Windows and OS/2 bitmaps read row by row straight into the picture conversion, so an image
// of any size needs memory for one row only. 1, 4, 8, 16, 24 and 32-bit bitmaps with palettes
// or bit-field masks, and run-length coded 4 and 8-bit ones; other valid kinds (2 and 64 bits,
// embedded JPEG or PNG, CMYK, OS/2 Huffman and 24-bit run-length coding) are refused as such.
#pragma once

#include <istream>

#include "files/image_decode_result.h"
#include "files/mono_convert.h"

namespace lumigrid {

// The picture of the bitmap `in` (positioned at its "BM"), or the refusal: damaged (including
// pixel data that ends early), too large, or of an unsupported kind.
ImageDecodeResult DecodeBmp(std::istream& in, const ConversionOptions& options = {});

}  // namespace lumigrid
