#include "edit/history.h"

namespace lumigrid {

void PictureHistory::Reset(const PictureBytes& content) {
  steps_.clear();
  done_ = 0;
  known_ = content;
}

void PictureHistory::Record(std::string label, const PictureBytes& now) {
  if (!Unrecorded(now)) return;
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
  steps_.push_back({std::move(label), known_, now});
  if (steps_.size() > static_cast<std::size_t>(kMaxSteps)) steps_.pop_front();
  done_ = steps_.size();
  known_ = now;
}

bool PictureHistory::CanUndo(const PictureBytes& now) const { return done_ > 0 || Unrecorded(now); }

bool PictureHistory::CanRedo(const PictureBytes& now) const {
  return done_ < steps_.size() && !Unrecorded(now);
}

std::string PictureHistory::UndoLabel(const PictureBytes& now) const {
  if (Unrecorded(now)) return kUnnamedStep;
  return done_ > 0 ? steps_[done_ - 1].label : std::string();
}

std::string PictureHistory::RedoLabel(const PictureBytes& now) const {
  return CanRedo(now) ? steps_[done_].label : std::string();
}

std::optional<PictureBytes> PictureHistory::Undo(const PictureBytes& now) {
  Record(kUnnamedStep, now);
  if (done_ == 0) return std::nullopt;
  --done_;
  known_ = steps_[done_].before;
  return known_;
}

std::optional<PictureBytes> PictureHistory::Redo(const PictureBytes& now) {
  if (!CanRedo(now)) return std::nullopt;
  known_ = steps_[done_].after;
  ++done_;
  return known_;
}

std::size_t PictureHistory::MemoryBytes() const {
  std::size_t total = 0;
  for (const Step& s : steps_) total += sizeof(Step) + s.label.capacity();
  return total;
}

}  // namespace lumigrid
