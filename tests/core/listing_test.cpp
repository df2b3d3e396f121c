#include "codegen/listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "picture/geometry.h"

namespace lumigrid {
namespace {

using testing::ReadGolden;

PictureBuffer WorkedExampleBuffer() {
  PictureBuffer buffer;
  buffer.SetCell(1, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80});
  return buffer;
}

ListingOptions Options(bool grouped, int first_indent = 2, int second_indent = 3) {
  ListingOptions options;
  options.group_by_crystal = grouped;
  options.first_indent = first_indent;
  options.second_indent = second_indent;
  return options;
}

ListingOptions OwnDirective(std::string name, int first_indent, int second_indent) {
  ListingOptions options = Options(true, first_indent, second_indent);
  options.use_dt = false;
  options.directive_name = std::move(name);
  return options;
}

std::vector<std::string> Generate(const PictureBuffer& buffer, const ListingOptions& options,
                                  int buffer_number = 3) {
  auto lines = GenerateListing(buffer, buffer_number, options);
  EXPECT_TRUE(lines.has_value());
  return lines.value_or(std::vector<std::string>{});
}

struct GoldenCase {
  const char* file;
  bool grouped;
  friend void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.file; }
};

class ListingGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ListingGoldenTest, MatchesTheWorkedExample) {
  ListingOptions options = Options(GetParam().grouped);
  options.directive_name = "ignored while Dt is chosen";
  EXPECT_EQ(JoinListingLines(Generate(WorkedExampleBuffer(), options)),
            ReadGolden(GetParam().file));
}

INSTANTIATE_TEST_SUITE_P(Orders, ListingGoldenTest,
                         ::testing::Values(GoldenCase{"listing_worked_example.txt", false},
                                           GoldenCase{"listing_grouped.txt", true}));

// Lines of a grouped listing without the file line: 1 banner 1, 3 first header, 4 first
// data line, 76 banner 2.
struct AlignmentCase {
  const char* name;
  friend void PrintTo(const AlignmentCase& c, std::ostream* os) { *os << c.name; }
  ListingOptions options;
  std::string header;  // page 1, crystal 1
  std::string data_prefix;
  std::string banner1;
  std::string banner2;
};

std::string Sp(int n) { return std::string(n, ' '); }

class ListingAlignmentTest : public ::testing::TestWithParam<AlignmentCase> {};

TEST_P(ListingAlignmentTest, HeaderTextStartsInTheColumnOfTheValues) {
  const auto& p = GetParam();
  const auto lines = Generate(WorkedExampleBuffer(), p.options);
  ASSERT_EQ(lines.size(), static_cast<size_t>(kGroupedListingLineCount));
  EXPECT_EQ(lines[3], p.header + "Страница 1  //  кристалл 1");
  EXPECT_EQ(lines[4], p.data_prefix + "0x01,0x02,0x04,0x08,0x10,0x20,0x40,0x80");
  EXPECT_EQ(lines[1], p.banner1 + "**** КРИСТАЛЛ 1 ****");
  EXPECT_EQ(lines[76], p.banner2 + "**** КРИСТАЛЛ 2 ****");
}

INSTANTIATE_TEST_SUITE_P(
    Directives, ListingAlignmentTest,
    ::testing::Values(
        AlignmentCase{"Dt", Options(true), ";" + Sp(6), "  Dt   ", ";" + Sp(6), ";" + Sp(6)},
        AlignmentCase{"ABCDE", OwnDirective("ABCDE", 2, 3), ";" + Sp(9), "  ABCDE   ", ";" + Sp(6),
                      ";" + Sp(9)},
        AlignmentCase{"X", OwnDirective("X", 2, 2), ";" + Sp(4), "  X  ", ";" + Sp(5), ";" + Sp(4)},
        // Counted in characters, not UTF-8 bytes.
        AlignmentCase{"Cyrillic", OwnDirective("ДТ", 1, 1), ";" + Sp(3), " ДТ ", ";" + Sp(3),
                      ";" + Sp(3)},
        AlignmentCase{"BlanksKeptAsTyped", OwnDirective(" dt", 2, 2), ";" + Sp(6), "   dt  ",
                      ";" + Sp(5), ";" + Sp(6)},
        AlignmentCase{"ZeroIndents", Options(true, 0, 0), "; ", "Dt", "; ", "; "},
        AlignmentCase{"NegativeIndents", OwnDirective("X", -5, -1), ";", "X", "; ", ";"},
        AlignmentCase{"HugeIndentIsCapped", OwnDirective("X", INT_MAX, 2),
                      ";" + Sp(kMaxListingIndent + 2), Sp(kMaxListingIndent) + "X  ",
                      ";" + Sp(kMaxListingIndent + 3), ";" + Sp(kMaxListingIndent + 2)}),
    [](const auto& info) { return std::string(info.param.name); });

