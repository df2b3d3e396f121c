#include "files/cp1251.h"

#include <gtest/gtest.h>

#include <string>

namespace lumigrid {
namespace {

std::string ByteRange(int first, int last) {
  std::string bytes;
  for (int b = first; b <= last; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

TEST(Cp1251, CyrillicAlphabetIsC0ToFF) {
  const std::string alphabet = "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";
  EXPECT_EQ(Utf8ToCp1251(alphabet), ByteRange(0xC0, 0xFF));
  EXPECT_EQ(Cp1251ToUtf8(ByteRange(0xC0, 0xFF)), alphabet);
}

TEST(Cp1251, AsciiIsUnchanged) {
  const std::string ascii = ByteRange(0x00, 0x7F);  // NUL and controls included
  EXPECT_EQ(Utf8ToCp1251(ascii), ascii);
  EXPECT_EQ(Cp1251ToUtf8(ascii), ascii);
}

struct CharCase {
  const char* utf8;
  unsigned char byte;
  friend void PrintTo(const CharCase& c, std::ostream* os) { *os << c.utf8; }
};

class Cp1251CharTest : public testing::TestWithParam<CharCase> {};

TEST_P(Cp1251CharTest, MapsBothWays) {
  const std::string byte(1, static_cast<char>(GetParam().byte));
  EXPECT_EQ(Utf8ToCp1251(GetParam().utf8), byte);
  EXPECT_EQ(Cp1251ToUtf8(byte), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    OutsideTheAlphabet, Cp1251CharTest,
    testing::Values(CharCase{"Ё", 0xA8}, CharCase{"ё", 0xB8}, CharCase{"—", 0x97},
                    CharCase{"–", 0x96}, CharCase{"«", 0xAB}, CharCase{"»", 0xBB},
                    CharCase{"№", 0xB9}, CharCase{"€", 0x88}, CharCase{"Ђ", 0x80},
                    CharCase{"џ", 0x9F}, CharCase{"™", 0x99}, CharCase{"\u00A0", 0xA0},
                    CharCase{"Ґ", 0xA5}, CharCase{"ґ", 0xB4}, CharCase{"І", 0xB2},
                    CharCase{"ї", 0xBF}, CharCase{"Ў", 0xA1}, CharCase{"…", 0x85},
                    CharCase{"\u0098", 0x98}));  // no character: kept as U+0098

struct EncodeCase {
  const char* name;
  friend void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }
  std::string utf8;
  std::string bytes;
};

class Cp1251EncodeTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(Cp1251EncodeTest, ReplacesWhatCannotBeWritten) {
  EXPECT_EQ(Utf8ToCp1251(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp1251EncodeTest,
    testing::Values(
        // One "?" per code point the code page lacks, whatever its UTF-8 length.
        EncodeCase{"Latin", "café", "caf?"}, EncodeCase{"Cjk", "日本", "??"},
        EncodeCase{"AboveBmp", "a😀b", "a?b"},
        // One "?" per maximal ill-formed subsequence; the next byte starts over.
        EncodeCase{"LoneContinuation",
                   "a\x80\xBF"
                   "b",
                   "a??b"},
        EncodeCase{"OverlongTwoByte", "\xC0\xAF", "??"},
        EncodeCase{"OverlongThreeByte", "\xE0\x80\xAF", "???"},
        EncodeCase{"Surrogate", "\xED\xA0\x80", "???"},
        EncodeCase{"AboveMaximum", "\xF4\x90\x80\x80", "????"},
        EncodeCase{"InvalidLead", "\xF5\xFF", "??"},
        EncodeCase{"CutShortBeforeLetter", "\xE2\x80Ж", "?\xC6"},
        EncodeCase{"CutShortBeforeNewline", "\xD0\n", "?\n"},
        EncodeCase{"CutShortAtEnd", "Ж\xF0\x9F\x98", "\xC6?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp1251, EveryByteSurvivesDecodeAndEncode) {
  const std::string all = ByteRange(0x00, 0xFF);
  const std::string text = Cp1251ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1251(text), all);
  EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251(text)), text);
}

}  // namespace
}  // namespace lumigrid
