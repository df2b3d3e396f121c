// Where the frames of an import go: one buffer each from the target buffer on.
#pragma once

#include <algorithm>

#include "picture/geometry.h"

namespace lumigrid {

struct ImportPlan {
  int written = 0;   // frames written, into buffers first .. first + written - 1
  int left_out = 0;  // frames past the last buffer
};

constexpr ImportPlan PlanImport(int frames, int first_buffer) {
  const int room = IsValidBuffer(first_buffer) ? kBufferCount - first_buffer + 1 : 0;
  const int written = std::clamp(frames, 0, room);
  return {written, std::max(frames, 0) - written};
}

}  // namespace lumigrid
