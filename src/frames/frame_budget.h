// What a sequence of pictures costs on the display bus, four ways: every picture written
// whole, only the bytes the optimization panel's skip map leaves to write, the standalone
// frame script and the scrolling one. Per transition and in total, as numbers and as a text
// table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frames/frame_script.h"

namespace lumigrid {

// A typical KS0108 write cycle.
inline constexpr int64_t kDefaultBusCycleNs = 1000;
inline constexpr int64_t kMaxBusCycleNs = 1'000'000'000;

struct MethodBudget {
  int64_t data_writes = 0;
  int64_t operations = 0;   // commands and data writes
  int64_t table_bytes = 0;  // what the firmware stores to play it
  int64_t bus_time_ns = 0;  // operations x cycle
  friend bool operator==(const MethodBudget&, const MethodBudget&) = default;
};

struct TransitionBudget {
  int from = 0;  // picture 1..n; 0 is the blank display or the start picture
  int to = 0;
  int64_t changed_bytes = 0;
  MethodBudget whole;     // every page written out
  MethodBudget skip_map;  // the bytes the skip map marks to write; the first frame whole
  MethodBudget script;    // the standalone frame script (MakeStandaloneFrameScript)
  // The script `frames` writes (MakeFrameScript): registers carried over, and scrolling
  // unless FrameBudget::scroll is false.
  MethodBudget scrolling;
  int start_line = 0;  // where the scrolling script leaves the start line
  // Changed bytes the skip map marks as skippable: written that way the picture comes out
  // wrong, so the skip map's numbers are not a valid choice for this transition.
  int64_t skip_map_missed = 0;
};

struct FrameBudget {
  int64_t cycle_ns = kDefaultBusCycleNs;
  bool from_start = false;  // the first transition starts from a given picture, not blank
  bool scroll = true;       // the scrolling script may change the start line
  std::vector<TransitionBudget> transitions;
  // Sums of the transitions, except table_bytes: the size of the whole table (each picture
  // once when written whole; every frame and the table's end byte otherwise).
  TransitionBudget total;
};

// The budget of the sequence MakeFrameScript(pictures, options) plays. `skip_map` is a
// picture-sized map as the identical-byte scan writes it (0xFF: may be skipped). std::nullopt
// when cycle_ns lies outside 1..kMaxBusCycleNs.
std::optional<FrameBudget> ComputeFrameBudget(const std::vector<PictureBytes>& pictures,
                                              const PictureBytes& skip_map,
                                              const SequenceOptions& options = {},
                                              int64_t cycle_ns = kDefaultBusCycleNs);

// The budget as an English text table (UTF-8, "\n" line ends), the same for the same budget.
std::string FormatFrameBudget(const FrameBudget& budget);

}  // namespace lumigrid
