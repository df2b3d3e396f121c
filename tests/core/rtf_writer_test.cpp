// The RTF of styled text, read back by an independent reader: every character keeps its
// text, colour and weight.
#include "optimize/rtf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/rtf_reader.h"
#include "optimize/identical_scan.h"
#include "optimize/skip_report.h"

namespace lumigrid {
namespace {

using testing::CharsOf;
using testing::ReadRtf;
using testing::StyledChar;

void ExpectRoundTrip(const StyledText& text, const std::string& what) {
  const std::string rtf = WriteRtf(text);
  const auto read = ReadRtf(rtf);
  ASSERT_TRUE(read.error.empty()) << what << ": " << read.error;
  EXPECT_EQ(read.code_page, 1251) << what;
  const std::vector<StyledChar> expected = CharsOf(text);
  ASSERT_EQ(read.chars.size(), expected.size()) << what;
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(read.chars[i], expected[i]) << what << ": character " << i;
  }
  EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
      << what << ": seven-bit document";
}

StyledText Text(std::initializer_list<std::pair<const char*, TextStyle>> parts) {
  StyledText t;
  for (const auto& [s, style] : parts) t.Append(s, style);
  return t;
}

constexpr TextStyle kRedBold{{254, 0, 0}, true};
constexpr TextStyle kBlue{{1, 87, 175}, false};

TEST(RtfWriter, KeepsTextColourAndBoldOfAwkwardTexts) {
  struct Case {
    const char* what;
    StyledText text;
  };
  const Case cases[] = {
      {"empty", StyledText{}},
      {"cyrillic and dash", Text({{"Кристалл  —   ", {}}, {"2", kBlue}, {"\n", {}}})},
      {"rtf specials", Text({{"{a}\\b", kRedBold}, {"\\par {", {}}})},
      {"blanks after control words", Text({{"  x", kRedBold}, {"  y  ", kBlue}, {" ", {}}})},
      {"tab and line ends", Text({{"a\tb\n\n", kBlue}, {"\nc", kRedBold}})},
      {"outside the code page", Text({{"€ ™ № 漢字 😀 \xC2\x98", kRedBold}, {"ё Ё", {}}})},
      {"letters after escapes", Text({{"Яa", kBlue}, {"b1", kRedBold}, {"ЯZ\n9", {}}})},
      {"same colour, bold changes", Text({{"ab", {{9, 9, 9}, true}}, {"cd", {{9, 9, 9}, false}}})},
  };
  for (const Case& c : cases) ExpectRoundTrip(c.text, c.what);
}

TEST(RtfWriter, KeepsEveryStyleOfReportsAndCellDetails) {
  PictureBytes map{};
  for (int i = 0; i < kPictureBytes; i += 3) map[i] = kSkipByte;
  const std::vector<ReportSource> sources = {{1, "C:\\pics\\логотип {1}.chr"}, {4, ""}};
  ExpectRoundTrip(SkipListReport(map, sources, "12"), "full list");
  PictureBytes all_skip;
  all_skip.fill(kSkipByte);
  ExpectRoundTrip(SkipListReport(all_skip, {}, "1"), "all skips, no sources");
  ExpectRoundTrip(CellSkipDetail(map, 12), "cell detail");
}

TEST(RtfWriter, ColourTableHoldsEachColourOnce) {
  const StyledText text =
      Text({{"a", kRedBold}, {"b", kBlue}, {"c", kRedBold}, {"d", {}}, {"e", kBlue}});
  const auto read = ReadRtf(WriteRtf(text));
  ASSERT_TRUE(read.error.empty()) << read.error;
  ASSERT_EQ(read.colour_table.size(), 4u) << "automatic entry and three colours";
  for (const Rgb c : {kRedBold.colour, kBlue.colour, Rgb{}}) {
    EXPECT_EQ(std::count(read.colour_table.begin() + 1, read.colour_table.end(), c), 1);
  }
}

TEST(RtfWriter, CyrillicIsWrittenAsCodePageEscapes) {
  const std::string rtf = WriteRtf(Text({{"Адрес", {}}}));
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1251"));
  EXPECT_NE(rtf.find("\\'c0\\'e4\\'f0\\'e5\\'f1"), std::string::npos) << rtf;
}

}  // namespace
}  // namespace lumigrid
