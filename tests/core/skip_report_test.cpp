// The cell detail and the full skip list: their lines, blanks and styles.
#include "optimize/skip_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "optimize/identical_scan.h"
#include "test_pictures.h"

namespace lumigrid {
namespace {

using testing::Filled;

std::vector<std::string> Lines(const StyledText& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t lf = text.Text().find('\n'); lf != std::string::npos;
       lf = text.Text().find('\n', start)) {
    lines.push_back(text.Text().substr(start, lf - start));
    start = lf + 1;
  }
  EXPECT_EQ(start, text.Text().size()) << "every line ends with a line break";
  return lines;
}

// The style of character `column` (from 1) of line `line` (from 0).
TextStyle StyleAt(const StyledText& text, int line, int column) {
  size_t at = 0;
  for (int l = 0; l < line; ++l) at = text.Text().find('\n', at) + 1;
  for (int col = 1; col < column; ++col) {
    do {
      ++at;
    } while ((static_cast<unsigned char>(text.Text()[at]) & 0xC0) == 0x80);
  }
  for (const StyledSpan& s : text.Spans()) {
    if (at >= s.begin && at < s.end) return s.style;
  }
  ADD_FAILURE() << "no span at line " << line << " column " << column;
  return {};
}

const std::vector<ReportSource> kTwoFiles = {{1, "C:\\pics\\a.chr"}, {2, "C:\\pics\\b.chr"}};

TEST(SkipList, StartsAsTheWorkedExample) {
  PictureBytes map{};
  map[ByteOffset(1, 1)] = kSkipByte;
  map[ByteOffset(1, 2)] = kSkipByte;
  const std::vector<std::string> lines = Lines(SkipListReport(map, kTwoFiles, "3"));
  const std::vector<std::string> expected = {
      "Результат оптимизации файлов: ",
      "",
      "C:\\pics\\a.chr",
      "C:\\pics\\b.chr",
      "",
      "Число повторяющихся байт  —  3 ",
      "",
      "  Кристалл  1 ",
      "      Страница  1  ",
      "           Сегмент  1  ",
      "                   Адрес  00H     ",
      "                   Адрес  01H     ",
      "                   ----------  ",
      "                   ----------  ",
      "                   ----------  ",
      "                   ----------  ",
      "                   ----------  ",
      "                   ----------  ",
      "           Сегмент  2  ",
  };
  ASSERT_GE(lines.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i;
}

TEST(SkipList, LineCountGrowsWithTheSources) {
  for (int s : {0, 1, 2, 9}) {
    std::vector<ReportSource> sources;
    for (int b = 1; b <= s; ++b) sources.push_back({b, ""});
    const auto lines = Lines(SkipListReport(Filled(0), sources, "1"));
    EXPECT_EQ(static_cast<int>(lines.size()), 1178 + s) << s << " sources";
    EXPECT_EQ(static_cast<int>(lines.size()), SkipListLineCount(s));
    if (s > 0) {
      EXPECT_EQ(lines[2], "<Буфер 1>");
    }
    if (s == 9) {
      EXPECT_EQ(lines[10], "<Буфер 9>");
    }
  }
}

TEST(SkipList, MiddleAndEndBetweenTheCrystals) {
  const auto lines = Lines(SkipListReport(Filled(0), {}, "1"));
  // 5 heading lines, crystal line, 584 lines of crystal 1.
  EXPECT_EQ(lines[5 + 1 + 584], " ");
  EXPECT_EQ(lines[5 + 1 + 585], "////////////////////    ");
  EXPECT_EQ(lines[5 + 1 + 586], " ");
  EXPECT_EQ(lines[5 + 1 + 587], "  Кристалл  2 ");
  EXPECT_EQ(lines[5 + 1 + 588], "      Страница  1  ");
  EXPECT_EQ(lines.back(), "                   ----------  ");
}

TEST(SkipList, AllWriteAndAllSkipMaps) {
  const auto count = [](const std::vector<std::string>& lines, const std::string& start) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.starts_with(start); });
  };
  const auto writes = Lines(SkipListReport(Filled(0x00), {}, "1"));
  EXPECT_EQ(count(writes, "                   ----------  "), 1024);
  EXPECT_EQ(count(writes, "                   Адрес"), 0);

  const auto skips = Lines(SkipListReport(Filled(0xFF), {}, "1"));
  EXPECT_EQ(count(skips, "                   ----------"), 0);
  EXPECT_EQ(count(skips, "                   Адрес"), 1024);
  int groups_eight = 0;
  for (size_t i = 0; i < skips.size(); ++i) {
    if (skips[i] != "           Сегмент  8  ") continue;
    ++groups_eight;
    EXPECT_EQ(skips[i + 1], "                   Адрес  38H     ");
    EXPECT_EQ(skips[i + 8], "                   Адрес  3FH     ");
  }
  EXPECT_EQ(groups_eight, 16) << "8 pages in both crystals";
}

