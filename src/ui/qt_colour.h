#pragma once

#include <QColor>

#include "picture/rgb.h"

namespace lumigrid::ui {

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace lumigrid::ui
