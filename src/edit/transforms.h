// Whole-picture transforms of the menu "Рисунок": invert, flip, rotate and shift by one pixel,
// and the replacement of a buffer's picture as one step of its history.
//
// They work on the display-memory bytes directly: byte 128 p + x of the cell walk is column x
// (0..127) of page p (0..7), the rows 8p..8p + 7 with the top row in bit 0.
#pragma once

#include <string>

#include "picture/editor_state.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

enum class Transform {
  kInvert,
  kFlipHorizontal,  // left and right change places
  kFlipVertical,    // top and bottom change places
  kRotate180,
  kShiftLeft,
  kShiftRight,
  kShiftUp,
  kShiftDown,
};

// What a shift does with the pixels it pushes over the edge: they come in again at the other
// edge, or they are lost and unlit pixels come in.
enum class ShiftEdge { kFillUnlit, kWrap };

PictureBytes Transformed(const PictureBytes& picture, Transform transform,
                         ShiftEdge edge = ShiftEdge::kFillUnlit);

// The transform as a step of the history: "инвертирование".
const char* TransformStepName(Transform transform);

// Gives buffer b the picture `content` as one step named `label` and marks it modified. When
// the content is what the buffer holds already nothing happens and the result is false.
bool ReplacePicture(EditorState& state, int b, const PictureBytes& content, std::string label);

}  // namespace lumigrid
