#include "tools/animation.h"

#include <gtest/gtest.h>

#include <random>

namespace lumigrid {
namespace {

using std::chrono::milliseconds;

struct DelayCase {
  std::string_view text;
  int expected;
};

constexpr DelayCase kDelayCases[] = {
    {"10", 10},    {"4000", 4000}, {"5000", 5000}, {"200", 200},  {"", 200},    {"9", 200},
    {"5001", 200}, {"0", 200},     {"-30", 200},   {"12ms", 200}, {"abc", 200},
};

TEST(AnimationDelay, UnreadableOrOutOfRangeFallsBackTo200) {
  for (const DelayCase& c : kDelayCases) {
    EXPECT_EQ(AnimationDelayMs(c.text), c.expected) << '"' << c.text << '"';
  }
  for (std::string_view listed : kAnimationDelays) {
    EXPECT_EQ(std::to_string(AnimationDelayMs(listed)), listed);
  }
  EXPECT_EQ(kAnimationDelays[kDefaultAnimationDelayIndex], "200");
}

struct SequenceCase {
  const char* name;
  std::array<int, kAnimationLists> choices;
  std::vector<int> sequence;
  bool can_animate;
};

const SequenceCase kSequenceCases[] = {
    {"start state", {1, 2}, {1, 2}, true},
    {"none", {}, {}, false},
    {"one picture", {0, 0, 5}, {5}, false},
    {"same buffer twice", {4, 4}, {4, 4}, true},
    {"lists 3 and 10", {0, 0, 3, 0, 0, 0, 0, 0, 0, 10}, {3, 10}, true},
    {"lists 1, 2 and 4", {1, 2, 0, 4}, {1, 2, 4}, true},
};

TEST(AnimationSequence, SkipsEmptyListsAndKeepsOrder) {
  for (const SequenceCase& c : kSequenceCases) {
    const std::vector<int> sequence = AnimationSequence(c.choices);
    EXPECT_EQ(sequence, c.sequence) << c.name;
    EXPECT_EQ(CanAnimate(sequence), c.can_animate) << c.name;
  }
}

using TimePoint = AnimationRun::TimePoint;
const TimePoint kStart{std::chrono::seconds(1000)};

TEST(AnimationRun, ShowsEachPictureForOneDelayAndWraps) {
  AnimationRun run({1, 2, 4}, milliseconds(200), kStart);
  std::vector<int> shown{run.Picture()};
  for (int ms = 1; ms <= 1400; ++ms) {
    if (run.Advance(kStart + milliseconds(ms))) {
      EXPECT_EQ(ms % 200, 0) << "changed off the grid at " << ms << " ms";
      shown.push_back(run.Picture());
    }
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 4, 1, 2, 4, 1, 2}));
}

// The panel's loop over a clock the test moves: a timer of whole milliseconds that wakes
// `timer_late` after its time, then a sleep that returns `sleep_late` after its moment. Gives
// the moments the pictures were shown and how many wake-ups each took.
struct Wakes {
  std::vector<TimePoint> shown;
  int most_wakes_per_picture = 0;
};

template <typename Late>
Wakes RunLoop(milliseconds delay, int pictures, Late late) {
  AnimationRun run({1, 2, 3}, delay, kStart);
  Wakes result{{kStart}, 0};
  TimePoint now = kStart;
  int wakes = 0;
  for (int step = 0; static_cast<int>(result.shown.size()) <= pictures; ++step) {
    const milliseconds timer = run.TimerFrom(now);
    const bool sleeping = timer.count() == 0;
    now = (sleeping ? std::max(now, run.NextDue()) : now + timer) + late(step, sleeping);
    ++wakes;
    if (sleeping && run.Advance(now)) {
      result.shown.push_back(now);
      result.most_wakes_per_picture = std::max(result.most_wakes_per_picture, wakes);
      wakes = 0;
    }
  }
  return result;
}

using std::chrono::microseconds;

