// Windows bitmaps read row by row straight into the picture conversion, so an image of any
// size needs memory for one row only. 1, 4, 8, 16, 24 and 32-bit bitmaps with palettes or
// bit-field masks, and run-length coded 4 and 8-bit ones; other compressions are refused.
#pragma once

#include <istream>
#include <optional>

#include "files/mono_convert.h"

namespace lumigrid {

// The picture of the bitmap `in` (positioned at its "BM"), or nothing when it is not a
// bitmap we read, its declared size is not importable, or its pixel data ends early.
std::optional<PictureBytes> DecodeBmp(std::istream& in, const DecodeRequest& options = {});

}  // namespace lumigrid
