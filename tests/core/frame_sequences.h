// Frame script sequences the tests play and the benchmarks measure: few, many and no
// changes, changes at page ends, chip borders and across the column wrap, with and without a
// loop; text scrolling up, a moving sprite and unrelated noise.
#pragma once

#include <optional>
#include <ostream>
#include <random>
#include <vector>

#include "frames/frame_script.h"
#include "frames/ks0108_model.h"
#include "picture/picture_buffer.h"

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

// Lines of text ten rows apart moving up one row per picture: picture i shows rows i..i+63 of
// a tall strip of lines of 5 x 7 glyphs (random shapes, six columns apart, lines of varying
// length), so one new row comes in at the bottom each time.
inline std::vector<PictureBytes> TickerPictures(int count, uint32_t seed = 5) {
  std::mt19937 random(seed);
  const int height = count - 1 + kPictureHeight;
  std::vector<std::array<bool, kPictureWidth>> strip(static_cast<size_t>(height));
  for (int top = 2; top + 7 <= height; top += 10) {
    const int glyphs = 8 + static_cast<int>(random() % 13);
    for (int g = 0; g < glyphs; ++g) {
      auto bits = [&] { return uint64_t{random()} << 32 | random(); };
      const uint64_t shape = bits() & (bits() | bits());  // about 3 in 8 pixels lit
      for (int bit = 0; bit < 35; ++bit) {
        if (shape >> bit & 1) strip[static_cast<size_t>(top + bit / 5)][2 + 6 * g + bit % 5] = true;
      }
    }
  }
  std::vector<PictureBytes> pictures;
  for (int i = 0; i < count; ++i) {
    PictureBuffer p;
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 0; x < kPictureWidth; ++x)
        p.SetPixel(x, y, strip[static_cast<size_t>(i + y)][x]);
    }
    pictures.push_back(p.Bytes());
  }
  return pictures;
}

// An animation: a fixed background and a 16 x 16 block moving across it.
inline std::vector<PictureBytes> SpritePictures(int count) {
  std::mt19937 random(7);
  PictureBuffer background;
  for (auto& b : background.Bytes()) b = random() % 8 == 0 ? static_cast<uint8_t>(random()) : 0;
  std::vector<PictureBytes> pictures;
  for (int i = 0; i < count; ++i) {
    PictureBuffer frame = background;
    const int x0 = (i * 3) % (kPictureWidth - 16);
    const int y0 = (i * 2) % (kPictureHeight - 16);
    for (int y = y0; y < y0 + 16; ++y) {
      for (int x = x0; x < x0 + 16; ++x) frame.SetPixel(x, y, true);
    }
    pictures.push_back(frame.Bytes());
  }
  return pictures;
}

// Unrelated noisy pictures: almost every page changes in every frame.
inline std::vector<PictureBytes> NoisePictures(int count) {
  std::mt19937 random(42);
  std::vector<PictureBytes> pictures(static_cast<size_t>(count));
  for (auto& p : pictures) {
    for (auto& b : p) b = random() % 3 == 0 ? static_cast<uint8_t>(random()) : 0;
  }
  return pictures;
}

struct ScriptCase {
  const char* name;
  std::vector<PictureBytes> pictures;
  SequenceOptions options;
  bool standalone = false;  // the standalone script: a table as they were before scrolling
  friend void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }
};

inline FrameScript MakeScript(const ScriptCase& c) {
  return c.standalone ? MakeStandaloneFrameScript(c.pictures, c.options)
                      : MakeFrameScript(c.pictures, c.options);
}

// Text moving up, then jumping back down a page and moving on: scrolling both ways.
inline std::vector<PictureBytes> UpAndDown() {
  std::vector<PictureBytes> ticker = TickerPictures(16, 9);
  return {ticker[0], ticker[1], ticker[2], ticker[3], ticker[12], ticker[13], ticker[5]};
}

inline std::vector<ScriptCase> ScriptCases() {
  std::mt19937 random(3);
  const PictureBytes start = RandomPicture(random, 50);
  return {{"FromBlank", MixedSequence(10), {}},
          {"FromBlankLooping", MixedSequence(11), {std::nullopt, true}},
          {"FromStartLooping", MixedSequence(12), {start, true}},
          {"OnePictureLooping", {RandomPicture(random, 50)}, {std::nullopt, true}},
          {"OnePicture", {RandomPicture(random, 50)}, {}},
          {"Ticker", TickerPictures(6), {}},
          {"TickerLooping", TickerPictures(5, 6), {std::nullopt, true}},
          {"TickerFromStartLooping", UpAndDown(), {TickerPictures(1, 9)[0], true}},
          {"NoScrollLooping", TickerPictures(4, 7), {std::nullopt, true, false}},
          {"StandaloneLooping", MixedSequence(13), {start, true}, true},
          {"Standalone", TickerPictures(4, 8), {}, true}};
}

// The picture the display shows after the frame with index f.
inline const PictureBytes& PictureAfterFrame(const std::vector<PictureBytes>& pictures, size_t f) {
  return pictures[f % pictures.size()];
}

}  // namespace lumigrid::testing
