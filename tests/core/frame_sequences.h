// Frame script sequences the table tests play: few, many and no changes, changes at page
// ends, chip borders and across the column wrap, with and without a loop.
#pragma once

#include <optional>
#include <ostream>
#include <random>
#include <vector>

#include "frames/frame_script.h"
#include "frames/ks0108_model.h"

namespace lumigrid::testing {

inline PictureBytes RandomPicture(std::mt19937& random, int density) {
  PictureBytes p{};
  for (auto& b : p) {
    if (static_cast<int>(random() % 100) < density) b = static_cast<uint8_t>(random());
  }
  return p;
}

// Sequences with few, many and no changes, changes at page ends and across the wrap.
inline std::vector<PictureBytes> MixedSequence(uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<PictureBytes> pictures{RandomPicture(random, 30)};
  pictures.push_back(pictures.back());
  PictureBytes edge = pictures.back();
  for (int page = 0; page < kPageCount; ++page) {
    edge[DisplayMemoryOffset(1, page, 63)] ^= 0x81;
    edge[DisplayMemoryOffset(2, page, 0)] ^= 0x18;
    edge[DisplayMemoryOffset(2, page, 63)] ^= 0x42;
  }
  pictures.push_back(edge);
  pictures.push_back(RandomPicture(random, 100));
  PictureBytes one = pictures.back();
  one[777] ^= 0x04;
  pictures.push_back(one);
  pictures.push_back(RandomPicture(random, 5));
  return pictures;
}

struct ScriptCase {
  const char* name;
  std::vector<PictureBytes> pictures;
  SequenceOptions options;
  friend void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }
};

inline std::vector<ScriptCase> ScriptCases() {
  std::mt19937 random(3);
  return {{"FromBlank", MixedSequence(10), {}},
          {"FromBlankLooping", MixedSequence(11), {std::nullopt, true}},
          {"FromStartLooping", MixedSequence(12), {RandomPicture(random, 50), true}},
          {"OnePictureLooping", {RandomPicture(random, 50)}, {std::nullopt, true}},
          {"OnePicture", {RandomPicture(random, 50)}, {}}};
}

// The picture the display shows after the frame with index f.
inline const PictureBytes& PictureAfterFrame(const std::vector<PictureBytes>& pictures, size_t f) {
  return pictures[f % pictures.size()];
}

}  // namespace lumigrid::testing
