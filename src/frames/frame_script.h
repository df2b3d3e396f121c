// Frame scripts: the fewest display writes that turn one picture into the next.
//
// A frame writes, page by page, only the pages that change. Each page sets the chip's page
// register, then writes segments: a "set column" and a run of data. Inside a page a gap of
// unchanged bytes between two changed runs is rewritten when it is one byte long (it costs
// what a new "set column" costs, and the table stays shorter) and skipped otherwise; a
// segment may run past column 63 into column 0, as the controller's column counter does.
//
// Two kinds of script. In the standalone one every page starts from unknown register
// contents, so its writes stand alone, and the start line stays 0. The script that
// MakeFrameScript makes also lets the page register and the column counter carry over from
// page to page and from frame to frame (a "set page" or "set column" is left out where the
// register already holds its value), and may scroll: it changes the start line of both chips
// (2 operations) where the next picture is the memory shown at another start line, plus a
// few rows to write.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "frames/ks0108_model.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

struct FrameSegment {
  uint8_t column = 0;         // 0..63, the first column written
  std::vector<uint8_t> data;  // 1..64 bytes, written at column, column + 1, ... (mod 64)
  // false: no "set column"; the counter stands at `column` already. Then 1..63 bytes.
  bool set_column = true;
  friend bool operator==(const FrameSegment&, const FrameSegment&) = default;
};

struct PageWrite {
  uint8_t chip = 1;  // 1 (left half) or 2 (right half)
  uint8_t page = 0;  // 0..7
  std::vector<FrameSegment> segments;
  bool set_page = true;  // false: no "set page"; the chip's page register holds `page` already
  friend bool operator==(const PageWrite&, const PageWrite&) = default;
};

// The writes of one transition in play order. The standalone script lists the pages in
// display-memory order (page 0 chip 1, page 0 chip 2, page 1 chip 1, ...).
struct Frame {
  std::vector<PageWrite> pages;
  // Set first: the start line (0..63) of both chips, when the frame changes it.
  std::optional<uint8_t> start_line;
  friend bool operator==(const Frame&, const Frame&) = default;
};

// Frames of a whole sequence. With `loop` the last frame leads back to the first picture and
// playback continues with frames[1].
struct FrameScript {
  std::vector<Frame> frames;
  bool loop = false;
  friend bool operator==(const FrameScript&, const FrameScript&) = default;
};

struct SequenceOptions {
  std::optional<PictureBytes> start;  // what the display shows first (at start line 0); blank
                                      // when not given
  bool loop = false;                  // add the frame from the last picture back to the first
  bool scroll = true;                 // MakeFrameScript may change the start line
};

// Bus operations a whole picture costs when every page is written out: set page, set column
// and 64 data writes for each of the 16 pages.
inline constexpr int kWholePageOperations = 2 + kSegmentsPerCrystal;
inline constexpr int kWholePictureOperations = 2 * kPageCount * kWholePageOperations;

// The standalone frame from `from` to `to`: the fewest operations when every page starts from
// unknown registers.
Frame MakeFrame(const PictureBytes& from, const PictureBytes& to);

// A frame writing the bytes of `to` wherever `skip_map` holds anything but 0xFF (0xFF marks a
// byte that may be skipped), one segment per run of such bytes in each page.
Frame MakeSkipMapFrame(const PictureBytes& to, const PictureBytes& skip_map);

// Frames for a sequence: start (or blank) to pictures[0], then each picture to the next, and
// with options.loop the last back to pictures[0]. No pictures give no frames.
//
// The standalone script: MakeFrame for each transition (options.scroll is not used).
FrameScript MakeStandaloneFrameScript(const std::vector<PictureBytes>& pictures,
                                      const SequenceOptions& options = {});
// Registers carried over, and with options.scroll the start line chosen for each transition
// among all 64: the one whose standalone frame plus the change of start line (2 operations)
// costs least; the current line, then the smallest move up, on a tie. Then every frame's
// pages are ordered and entered so that the whole sequence needs the fewest operations, each
// frame playing from the registers the frames before it left (the first from unknown ones).
// A looping script shows the first picture at one start line throughout, as the frame after
// the loop expects the display as the first frame left it; of the lines the first frame and
// the loop frame would choose, the one that makes the sequence cheaper. The loop frame also
// leaves the registers that the frames after it rely on.
FrameScript MakeFrameScript(const std::vector<PictureBytes>& pictures,
                            const SequenceOptions& options = {});

// True unless the script loops and its loop frame leaves a register otherwise than the first
// frame did that the frames after the first read before setting it (a "set page" or
// "set column" left out): those frames play after both.
bool LoopKeepsRegisters(const FrameScript& script);

// The start line a script leaves the display at (0 when no frame changes it).
int FinalStartLine(const FrameScript& script);

// The bus operations of a frame, in the order they are played.
std::vector<BusOp> FrameBusOps(const Frame& frame);
int FrameOperationCount(const Frame& frame);
// Data writes of a frame.
int FrameDataCount(const Frame& frame);

}  // namespace lumigrid
