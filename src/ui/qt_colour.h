#pragma once

#include <QColor>

#include "picture/canvas_geometry.h"

namespace lumigrid::ui {

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace lumigrid::ui
