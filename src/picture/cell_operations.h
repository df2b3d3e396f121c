// Whole-cell edits through the one-cell clipboard, shared by all buffers.
#pragma once

#include "picture/editor_state.h"

namespace lumigrid {

enum class CellOperation { kCut = 1, kCopy = 2, kPaste = 3, kClear = 4 };

// Applies the operation to cell c of buffer b. Returns false, changing nothing, for a cell
// outside 1..128 or a buffer outside 1..10. It does not touch the modified flag: whether an
// operation counts as a change depends on how the user asked for it.
bool ApplyCellOperation(EditorState& state, int b, int c, CellOperation operation);

// The operation as a step of the history: "вырезание ячейки".
const char* CellOperationName(CellOperation operation);

}  // namespace lumigrid
