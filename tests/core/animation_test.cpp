#include "tools/animation.h"

#include <gtest/gtest.h>

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

TEST(AnimationRun, LateWakeUpsDoNotDriftTheGrid) {
  AnimationRun run({1, 2}, milliseconds(10), kStart);
  for (int i = 1; i <= 1000; ++i) {
    // Every wake-up comes 3 ms late; the next picture is still due on the 10 ms grid.
    ASSERT_TRUE(run.Advance(kStart + milliseconds(10 * i + 3)));
    ASSERT_EQ(run.NextDue(), kStart + milliseconds(10 * (i + 1))) << "frame " << i;
  }
}

TEST(AnimationRun, AfterAStallOnePictureMovesOnAndTheGridHolds) {
  AnimationRun run({1, 2, 3}, milliseconds(100), kStart);
  // Stalled until 450 ms: one step, not three, and the next one back on the grid.
  EXPECT_TRUE(run.Advance(kStart + milliseconds(450)));
  EXPECT_EQ(run.Picture(), 2);
  EXPECT_EQ(run.NextDue(), kStart + milliseconds(500));
  EXPECT_FALSE(run.Advance(kStart + milliseconds(499)));
  EXPECT_TRUE(run.Advance(kStart + milliseconds(500)));
  EXPECT_EQ(run.Picture(), 3);
  // Exactly on a later grid moment counts as behind that moment too.
  EXPECT_TRUE(run.Advance(kStart + milliseconds(700)));
  EXPECT_EQ(run.NextDue(), kStart + milliseconds(800));
}

}  // namespace
}  // namespace lumigrid
