#include "picture/pointer_polls.h"

namespace lumigrid {

namespace {
// Two dead pixels at the top and left of a 16-pixel square, one at the bottom and right.
constexpr int kLiveFirst = 2;
constexpr int kLiveLast = 14;
}  // namespace

PaintAction PaintTracker::Poll(int square, int dx, int dy, bool left, bool right) {
  if (square < 1 || dx < kLiveFirst || dx > kLiveLast || dy < kLiveFirst || dy > kLiveLast) {
    return PaintAction::kNone;
  }
  const Triple now{square, left, right};
  if (now == last_) return PaintAction::kNone;
  last_ = now;
  if (left) return PaintAction::kSet;  // the left button wins when both are held
  if (right) return PaintAction::kClear;
  return PaintAction::kNone;
}

HoverTracker::Update HoverTracker::Poll(bool over_frame, int cell) {
  Update update;
  if (state_ != State::kAwayClean) state_ = State::kAwayPending;
  if (over_frame) {
    state_ = State::kOverCanvas;
    if (cell != 0 && cell != hover_cell_) {
      update.unhighlight = hover_cell_;
      update.highlight = cell;
      hover_cell_ = cell;
    }
  }
  if (state_ == State::kAwayPending) {
    update.unhighlight = hover_cell_;
    hover_cell_ = 0;
    state_ = State::kAwayClean;
    update.clear_hint = true;
  }
  return update;
}

}  // namespace lumigrid
