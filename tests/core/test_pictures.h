// Picture bytes for tests and benchmarks, the same on every run.
#pragma once

#include <cstdint>
#include <random>

#include "picture/picture_buffer.h"

namespace lumigrid::testing {

// Every byte drawn from a generator started at seed.
inline PictureBytes RandomPicture(unsigned seed) {
  std::mt19937 random(seed);
  PictureBytes bytes;
  for (auto& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

// Every byte the same.
inline PictureBytes Filled(uint8_t value) {
  PictureBytes bytes;
  bytes.fill(value);
  return bytes;
}

}  // namespace lumigrid::testing
