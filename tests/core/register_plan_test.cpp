#include "frames/register_plan.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "core/frame_sequences.h"
#include "frames/frame_script.h"

namespace lumigrid {
namespace {

constexpr int kColumns = kSegmentsPerCrystal;

struct Cell {
  int page, column;
};

// The fewest bus operations for one chip that write, frame after frame, each frame's changed
// cells, writing each changed page in one visit per frame, by breadth-first search over every
// "set page", "set column" and data write. The state is the frame, the page register and
// column counter (unknown at first), which of the frame's cells hold their new byte (the
// frame ends once all do), the pages the frame has left and whether it writes on the page in
// the register. A write puts the frame's own byte (a rewrite where the cell does not change),
// so none is ever undone. "Set column" goes to a column of one of the frame's cells: going
// elsewhere and writing on to one costs more, and positioning for a later frame costs the same
// when done there.
int BruteForceOperations(const std::vector<std::vector<Cell>>& frames) {
  std::vector<int> pages;
  for (const auto& frame : frames) {
    for (const Cell& c : frame) {
      if (std::find(pages.begin(), pages.end(), c.page) == pages.end()) pages.push_back(c.page);
    }
  }
  const int np = static_cast<int>(pages.size());
  size_t most = 0;
  for (const auto& frame : frames) most = std::max(most, frame.size());
  const int masks = 1 << most;
  const int unknown_page = np, unknown_column = kColumns;
  struct State {
    int frame, page, column, done, left;
    bool writing;
  };
  auto index = [&](const State& s) {
    size_t i = static_cast<size_t>(s.frame);
    i = i * (np + 1) + s.page;
    i = i * (kColumns + 1) + s.column;
    i = i * masks + s.done;
    i = i * (1 << np) + s.left;
    return i * 2 + s.writing;
  };
  const int last = static_cast<int>(frames.size());
  std::vector<int> distance(index({last, 0, 0, 0, 0, false}), -1);
  std::deque<State> queue;
  int best = -1;
  auto visit = [&](State s, int d) {
    if (s.frame < last && s.done == (1 << frames[s.frame].size()) - 1) {
      s = {s.frame + 1, s.page, s.column, 0, 0, false};
    }
    if (s.frame == last) {
      if (best < 0) best = d;
      return;
    }
    int& known = distance[index(s)];
    if (known >= 0) return;
    known = d;
    queue.push_back(s);
  };
  visit({0, unknown_page, unknown_column, 0, 0, false}, 0);
  while (!queue.empty() && best < 0) {
    const State s = queue.front();
    queue.pop_front();
    const int d = distance[index(s)];
    for (int q = 0; q < np; ++q) {
      if (q == s.page) continue;
      const int left = s.writing ? s.left | 1 << s.page : s.left;
      visit({s.frame, q, s.column, s.done, left, false}, d + 1);
    }
    for (const Cell& cell : frames[s.frame]) {
      visit({s.frame, s.page, cell.column, s.done, s.left, s.writing}, d + 1);
    }
    if (s.page != unknown_page && s.column != unknown_column && !(s.left >> s.page & 1)) {
      int done = s.done;
      for (size_t k = 0; k < frames[s.frame].size(); ++k) {
        const Cell& c = frames[s.frame][k];
        if (c.page == pages[s.page] && c.column == s.column) done |= 1 << k;
      }
      visit({s.frame, s.page, (s.column + 1) % kColumns, done, s.left, true}, d + 1);
    }
  }
  return best;
}

// Small sequences for chip 1: two or three pages, a few cells per frame, the columns close
// together and round the wrap, so that runs of one page start where another's end.
TEST(MakeFrameScript, CarriedRegistersGiveTheFewestOperationsOfOneVisitPerPage) {
  std::mt19937 random(77);
  for (int trial = 0; trial < 400; ++trial) {
    const int page_count = 2 + static_cast<int>(random() % 2);
    std::vector<int> pages;
    while (static_cast<int>(pages.size()) < page_count) {
      const int p = static_cast<int>(random() % kPageCount);
      if (std::find(pages.begin(), pages.end(), p) == pages.end()) pages.push_back(p);
    }
    const int frame_count = 2 + static_cast<int>(random() % 2);
    std::vector<std::vector<Cell>> frames(frame_count);
    std::vector<PictureBytes> pictures;
    PictureBytes picture{};
    for (auto& frame : frames) {
      const int cells = 1 + static_cast<int>(random() % 5);
      while (static_cast<int>(frame.size()) < cells) {
        const int spread = trial % 3 == 0 ? 64 : 12;
        const Cell c{pages[random() % pages.size()], static_cast<int>(random() % spread + 58) % 64};
        bool again = false;
        for (const Cell& o : frame) again |= o.page == c.page && o.column == c.column;
        if (again) continue;
        frame.push_back(c);
        picture[DisplayMemoryOffset(1, c.page, c.column)] ^=
            static_cast<uint8_t>(1 + random() % 255);
      }
      pictures.push_back(picture);
    }
    const FrameScript script = MakeFrameScript(pictures, {std::nullopt, false, false});
    Ks0108Model model;
    int operations = 0;
    for (size_t f = 0; f < script.frames.size(); ++f) {
      model.Apply(FrameBusOps(script.frames[f]));
      ASSERT_EQ(model.Picture(), pictures[f]) << "trial " << trial << " frame " << f + 1;
      operations += FrameOperationCount(script.frames[f]);
    }
    if (operations != BruteForceOperations(frames)) {
      for (size_t f = 0; f < frames.size(); ++f) {
        fprintf(stderr, "frame %zu cells:", f);
        for (auto c : frames[f]) fprintf(stderr, " p%d c%d", c.page, c.column);
        fprintf(stderr, "\n ops:");
        for (auto op : FrameBusOps(script.frames[f])) {
          if (op.data)
            fprintf(stderr, " d");
          else if ((op.value & 0xF8) == 0xB8)
            fprintf(stderr, " P%d", op.value & 7);
          else
            fprintf(stderr, " C%d", op.value & 63);
        }
        fprintf(stderr, "\n");
      }
    }
    ASSERT_EQ(operations, BruteForceOperations(frames)) << "trial " << trial;
  }
}

// The short cuts (orders found without the full search, pages no carried column reaches
// gathered into one block) give what the full search over every order gives.
TEST(PlanChipFrames, ShortCutsGiveWhatTheFullSearchGives) {
  struct Case {
    const char* name;
    std::vector<PictureBytes> pictures;
  };
  std::mt19937 random(3);
  std::vector<PictureBytes> sparse;
  for (int i = 0; i < 30; ++i) sparse.push_back(testing::RandomPicture(random, 3 + i % 5));
  for (const Case& c :
       {Case{"ticker", testing::TickerPictures(30)}, Case{"sprite", testing::SpritePictures(30)},
        Case{"noise", testing::NoisePictures(20)}, Case{"sparse", sparse}}) {
    for (int chip = 0; chip < 2; ++chip) {
      std::vector<PageMasks> frames;
      PictureBytes before{};
      for (const PictureBytes& p : c.pictures) {
        PageMasks masks{};
        for (int page = 0; page < kPageCount; ++page) {
          for (int column = 0; column < kColumns; ++column) {
            const int i = DisplayMemoryOffset(chip + 1, page, column);
            if (before[i] != p[i]) masks[page] |= ColumnMask{1} << column;
          }
        }
        frames.push_back(masks);
        before = p;
      }
      EXPECT_EQ(PlanChipFrames(frames).operations, PlanChipFrames(frames, {}, true).operations)
          << c.name << " chip " << chip + 1;
    }
  }
}

}  // namespace
}  // namespace lumigrid
