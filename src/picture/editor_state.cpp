#include "picture/editor_state.h"

namespace lumigrid {

PictureBuffer& EditorState::Buffer(int b) { return buffers_[Index(b)]; }
const PictureBuffer& EditorState::Buffer(int b) const { return buffers_[Index(b)]; }

void EditorState::SetCurrentBuffer(int b) {
  if (IsValidBuffer(b)) current_buffer_ = b;
}

ListingOptions& EditorState::ConversionOptions(int b) { return conversion_options_[Index(b)]; }
const ListingOptions& EditorState::ConversionOptions(int b) const {
  return conversion_options_[Index(b)];
}

void EditorState::SetAllConversionOptions(const ListingOptions& options) {
  conversion_options_.fill(options);
}

}  // namespace lumigrid
