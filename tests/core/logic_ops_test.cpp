#include "tools/logic_ops.h"

#include <gtest/gtest.h>

#include <random>

namespace lumigrid {
namespace {

// Independent oracle: the operation's truth table applied pixel by pixel.
bool PixelOracle(LogicOp op, bool a, bool b) {
  switch (op) {
    case LogicOp::kAnd:
      return a && b;
    case LogicOp::kOr:
      return a || b;
    case LogicOp::kXor:
      return a != b;
  }
  return false;
}

const char* Name(LogicOp op) {
  return op == LogicOp::kAnd ? "AND" : op == LogicOp::kOr ? "OR" : "XOR";
}

void Randomise(PictureBuffer& picture, std::mt19937& rng) {
  for (uint8_t& byte : picture.Bytes()) byte = static_cast<uint8_t>(rng());
}

struct Operands {
  int f, s, r;
};

// Distinct buffers and every way the result can share memory with the operands.
constexpr Operands kOperandCases[] = {
    {1, 2, 3}, {1, 2, 1}, {1, 2, 2}, {4, 4, 4}, {5, 5, 6}, {10, 9, 10},
};

TEST(LogicOps, EveryPixelMatchesTheOracleWhateverTheAliasing) {
  std::mt19937 rng(20261208);
  for (LogicOp op : {LogicOp::kAnd, LogicOp::kOr, LogicOp::kXor}) {
    for (const Operands& o : kOperandCases) {
      for (int round = 0; round < 4; ++round) {
        EditorState state;
        for (int b = 1; b <= kBufferCount; ++b) Randomise(state.Buffer(b), rng);
        const PictureBuffer first = state.Buffer(o.f);
        const PictureBuffer second = state.Buffer(o.s);
        LogicUndo undo;
        undo.Apply(state, op, o.f, o.s, o.r);
        int wrong = 0;
        for (int y = 0; y < 64; ++y) {
          for (int x = 0; x < 128; ++x) {
            const bool expected = PixelOracle(op, first.Pixel(x, y), second.Pixel(x, y));
            if (state.Buffer(o.r).Pixel(x, y) != expected) ++wrong;
          }
        }
        EXPECT_EQ(wrong, 0) << Name(op) << " f=" << o.f << " s=" << o.s << " r=" << o.r;
        EXPECT_TRUE(state.BufferModified(o.r));
      }
    }
  }
}

TEST(LogicOps, PlainBuffersCombineInPlace) {
  // The command-line tool's use: plain byte arrays, the result also an operand.
  std::vector<uint8_t> a{0xF0, 0x0F, 0xAA, 0x00};
  const std::vector<uint8_t> b{0xFF, 0xFF, 0x55, 0x01};
  CombineBytes(LogicOp::kXor, a, b, a);
  EXPECT_EQ(a, (std::vector<uint8_t>{0x0F, 0xF0, 0xFF, 0x01}));
  CombineBytes(LogicOp::kAnd, a, a, a);
  EXPECT_EQ(a, (std::vector<uint8_t>{0x0F, 0xF0, 0xFF, 0x01}));
  // Lengths differ: only the common part is written.
  std::vector<uint8_t> out(6, 0x77);
  CombineBytes(LogicOp::kOr, a, b, out);
  EXPECT_EQ(out, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x01, 0x77, 0x77}));
}

struct UndoCase {
  const char* name;
  std::vector<Operands> operations;  // applied in order
  int undos;                         // then undone this many times
};

const UndoCase kUndoCases[] = {
    {"one operation, one undo", {{1, 2, 3}}, 1},
    {"two operations, then undo", {{1, 2, 3}, {4, 5, 3}}, 1},
    {"undo only once", {{1, 2, 3}}, 2},
    {"result is the first operand", {{1, 2, 1}}, 1},
    {"exclusive or with itself", {{7, 7, 7}}, 1},
    {"two operations into different buffers", {{1, 2, 3}, {4, 5, 6}}, 2},
};

TEST(LogicUndo, RestoresOnlyTheStateBeforeTheLastOperation) {
  std::mt19937 rng(7);
  for (const UndoCase& c : kUndoCases) {
    EditorState state;
    for (int b = 1; b <= kBufferCount; ++b) Randomise(state.Buffer(b), rng);
    LogicUndo undo;
    EXPECT_FALSE(undo.Available()) << c.name;
    EditorState before_last;
    for (const Operands& o : c.operations) {
      before_last = state;
      undo.Apply(state, LogicOp::kXor, o.f, o.s, o.r);
    }
    const int r = c.operations.back().r;
    ASSERT_NE(state.Buffer(r).Bytes(), before_last.Buffer(r).Bytes()) << c.name;
    EXPECT_EQ(undo.Undo(state), r) << c.name;
    EXPECT_FALSE(undo.Available()) << c.name;
    for (int i = 1; i < c.undos; ++i) EXPECT_EQ(undo.Undo(state), 0) << c.name;
    // Every buffer as it was just before the last operation: the undo restored r, and a
    // second undo did not swap anything back.
    for (int b = 1; b <= kBufferCount; ++b) {
      EXPECT_EQ(state.Buffer(b).Bytes(), before_last.Buffer(b).Bytes())
          << c.name << " buffer " << b;
    }
    EXPECT_TRUE(state.BufferModified(r)) << c.name << ": the undo keeps the modified flag";
  }
}

}  // namespace
}  // namespace lumigrid
