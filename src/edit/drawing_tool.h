// The tools of the canvas and what a stroke of each one draws.
#pragma once

#include <vector>

#include "picture/geometry.h"

namespace lumigrid {

enum class DrawingTool {
  kNone,  // the canvas does what the cells do
  kPencil,
  kLine,
  kRectangle,
  kFilledRectangle,
  kEllipse,
  kFill,
  kText,
  kSelection,
};

// A stroke of the tool as a step of the history: "линия". Empty for kNone.
const char* ToolStepName(DrawingTool tool);

// Line, rectangles and ellipse: dragged from an anchor, shown as a preview until released.
constexpr bool IsShapeTool(DrawingTool tool) {
  return tool == DrawingTool::kLine || tool == DrawingTool::kRectangle ||
         tool == DrawingTool::kFilledRectangle || tool == DrawingTool::kEllipse;
}

// The pixels of a shape tool dragged from `anchor` to `to`. `constrain` (Shift) holds a line
// to 45-degree steps and a box to a square.
std::vector<PixelPoint> ShapePixels(DrawingTool tool, PixelPoint anchor, PixelPoint to,
                                    bool constrain);

}  // namespace lumigrid