TEST(SkipList, OnlyBytesOfTheMapAtFFAreSkips) {
  PictureBytes map{};
  map[ByteOffset(9, 8)] = 0xFE;         // not a skip
  map[ByteOffset(128, 8)] = kSkipByte;  // crystal 2, page 8, group 8, last byte
  const auto lines = Lines(SkipListReport(map, {}, "1"));
  EXPECT_EQ(lines.back(), "                   Адрес  3FH     ");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "                   Адрес  3FH     "), 1);
}

TEST(SkipList, RunLineShowsTheSpinTextAndABlank) {
  const auto lines = Lines(SkipListReport(Filled(0), {}, "12"));
  EXPECT_EQ(lines[3], "Число повторяющихся байт  —  12 ");
}

struct StyleCase {
  const char* what;
  int line;  // with no sources and run text "12"
  int column;
  TextStyle style;
};

class SkipListStyles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(SkipListStyles, ColumnHasItsStyle) {
  static const StyledText report = [] {
    PictureBytes map{};
    map[ByteOffset(1, 1)] = kSkipByte;
    return SkipListReport(map, {}, "12");
  }();
  const StyleCase& t = GetParam();
  const TextStyle got = StyleAt(report, t.line, t.column);
  EXPECT_EQ(got.colour, t.style.colour) << t.what;
  EXPECT_EQ(got.bold, t.style.bold) << t.what;
}

constexpr TextStyle kPlain{};
constexpr TextStyle kBold{{}, true};