// The fixed grid used to cut the picture after a late one short (at 10 ms some lasted under
// 2 ms); moving the grid to the late picture keeps every picture up for its delay.
TEST(AnimationRun, EveryPictureStaysItsDelayLessAtMostOneMillisecond) {
  for (const int delay_ms : {10, 30, 200, 4000}) {
    const milliseconds delay(delay_ms);
    std::mt19937 random(static_cast<unsigned>(delay_ms));
    // Small jitter, and now and then a stall of up to three delays.
    const Wakes wakes = RunLoop(delay, 2000, [&](int, bool) {
      if (random() % 50 == 0) return microseconds(random() % (3000 * delay_ms));
      return microseconds(random() % 1500);
    });
    for (size_t i = 1; i + 1 < wakes.shown.size(); ++i) {
      const auto lasted = wakes.shown[i + 1] - wakes.shown[i];
      ASSERT_GE(lasted, delay - milliseconds(1)) << delay_ms << " ms, picture " << i;
    }
  }
}

TEST(AnimationRun, OnTimeWakeUpsHoldTheGridWithOneTimerAndOneSleepAPicture) {
  for (const int delay_ms : {10, 50, 4000}) {
    const milliseconds delay(delay_ms);
    std::mt19937 random(static_cast<unsigned>(delay_ms));
    // A timer up to 0.9 ms late on an idle machine, a sleep up to 0.2 ms.
    const Wakes wakes = RunLoop(delay, 1000, [&](int, bool sleeping) {
      return microseconds(random() % (sleeping ? 200 : 900));
    });
    EXPECT_EQ(wakes.most_wakes_per_picture, 2) << delay_ms;
    for (size_t i = 0; i < wakes.shown.size(); ++i) {
      const auto off = wakes.shown[i] - (kStart + delay * static_cast<int>(i));
      ASSERT_GE(off, microseconds(0)) << delay_ms << " ms, picture " << i << ": never early";
      ASSERT_LT(off, microseconds(200)) << delay_ms << " ms, picture " << i << ": no drift";
    }
  }
}

TEST(AnimationRun, ALatePictureMovesTheGridToItself) {
  struct Case {
    int late_us;      // how late the second picture comes
    int next_due_us;  // when the third is due, from the start
  };
  const Case cases[] = {
      {0, 200000},      {500, 200000},     // within the tolerance: the grid holds
      {501, 200501},    {3000, 203000},    // behind it: a whole delay from the late picture
      {253000, 453000}, {350000, 550000},  // stalls: one step, not several
  };
  for (const Case& c : cases) {
    AnimationRun run({1, 2, 3}, milliseconds(100), kStart);
    EXPECT_FALSE(run.Advance(kStart + milliseconds(100) - microseconds(1))) << "never early";
    ASSERT_TRUE(run.Advance(kStart + milliseconds(100) + microseconds(c.late_us))) << c.late_us;
    EXPECT_EQ(run.Picture(), 2) << c.late_us;
    EXPECT_EQ(run.NextDue(), kStart + microseconds(c.next_due_us)) << c.late_us;
    EXPECT_FALSE(run.Advance(run.NextDue() - microseconds(1))) << c.late_us;
    EXPECT_TRUE(run.Advance(run.NextDue())) << c.late_us;
    EXPECT_EQ(run.Picture(), 3) << c.late_us;
  }
}

TEST(AnimationRun, TimerWakesShortlyBeforeTheMomentAndTheSleepDoesTheRest) {
  AnimationRun run({1, 2}, milliseconds(200), kStart);
  for (int us = 0; us <= 200000; us += 37) {
    const TimePoint now = kStart + microseconds(us);
    const milliseconds timer = run.TimerFrom(now);
    const auto left = run.NextDue() - now;
    if (timer.count() == 0) {
      EXPECT_LE(left, milliseconds(2)) << us;
      continue;
    }
    // Where it wakes, what is left is short enough to sleep, and still ahead.
    const auto left_on_waking = left - timer;
    EXPECT_GE(left_on_waking, milliseconds(1)) << us;
    EXPECT_LT(left_on_waking, milliseconds(2)) << us;
  }
}

}  // namespace
}  // namespace lumigrid
