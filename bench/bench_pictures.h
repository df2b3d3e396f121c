// Pictures for benchmarks: random, but the same on every run.
#pragma once

#include <cstdint>
#include <random>

#include "picture/picture_buffer.h"

namespace lumigrid {

// Every byte drawn from a generator started at seed.
inline PictureBytes RandomPicture(unsigned seed) {
  std::mt19937 random(seed);
  PictureBytes bytes;
  for (auto& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

}  // namespace lumigrid
