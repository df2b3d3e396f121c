#include "picture/editor_state.h"

namespace lumigrid {

PictureBuffer& EditorState::Buffer(int b) {
  if (IsValidBuffer(b)) return buffers_[b - 1];
  spare_buffer_ = PictureBuffer();
  return spare_buffer_;
}

const PictureBuffer& EditorState::Buffer(int b) const {
  return const_cast<EditorState*>(this)->Buffer(b);
}

void EditorState::SetCurrentBuffer(int b) {
  if (IsValidBuffer(b)) current_buffer_ = b;
}

ListingOptions& EditorState::ConversionOptions(int b) {
  if (IsValidBuffer(b)) return conversion_options_[b - 1];
  spare_options_ = ListingOptions();
  return spare_options_;
}

const ListingOptions& EditorState::ConversionOptions(int b) const {
  return const_cast<EditorState*>(this)->ConversionOptions(b);
}

void EditorState::SetAllConversionOptions(const ListingOptions& options) {
  conversion_options_.fill(options);
}

}  // namespace lumigrid
