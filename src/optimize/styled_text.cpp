#include "optimize/styled_text.h"

#include "codegen/listing.h"

namespace lumigrid {

void StyledText::Append(std::string_view utf8, TextStyle style) {
  if (utf8.empty()) return;
  const size_t begin = text_.size();
  text_.append(utf8);
  if (!spans_.empty() && spans_.back().style == style) {
    spans_.back().end = text_.size();
  } else {
    spans_.push_back({begin, text_.size(), style});
  }
}

void StyledText::Append(const StyledText& other) {
  if (other.spans_.empty()) return;
  const size_t offset = text_.size();
  text_.append(other.text_);
  auto first = other.spans_.begin();
  if (!spans_.empty() && spans_.back().style == first->style) {
    spans_.back().end = offset + first->end;
    ++first;
  }
  for (auto it = first; it != other.spans_.end(); ++it) {
    spans_.push_back({offset + it->begin, offset + it->end, it->style});
  }
}

void StyledText::Clear() {
  text_.clear();
  spans_.clear();
}

void StyledText::Reserve(size_t bytes, size_t spans) {
  text_.reserve(bytes);
  spans_.reserve(spans);
}

std::string PlainTextFileBytes(const StyledText& text) {
  // The listing's file form is the same conversion: Windows-1251 with CR LF.
  return ListingFileBytes(text.Text()) + "\r\n";
}

}  // namespace lumigrid
