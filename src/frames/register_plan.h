// For one chip over the frames of a sequence: the order in which each frame writes its
// changed pages and where it enters and leaves each page, so that the whole sequence needs
// the fewest operations when the page register and the column counter carry over from one
// page to the next and from one frame to the next. The first frame starts from unknown
// registers; every later one from what the frames before it left.
//
// Each page is written once, with its fewest writes (page_plan.h). What carries over saves
// the first page's "set page" when the register already holds that page, and a page's first
// "set column" when the counter stands at the start of one of its runs. A search over the
// orders of each frame's pages (at most 8 per chip), carried from frame to frame: the cheapest
// way to end a frame on each page, with every column the counter may then stand at. With
// `exhaustive` it is exact; its short cuts find the same cost sooner for frames whose pages
// all chain, and gather pages that chain with none.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "frames/page_plan.h"
#include "picture/geometry.h"

namespace lumigrid {

using PageMasks = std::array<ColumnMask, kPageCount>;  // changed columns of each page

struct PlannedPage {
  int page = 0;
  bool set_page = true;      // false: the page register holds this page already
  std::optional<int> entry;  // entered where the counter stands, with no "set column"
  int exit = 0;              // where the counter stands after the page
  friend bool operator==(const PlannedPage&, const PlannedPage&) = default;
};

struct ChipPlan {
  std::vector<std::vector<PlannedPage>> frames;  // play order of the changed pages per frame
  int64_t operations = 0;                        // of this chip over all frames
};

// Where the last frame is to leave the registers (-1: anywhere).
struct ChipEnd {
  int page = -1;
  int column = -1;
};

// The search over `frames` (the changed columns of the chip's pages in each frame), done once
// for any number of plans. `exhaustive` searches every order of every frame's pages, without
// the short cuts.
class ChipPlanner {
 public:
  explicit ChipPlanner(const std::vector<PageMasks>& frames, bool exhaustive = false);
  ~ChipPlanner();
  ChipPlanner(ChipPlanner&&) noexcept;
  ChipPlanner& operator=(ChipPlanner&&) noexcept;

  // The cheapest plan; with `end`, of the ways to end the last frame the search keeps (up to
  // one operation dearer than the cheapest) the cheapest that ends there, when there is one.
  ChipPlan Plan(std::optional<ChipEnd> end = {}) const;

  struct Frame;  // the search's tables for one frame

 private:
  std::vector<Frame> frames_;
};

inline ChipPlan PlanChipFrames(const std::vector<PageMasks>& frames,
                               std::optional<ChipEnd> end = {}, bool exhaustive = false) {
  return ChipPlanner(frames, exhaustive).Plan(end);
}

}  // namespace lumigrid
