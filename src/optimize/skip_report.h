// The texts of the optimization report: the skips of one cell, and the full skip list of a
// skip map with its sources and minimum run.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "optimize/styled_text.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

// A ticked source buffer and the file it was loaded from (empty when none).
struct ReportSource {
  int buffer = 0;
  std::string file_name;
};

// The skip list is 1178 lines and one more per source; its progress runs up to 1170.
constexpr int kSkipListFixedLines = 1178;
constexpr int kSkipListProgressMax = 1170;
constexpr int SkipListLineCount(int sources) { return kSkipListFixedLines + sources; }

// Called while the skip list is built, so a window can show how far it got.
struct SkipListProgress {
  std::function<void()> page_started;            // before each page of a crystal but its first
  std::function<void(int lines)> group_written;  // after each cell's heading line
};

// Cell c of the map: its crystal, page and column group, then one line per byte, an address
// where the byte may be skipped and hyphens where it must be written.
StyledText CellSkipDetail(const PictureBytes& map, int c);

// The full report: title, sources, minimum run as the spin box shows it (`run_text`), then
// every cell of crystal 1 and crystal 2, page by page.
StyledText SkipListReport(const PictureBytes& map, std::span<const ReportSource> sources,
                          std::string_view run_text, const SkipListProgress& progress = {});

// "<Буфер b>" for a buffer without a file, else its path.
std::string SourceLineText(const ReportSource& source);

}  // namespace lumigrid
