#include "codegen/picture_text.h"

#include "codegen/listing.h"

namespace lumigrid {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string PictureHexText(const PictureBytes& bytes) {
  std::string text;
  text.reserve(kCellCount * (kCellValuesLength + 1));
  for (int c = 1; c <= kCellCount; ++c) {
    AppendCellValues(text, bytes, c);
    text.push_back('\n');
  }
  return text;
}

std::optional<PictureBytes> ParsePictureHexText(std::string_view text) {
  PictureBytes bytes{};
  size_t at = 0;
  const auto skip_blanks = [&] {
    while (at < text.size() && IsBlank(text[at])) ++at;
  };
  skip_blanks();
  for (size_t n = 0; n < bytes.size(); ++n) {
    if (n > 0) {
      // Between two values: blanks, at most one comma, blanks; something at least.
      const size_t before = at;
      skip_blanks();
      if (at < text.size() && text[at] == ',') ++at;
      skip_blanks();
      if (at == before) return std::nullopt;
    }
    if (text.size() - at < 4 || text[at] != '0' || (text[at + 1] != 'x' && text[at + 1] != 'X')) {
      return std::nullopt;
    }
    const int high = HexDigit(text[at + 2]);
    const int low = HexDigit(text[at + 3]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[n] = static_cast<uint8_t>(high * 16 + low);
    at += 4;
  }
  skip_blanks();
  if (at != text.size()) return std::nullopt;
  return bytes;
}

}  // namespace lumigrid
