// Frame scripts: the fewest display writes that turn one picture into the next.
//
// A frame writes, page by page, only the pages that change. Each page sets the chip's page
// register, then writes segments: a "set column" and a run of data. Inside a page a gap of
// unchanged bytes between two changed runs is rewritten when it is one byte long (it costs
// what a new "set column" costs, and the table stays shorter) and skipped otherwise; a
// segment may run past column 63 into column 0, as the controller's column counter does.
// Every page starts from unknown register contents, so its writes stand alone.
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
  friend bool operator==(const FrameSegment&, const FrameSegment&) = default;
};

struct PageWrite {
  uint8_t chip = 1;  // 1 (left half) or 2 (right half)
  uint8_t page = 0;  // 0..7
  std::vector<FrameSegment> segments;
  friend bool operator==(const PageWrite&, const PageWrite&) = default;
};

// The writes of one transition, pages in display-memory order (page 0 chip 1, page 0 chip 2,
// page 1 chip 1, ...).
struct Frame {
  std::vector<PageWrite> pages;
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
  std::optional<PictureBytes> start;  // what the display shows first; blank when not given
  bool loop = false;                  // add the frame from the last picture back to the first
};

// Bus operations a whole picture costs when every page is written out: set page, set column
// and 64 data writes for each of the 16 pages.
inline constexpr int kWholePageOperations = 2 + kSegmentsPerCrystal;
inline constexpr int kWholePictureOperations = 2 * kPageCount * kWholePageOperations;

// The minimal frame from `from` to `to`.
Frame MakeFrame(const PictureBytes& from, const PictureBytes& to);

// A frame writing the bytes of `to` wherever `skip_map` holds anything but 0xFF (0xFF marks a
// byte that may be skipped), one segment per run of such bytes in each page.
Frame MakeSkipMapFrame(const PictureBytes& to, const PictureBytes& skip_map);

// Frames for a sequence: start (or blank) to pictures[0], then each picture to the next, and
// with options.loop the last back to pictures[0]. No pictures give no frames.
FrameScript MakeFrameScript(const std::vector<PictureBytes>& pictures,
                            const SequenceOptions& options = {});

// The bus operations of a frame, in the order they are played.
std::vector<BusOp> FrameBusOps(const Frame& frame);
int FrameOperationCount(const Frame& frame);
// Data writes of a frame.
int FrameDataCount(const Frame& frame);

}  // namespace lumigrid
