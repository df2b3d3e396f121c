#include "optimize/rtf_writer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "files/cp1251.h"

namespace lumigrid {

namespace {

// Cyrillic text in an 8-point sans-serif face, as the report view shows it.
constexpr std::string_view kHeader =
    "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
    "{\\fonttbl{\\f0\\fswiss\\fcharset204 MS Sans Serif;}}\r\n";
constexpr std::string_view kBodyStart = "\\viewkind4\\uc1\\pard\\f0\\fs16";
constexpr int kNoByte = -1;
constexpr int kUndefinedByte = 0x98;  // no character in Windows-1251

void AppendUnicode(std::string& out, char32_t cp) {
  auto unit = [&out](uint32_t u) {
    // RTF takes \u as a signed 16-bit number; "?" is what older readers show instead.
    out += "\\u";
    out += std::to_string(static_cast<int16_t>(static_cast<uint16_t>(u)));
    out += '?';
  };
  if (cp > 0xFFFF) {
    const uint32_t v = cp - 0x10000;
    unit(0xD800 + (v >> 10));
    unit(0xDC00 + (v & 0x3FF));
  } else {
    unit(cp);
  }
}

void AppendEscaped(std::string& out, std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  size_t i = 0;
  while (i < utf8.size()) {
    const char32_t cp = NextUtf8CodePoint(utf8, i);
    switch (cp) {
      case U'\n':
        out += "\\par\r\n";
        continue;
      case U'\t':
        out += "\\tab ";
        continue;
      case U'\\':
      case U'{':
      case U'}':
        out += '\\';
        out += static_cast<char>(cp);
        continue;
      default:
        break;
    }
    if (cp >= 0x20 && cp < 0x7F) {
      out += static_cast<char>(cp);
      continue;
    }
    const int byte = cp >= 0x80 ? Cp1251Byte(cp) : kNoByte;
    if (byte >= 0x80 && byte != kUndefinedByte) {
      out += "\\'";
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      AppendUnicode(out, cp);
    }
  }
}

}  // namespace

std::string WriteRtf(const StyledText& text) {
  std::vector<Rgb> colours;
  std::vector<int> colour_index;  // of each span, 1-based into the table
  colour_index.reserve(text.Spans().size());
  for (const StyledSpan& span : text.Spans()) {
    auto it = std::find(colours.begin(), colours.end(), span.style.colour);
    if (it == colours.end()) it = colours.insert(colours.end(), span.style.colour);
    colour_index.push_back(static_cast<int>(it - colours.begin()) + 1);
  }

  std::string out;
  out.reserve(text.Text().size() + text.Text().size() / 2 + 16 * text.Spans().size() + 512);
  out += kHeader;
  // Entry 0 is the reader's automatic colour; the text never uses it.
  out += "{\\colortbl ;";
  for (const Rgb& c : colours) {
    out += "\\red" + std::to_string(c.r) + "\\green" + std::to_string(c.g) + "\\blue" +
           std::to_string(c.b) + ";";
  }
  out += "}\r\n";
  out += kBodyStart;

  int colour = 0;
  bool bold = false;
  bool pending_delimiter = true;  // the last thing written is a control word
  for (size_t s = 0; s < text.Spans().size(); ++s) {
    const StyledSpan& span = text.Spans()[s];
    if (colour_index[s] != colour) {
      colour = colour_index[s];
      out += "\\cf" + std::to_string(colour);
      pending_delimiter = true;
    }
    if (span.style.bold != bold) {
      bold = span.style.bold;
      out += bold ? "\\b" : "\\b0";
      pending_delimiter = true;
    }
    if (pending_delimiter) out += ' ';
    pending_delimiter = false;
    AppendEscaped(out, text.SpanText(span));
  }
  out += "}\r\n";
  return out;
}

}  // namespace lumigrid
