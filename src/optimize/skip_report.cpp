#include "optimize/skip_report.h"

#include <array>
#include <initializer_list>

#include "optimize/identical_scan.h"

namespace lumigrid {

namespace {

constexpr TextStyle kPlain{};
constexpr TextStyle kBold{{}, true};

// A styled stretch of a line, in characters counted from 1, both ends included.
struct Columns {
  int first;
  int last;
  TextStyle style;
};

// Appends `line` and its line break; characters outside every range are plain.
void AppendLine(StyledText& out, std::string_view line, std::initializer_list<Columns> ranges) {
  auto style_of = [&](int column) {
    for (const Columns& r : ranges) {
      if (column >= r.first && column <= r.last) return r.style;
    }
    return kPlain;
  };
  size_t start = 0;
  TextStyle style = kPlain;
  int column = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) continue;  // inside a character
    const TextStyle here = style_of(++column);
    if (i > start && !(here == style)) {
      out.Append(line.substr(start, i - start), style);
      start = i;
    }
    style = here;
  }
  out.Append(line.substr(start), style);
  out.Append("\n");
}

char HexDigit(int v) { return "0123456789ABCDEF"[v & 0x0F]; }

std::string HexByte(int v) { return {HexDigit(v >> 4), HexDigit(v)}; }

// Segment address 0..63 of byte k in column group g of a crystal.
int SegmentAddress(int group, int k) { return 8 * (group - 1) + (k - 1); }

// Full list line styles.
constexpr TextStyle kTitleStyle{{76, 2, 179}, true};
constexpr TextStyle kRunStyle{{118, 7, 137}, false};
constexpr TextStyle kCrystalStyle{{195, 4, 60}, true};
constexpr TextStyle kPageStyle{{124, 2, 131}, true};
constexpr TextStyle kGroupStyle{{62, 159, 100}, true};
constexpr TextStyle kAddressWordStyle{{1, 87, 175}, true};
constexpr TextStyle kAddressStyle{{188, 2, 67}, true};
constexpr TextStyle kSeparatorStyle{{254, 0, 0}, true};

// Cell detail styles.
constexpr TextStyle kPlaceNumberStyle{{0, 100, 0}, false};
constexpr TextStyle kDetailAddressStyle{{254, 17, 181}, false};
constexpr TextStyle kDetailHyphenStyle{{70, 36, 185}, false};

constexpr std::string_view kWriteLine = "                   ----------  ";

void AppendCrystalLine(StyledText& out, int crystal) {
  AppendLine(out, "  Кристалл  " + std::to_string(crystal) + " ",
             {{2, 11, kCrystalStyle}, {12, 13, kBold}});
}

void AppendPageLine(StyledText& out, int page) {
  AppendLine(out, "      Страница  " + std::to_string(page) + "  ",
             {{5, 14, kPageStyle}, {15, 17, kBold}});
}

void AppendGroupLine(StyledText& out, int group) {
  AppendLine(out, "           Сегмент  " + std::to_string(group) + "  ",
             {{11, 18, kGroupStyle}, {20, 22, kBold}});
}

// The lines that repeat through a list, styled once: page and group lines by number, skip
// lines by address, and the write line.
struct RepeatedLines {
  std::array<StyledText, kPageCount + 1> pages;
  std::array<StyledText, kCellsPerCrystalRow + 1> groups;
  std::array<StyledText, kSegmentsPerCrystal> skips;
  StyledText write;

  RepeatedLines() {
    for (int p = 1; p <= kPageCount; ++p) AppendPageLine(pages[p], p);
    for (int g = 1; g <= kCellsPerCrystalRow; ++g) AppendGroupLine(groups[g], g);
    for (int a = 0; a < kSegmentsPerCrystal; ++a) {
      AppendLine(skips[a], "                   Адрес  " + HexByte(a) + "H     ",
                 {{18, 26, kAddressWordStyle}, {27, 29, kAddressStyle}});
    }
    AppendLine(write, kWriteLine, {});
  }
};

