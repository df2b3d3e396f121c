#include "edit/drawing_tool.h"

#include "edit/draw.h"

namespace lumigrid {

const char* ToolStepName(DrawingTool tool) {
  switch (tool) {
    case DrawingTool::kPencil:
      return "карандаш";
    case DrawingTool::kLine:
      return "линия";
    case DrawingTool::kRectangle:
      return "прямоугольник";
    case DrawingTool::kFilledRectangle:
      return "закрашенный прямоугольник";
    case DrawingTool::kEllipse:
      return "эллипс";
    case DrawingTool::kFill:
      return "заливка";
    case DrawingTool::kText:
      return "текст";
    case DrawingTool::kSelection:
      return "перемещение";
    case DrawingTool::kNone:
      break;
  }
  return "";
}

std::vector<PixelPoint> ShapePixels(DrawingTool tool, PixelPoint anchor, PixelPoint to,
                                    bool constrain) {
  switch (tool) {
    case DrawingTool::kLine:
      return LinePixels(anchor, constrain ? SnapTo45Degrees(anchor, to) : to);
    case DrawingTool::kRectangle:
    case DrawingTool::kFilledRectangle:
      return RectanglePixels(anchor, constrain ? SnapToSquare(anchor, to) : to,
                             tool == DrawingTool::kFilledRectangle);
    case DrawingTool::kEllipse:
      return EllipsePixels(anchor, constrain ? SnapToSquare(anchor, to) : to);
    default:
      return {};
  }
}

}  // namespace lumigrid
