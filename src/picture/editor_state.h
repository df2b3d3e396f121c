// Everything the user works on: the ten picture buffers and the editor's shared state.
// Owned by the main window and passed by reference; there are no globals.
#pragma once

#include <array>
#include <string>

#include "edit/history.h"
#include "picture/listing_options.h"
#include "picture/picture_buffer.h"
#include "picture/recent_files.h"

namespace lumigrid {

constexpr int kNoCell = 0;
constexpr int kFirstWorkMode = 1;  // editing
constexpr int kOptimizeWorkMode = 4;
// The identical-byte scan always writes its skip map into this buffer.
constexpr int kSkipMapBuffer = 10;
constexpr int kLastWorkMode = 5;

class EditorState {
 public:
  // Buffer b (1..10). Any other number (0 is "none" in the panels' buffer lists) gives a spare
  // buffer that is never shown or saved: it reads blank, and what is written to it is gone at
  // the next access. Buffer 1 is never touched by mistake.
  PictureBuffer& Buffer(int b);
  const PictureBuffer& Buffer(int b) const;

  uint8_t Buffer(int b, int c, int k) const { return Buffer(b).Byte(c, k); }

  bool BufferModified(int b) const { return Buffer(b).Modified(); }
  void MarkModified(int b) { Buffer(b).SetModified(true); }
  // Clears the modified flag; the content at this moment is what undo and redo compare with
  // to tell whether the buffer is modified again.
  void MarkClean(int b);
  const std::string& BufferFileName(int b) const { return Buffer(b).FileName(); }
  void SetBufferFileName(int b, std::string path) { Buffer(b).SetFileName(std::move(path)); }

  int CurrentBuffer() const { return current_buffer_; }
  void SetCurrentBuffer(int b);
  PictureBuffer& Current() { return Buffer(current_buffer_); }
  const PictureBuffer& Current() const { return Buffer(current_buffer_); }

  // The cell open in the enlarged view, or kNoCell.
  int SelectedCell() const { return selected_cell_; }
  void SetSelectedCell(int c) { selected_cell_ = IsValidCell(c) ? c : kNoCell; }

  CellBytes& CellClipboard() { return cell_clipboard_; }
  const CellBytes& CellClipboard() const { return cell_clipboard_; }

  int WorkMode() const { return work_mode_; }
  void SetWorkMode(int mode) { work_mode_ = mode; }

  // Options of buffer b; a spare default set for any other number, as with Buffer().
  ListingOptions& ConversionOptions(int b);
  const ListingOptions& ConversionOptions(int b) const;
  // Gives every buffer the same options (at start, from the stored panel state).
  void SetAllConversionOptions(const ListingOptions& options);

  // Undo and redo, one history per buffer.
  const PictureHistory& History(int b) const;
  // Records the change of buffer b since its last step as one step named `label`.
  void RecordEdit(int b, std::string label);
  // Buffer b's content now belongs to a file it was opened from or saved to under a new name:
  // no step may take it back to content that did not come from there.
  void StartHistoryAfresh(int b);
  // Takes back or redoes one step of buffer b. Returning to the content last saved or opened
  // clears the modified flag; any other content sets it. False when there was nothing to do.
  bool UndoEdit(int b);
  bool RedoEdit(int b);

  RecentFiles& Recent() { return recent_files_; }
  const RecentFiles& Recent() const { return recent_files_; }

 private:
  std::array<PictureBuffer, kBufferCount> buffers_;
  std::array<ListingOptions, kBufferCount> conversion_options_;
  std::array<PictureHistory, kBufferCount> histories_;
  std::array<PictureBytes, kBufferCount> clean_content_{};  // as last saved or opened
  mutable PictureBuffer spare_buffer_;
  mutable ListingOptions spare_options_;
  int current_buffer_ = 1;
  int selected_cell_ = kNoCell;
  CellBytes cell_clipboard_{};
  int work_mode_ = kFirstWorkMode;
  RecentFiles recent_files_;
};

}  // namespace lumigrid
