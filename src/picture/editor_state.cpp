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

void EditorState::MarkClean(int b) {
  Buffer(b).SetModified(false);
  if (!IsValidBuffer(b)) return;
  clean_content_[b - 1] = Buffer(b).Bytes();
  // The saved content stays a point the history can return to.
  histories_[b - 1].Record(PictureHistory::kUnnamedStep, Buffer(b).Bytes());
}

const PictureHistory& EditorState::History(int b) const {
  static const PictureHistory kNone;
  return IsValidBuffer(b) ? histories_[b - 1] : kNone;
}

void EditorState::RecordEdit(int b, std::string label) {
  if (IsValidBuffer(b)) histories_[b - 1].Record(std::move(label), Buffer(b).Bytes());
}

void EditorState::StartHistoryAfresh(int b) {
  if (IsValidBuffer(b)) histories_[b - 1].Reset(Buffer(b).Bytes());
}

bool EditorState::UndoEdit(int b) {
  if (!IsValidBuffer(b)) return false;
  PictureBuffer& buffer = Buffer(b);
  const std::optional<PictureBytes> restored = histories_[b - 1].Undo(buffer.Bytes());
  if (!restored) return false;
  buffer.Bytes() = *restored;
  buffer.SetModified(*restored != clean_content_[b - 1]);
  return true;
}

bool EditorState::RedoEdit(int b) {
  if (!IsValidBuffer(b)) return false;
  PictureBuffer& buffer = Buffer(b);
  const std::optional<PictureBytes> restored = histories_[b - 1].Redo(buffer.Bytes());
  if (!restored) return false;
  buffer.Bytes() = *restored;
  buffer.SetModified(*restored != clean_content_[b - 1]);
  return true;
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
