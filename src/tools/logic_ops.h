// Pixelwise AND, OR and exclusive OR of two pictures into a third, and the one-level undo of
// the last such operation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "picture/editor_state.h"

namespace lumigrid {

enum class LogicOp { kAnd, kOr, kXor };

constexpr uint8_t CombineByte(LogicOp op, uint8_t a, uint8_t b) {
  switch (op) {
    case LogicOp::kAnd:
      return a & b;
    case LogicOp::kOr:
      return a | b;
    case LogicOp::kXor:
      return a ^ b;
  }
  return a & b;
}

// result[i] = first[i] op second[i] for the common length of the three spans. Any of them may be
// the same memory: each byte is read from both operands before it is written.
void CombineBytes(LogicOp op, std::span<const uint8_t> first, std::span<const uint8_t> second,
                  std::span<uint8_t> result);

// The last operation's result buffer as it was before the operation, restorable once.
class LogicUndo {
 public:
  // Buffer r = buffer f op buffer s (numbers 1..10, any of them equal), keeping r's old bytes
  // for one undo and marking r modified.
  void Apply(EditorState& state, LogicOp op, int f, int s, int r);

  // Puts the kept bytes back into the last result buffer; its modified flag stays. Returns the
  // buffer restored, or 0 when there is nothing to undo.
  int Undo(EditorState& state);

  bool Available() const { return available_; }
  // The undo is lost (another result buffer chosen, the panel entered again).
  void Forfeit() { available_ = false; }

 private:
  PictureBytes store_{};
  int buffer_ = 1;
  bool available_ = false;
};

}  // namespace lumigrid
