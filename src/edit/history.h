// Undo and redo of one picture buffer. Each step is one user action and keeps the whole
// picture before and after it (2 KiB), so a buffer's history never holds more than
// kMaxSteps x 2 KiB plus the step names: about 5 MiB for all ten buffers.
//
// The history also remembers the content last known to it: a change made since then that
// nobody recorded is not lost, it becomes a step of its own before the next one.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "picture/picture_buffer.h"

namespace lumigrid {

class PictureHistory {
 public:
  static constexpr int kMaxSteps = 256;
  // Name of a change that was made without being recorded.
  static constexpr const char* kUnnamedStep = "изменение";

  // Forgets every step; `content` is where the buffer starts from.
  void Reset(const PictureBytes& content);

  // Records the change from the last known content to `now` as one step named `label` (a noun
  // in lower case: "линия"). Nothing is recorded when the content has not changed. The redo
  // steps are dropped; beyond kMaxSteps the oldest step goes.
  void Record(std::string label, const PictureBytes& now);

  bool CanUndo(const PictureBytes& now) const;
  bool CanRedo(const PictureBytes& now) const;
  // Name of the step Undo / Redo would take; empty when there is none.
  std::string UndoLabel(const PictureBytes& now) const;
  std::string RedoLabel(const PictureBytes& now) const;

  // The content before the last step, which becomes a redo step. An unrecorded change of
  // `now` is recorded first, so it is that change that is taken back.
  std::optional<PictureBytes> Undo(const PictureBytes& now);
  // The content after the next redo step. Nothing when `now` has changed since the undo.
  std::optional<PictureBytes> Redo(const PictureBytes& now);

  int UndoCount() const { return static_cast<int>(done_); }
  int RedoCount() const { return static_cast<int>(steps_.size() - done_); }
  // Memory the steps hold, in bytes.
  std::size_t MemoryBytes() const;

 private:
  struct Step {
    std::string label;
    PictureBytes before;
    PictureBytes after;
  };

  bool Unrecorded(const PictureBytes& now) const { return now != known_; }

  std::deque<Step> steps_;
  std::size_t done_ = 0;  // steps_[0, done_) can be undone, the rest redone
  PictureBytes known_{};  // the content after the last step taken, recorded or undone
};

}  // namespace lumigrid
