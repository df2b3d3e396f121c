#include "frames/frame_budget.h"

#include <algorithm>

#include "frames/frame_table.h"

namespace lumigrid {
namespace {

MethodBudget FrameCost(const Frame& frame, int64_t cycle_ns) {
  MethodBudget cost;
  cost.data_writes = FrameDataCount(frame);
  cost.operations = FrameOperationCount(frame);
  cost.table_bytes = FrameTableSize(frame);
  cost.bus_time_ns = cost.operations * cycle_ns;
  return cost;
}

MethodBudget WholeCost(int64_t cycle_ns) {
  // The firmware loops over pages itself; its table is the picture's 1024 bytes.
  return {kPictureBytes, kWholePictureOperations, kPictureBytes,
          kWholePictureOperations * cycle_ns};
}

void Add(MethodBudget& sum, const MethodBudget& part) {
  sum.data_writes += part.data_writes;
  sum.operations += part.operations;
  sum.table_bytes += part.table_bytes;
  sum.bus_time_ns += part.bus_time_ns;
}

// Characters, not bytes, so the arrow and µ pad like ASCII.
size_t Width(const std::string& text) {
  return static_cast<size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<uint8_t>(c) & 0xC0) != 0x80; }));
}

std::string PadRight(const std::string& text, size_t width) {
  const size_t w = Width(text);
  return w >= width ? text : text + std::string(width - w, ' ');
}

std::string PadLeft(const std::string& text, size_t width) {
  const size_t w = Width(text);
  return w >= width ? text : std::string(width - w, ' ') + text;
}

// Nanoseconds as microseconds with three decimals, without floating point.
std::string Microseconds(int64_t ns) {
  std::string fraction = std::to_string(ns % 1000);
  return std::to_string(ns / 1000) + "." + std::string(3 - fraction.size(), '0') + fraction;
}

std::string PictureName(int number, bool from_start) {
  if (number > 0) return std::to_string(number);
  return from_start ? "start" : "blank";
}

}  // namespace

std::optional<FrameBudget> ComputeFrameBudget(const std::vector<PictureBytes>& pictures,
                                              const PictureBytes& skip_map,
                                              const SequenceOptions& options, int64_t cycle_ns) {
  if (cycle_ns < 1 || cycle_ns > kMaxBusCycleNs) return std::nullopt;
  FrameBudget budget;
  budget.cycle_ns = cycle_ns;
  budget.from_start = options.start.has_value();
  budget.scroll = options.scroll;
  const FrameScript script = MakeStandaloneFrameScript(pictures, options);
  const FrameScript scrolling = MakeFrameScript(pictures, options);
  const PictureBytes write_all{};  // a map with no skip

  PictureBytes from = options.start.value_or(PictureBytes{});
  int line = 0;
  for (size_t i = 0; i < script.frames.size(); ++i) {
    const size_t to_index = i < pictures.size() ? i : 0;  // the loop's last frame ends at 1
    const PictureBytes& to = pictures[to_index];
    TransitionBudget t;
    t.from = static_cast<int>(i == 0 ? 0 : i);
    t.to = static_cast<int>(to_index + 1);
    // The skip map speaks of bytes the pictures share; what the display shows before the
    // first picture is not one of them, so the first frame is written whole.
    const PictureBytes& map = i == 0 ? write_all : skip_map;
    for (int offset = 0; offset < kPictureBytes; ++offset) {
      if (from[offset] == to[offset]) continue;
      ++t.changed_bytes;
      if (map[offset] == 0xFF) ++t.skip_map_missed;
    }
    t.whole = WholeCost(cycle_ns);
    t.skip_map = FrameCost(MakeSkipMapFrame(to, map), cycle_ns);
    t.script = FrameCost(script.frames[i], cycle_ns);
    t.scrolling = FrameCost(scrolling.frames[i], cycle_ns);
    if (scrolling.frames[i].start_line) line = *scrolling.frames[i].start_line;
    t.start_line = line;
    budget.transitions.push_back(t);
    from = to;
  }

  TransitionBudget& total = budget.total;
  for (const TransitionBudget& t : budget.transitions) {
    total.changed_bytes += t.changed_bytes;
    total.skip_map_missed += t.skip_map_missed;
    Add(total.whole, t.whole);
    Add(total.skip_map, t.skip_map);
    Add(total.script, t.script);
    Add(total.scrolling, t.scrolling);
  }
  total.whole.table_bytes = static_cast<int64_t>(pictures.size()) * kPictureBytes;
  total.skip_map.table_bytes += 1;  // the table's end byte
  total.script.table_bytes += 1;
  total.scrolling.table_bytes += 1;
  total.start_line = line;
  return budget;
}

std::string FormatFrameBudget(const FrameBudget& budget) {
  const std::string methods[] = {"(a) whole", "(b) skip map", "(c) frame script",
                                 budget.scroll ? "(d) scrolling script" : "(d) script, no scroll"};
  static const std::string kHeadings[] = {"Change",     "Changed", "Method",   "Data",
                                          "Operations", "Table",   "Time, µs", "Line"};
  constexpr size_t kWidths[] = {16, 9, 23, 8, 12, 9, 13, 6};

  std::string out = "Bus cycle: " + std::to_string(budget.cycle_ns) + " ns\n\n";
  auto row = [&](const std::string& name, const std::string& changed, int method,
                 const MethodBudget& m, const std::string& line) {
    std::string text = PadRight(name, kWidths[0]) + PadLeft(changed, kWidths[1]) + "  " +
                       PadRight(methods[method], kWidths[2]) +
                       PadLeft(std::to_string(m.data_writes), kWidths[3]) +
                       PadLeft(std::to_string(m.operations), kWidths[4]) +
                       PadLeft(std::to_string(m.table_bytes), kWidths[5]) +
                       PadLeft(Microseconds(m.bus_time_ns), kWidths[6]);
    if (!line.empty()) text += PadLeft(line, kWidths[7]);
    out += text + "\n";
  };
  out += PadRight(kHeadings[0], kWidths[0]) + PadLeft(kHeadings[1], kWidths[1]) + "  " +
         PadRight(kHeadings[2], kWidths[2]);
  for (int i = 3; i < 8; ++i) out += PadLeft(kHeadings[i], kWidths[i]);
  out += "\n";
  auto block = [&](const std::string& name, const TransitionBudget& t) {
    row(name, std::to_string(t.changed_bytes), 0, t.whole, "");
    row("", "", 1, t.skip_map, "");
    row("", "", 2, t.script, "");
    row("", "", 3, t.scrolling, std::to_string(t.start_line));
  };
  for (const TransitionBudget& t : budget.transitions) {
    block(PictureName(t.from, budget.from_start) + " → " + PictureName(t.to, budget.from_start), t);
  }
  block("Total", budget.total);

  std::string missed;
  for (const TransitionBudget& t : budget.transitions) {
    if (t.skip_map_missed == 0) continue;
    missed += "  " + PictureName(t.from, budget.from_start) + " → " +
              PictureName(t.to, budget.from_start) + ": " + std::to_string(t.skip_map_missed) +
              "\n";
  }
  if (!missed.empty()) {
    out += "\nThe skip map skips changed bytes; (b) shows a wrong picture after:\n" + missed;
  }
  return out;
}

}  // namespace lumigrid
