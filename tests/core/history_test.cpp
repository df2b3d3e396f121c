#include "edit/history.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "picture/editor_state.h"

namespace lumigrid {
namespace {

PictureBytes Filled(uint8_t value) {
  PictureBytes bytes{};
  bytes.fill(value);
  return bytes;
}

// Random actions, undos and redos against a plain model: the list of contents with a cursor.
TEST(PictureHistory, FollowsAListOfContentsWithACursor) {
  std::mt19937 random(7);
  for (int run = 0; run < 200; ++run) {
    PictureHistory history;
    PictureBytes now{};
    history.Reset(now);
    std::vector<PictureBytes> model{now};
    std::vector<std::string> labels{""};
    size_t at = 0;
    for (int step = 0; step < 60; ++step) {
      const int choice = static_cast<int>(random() % 4);
      if (choice <= 1) {
        // An action: a byte changes (sometimes to what it was, which records nothing).
        now[random() % 4] = static_cast<uint8_t>(random() % 3);
        const std::string label = "шаг " + std::to_string(step);
        history.Record(label, now);
        if (now != model[at]) {
          model.resize(at + 1);
          labels.resize(at + 1);
          model.push_back(now);
          labels.push_back(label);
          ++at;
        }
      } else if (choice == 2) {
        ASSERT_EQ(history.CanUndo(now), at > 0) << "run " << run << " step " << step;
        ASSERT_EQ(history.UndoLabel(now), at > 0 ? labels[at] : "");
        const auto back = history.Undo(now);
        ASSERT_EQ(back.has_value(), at > 0);
        if (back) now = *back, --at;
      } else {
        ASSERT_EQ(history.CanRedo(now), at + 1 < model.size());
        ASSERT_EQ(history.RedoLabel(now), at + 1 < model.size() ? labels[at + 1] : "");
        const auto forward = history.Redo(now);
        if (forward) now = *forward, ++at;
      }
      ASSERT_EQ(now, model[at]) << "run " << run << " step " << step;
    }
  }
}

TEST(PictureHistory, UndoingNStepsThenRedoingNGivesTheSameBytes) {
  PictureHistory history;
  PictureBytes now{};
  history.Reset(now);
  for (int i = 1; i <= 40; ++i) {
    now[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    history.Record("линия", now);
  }
  const PictureBytes end = now;
  for (int i = 0; i < 40; ++i) now = *history.Undo(now);
  EXPECT_EQ(now, PictureBytes{});
  EXPECT_FALSE(history.CanUndo(now));
  for (int i = 0; i < 40; ++i) now = *history.Redo(now);
  EXPECT_EQ(now, end);
  EXPECT_FALSE(history.CanRedo(now));
}

TEST(PictureHistory, ANewActionAfterAnUndoDropsTheRedoSteps) {
  PictureHistory history;
  history.Reset(Filled(0));
  history.Record("a", Filled(1));
  history.Record("b", Filled(2));
  PictureBytes now = *history.Undo(Filled(2));
  EXPECT_TRUE(history.CanRedo(now));
  now = Filled(9);
  // Changed since the undo, not yet recorded: nothing to redo any more.
  EXPECT_FALSE(history.CanRedo(now));
  history.Record("c", now);
  EXPECT_FALSE(history.CanRedo(now));
  EXPECT_EQ(history.UndoLabel(now), "c");
  EXPECT_EQ(*history.Undo(now), Filled(1));
}

TEST(PictureHistory, AnUnrecordedChangeIsUndoneFirstAndNotLost) {
  PictureHistory history;
  history.Reset(Filled(0));
  history.Record("a", Filled(1));
  const PictureBytes now = Filled(5);  // changed without a record
  EXPECT_EQ(history.UndoLabel(now), PictureHistory::kUnnamedStep);
  EXPECT_EQ(*history.Undo(now), Filled(1));
  EXPECT_EQ(*history.Redo(Filled(1)), Filled(5));
}

TEST(PictureHistory, KeepsTheNewestStepsWithinItsBound) {
  PictureHistory history;
  PictureBytes now{};
  history.Reset(now);
  for (int i = 1; i <= PictureHistory::kMaxSteps + 50; ++i) {
    now[0] = static_cast<uint8_t>(i);
    now[1] = static_cast<uint8_t>(i >> 8);
    history.Record("x", now);
  }
  EXPECT_EQ(history.UndoCount(), PictureHistory::kMaxSteps);
  int undone = 0;
  while (auto back = history.Undo(now)) now = *back, ++undone;
  EXPECT_EQ(undone, PictureHistory::kMaxSteps);
  EXPECT_EQ(now[0], 50);  // the oldest 50 steps went
  // Full-picture steps: 2 KiB each and a little more; all ten buffers stay under 8 MB.
  EXPECT_LE(history.MemoryBytes() * kBufferCount, 8u * 1000 * 1000);
}

TEST(EditorStateHistory, ReturningToTheSavedContentClearsTheModifiedFlag) {
  EditorState state;
  state.Buffer(3).SetPixel(1, 1, true);
  state.MarkClean(3);  // saved
  state.Buffer(3).SetPixel(2, 2, true);
  state.MarkModified(3);
  state.RecordEdit(3, "карандаш");
  ASSERT_TRUE(state.UndoEdit(3));
  EXPECT_FALSE(state.BufferModified(3));
  ASSERT_TRUE(state.RedoEdit(3));
  EXPECT_TRUE(state.BufferModified(3));
  ASSERT_TRUE(state.UndoEdit(3));
  // Before the save: content the file does not hold.
  ASSERT_TRUE(state.UndoEdit(3));
  EXPECT_TRUE(state.BufferModified(3));
  EXPECT_FALSE(state.UndoEdit(3));
  EXPECT_FALSE(state.UndoEdit(11));
}

TEST(EditorStateHistory, StartingAfreshForgetsEveryStep) {
  EditorState state;
  state.Buffer(1).SetPixel(5, 5, true);
  state.RecordEdit(1, "a");
  state.Buffer(1).Bytes() = Filled(0x55);  // opened from a file
  state.StartHistoryAfresh(1);
  EXPECT_FALSE(state.History(1).CanUndo(state.Buffer(1).Bytes()));
  EXPECT_FALSE(state.UndoEdit(1));
  EXPECT_EQ(state.Buffer(1).Bytes(), Filled(0x55));
}

}  // namespace
}  // namespace lumigrid