INSTANTIATE_TEST_SUITE_P(
    Report, SkipListStyles,
    ::testing::Values(
        StyleCase{"title first", 0, 1, {{76, 2, 179}, true}},
        StyleCase{"title 28", 0, 28, {{76, 2, 179}, true}}, StyleCase{"title colon", 0, 29, kPlain},
        StyleCase{"run text 29", 3, 29, {{118, 7, 137}, false}},
        StyleCase{"run number", 3, 30, kBold}, StyleCase{"run blank", 3, 32, kBold},
        StyleCase{"crystal 1", 5, 1, kPlain}, StyleCase{"crystal 2", 5, 2, {{195, 4, 60}, true}},
        StyleCase{"crystal 11", 5, 11, {{195, 4, 60}, true}}, StyleCase{"crystal 12", 5, 12, kBold},
        StyleCase{"crystal number", 5, 13, kBold}, StyleCase{"crystal blank", 5, 14, kPlain},
        StyleCase{"page 4", 6, 4, kPlain}, StyleCase{"page 5", 6, 5, {{124, 2, 131}, true}},
        StyleCase{"page 14", 6, 14, {{124, 2, 131}, true}}, StyleCase{"page 15", 6, 15, kBold},
        StyleCase{"page number", 6, 17, kBold}, StyleCase{"page 18", 6, 18, kPlain},
        StyleCase{"group 10", 7, 10, kPlain}, StyleCase{"group 11", 7, 11, {{62, 159, 100}, true}},
        StyleCase{"group 18", 7, 18, {{62, 159, 100}, true}}, StyleCase{"group 19", 7, 19, kPlain},
        StyleCase{"group 20", 7, 20, kBold}, StyleCase{"group 22", 7, 22, kBold},
        StyleCase{"group 23", 7, 23, kPlain}, StyleCase{"skip 17", 8, 17, kPlain},
        StyleCase{"skip 18", 8, 18, {{1, 87, 175}, true}},
        StyleCase{"skip 26", 8, 26, {{1, 87, 175}, true}},
        StyleCase{"skip digit", 8, 27, {{188, 2, 67}, true}},
        StyleCase{"skip H", 8, 29, {{188, 2, 67}, true}}, StyleCase{"skip 30", 8, 30, kPlain},
        StyleCase{"write hyphen", 9, 20, kPlain},
        StyleCase{"separator 21", 6 + 584 + 1, 21, {{254, 0, 0}, true}},
        StyleCase{"separator 22", 6 + 584 + 1, 22, kPlain}),
    [](const auto& info) {
      std::string name = info.param.what;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

TEST(SkipList, ProgressCountsLinesAndPages) {
  std::vector<int> values;
  int pages = 0;
  SkipListProgress progress{[&] { ++pages; }, [&](int lines) { values.push_back(lines); }};
  const std::vector<ReportSource> two = kTwoFiles;
  const StyledText report = SkipListReport(Filled(0), two, "1", progress);
  ASSERT_EQ(values.size(), 128u);
  EXPECT_EQ(values.front(), 5 + 2 + 1 + 1 + 1) << "headings, crystal, page, group line";
  EXPECT_EQ(values.back(), 1170 + 2);
  EXPECT_EQ(values.back() + 8, static_cast<int>(Lines(report).size()));
  EXPECT_EQ(pages, 14) << "pages 2..8 of each crystal";
}

TEST(CellDetail, ShowsPlaceAndAddressesOfCellTwelve) {
  PictureBytes map{};
  for (int k = 1; k <= 3; ++k) map[ByteOffset(12, k)] = kSkipByte;
  const StyledText detail = CellSkipDetail(map, 12);
  const std::vector<std::string> expected = {
      "Кристалл  —   2",      "Страница  —   1",
      "Сегмент    —   4",     "",
      "Адрес:        18H  ",  "Адрес:        19H  ",
      "Адрес:        1AH  ",  "------------------  ",
      "------------------  ", "------------------  ",
      "------------------  ", "------------------  ",
  };
  EXPECT_EQ(Lines(detail), expected);

  const TextStyle number{{0, 100, 0}, false};
  const TextStyle address{{254, 17, 181}, false};
  const TextStyle hyphens{{70, 36, 185}, false};
  const struct {
    int line, column;
    TextStyle style;
  } cases[] = {{0, 1, kPlain},  {0, 14, kPlain},  {0, 15, number},  {2, 16, number},
               {4, 14, kPlain}, {4, 15, address}, {4, 17, address}, {4, 18, kPlain},
               {7, 1, hyphens}, {7, 18, hyphens}, {7, 19, kPlain}};
  for (const auto& c : cases) {
    const TextStyle got = StyleAt(detail, c.line, c.column);
    EXPECT_EQ(got.colour, c.style.colour) << c.line << ":" << c.column;
    EXPECT_EQ(got.bold, c.style.bold) << c.line << ":" << c.column;
  }
}

TEST(CellDetail, AddressesFollowTheColumnGroup) {
  const PictureBytes map = Filled(kSkipByte);
  struct Case {
    int cell;
    const char* crystal_line;
    const char* first;
    const char* last;
  };
  for (const Case& c :
       {Case{1, "Кристалл  —   1", "Адрес:        00H  ", "Адрес:        07H  "},
        Case{16, "Кристалл  —   2", "Адрес:        38H  ", "Адрес:        3FH  "},
        Case{120, "Кристалл  —   1", "Адрес:        38H  ", "Адрес:        3FH  "}}) {
    const auto lines = Lines(CellSkipDetail(map, c.cell));
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], c.crystal_line) << c.cell;
    EXPECT_EQ(lines[4], c.first) << c.cell;
    EXPECT_EQ(lines[11], c.last) << c.cell;
  }
  EXPECT_TRUE(CellSkipDetail(map, 0).Text().empty());
  EXPECT_TRUE(CellSkipDetail(map, 129).Text().empty());
}

TEST(PlainTextFile, Windows1251WithCrLfAndOneMoreLineEnd) {
  StyledText text;
  text.Append("Адрес", {{1, 2, 3}, true});
  text.Append(" 00H\n");
  text.Append("x\n");
  EXPECT_EQ(PlainTextFileBytes(text), "\xC0\xE4\xF0\xE5\xF1 00H\r\nx\r\n\r\n");
  EXPECT_EQ(PlainTextFileBytes(StyledText{}), "\r\n");
}

}  // namespace
}  // namespace lumigrid
