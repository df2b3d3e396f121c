// Windows-1251 conversion against a model built from the decoder's own table: every byte
// string survives decode + encode; valid UTF-8 encodes character by character ("?" where the
// code page has no such character); any input encodes to no more bytes than it has.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/cp1251.h"
#include "fuzz_support.h"

namespace {

using lumigrid::fuzz::Check;

// Code points of well-formed UTF-8 (shortest forms, no surrogates, up to U+10FFFF).
std::optional<std::vector<char32_t>> DecodeUtf8(std::string_view text) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < text.size();) {
    const auto b0 = static_cast<uint8_t>(text[i]);
    int length = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
      length = 1, cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
      length = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      length = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      length = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + static_cast<size_t>(length) > text.size()) return std::nullopt;
    for (int k = 1; k < length; ++k) {
      const auto b = static_cast<uint8_t>(text[i + static_cast<size_t>(k)]);
      if ((b & 0xC0) != 0x80) return std::nullopt;
      cp = cp << 6 | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    out.push_back(cp);
    i += static_cast<size_t>(length);
  }
  return out;
}

// Code point -> byte, read off the decoder one byte at a time.
const std::map<char32_t, char>& EncodeTable() {
  static const std::map<char32_t, char> table = [] {
    std::map<char32_t, char> t;
    for (int b = 0; b < 256; ++b) {
      const std::string one(1, static_cast<char>(b));
      const auto cps = DecodeUtf8(lumigrid::Cp1251ToUtf8(one));
      Check(cps && cps->size() == 1, "every byte decodes to one character");
      Check(t.emplace(cps->front(), static_cast<char>(b)).second, "no two bytes share one");
    }
    return t;
  }();
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // As Windows-1251 bytes.
  const std::string utf8 = lumigrid::Cp1251ToUtf8(input);
  Check(DecodeUtf8(utf8).has_value(), "decoding gives well-formed UTF-8");
  Check(lumigrid::Utf8ToCp1251(utf8) == input, "every byte string survives decode + encode");

  // As UTF-8 text.
  const std::string encoded = lumigrid::Utf8ToCp1251(input);
  Check(encoded.size() <= input.size(), "encoding never grows the text");
  if (const auto cps = DecodeUtf8(input)) {
    std::string expected;
    for (char32_t cp : *cps) {
      const auto it = EncodeTable().find(cp);
      expected.push_back(it == EncodeTable().end() ? '?' : it->second);
    }
    Check(encoded == expected, "valid UTF-8 encodes character by character");
  } else {
    Check(!encoded.empty() && encoded.find('?') != std::string::npos,
          "malformed UTF-8 leaves a \"?\"");
  }
  return 0;
}
