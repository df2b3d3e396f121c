#include "picture/cell_operations.h"

namespace lumigrid {

bool ApplyCellOperation(EditorState& state, int b, int c, CellOperation operation) {
  if (!IsValidBuffer(b) || !IsValidCell(c)) return false;
  PictureBuffer& picture = state.Buffer(b);
  switch (operation) {
    case CellOperation::kCut:
      state.CellClipboard() = picture.Cell(c);
      picture.SetCell(c, CellBytes{});
      return true;
    case CellOperation::kCopy:
      state.CellClipboard() = picture.Cell(c);
      return true;
    case CellOperation::kPaste:
      picture.SetCell(c, state.CellClipboard());
      return true;
    case CellOperation::kClear:
      picture.SetCell(c, CellBytes{});
      return true;
  }
  return false;
}

const char* CellOperationName(CellOperation operation) {
  switch (operation) {
    case CellOperation::kCut:
      return "вырезание ячейки";
    case CellOperation::kCopy:
      return "копирование ячейки";
    case CellOperation::kPaste:
      return "вставка ячейки";
    case CellOperation::kClear:
      return "очистка ячейки";
  }
  return "";
}

}  // namespace lumigrid
