#include "tools/animation.h"

#include <charconv>

namespace lumigrid {

int AnimationDelayMs(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < kMinAnimationDelayMs ||
      value > kMaxAnimationDelayMs) {
    return kFallbackDelayMs;
  }
  return value;
}

std::vector<int> AnimationSequence(const std::array<int, kAnimationLists>& choices) {
  std::vector<int> sequence;
  for (int b : choices) {
    if (b != 0) sequence.push_back(b);
  }
  return sequence;
}

AnimationRun::AnimationRun(std::vector<int> sequence, std::chrono::milliseconds delay,
                           TimePoint start)
    : sequence_(std::move(sequence)), delay_(delay), due_(start + delay) {}

bool AnimationRun::Advance(TimePoint now) {
  if (sequence_.empty() || now < due_) return false;
  position_ = (position_ + 1) % sequence_.size();
  due_ += delay_;
  // Behind by more than a delay: the next grid moment after now, without rushing through
  // the missed pictures.
  if (due_ <= now) due_ += delay_ * ((now - due_) / delay_ + 1);
  return true;
}

}  // namespace lumigrid