const RepeatedLines& Repeated() {
  static const RepeatedLines lines;
  return lines;
}

void AppendByteLines(StyledText& out, const PictureBytes& map, int c, int group) {
  const RepeatedLines& repeated = Repeated();
  for (int k = 1; k <= kBytesPerCell; ++k) {
    out.Append(map[ByteOffset(c, k)] == kSkipByte ? repeated.skips[SegmentAddress(group, k)]
                                                  : repeated.write);
  }
}

// The cells of one crystal, page by page; `lines` counts the lines written so far.
void AppendCrystal(StyledText& out, const PictureBytes& map, int crystal, int& lines,
                   const SkipListProgress& progress) {
  for (int page = 1; page <= kPageCount; ++page) {
    if (page > 1 && progress.page_started) progress.page_started();
    out.Append(Repeated().pages[page]);
    ++lines;
    for (int group = 1; group <= kCellsPerCrystalRow; ++group) {
      const int c = (page - 1) * kCellsPerPageRow + (crystal - 1) * kCellsPerCrystalRow + group;
      out.Append(Repeated().groups[group]);
      ++lines;
      if (progress.group_written) progress.group_written(lines);
      AppendByteLines(out, map, c, group);
      lines += kBytesPerCell;
    }
  }
}

}  // namespace

std::string SourceLineText(const ReportSource& source) {
  if (!source.file_name.empty()) return source.file_name;
  return "<Буфер " + std::to_string(source.buffer) + ">";
}

StyledText CellSkipDetail(const PictureBytes& map, int c) {
  StyledText out;
  if (!IsValidCell(c)) return out;
  const CellPlace place = CellPosition(c);
  const std::pair<std::string_view, int> headings[] = {{"Кристалл  —   ", place.crystal},
                                                       {"Страница  —   ", place.page},
                                                       {"Сегмент    —   ", place.group}};
  for (const auto& [label, number] : headings) {
    out.Append(label);
    out.Append(std::to_string(number), kPlaceNumberStyle);
    out.Append("\n");
  }
  out.Append("\n");
  for (int k = 1; k <= kBytesPerCell; ++k) {
    if (map[ByteOffset(c, k)] == kSkipByte) {
      out.Append("Адрес:        ");
      out.Append(HexByte(SegmentAddress(place.group, k)) + "H", kDetailAddressStyle);
      out.Append("  \n");
    } else {
      out.Append("------------------", kDetailHyphenStyle);
      out.Append("  \n");
    }
  }
  return out;
}

StyledText SkipListReport(const PictureBytes& map, std::span<const ReportSource> sources,
                          std::string_view run_text, const SkipListProgress& progress) {
  StyledText out;
  // About 64 bytes and four spans a line.
  out.Reserve(64 * SkipListLineCount(static_cast<int>(sources.size())), 4 * 1200);
  AppendLine(out, "Результат оптимизации файлов: ", {{1, 28, kTitleStyle}});
  AppendLine(out, "", {});
  for (const ReportSource& source : sources) AppendLine(out, SourceLineText(source), {});
  AppendLine(out, "", {});
  AppendLine(out, "Число повторяющихся байт  —  " + std::string(run_text) + " ",
             {{1, 29, kRunStyle}, {30, 32, kBold}});
  AppendLine(out, "", {});
  int lines = 5 + static_cast<int>(sources.size());

  AppendCrystalLine(out, 1);
  ++lines;
  AppendCrystal(out, map, 1, lines, progress);
  AppendLine(out, " ", {});
  AppendLine(out, "////////////////////    ", {{1, 21, kSeparatorStyle}});
  AppendLine(out, " ", {});
  AppendCrystalLine(out, 2);
  lines += 4;
  AppendCrystal(out, map, 2, lines, progress);
  return out;
}

}  // namespace lumigrid