struct FileLineCase {
  const char* name;
  friend void PrintTo(const FileLineCase& c, std::ostream* os) { *os << c.name; }
  std::string file_name;
  int buffer_number;
  bool grouped;
  std::string file_line;
  int line_count;
};

class ListingFileLineTest : public ::testing::TestWithParam<FileLineCase> {};

TEST_P(ListingFileLineTest, StartsWithBlankAndFileLine) {
  const auto& p = GetParam();
  PictureBuffer buffer = WorkedExampleBuffer();
  buffer.SetFileName(p.file_name);
  ListingOptions options = Options(p.grouped);
  options.add_file_name = true;
  const auto lines = Generate(buffer, options, p.buffer_number);
  ASSERT_EQ(lines.size(), static_cast<size_t>(p.line_count));
  EXPECT_EQ(lines.front(), "");
  EXPECT_EQ(lines.back(), "");
  EXPECT_EQ(lines[1], p.file_line);
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3],
            p.grouped ? ";      **** КРИСТАЛЛ 1 ****" : ";      Страница 1  //  кристалл 1");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListingFileLineTest,
    ::testing::Values(FileLineCase{"Named", R"(C:\pics\logo.chr)", 3, false,
                                   R"(; Файл  —  C:\pics\logo.chr)",
                                   kListingLineCount + kFileLineExtraLines},
                      FileLineCase{"NamedGrouped", "/home/u/Рисунки/a b.chr", 3, true,
                                   "; Файл  —  /home/u/Рисунки/a b.chr",
                                   kGroupedListingLineCount + kFileLineExtraLines},
                      FileLineCase{"Numbered", "", 3, false, "; <Буфер 3>",
                                   kListingLineCount + kFileLineExtraLines},
                      FileLineCase{"NumberedTen", "", 10, true, "; <Буфер 10>",
                                   kGroupedListingLineCount + kFileLineExtraLines}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GenerateListing, FullyLitPictureGivesEveryValueFF) {
  PictureBuffer buffer;
  buffer.Bytes().fill(0xFF);
  const auto lines = Generate(buffer, Options(false));
  const std::string full = "  Dt   0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF";
  EXPECT_EQ(std::count(lines.begin(), lines.end(), full), kCellCount);
}

TEST(GenerateListing, EmptyOwnDirectiveIsRefused) {
  EXPECT_FALSE(GenerateListing(WorkedExampleBuffer(), 1, OwnDirective("", 2, 3)).has_value());
  ListingOptions dt = Options(false);
  dt.directive_name.clear();  // the field is not looked at while Dt is chosen
  EXPECT_TRUE(GenerateListing(WorkedExampleBuffer(), 1, dt).has_value());
}

// Oracle: reading the listing back gives every byte of the picture exactly once, each cell
// under the header of its own page and crystal, in the cell walk or crystal by crystal.
std::vector<int> ExpectedCellOrder(bool grouped) {
  std::vector<int> cells(kCellCount);
  std::iota(cells.begin(), cells.end(), 1);
  if (grouped) {
    std::stable_partition(cells.begin(), cells.end(),
                          [](int c) { return CellPosition(c).crystal == 1; });
  }
  return cells;
}

