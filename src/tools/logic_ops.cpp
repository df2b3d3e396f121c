#include "tools/logic_ops.h"

#include <algorithm>

namespace lumigrid {

void CombineBytes(LogicOp op, std::span<const uint8_t> first, std::span<const uint8_t> second,
                  std::span<uint8_t> result) {
  const size_t n = std::min({first.size(), second.size(), result.size()});
  // One operator per loop, so that the compiler can vectorise each; byte i is only ever read
  // and written at index i, which keeps aliased spans correct.
  switch (op) {
    case LogicOp::kAnd:
      for (size_t i = 0; i < n; ++i) result[i] = first[i] & second[i];
      break;
    case LogicOp::kOr:
      for (size_t i = 0; i < n; ++i) result[i] = first[i] | second[i];
      break;
    case LogicOp::kXor:
      for (size_t i = 0; i < n; ++i) result[i] = first[i] ^ second[i];
      break;
  }
}

void LogicUndo::Apply(EditorState& state, LogicOp op, int f, int s, int r) {
  PictureBuffer& result = state.Buffer(r);
  store_ = result.Bytes();
  buffer_ = r;
  available_ = true;
  CombineBytes(op, state.Buffer(f).Bytes(), state.Buffer(s).Bytes(), result.Bytes());
  state.MarkModified(r);
  state.RecordEdit(r, "логическая операция");
}

int LogicUndo::Undo(EditorState& state) {
  if (!available_) return 0;
  state.Buffer(buffer_).Bytes() = store_;
  state.RecordEdit(buffer_, "отмена логической операции");
  available_ = false;
  return buffer_;
}

}  // namespace lumigrid
