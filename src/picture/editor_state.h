// Everything the user works on: the ten picture buffers and the editor's shared state.
// Owned by the main window and passed by reference; there are no globals.
#pragma once

#include <array>
#include <string>

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
  void MarkClean(int b) { Buffer(b).SetModified(false); }
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

  RecentFiles& Recent() { return recent_files_; }
  const RecentFiles& Recent() const { return recent_files_; }

 private:
  std::array<PictureBuffer, kBufferCount> buffers_;
  std::array<ListingOptions, kBufferCount> conversion_options_;
  mutable PictureBuffer spare_buffer_;
  mutable ListingOptions spare_options_;
  int current_buffer_ = 1;
  int selected_cell_ = kNoCell;
  CellBytes cell_clipboard_{};
  int work_mode_ = kFirstWorkMode;
  RecentFiles recent_files_;
};

}  // namespace lumigrid
