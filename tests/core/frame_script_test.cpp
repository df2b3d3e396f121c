#include "frames/frame_script.h"
#include "test_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace lumigrid {
namespace {

using testing::Filled;

constexpr int kColumns = kSegmentsPerCrystal;

// The fewest operations that bring one page from `from` to `to`, by breadth-first search
// over a model of one page: the state is the column register (unknown at first) and which
// changed columns already hold their new byte. A write puts the new byte of the column it
// lands on; any other value would have to be overwritten later, so it never shortens a script.
// The "set page" the page needs first is added when anything changes.
int BruteForcePageOperations(const std::vector<uint8_t>& from, const std::vector<uint8_t>& to) {
  std::vector<int> bit(kColumns, -1);
  int changed = 0;
  for (int c = 0; c < kColumns; ++c) {
    if (from[c] != to[c]) bit[c] = changed++;
  }
  if (changed == 0) return 0;
  const int done = (1 << changed) - 1;
  constexpr int kUnknown = kColumns;
  // state = column * 2^changed + mask
  std::vector<int> distance((kColumns + 1) << changed, -1);
  std::deque<int> queue;
  auto visit = [&](int column, int mask, int d) {
    const int state = (column << changed) | mask;
    if (distance[state] >= 0) return;
    distance[state] = d;
    queue.push_back(state);
  };
  visit(kUnknown, 0, 0);
  while (!queue.empty()) {
    const int state = queue.front();
    queue.pop_front();
    const int column = state >> changed;
    const int mask = state & done;
    const int d = distance[state];
    if (mask == done) return d + 1;  // and the "set page"
    for (int y = 0; y < kColumns; ++y) visit(y, mask, d + 1);
    if (column != kUnknown) {
      const int written = bit[column] >= 0 ? mask | (1 << bit[column]) : mask;
      visit((column + 1) % kColumns, written, d + 1);
    }
  }
  return -1;
}

// One page's bytes of a picture.
std::vector<uint8_t> PageBytes(const PictureBytes& picture, int chip, int page) {
  const auto first = picture.begin() + DisplayMemoryOffset(chip, page, 0);
  return {first, first + kColumns};
}

int PageOperations(const Frame& frame, int chip, int page) {
  for (const PageWrite& w : frame.pages) {
    if (w.chip == chip && w.page == page) {
      Frame one;
      one.pages.push_back(w);
      return FrameOperationCount(one);
    }
  }
  return 0;
}

// A page of `to` that differs from `from` at `count` random columns, near the page's ends
// and around the wrap more often than by chance.
void ChangeRandomColumns(std::mt19937& random, PictureBytes& to, int chip, int page, int count) {
  for (int i = 0; i < count; ++i) {
    int column = static_cast<int>(random() % kColumns);
    if (random() % 3 == 0) column = static_cast<int>(random() % 4) + (random() % 2 ? 60 : 0);
    to[DisplayMemoryOffset(chip, page, column)] ^= static_cast<uint8_t>(1 + random() % 255);
  }
}

TEST(MakeFrame, EveryPageIsAsShortAsTheBruteForceSearchFinds) {
  std::mt19937 random(2024);
  for (int trial = 0; trial < 400; ++trial) {
    PictureBytes from{};
    for (auto& b : from) b = static_cast<uint8_t>(random() % 4);
    PictureBytes to = from;
    const int chip = 1 + static_cast<int>(random() % 2);
    const int page = static_cast<int>(random() % kPageCount);
    ChangeRandomColumns(random, to, chip, page, static_cast<int>(random() % 9));

    const Frame frame = MakeFrame(from, to);
    const int expected =
        BruteForcePageOperations(PageBytes(from, chip, page), PageBytes(to, chip, page));
    ASSERT_EQ(PageOperations(frame, chip, page), expected) << "trial " << trial;
    ASSERT_EQ(FrameOperationCount(frame), expected) << "trial " << trial << ": other pages";
  }
}

struct PageCase {
  const char* name;
  std::vector<int> changed;  // columns of one page that change
  int operations;
  std::vector<std::pair<int, int>> segments;  // column, length
  friend void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }
};

class MakeFramePageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(MakeFramePageTest, ChoosesGapsAndWrap) {
  const PageCase& p = GetParam();
  PictureBytes from{};
  PictureBytes to{};
  for (int c : p.changed) to[DisplayMemoryOffset(2, 5, c)] = 0x5A;
  const Frame frame = MakeFrame(from, to);
  EXPECT_EQ(FrameOperationCount(frame), p.operations);
  if (p.changed.size() <= 12) {  // the search's states double with every changed column
    EXPECT_EQ(BruteForcePageOperations(PageBytes(from, 2, 5), PageBytes(to, 2, 5)), p.operations)
        << "the case's own count";
  }
  std::vector<std::pair<int, int>> segments;
  if (!frame.pages.empty()) {
    EXPECT_EQ(frame.pages.size(), 1u);
    for (const auto& s : frame.pages[0].segments) {
      segments.emplace_back(s.column, static_cast<int>(s.data.size()));
    }
  }
  EXPECT_EQ(segments, p.segments);
}

