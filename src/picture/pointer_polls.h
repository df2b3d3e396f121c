// The two pointer polls that run after every event of the main window: painting in the
// enlarged view and the hover highlight of the canvas. Both only decide; the editor draws.
#pragma once

namespace lumigrid {

enum class PaintAction { kNone, kSet, kClear };

// Painting: one change per (square, left, right) triple, inside the square's live area only.
class PaintTracker {
 public:
  // square 1..64 under the pointer (0: none), the pointer's offset inside it and the buttons.
  PaintAction Poll(int square, int dx, int dy, bool left, bool right);

 private:
  struct Triple {
    int square = -1;
    bool left = false;
    bool right = false;
    friend bool operator==(const Triple&, const Triple&) = default;
  };
  Triple last_;  // never reset; it only suppresses repeats
};

// Hover highlight of the canvas cell under the pointer.
class HoverTracker {
 public:
  struct Update {
    int unhighlight = 0;      // cell to redraw in the normal colour, 0 for none
    int highlight = 0;        // cell to redraw in the hover colour and show the hint of
    bool clear_hint = false;  // the pointer has left the canvas frame
  };

  // over_frame: the pointer lies over the canvas frame; cell: the cell under it or 0 (gap).
  Update Poll(bool over_frame, int cell);
  int HoverCell() const { return hover_cell_; }

 private:
  enum class State { kOverCanvas, kAwayPending, kAwayClean };
  State state_ = State::kAwayPending;
  int hover_cell_ = 0;
};

}  // namespace lumigrid
