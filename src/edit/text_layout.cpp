#include "edit/text_layout.h"

#include <algorithm>
#include <string>
#include <vector>

#include "files/cp1251.h"

namespace lumigrid {

MonoBitmap LayoutText(BitmapFont font, std::string_view utf8) {
  const BitmapFontMetrics m = FontMetrics(font);
  // Characters and lines that start inside the largest bitmap.
  const size_t max_columns = (kMaxTextBitmapSide - 1) / m.advance + 1;
  const size_t max_lines = (kMaxTextBitmapSide - 1) / m.line_pitch + 1;

  // Lines of the Windows-1251 bytes that take room.
  std::vector<std::string> lines(1);
  for (const char c : Utf8ToCp1251(utf8)) {
    const auto code = static_cast<uint8_t>(c);
    if (code == '\n') {
      if (lines.size() == max_lines) break;
      lines.emplace_back();
    } else if (PrintsInBitmapFont(code) && lines.back().size() < max_columns) {
      lines.back().push_back(c);
    }
  }
  size_t longest = 0;
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  if (longest == 0) return {};

  const auto count = static_cast<int>(lines.size());
  MonoBitmap text(
      std::min(static_cast<int>(longest - 1) * m.advance + m.glyph_width, kMaxTextBitmapSide),
      std::min((count - 1) * m.line_pitch + m.glyph_height, kMaxTextBitmapSide));
  for (int line = 0; line < count; ++line) {
    const int top = line * m.line_pitch;
    for (size_t i = 0; i < lines[line].size(); ++i) {
      const auto code = static_cast<uint8_t>(lines[line][i]);
      const int left = static_cast<int>(i) * m.advance;
      for (int y = 0; y < m.glyph_height; ++y) {
        for (int x = 0; x < m.glyph_width; ++x) {
          if (GlyphPixel(font, code, x, y)) text.Set(left + x, top + y);
        }
      }
    }
  }
  return text;
}

}  // namespace lumigrid
