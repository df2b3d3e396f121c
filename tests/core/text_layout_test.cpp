#include "edit/text_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/cp1251.h"

namespace lumigrid {
namespace {

std::string FontName(BitmapFont font) { return font == BitmapFont::k5x7 ? "5x7" : "8x8"; }

bool TakesRoom(int code) {
  return (code >= 0x20 && code <= 0x7E) || (code >= 0x80 && code != 0x98 && code != 0xAD);
}

// Rows holding ink, or {-1, -1} for an empty glyph.
std::pair<int, int> InkRows(BitmapFont font, int code) {
  const MonoBitmap glyph = GlyphBitmap(font, static_cast<uint8_t>(code));
  int top = -1, bottom = -1;
  for (int y = 0; y < glyph.Height(); ++y) {
    for (int x = 0; x < glyph.Width(); ++x) {
      if (!glyph.Get(x, y)) continue;
      if (top < 0) top = y;
      bottom = y;
    }
  }
  return {top, bottom};
}

TEST(BitmapFonts, EveryCharacterThatTakesRoomHasAGlyphAndOnlyTheSpacesAreBlank) {
  for (BitmapFont font : kBitmapFonts) {
    const BitmapFontMetrics m = FontMetrics(font);
    for (int code = 0; code <= 0xFF; ++code) {
      const MonoBitmap glyph = GlyphBitmap(font, static_cast<uint8_t>(code));
      ASSERT_EQ(glyph.Width(), m.glyph_width);
      ASSERT_EQ(glyph.Height(), m.glyph_height);
      EXPECT_EQ(PrintsInBitmapFont(static_cast<uint8_t>(code)), TakesRoom(code)) << code;
      const bool blank = code == 0x20 || code == 0xA0 || !TakesRoom(code);
      EXPECT_EQ(glyph.LitCount() == 0, blank) << FontName(font) << " byte " << code;
    }
  }
}

TEST(BitmapFonts, CellsAndSpacing) {
  EXPECT_EQ(FontMetrics(BitmapFont::k5x7).glyph_width, 5);
  EXPECT_EQ(FontMetrics(BitmapFont::k5x7).glyph_height, 7);
  EXPECT_EQ(FontMetrics(BitmapFont::k5x7).advance, 6);
  EXPECT_EQ(FontMetrics(BitmapFont::k8x8).glyph_width, 8);
  EXPECT_EQ(FontMetrics(BitmapFont::k8x8).glyph_height, 8);
  // The 8 x 8 cell holds its own gap: nothing in its last column.
  for (int code = 0x20; code <= 0xFF; ++code) {
    for (int y = 0; y < 8; ++y) EXPECT_FALSE(GlyphPixel(BitmapFont::k8x8, code, 7, y)) << code;
  }
}

// Letters drawn to one height: capitals without accent or tail fill rows 0..6, small letters
// without ascender or descender rows 2..6.
TEST(BitmapFonts, CapitalsAndSmallLettersShareTheirHeights) {
  const std::string capitals = "ABCEFHIKLMNOPRSTUVWXZ0123456789БВГЕЖЗИКЛМНОПРСТУФХЧШЪЫЬЭЮЯ";
  const std::string smalls = "acemnorsuvwxzвгежзиклмнопстхшъыьэюя";
  for (BitmapFont font : kBitmapFonts) {
    for (const char c : Utf8ToCp1251(capitals)) {
      EXPECT_EQ(InkRows(font, static_cast<uint8_t>(c)), std::pair(0, 6))
          << FontName(font) << " capital " << Cp1251ToUtf8(std::string(1, c));
    }
    for (const char c : Utf8ToCp1251(smalls)) {
      EXPECT_EQ(InkRows(font, static_cast<uint8_t>(c)), std::pair(2, 6))
          << FontName(font) << " small " << Cp1251ToUtf8(std::string(1, c));
    }
  }
}

// Oracle: glyph (line, column) of the given bytes placed cell by cell.
MonoBitmap LaidOutByOracle(BitmapFont font, const std::vector<std::string>& lines) {
  const BitmapFontMetrics m = FontMetrics(font);
  size_t longest = 0;
  for (const auto& line : lines) longest = std::max(longest, line.size());
  if (longest == 0) return {};
  MonoBitmap text(static_cast<int>(longest) * m.advance - (m.advance - m.glyph_width),
                  static_cast<int>(lines.size()) * m.line_pitch - (m.line_pitch - m.glyph_height));
  for (size_t l = 0; l < lines.size(); ++l) {
    for (size_t i = 0; i < lines[l].size(); ++i) {
      const MonoBitmap glyph = GlyphBitmap(font, static_cast<uint8_t>(lines[l][i]));
      for (int y = 0; y < glyph.Height(); ++y) {
        for (int x = 0; x < glyph.Width(); ++x) {
          if (glyph.Get(x, y)) text.Set(static_cast<int>(i) * m.advance + x, l * m.line_pitch + y);
        }
      }
    }
  }
  return text;
}

struct LayoutCase {
  const char* utf8;
  std::vector<std::string> cells;  // Windows-1251 bytes of each line
};

TEST(LayoutText, PlacesEachCharactersGlyphInItsCell) {
  const LayoutCase cases[] = {
      {"A", {"A"}},
      {"Hi\nthere", {"Hi", "there"}},
      {"Яя Ёё", {"\xDF\xFF \xA8\xB8"}},
      {"Щука\n\n  №5",
       {"\xD9\xF3\xEA\xE0", "",
        "  \xB9"
        "5"}},
      {"Їжак ґ € «»", {"\xAF\xE6\xE0\xEA \xB4 \x88 \xAB\xBB"}},
      {"\nниз\n", {"", "\xED\xE8\xE7", ""}},
      // Outside the code page and malformed: "?". Controls, U+0098 and the soft hyphen: nothing.
      {"日x\xFF", {"?x?"}},
      {"a\r\nb\tc\x01", {"a", "bc"}},
      {"do\xC2\xADne\xC2\x98!", {"done!"}},
      {"\xC2\xA0", {"\xA0"}},
  };
  for (BitmapFont font : kBitmapFonts) {
    for (const LayoutCase& c : cases) {
      EXPECT_EQ(LayoutText(font, c.utf8), LaidOutByOracle(font, c.cells))
          << FontName(font) << " \"" << c.utf8 << "\"";
    }
  }
}

TEST(LayoutText, SizeFollowsTheLongestLineAndTheLineCount) {
  EXPECT_EQ(LayoutText(BitmapFont::k5x7, "ab\nabcd").Width(), 4 * 6 - 1);
  EXPECT_EQ(LayoutText(BitmapFont::k5x7, "ab\nabcd").Height(), 8 + 7);
  EXPECT_EQ(LayoutText(BitmapFont::k8x8, "abc\n\nx").Width(), 3 * 8);
  EXPECT_EQ(LayoutText(BitmapFont::k8x8, "abc\n\nx").Height(), 3 * 8);
  for (const char* nothing : {"", "\n", "\n\n\n", "\r\t", "\xC2\xAD"}) {
    EXPECT_TRUE(LayoutText(BitmapFont::k5x7, nothing).Empty()) << nothing;
  }
}

TEST(LayoutText, AHugeTextIsCutToTheLargestBitmap) {
  const std::string wide(100'000, 'W');
  const MonoBitmap line = LayoutText(BitmapFont::k5x7, wide);
  EXPECT_EQ(line.Width(), kMaxTextBitmapSide);
  EXPECT_EQ(line.Height(), 7);
  std::string tall;
  for (int i = 0; i < 50'000; ++i) tall += "Ж\n";
  const MonoBitmap column = LayoutText(BitmapFont::k8x8, tall);
  EXPECT_EQ(column.Height(), kMaxTextBitmapSide);
  EXPECT_EQ(column.Width(), 8);
  // What is kept is laid out as usual.
  const MonoBitmap first = LayoutText(BitmapFont::k8x8, "Ж");
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(column.Get(x, y + 8 * 255), first.Get(x, y));
    }
  }
}

}  // namespace
}  // namespace lumigrid