std::vector<int> Columns(int first, int last, int step = 1) {
  std::vector<int> columns;
  for (int c = first; c <= last; c += step) columns.push_back(c);
  return columns;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, MakeFramePageTest,
    ::testing::Values(PageCase{"Unchanged", {}, 0, {}}, PageCase{"OneByte", {17}, 3, {{17, 1}}},
                      // A one-byte gap is rewritten: one record, same count as a new "set column".
                      PageCase{"OneByteGapRewritten", {3, 5}, 5, {{3, 3}}},
                      PageCase{"TwoByteGapSkipped", {3, 6}, 5, {{3, 1}, {6, 1}}},
                      // Columns 63 and 0 are one run for the wrapping column counter.
                      PageCase{"WrapJoinsLastAndFirstColumn", {0, 63}, 4, {{63, 2}}},
                      PageCase{"WrapWithGapOfOne", {62, 0}, 5, {{62, 3}}},
                      PageCase{"WrapGapOfTwoSkipped", {62, 1}, 5, {{1, 1}, {62, 1}}},
                      PageCase{"EveryOtherColumn", Columns(0, 62, 2), 65, {{0, 63}}},
                      PageCase{"EveryThirdColumn", Columns(0, 60, 3), 1 + 21 * 2,
                               [] {
                                 std::vector<std::pair<int, int>> s;
                                 for (int c = 0; c <= 60; c += 3) s.emplace_back(c, 1);
                                 return s;
                               }()},
                      PageCase{"WholePage", Columns(0, 63), 66, {{0, 64}}},
                      PageCase{"AllButOne", Columns(1, 63), 65, {{1, 63}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Plays every frame into the model from the display's first content and checks each
// picture, and that no frame costs more than writing the picture whole.
void ExpectPlaysTheSequence(const std::vector<PictureBytes>& pictures,
                            const SequenceOptions& options) {
  const FrameScript script = MakeFrameScript(pictures, options);
  ASSERT_EQ(script.frames.size(), pictures.size() + (options.loop ? 1 : 0));
  EXPECT_EQ(script.loop, options.loop);
  Ks0108Model model(options.start.value_or(PictureBytes{}));
  for (size_t i = 0; i < script.frames.size(); ++i) {
    model.Apply(FrameBusOps(script.frames[i]));
    ASSERT_EQ(model.Picture(), pictures[i % pictures.size()]) << "after frame " << i + 1;
    EXPECT_LE(FrameOperationCount(script.frames[i]), kWholePictureOperations);
  }
}

struct SequenceCase {
  const char* name;
  std::vector<PictureBytes> pictures;
  friend void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }
};

PictureBytes WithBytes(PictureBytes p, const std::vector<std::pair<int, uint8_t>>& bytes) {
  for (auto [offset, value] : bytes) p[offset] = value;
  return p;
}

PictureBytes RandomPicture(uint32_t seed) {
  std::mt19937 random(seed);
  PictureBytes p;
  for (auto& b : p) b = static_cast<uint8_t>(random() % 3 == 0 ? random() : 0);
  return p;
}

std::vector<SequenceCase> SequenceCases() {
  const PictureBytes noise = RandomPicture(1);
  const int chip1_end = DisplayMemoryOffset(1, 3, 63);
  const int chip2_start = DisplayMemoryOffset(2, 3, 0);
  const int chip2_end = DisplayMemoryOffset(2, 7, 63);
  return {
      {"IdenticalPictures", {noise, noise, noise}},
      {"SinglePixel", {PictureBytes{}, WithBytes({}, {{500, 0x10}})}},
      {"AllChanged", {Filled(0xFF), Filled(0x00), Filled(0xFF)}},
      {"PageEndsAndChipBorder",
       {WithBytes({}, {{chip1_end, 1}, {chip2_start, 2}}),
        WithBytes({}, {{chip2_end, 3}, {DisplayMemoryOffset(2, 7, 0), 4}}),
        WithBytes({}, {{0, 0x80}, {1023, 0x01}})}},
      {"Random", {RandomPicture(2), RandomPicture(3), noise, RandomPicture(4)}},
      {"OnePicture", {noise}},
  };
}

class FrameSequenceTest : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(FrameSequenceTest, PlaysFromBlank) { ExpectPlaysTheSequence(GetParam().pictures, {}); }

TEST_P(FrameSequenceTest, PlaysFromStartPictureAndLoops) {
  ExpectPlaysTheSequence(GetParam().pictures, {RandomPicture(99), true});
}

INSTANTIATE_TEST_SUITE_P(Sequences, FrameSequenceTest, ::testing::ValuesIn(SequenceCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A few text-like rows of pixels at random heights.
PictureBuffer SparseRows(std::mt19937& random) {
  PictureBuffer p;
  const int rows = 1 + static_cast<int>(random() % 6);
  for (int r = 0; r < rows; ++r) {
    const int y = static_cast<int>(random() % kPictureHeight);
    for (int x = 0; x < kPictureWidth; ++x) p.SetPixel(x, y, random() % 3 == 0);
  }
  return p;
}

// `p` as shown after moving up by `rows` (down when negative), new rows drawn at random.
PictureBuffer Moved(const PictureBuffer& p, int rows, std::mt19937& random) {
  PictureBuffer moved;
  for (int y = 0; y < kPictureHeight; ++y) {
    const int from = y + rows;
    for (int x = 0; x < kPictureWidth; ++x) {
      const bool in = from >= 0 && from < kPictureHeight;
      moved.SetPixel(x, y, in ? p.Pixel(x, from) : random() % 5 == 0);
    }
  }
  return moved;
}

// Each transition's start line is the cheapest of all 64: its standalone frame (the fewest
// operations for those memory changes when every page stands alone, as the breadth-first
// search above proves) plus the change of start line costs no more than any other line's.
// Pictures moved by whole pages and by single rows, up and down, a little changed, and
// unrelated. A loop frame returns to the first picture's line, which a looping script may
// choose for the loop frame's sake.
TEST(MakeFrameScript, EachStartLineIsTheCheapestOfAll64) {
  std::mt19937 random(64);
  for (int trial = 0; trial < 150; ++trial) {
    std::vector<PictureBytes> pictures;
    PictureBuffer p = SparseRows(random);
    for (int i = 0; i < 3; ++i) {
      pictures.push_back(p.Bytes());
      switch (random() % 4) {
        case 0:
          p = Moved(p, static_cast<int>(random() % 41) - 20, random);
          break;
        case 1:
          p = Moved(p, 8 * (static_cast<int>(random() % 7) - 3), random);
          break;
        case 2:
          p.SetPixel(static_cast<int>(random() % 128), static_cast<int>(random() % 64), true);
          break;
        default:
          p = SparseRows(random);
      }
    }
    const SequenceOptions options{std::nullopt, trial % 4 == 0, true};
    const FrameScript script = MakeFrameScript(pictures, options);
    Ks0108Model model;
    int first_line = 0;
    for (size_t f = 0; f < script.frames.size(); ++f) {
      const PictureBytes memory = model.Memory();
      const int line = model.Chip(1).start_line;
      const PictureBytes& target = pictures[f % pictures.size()];
      model.Apply(FrameBusOps(script.frames[f]));
      ASSERT_EQ(model.Picture(), target) << "trial " << trial << " frame " << f + 1;
      const int chosen = model.Chip(1).start_line;
      ASSERT_EQ(model.Chip(2).start_line, chosen);
      auto cost = [&](int l) {
        return FrameOperationCount(MakeFrame(memory, MemoryForStartLine(target, l))) +
               (l == line ? 0 : 2);
      };
      if (f == 0) first_line = chosen;
      if (f == pictures.size()) {
        EXPECT_EQ(chosen, first_line) << "the loop frame returns to the first line";
        continue;
      }
      EXPECT_LE(FrameOperationCount(script.frames[f]), cost(chosen)) << "registers only save";
      // A looping script may show the first picture at the line the loop frame prefers.
      if (f == 0 && options.loop) continue;
      int best = cost(0);
      for (int l = 1; l < kPictureHeight; ++l) best = std::min(best, cost(l));
      EXPECT_EQ(cost(chosen), best) << "trial " << trial << " frame " << f + 1;
    }
  }
}

TEST(MakeFrameScript, NoPicturesGiveNoFramesAndNoLoop) {
  const FrameScript script = MakeFrameScript({}, {std::nullopt, true});
  EXPECT_TRUE(script.frames.empty());
  EXPECT_FALSE(script.loop);
}

TEST(MakeFrame, WholeChangeCostsExactlyAWholeRewrite) {
  EXPECT_EQ(FrameOperationCount(MakeFrame(Filled(0), Filled(0xFF))), kWholePictureOperations);
  EXPECT_EQ(FrameDataCount(MakeFrame(Filled(0), Filled(0xFF))), kPictureBytes);
}

TEST(MakeSkipMapFrame, WritesExactlyTheBytesTheMapDoesNotSkip) {
  std::mt19937 random(11);
  PictureBytes map{};
  for (auto& b : map) b = random() % 2 ? 0xFF : static_cast<uint8_t>(random() % 0xFF);
  const PictureBytes to = RandomPicture(12);
  const PictureBytes before = Filled(0xEE);
  Ks0108Model model(before);
  const Frame frame = MakeSkipMapFrame(to, map);
  model.Apply(FrameBusOps(frame));
  const PictureBytes shown = model.Picture();
  int written = 0;
  for (int i = 0; i < kPictureBytes; ++i) {
    const bool write = map[i] != 0xFF;
    written += write;
    ASSERT_EQ(shown[i], write ? to[i] : before[i]) << "offset " << i;
  }
  EXPECT_EQ(FrameDataCount(frame), written);
}

}  // namespace
}  // namespace lumigrid
