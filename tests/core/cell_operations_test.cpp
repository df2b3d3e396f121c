#include "picture/cell_operations.h"

#include <gtest/gtest.h>

namespace lumigrid {
namespace {

constexpr CellBytes kCircle{0x3C, 0x42, 0x81, 0x81, 0x81, 0x81, 0x42, 0x3C};

TEST(CellOperations, CutCopyPasteClearMoveBytesThroughTheClipboard) {
  EditorState s;
  s.Buffer(1).SetCell(5, kCircle);
  ASSERT_TRUE(ApplyCellOperation(s, 1, 5, CellOperation::kCopy));
  EXPECT_EQ(s.Buffer(1).Cell(5), kCircle) << "copy leaves the cell";
  ASSERT_TRUE(ApplyCellOperation(s, 2, 100, CellOperation::kPaste));
  EXPECT_EQ(s.Buffer(2).Cell(100), kCircle) << "the clipboard is shared by all buffers";
  ASSERT_TRUE(ApplyCellOperation(s, 2, 100, CellOperation::kCut));
  EXPECT_EQ(s.Buffer(2).Cell(100), CellBytes{});
  EXPECT_EQ(s.CellClipboard(), kCircle);
  ASSERT_TRUE(ApplyCellOperation(s, 1, 5, CellOperation::kClear));
  EXPECT_EQ(s.Buffer(1).Cell(5), CellBytes{});
  EXPECT_EQ(s.CellClipboard(), kCircle) << "clear does not touch the clipboard";
  EXPECT_EQ(s.Buffer(1).Cell(4), CellBytes{});
  EXPECT_FALSE(s.BufferModified(1));
  EXPECT_FALSE(s.BufferModified(2));
}

TEST(CellOperations, PasteBeforeAnyCopyWritesZeros) {
  EditorState s;
  s.Buffer(3).SetCell(7, kCircle);
  ASSERT_TRUE(ApplyCellOperation(s, 3, 7, CellOperation::kPaste));
  EXPECT_EQ(s.Buffer(3).Cell(7), CellBytes{});
}

TEST(CellOperations, RefusesCellsAndBuffersOutOfRange) {
  EditorState s;
  s.Buffer(1).SetCell(1, kCircle);
  s.CellClipboard() = kCircle;
  for (auto [b, c] : {std::pair{0, 1}, std::pair{11, 1}, std::pair{1, 0}, std::pair{1, 129}}) {
    EXPECT_FALSE(ApplyCellOperation(s, b, c, CellOperation::kClear)) << b << "/" << c;
    EXPECT_FALSE(ApplyCellOperation(s, b, c, CellOperation::kPaste)) << b << "/" << c;
  }
  EXPECT_FALSE(ApplyCellOperation(s, 1, 1, static_cast<CellOperation>(9)));
  EXPECT_EQ(s.Buffer(1).Cell(1), kCircle);
}

}  // namespace
}  // namespace lumigrid
