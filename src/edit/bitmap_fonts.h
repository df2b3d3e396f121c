// The two built-in bitmap fonts of the Text tool, indexed by Windows-1251 byte.
//
// Both fonts are fixed-pitch and share one vertical design: capitals and digits are 7 rows
// high (rows 0..6 of the cell), small letters 5 (rows 2..6), accents of capitals sit in row 0
// over a capital shortened to rows 1..6, those of small letters in row 0 too. Below the
// baseline the 5 x 7 font has no room: g, j, p, q, y, р, у are drawn with a shorter body and
// their tails, like those of Д, Ц, Щ, д, ц, щ, end in row 6. The 8 x 8 font hangs tails in
// row 7: g, p, у ... have their body in rows 2..5 and tails in rows 6..7, while Д, Ц, Щ, д,
// ц, щ keep their full body and add row 7. Glyphs of the 8 x 8 font use columns 0..6:
// column 7 is the gap to the next character. Its lines have no gap of their own, so eight fill
// the picture.
//
// Bytes that print nothing: the controls 0x00..0x1F and 0x7F, 0x98 (no character in
// Windows-1251) and 0xAD, the soft hyphen, which only shows where a word is broken, and we
// never break words. Their glyphs are empty and text layout skips them. The space and the
// no-break space 0xA0 are empty glyphs that do take room.
#pragma once

#include <cstdint>

#include "edit/mono_bitmap.h"

namespace lumigrid {

enum class BitmapFont { k5x7, k8x8 };

inline constexpr BitmapFont kBitmapFonts[] = {BitmapFont::k5x7, BitmapFont::k8x8};

struct BitmapFontMetrics {
  int glyph_width = 0;   // cell width in pixels
  int glyph_height = 0;  // cell height in pixels
  int advance = 0;       // left edge of one character to the next one's
  int line_pitch = 0;    // top of one line to the next one's
};

BitmapFontMetrics FontMetrics(BitmapFont font);

// Whether byte `code` is a character that takes room in a line (see above).
bool PrintsInBitmapFont(uint8_t code);

// Pixel (x, y) of the glyph of Windows-1251 byte `code`; false outside the cell.
bool GlyphPixel(BitmapFont font, uint8_t code, int x, int y);

// The glyph as a glyph_width x glyph_height bitmap.
MonoBitmap GlyphBitmap(BitmapFont font, uint8_t code);

}  // namespace lumigrid
