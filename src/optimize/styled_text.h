// Text with colour and bold, as one string and the spans that style it. The report views,
// the RTF and the plain-text files are all made from one such text, so they cannot disagree.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "picture/rgb.h"

namespace lumigrid {

struct TextStyle {
  Rgb colour;  // black is the views' default
  bool bold = false;
  friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// One styled stretch of the text, in bytes of its UTF-8.
struct StyledSpan {
  size_t begin = 0;
  size_t end = 0;
  TextStyle style;
};

class StyledText {
 public:
  // Appends text in one style; joins the last span when the style is the same.
  void Append(std::string_view utf8, TextStyle style = {});
  // Appends another styled text whole.
  void Append(const StyledText& other);
  void Clear();
  void Reserve(size_t bytes, size_t spans);

  // The whole text, UTF-8, lines ended by "\n".
  const std::string& Text() const { return text_; }
  // Spans in order, together covering the whole text, none empty.
  const std::vector<StyledSpan>& Spans() const { return spans_; }
  std::string_view SpanText(const StyledSpan& span) const {
    return std::string_view(text_).substr(span.begin, span.end - span.begin);
  }

 private:
  std::string text_;
  std::vector<StyledSpan> spans_;
};

// The plain-text file form: Windows-1251, CR LF line ends, and one more CR LF at the end.
std::string PlainTextFileBytes(const StyledText& text);

}  // namespace lumigrid
