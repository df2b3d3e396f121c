// The animation preview's rules: which pictures it shows, in which order, and when.
#pragma once

#include <array>
#include <chrono>
#include <string_view>
#include <vector>

namespace lumigrid {

inline constexpr std::array<std::string_view, 12> kAnimationDelays{
    "10", "30", "50", "100", "200", "500", "800", "1000", "1500", "2000", "3000", "4000"};
inline constexpr int kDefaultAnimationDelayIndex = 4;  // "200"
inline constexpr int kAnimationLists = 10;
inline constexpr int kFallbackDelayMs = 200;
inline constexpr int kMinAnimationDelayMs = 10;
inline constexpr int kMaxAnimationDelayMs = 5000;

// The delay in milliseconds for the delay list's selected text; text that does not read as a
// number from 10 to 5000 (an empty selection among it) gives 200.
int AnimationDelayMs(std::string_view text);

// The buffers to show, in order: the picture lists' choices (0 for "Нет") with the empty ones
// left out. A buffer may appear several times.
std::vector<int> AnimationSequence(const std::array<int, kAnimationLists>& choices);

// A run needs at least two pictures.
inline bool CanAnimate(const std::vector<int>& sequence) { return sequence.size() >= 2; }

class AnimationClock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  virtual ~AnimationClock() = default;
  virtual TimePoint Now() const = 0;
  // Returns at `moment` or just after it.
  virtual void SleepUntil(TimePoint moment) = 0;
};

class SteadyAnimationClock final : public AnimationClock {
 public:
  TimePoint Now() const override { return std::chrono::steady_clock::now(); }
  void SleepUntil(TimePoint moment) override;
};

// One run: the picture on show and when the next one is due. Pictures follow a grid of one
// delay each, so wake-ups a little late do not add up. A picture that comes later than
// kGridTolerance moves the grid to itself: the one after it still gets its whole delay, and
// none is shown for less than the delay minus 1 ms. After a stall of several delays the next
// picture comes at once, without rushing through the missed ones.
class AnimationRun {
 public:
  using TimePoint = AnimationClock::TimePoint;
  // Lateness the grid absorbs; half of the 1 ms a picture may lose, the rest is left for the
  // drawing of one picture taking longer than that of the next.
  static constexpr std::chrono::microseconds kGridTolerance{500};
  // The timer of whole milliseconds wakes between this and 1 ms more before a picture is due;
  // a precise sleep covers the rest.
  static constexpr std::chrono::milliseconds kTimerLead{1};

  // `delay` is positive.
  AnimationRun(std::vector<int> sequence, std::chrono::milliseconds delay, TimePoint start);

  // The buffer on show (0 for an empty sequence, which never advances).
  int Picture() const { return sequence_.empty() ? 0 : sequence_[position_]; }
  TimePoint NextDue() const { return due_; }

  // Moves to the next picture when it is due at `now` (the moment it is shown); true when the
  // picture changed.
  bool Advance(TimePoint now);

  // How long a timer started at `now` should wait; zero when the rest is short enough to
  // sleep until NextDue() and show the picture then.
  std::chrono::milliseconds TimerFrom(TimePoint now) const;

  // Time the run stood still (a question was open): the picture on show keeps the rest of its
  // delay, and the grid moves on with it.
  void Postpone(std::chrono::steady_clock::duration held) { due_ += held; }

 private:
  std::vector<int> sequence_;
  std::chrono::milliseconds delay_;
  size_t position_ = 0;
  TimePoint due_;
};

}  // namespace lumigrid
