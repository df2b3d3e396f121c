// Styled runs from arbitrary bytes, written as RTF and read back: every character must keep
// its text, colour and weight.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../core/rtf_reader.h"
#include "optimize/rtf_writer.h"
#include "optimize/styled_text.h"

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Input layout, repeated: a style byte (colour index in the low bits, bold in the top bit), a
// length byte, then that many characters: a byte below 0x80 is itself, a byte from 0x80 takes
// the next two bytes and makes a code point of them (Cyrillic, symbols, or beyond the BMP).
lumigrid::StyledText RunsFrom(const uint8_t* data, size_t size) {
  static constexpr lumigrid::Rgb kColours[] = {{0, 0, 0},    {254, 0, 0}, {1, 87, 175},
                                               {188, 2, 67}, {0, 100, 0}, {255, 255, 255},
                                               {0, 0, 1},    {76, 2, 179}};
  lumigrid::StyledText text;
  size_t i = 0;
  while (i + 2 <= size) {
    const lumigrid::TextStyle style{kColours[data[i] & 7], (data[i] & 0x80) != 0};
    const size_t length = data[i + 1] & 0x1F;
    i += 2;
    std::string part;
    for (size_t n = 0; n < length && i < size; ++n) {
      const uint8_t b = data[i++];
      if (b < 0x80) {
        AppendUtf8(part, b);
        continue;
      }
      if (i + 2 > size) break;
      char32_t cp = (static_cast<char32_t>(b & 0x1F) << 16) | (data[i] << 8) | data[i + 1];
      i += 2;
      if (b & 0x20) cp = 0x400 + (cp & 0xFF);  // mostly Cyrillic
      if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
      AppendUtf8(part, cp);
    }
    text.Append(part, style);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const lumigrid::StyledText text = RunsFrom(data, size);
  const std::string rtf = lumigrid::WriteRtf(text);
  const lumigrid::testing::RtfReadResult read = lumigrid::testing::ReadRtf(rtf);
  if (!read.error.empty() || read.code_page != 1251) __builtin_trap();
  if (read.chars != lumigrid::testing::CharsOf(text)) __builtin_trap();
  for (const char c : rtf) {
    if (static_cast<unsigned char>(c) >= 0x80) __builtin_trap();
  }
  return 0;
}
