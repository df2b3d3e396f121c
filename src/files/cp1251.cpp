#include "files/cp1251.h"

#include <array>
#include <cstdint>

namespace lumigrid {
namespace {

// Code points of bytes 0x80..0xBF. 0xC0..0xFF are А..я, U+0410..U+044F, in order.
constexpr std::array<char16_t, 64> kHighTable = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80 Ђ Ѓ ‚ ѓ „ … † ‡
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88 € ‰ Љ ‹ Њ Ќ Ћ Џ
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90 ђ ‘ ’ “ ” • – —
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98 (none) ™ љ › њ ќ ћ џ
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0 nbsp Ў ў Ј ¤ Ґ ¦ §
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8 Ё © Є « ¬ shy ® Ї
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0 ° ± І і ґ µ ¶ ·
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8 ё № є » ј Ѕ ѕ ї
};

constexpr char32_t kCyrillicA = 0x0410;   // А, byte 0xC0
constexpr char32_t kCyrillicYa = 0x044F;  // я, byte 0xFF
constexpr char32_t kMalformed = 0xFFFFFFFF;
constexpr char kUnmappable = '?';

char32_t ByteToCodePoint(uint8_t b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return kCyrillicA + (b - 0xC0);
  return kHighTable[b - 0x80];
}

// The byte of code point cp, or '?' when Windows-1251 has none.
char CodePointToByte(char32_t cp) {
  if (cp < 0x80) return static_cast<char>(cp);
  if (cp >= kCyrillicA && cp <= kCyrillicYa) return static_cast<char>(0xC0 + (cp - kCyrillicA));
  for (size_t i = 0; i < kHighTable.size(); ++i) {
    if (kHighTable[i] == cp) return static_cast<char>(0x80 + i);
  }
  return kUnmappable;
}

// Decodes the sequence at s[i]. Sets `length` to the bytes taken: the whole character, or
// the maximal ill-formed subsequence when kMalformed is returned.
char32_t DecodeUtf8(std::string_view s, size_t i, size_t& length) {
  const auto lead = static_cast<uint8_t>(s[i]);
  length = 1;
  if (lead < 0x80) return lead;
  int trail = 0;
  char32_t cp = 0;
  uint8_t low = 0x80, high = 0xBF;  // allowed range of the next byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    trail = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trail = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trail = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return kMalformed;  // continuation byte, C0/C1 overlong lead, F5..FF
  }
  for (int n = 0; n < trail; ++n) {
    if (i + length >= s.size()) return kMalformed;
    const auto b = static_cast<uint8_t>(s[i + length]);
    if (b < low || b > high) return kMalformed;
    cp = (cp << 6) | (b & 0x3F);
    ++length;
    low = 0x80;
    high = 0xBF;
  }
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {  // the table holds nothing above the BMP
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    // Runs of ASCII, most of a listing, are copied whole.
    size_t end = i;
    while (end < utf8.size() && static_cast<uint8_t>(utf8[end]) < 0x80) ++end;
    out.append(utf8.substr(i, end - i));
    i = end;
    if (i == utf8.size()) break;
    size_t length = 0;
    const char32_t cp = DecodeUtf8(utf8, i, length);
    out.push_back(cp == kMalformed ? kUnmappable : CodePointToByte(cp));
    i += length;
  }
  return out;
}

int Cp1251Byte(char32_t code_point) {
  const char byte = CodePointToByte(code_point);
  if (byte == kUnmappable && code_point != U'?') return -1;
  return static_cast<uint8_t>(byte);
}

char32_t NextUtf8CodePoint(std::string_view text, size_t& i) {
  size_t length = 0;
  const char32_t cp = DecodeUtf8(text, i, length);
  i += length;
  return cp == kMalformed ? U'\uFFFD' : cp;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) AppendUtf8(out, ByteToCodePoint(static_cast<uint8_t>(c)));
  return out;
}

}  // namespace lumigrid
