// Windows-1251, the code page of the saved listings, reports and the settings file.
//
// Rules:
// - Every byte 0x00..0x7F is ASCII and maps to itself both ways.
// - 0x98 has no character in Windows-1251. It decodes to U+0098, as Windows and web
//   browsers do, and U+0098 encodes back to 0x98, so every byte survives a read and a write.
// - A character the code page cannot hold becomes one "?" per code point (also a character
//   outside the Basic Multilingual Plane, which Windows would turn into two).
// - Malformed UTF-8 becomes one "?" per maximal ill-formed subsequence, the replacement
//   Unicode recommends: a lone continuation byte, an overlong form, an encoded surrogate, a
//   value above U+10FFFF or a sequence cut short each give one "?", and the byte that broke
//   a sequence starts over as a character of its own (so "\n" after a cut sequence stays).
#pragma once

#include <string>
#include <string_view>

namespace lumigrid {

// UTF-8 text to Windows-1251 bytes. Never fails; see the rules above.
std::string Utf8ToCp1251(std::string_view utf8);

// Windows-1251 bytes to UTF-8 text. Every byte has a character, so this never fails.
std::string Cp1251ToUtf8(std::string_view bytes);

// The Windows-1251 byte of one code point, or -1 when the code page has none.
int Cp1251Byte(char32_t code_point);

// The code point of the UTF-8 character at text[i]; moves i past it. Malformed input gives
// U+FFFD for each maximal ill-formed subsequence, as the rules above count them.
char32_t NextUtf8CodePoint(std::string_view text, size_t& i);

}  // namespace lumigrid
