#include "tools/animation.h"

#include <charconv>
#include <thread>

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

void SteadyAnimationClock::SleepUntil(TimePoint moment) { std::this_thread::sleep_until(moment); }

AnimationRun::AnimationRun(std::vector<int> sequence, std::chrono::milliseconds delay,
                           TimePoint start)
    : sequence_(std::move(sequence)), delay_(delay), due_(start + delay) {}

bool AnimationRun::Advance(TimePoint now) {
  if (sequence_.empty() || now < due_) return false;
  position_ = (position_ + 1) % sequence_.size();
  // On time: the grid holds. Late: the picture's own moment starts the next delay, whether it
  // waited out a stall of many delays or came a few milliseconds behind.
  const TimePoint moment = now - due_ > kGridTolerance ? now : due_;
  due_ = moment + delay_;
  return true;
}

std::chrono::milliseconds AnimationRun::TimerFrom(TimePoint now) const {
  using std::chrono::milliseconds;
  const auto left = due_ - now;
  if (left <= kTimerLead + milliseconds(1)) return milliseconds(0);
  return std::chrono::floor<milliseconds>(left - kTimerLead);
}

}  // namespace lumigrid
