// Text for the Text tool, laid out in a built-in bitmap font.
//
// - The UTF-8 text goes through Windows-1251 like every text of the program: a character the
//   code page has no place for, or a malformed sequence, shows as "?".
// - "\n" starts a new line; every other control character (so also the "\r" of a Windows line
//   end), 0x98 and the soft hyphen are skipped and take no room.
// - Lines start at the left edge, one line_pitch apart. The bitmap is as wide as the longest
//   line and holds every line, empty ones included; the gap after the last character and
//   below the last line is left out (the 5 x 7 font's line of n characters is 6n - 1 wide).
//   A text whose lines hold nothing that takes room gives an empty bitmap.
// - The bitmap is at most kMaxTextBitmapSide pixels each way: what lies beyond could never be
//   seen on the picture at once, and a hostile paste must not ask for gigabytes.
#pragma once

#include <string_view>

#include "edit/bitmap_fonts.h"
#include "edit/mono_bitmap.h"

namespace lumigrid {

// Pixel sizes an installed font can be drawn at.
constexpr int kSystemFontMinPixelSize = 6;
constexpr int kSystemFontMaxPixelSize = 32;

// Largest width and height of laid-out text, 16 picture widths.
constexpr int kMaxTextBitmapSide = 2048;

MonoBitmap LayoutText(BitmapFont font, std::string_view utf8);

}  // namespace lumigrid
