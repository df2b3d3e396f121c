// Shared by the logic and animation panel tests: buffers that the canvas tells apart.
#pragma once

#include <QImage>

#include "test_support.h"

namespace lumigrid::testing_support {

// Buffer b (1..10) gets its cell b fully lit and nothing else, so a canvas shot names it.
inline void MarkBuffers(EditorState& state) {
  for (int b = 1; b <= kBufferCount; ++b) {
    state.Buffer(b).Clear();
    state.Buffer(b).SetCell(b, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  }
}

// The marked buffer the canvas shows: the only one of cells 1..10 drawn lit at its centre;
// 0 when none or several are.
inline int ShownBuffer(const QImage& canvas) {
  int shown = 0;
  for (int c = 1; c <= kBufferCount; ++c) {
    const Rect r = CanvasCellRect(c);
    const QPoint p(r.x + r.width / 2, r.y + r.height / 2);
    if (QColor(canvas.pixel(p)) == QColor(0, 0, 0)) {
      if (shown != 0) return 0;
      shown = c;
    }
  }
  return shown;
}

}  // namespace lumigrid::testing_support
