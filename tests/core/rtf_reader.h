// A small RTF reader for the tests: it knows nothing of the writer, tokenises the document and
// rebuilds every character of the body with the colour and weight in force at it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/cp1251.h"
#include "optimize/styled_text.h"

namespace lumigrid::testing {

struct StyledChar {
  char32_t code_point = 0;
  Rgb colour;
  bool bold = false;
  friend bool operator==(const StyledChar&, const StyledChar&) = default;
};

struct RtfReadResult {
  std::vector<StyledChar> chars;
  std::vector<Rgb> colour_table;  // entry 0 is the automatic colour
  int code_page = 0;
  std::string error;  // empty when the document was well formed
};

// The characters of a styled text, each with its span's style.
inline std::vector<StyledChar> CharsOf(const StyledText& text) {
  std::vector<StyledChar> out;
  for (const StyledSpan& span : text.Spans()) {
    const std::string_view s = text.SpanText(span);
    for (size_t i = 0; i < s.size();) {
      out.push_back({NextUtf8CodePoint(s, i), span.style.colour, span.style.bold});
    }
  }
  return out;
}

inline RtfReadResult ReadRtf(std::string_view rtf) {
  struct GroupState {
    int colour = 0;
    bool bold = false;
    int uc = 1;
    bool skip = false;  // a destination whose text is not part of the body
    bool colour_table = false;
  };
  RtfReadResult result;
  std::vector<GroupState> stack;
  GroupState state;
  bool started = false;
  int fallback_left = 0;  // characters after \u that stand in for it
  char16_t high_surrogate = 0;
  Rgb pending_colour;

  auto push_char = [&](char32_t cp) {
    if (state.skip) return;
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      high_surrogate = static_cast<char16_t>(cp);
      return;
    }
    if (cp >= 0xDC00 && cp <= 0xDFFF && high_surrogate != 0) {
      cp = 0x10000 + ((high_surrogate - 0xD800) << 10) + (cp - 0xDC00);
    }
    high_surrogate = 0;
    Rgb colour;
    if (state.colour > 0 && state.colour < static_cast<int>(result.colour_table.size())) {
      colour = result.colour_table[state.colour];
    } else if (state.colour != 0) {
      result.error = "colour index outside the table";
    }
    result.chars.push_back({cp, colour, state.bold});
  };
  auto text_char = [&](char32_t cp) {
    if (fallback_left > 0) {
      --fallback_left;
      return;
    }
    if (state.colour_table) {
      if (cp == U';') {
        result.colour_table.push_back(pending_colour);
        pending_colour = {};
      }
      return;
    }
    push_char(cp);
  };

  size_t i = 0;
  while (i < rtf.size() && result.error.empty()) {
    const char c = rtf[i];
    if (c == '{') {
      if (!started && rtf.substr(i, 6) != "{\\rtf1") result.error = "no {\\rtf1 header";
      started = true;
      stack.push_back(state);
      ++i;
    } else if (c == '}') {
      if (stack.empty()) {
        result.error = "unbalanced }";
        break;
      }
      state = stack.back();
      stack.pop_back();
      ++i;
      if (stack.empty() && i < rtf.size() &&
          rtf.substr(i).find_first_not_of("\r\n") != std::string_view::npos) {
        result.error = "text after the document";
      }
    } else if (c == '\r' || c == '\n') {
      ++i;
    } else if (c != '\\') {
      const std::string utf8 = Cp1251ToUtf8(rtf.substr(i, 1));
      size_t at = 0;
      text_char(NextUtf8CodePoint(utf8, at));
      ++i;
    } else if (i + 1 >= rtf.size()) {
      result.error = "backslash at the end";
    } else {
      const char next = rtf[i + 1];
      if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
        size_t j = i + 1;
        while (j < rtf.size() &&
               ((rtf[j] >= 'a' && rtf[j] <= 'z') || (rtf[j] >= 'A' && rtf[j] <= 'Z'))) {
          ++j;
        }
        const std::string word(rtf.substr(i + 1, j - i - 1));
        std::optional<long> param;
        size_t k = j;
        if (k < rtf.size() && rtf[k] == '-') ++k;
        if (k < rtf.size() && rtf[k] >= '0' && rtf[k] <= '9') {
          while (k < rtf.size() && rtf[k] >= '0' && rtf[k] <= '9') ++k;
          param = std::stol(std::string(rtf.substr(j, k - j)));
          j = k;
        }
        if (j < rtf.size() && rtf[j] == ' ') ++j;  // the delimiter belongs to the word
        i = j;
        const long p = param.value_or(1);
        if (word == "par") {
          text_char(U'\n');
        } else if (word == "tab") {
          text_char(U'\t');
        } else if (word == "cf") {
          state.colour = static_cast<int>(p);
        } else if (word == "b") {
          state.bold = p != 0;
        } else if (word == "plain") {
          state.bold = false;
          state.colour = 0;
        } else if (word == "uc") {
          state.uc = static_cast<int>(p);
        } else if (word == "u") {
          const char32_t unit = static_cast<char32_t>(p < 0 ? p + 65536 : p);
          fallback_left = 0;
          text_char(unit);
          fallback_left = state.uc;
        } else if (word == "ansicpg") {
          result.code_page = static_cast<int>(p);
        } else if (word == "colortbl") {
          state.colour_table = true;
        } else if (word == "fonttbl" || word == "stylesheet" || word == "info") {
          state.skip = true;
        } else if (state.colour_table && word == "red") {
          pending_colour.r = static_cast<uint8_t>(p);
        } else if (state.colour_table && word == "green") {
          pending_colour.g = static_cast<uint8_t>(p);
        } else if (state.colour_table && word == "blue") {
          pending_colour.b = static_cast<uint8_t>(p);
        }
      } else if (next == '\'') {
        const std::string hex(rtf.substr(i + 2, 2));
        if (hex.size() != 2 ||
            hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
          result.error = "bad \\' escape";
          break;
        }
        const char byte = static_cast<char>(std::stoi(hex, nullptr, 16));
        const std::string utf8 = Cp1251ToUtf8(std::string_view(&byte, 1));
        size_t at = 0;
        text_char(NextUtf8CodePoint(utf8, at));
        i += 4;
      } else if (next == '*') {
        state.skip = true;
        i += 2;
      } else {
        text_char(static_cast<unsigned char>(next));  // \\ \{ \} and other symbols
        i += 2;
      }
    }
  }
  if (result.error.empty() && !stack.empty()) result.error = "unclosed group";
  if (result.error.empty() && !started) result.error = "empty document";
  return result;
}

}  // namespace lumigrid::testing