TEST(GenerateListing, DataLinesReadBackAsThePictureInListingOrder) {
  std::mt19937 random(1251);
  for (int round = 0; round < 20; ++round) {
    PictureBuffer buffer;
    for (auto& b : buffer.Bytes()) b = static_cast<uint8_t>(random());
    const bool grouped = round % 2 == 1;
    ListingOptions options = round % 4 < 2 ? Options(grouped, 12, 12) : OwnDirective("db", 3, 7);
    options.group_by_crystal = grouped;
    const std::string prefix = round % 4 < 2 ? Sp(12) + "Dt" + Sp(12) : Sp(3) + "db" + Sp(7);
    const std::vector<int> order = ExpectedCellOrder(grouped);
    SCOPED_TRACE("round " + std::to_string(round) + (grouped ? ", grouped" : ", cell walk"));

    size_t next = 0;
    CellPlace header{};
    for (const std::string& line : Generate(buffer, options)) {
      if (line.empty()) continue;
      if (line[0] == ';') {
        const auto at = line.find("Страница ");
        if (at != std::string::npos) {
          ASSERT_EQ(std::sscanf(line.c_str() + at, "Страница %d  //  кристалл %d", &header.page,
                                &header.crystal),
                    2)
              << line;
        }
        continue;
      }
      ASSERT_LT(next, order.size()) << "extra data line " << line;
      const int cell = order[next++];
      ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
      const CellPlace place = CellPosition(cell);
      EXPECT_EQ(header.page, place.page) << "cell " << cell;
      EXPECT_EQ(header.crystal, place.crystal) << "cell " << cell;
      std::istringstream values(line.substr(prefix.size()));
      for (int k = 1; k <= kBytesPerCell; ++k) {
        std::string value;
        std::getline(values, value, ',');
        ASSERT_EQ(value.size(), 4u) << line;
        EXPECT_EQ(std::stoi(value, nullptr, 16), buffer.Byte(cell, k))
            << "cell " << cell << " byte " << k;
      }
      EXPECT_TRUE(values.eof()) << "more than eight values: " << line;
    }
    EXPECT_EQ(next, order.size());
  }
}

struct FileBytesCase {
  const char* name;
  friend void PrintTo(const FileBytesCase& c, std::ostream* os) { *os << c.name; }
  std::string view_text;
  std::string bytes;
};

class ListingFileBytesTest : public ::testing::TestWithParam<FileBytesCase> {};

TEST_P(ListingFileBytesTest, UsesCrLfAndWindows1251) {
  EXPECT_EQ(ListingFileBytes(GetParam().view_text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListingFileBytesTest,
    ::testing::Values(FileBytesCase{"Empty", "", ""}, FileBytesCase{"LeadingLf", "\nx", "\r\nx"},
                      FileBytesCase{"TrailingLf", "x\n\n", "x\r\n\r\n"},
                      FileBytesCase{"CrLfNotDoubled", "a\r\nb\nc", "a\r\nb\r\nc"},
                      FileBytesCase{"LoneCrKept", "a\rb", "a\rb"},
                      FileBytesCase{"FileLine", "; Файл  —  C:\\Я.chr\n",
                                    "; \xD4\xE0\xE9\xEB  \x97  C:\\\xDF.chr\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListingFileBytes, WholeListingHasOnlyCrLfLineEnds) {
  const auto lines = Generate(WorkedExampleBuffer(), Options(true));
  const std::string bytes = ListingFileBytes(JoinListingLines(lines));
  EXPECT_EQ(bytes.substr(0, 3), "\r\n;");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");  // the closing blank line
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'),
            static_cast<std::ptrdiff_t>(kGroupedListingLineCount - 1));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'),
            static_cast<std::ptrdiff_t>(kGroupedListingLineCount - 1));
  EXPECT_NE(
      bytes.find("\xD1\xF2\xF0\xE0\xED\xE8\xF6\xE0 1  //  \xEA\xF0\xE8\xF1\xF2\xE0\xEB\xEB 1"),
      std::string::npos);  // "Страница 1  //  кристалл 1"
}

}  // namespace
}  // namespace lumigrid
