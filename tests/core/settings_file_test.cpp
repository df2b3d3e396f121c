#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace lumigrid {
namespace {

struct IntegerCase {
  const char* value;
  int expected;
};

void PrintTo(const IntegerCase& c, std::ostream* os) { *os << '"' << c.value << '"'; }

class LeadingIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(LeadingIntegerTest, ReadsTheDecimalIntegerAtTheStart) {
  EXPECT_EQ(LeadingInteger(GetParam().value), GetParam().expected)
      << "value \"" << GetParam().value << '"';
}

INSTANTIATE_TEST_SUITE_P(Values, LeadingIntegerTest,
                         ::testing::Values(IntegerCase{"42", 42}, IntegerCase{"  \t42 \t", 42},
                                           IntegerCase{"-20", -20}, IntegerCase{"+3px", 3},
                                           IntegerCase{"12 34", 12}, IntegerCase{"abc", 0},
                                           IntegerCase{"", 0}, IntegerCase{"-", 0},
                                           IntegerCase{"- 5", 0}, IntegerCase{"0x1F", 0},
                                           IntegerCase{"007", 7},
                                           IntegerCase{"99999999999999999999", INT_MAX},
                                           IntegerCase{"-99999999999999999999", INT_MIN},
                                           IntegerCase{"-2147483648", INT_MIN}));

Settings Read(std::string_view bytes) {
  return SettingsFromDocument(SettingsDocument::Parse(bytes));
}

TEST(SettingsDefaultsTest, EveryKeyHasItsDefaultInAnEmptyOrMissingFile) {
  const Settings defaults{};
  EXPECT_EQ(Read(""), defaults);
  EXPECT_EQ(Read("; only a comment\r\n[Other]\r\nX = 1\r\n"), defaults);
  EXPECT_EQ(defaults.window_x, 20);
  EXPECT_EQ(defaults.window_y, 20);
  EXPECT_EQ(defaults.convert, ListingOptions{});
  EXPECT_TRUE(defaults.convert.use_dt);
  EXPECT_EQ(defaults.style_menu, 2);
  EXPECT_EQ(defaults.anime_delay, 4);
  EXPECT_EQ(defaults.count_byte, 1);
  EXPECT_TRUE(defaults.auto_scan);
  for (const SettingKey& key : SettingKeys()) {
    if (key.type == SettingType::kText) {
      EXPECT_EQ(key.text(defaults), "") << key.name;
    } else {
      EXPECT_EQ(key.number(defaults), key.default_number) << key.name;
    }
  }
}

TEST(SettingsKeysTest, TableOrderAndNames) {
  std::string names;
  for (const SettingKey& key : SettingKeys())
    names += std::string(key.group) + "." + key.name + " ";
  EXPECT_EQ(names,
            "Window.X Window.Y Convert.DirState Convert.AddFileName Convert.GroupCrystal "
            "Convert.Otstup1 Convert.Otstup2 Convert.Dir Convert.StyleMenu Anime.Delay "
            "Optimizacia.CountByte Optimizacia.Auto RecentFiles.File1 RecentFiles.File2 "
            "RecentFiles.File3 RecentFiles.File4 RecentFiles.File5 RecentFiles.File6 "
            "RecentFiles.File7 RecentFiles.File8 RecentFiles.File9 RecentFiles.File10 "
            "Transforms.WrapShift ");
}

// Values read from hand-written files.
struct ReadCase {
  const char* name;
  std::string bytes;
  void (*check)(const Settings&);
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class SettingsReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(SettingsReadTest, Reads) { GetParam().check(Read(GetParam().bytes)); }

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsReadTest,
    ::testing::Values(
        ReadCase{"LowerCaseNameOutOfRange", "[window]\r\nx = 5000\r\n",
                 [](const Settings& s) {
                   EXPECT_EQ(s.window_x, 5000);
                   EXPECT_EQ(CorrectWindowCoordinate(s.window_x), 10);
                   EXPECT_EQ(s.window_y, 20);
                 }},
        ReadCase{"BoundsOfThePosition", "[Window]\nX = -20\nY = -21\n",
                 [](const Settings& s) {
                   EXPECT_EQ(CorrectWindowCoordinate(s.window_x), -20);
                   EXPECT_EQ(CorrectWindowCoordinate(s.window_y), 10);
                   EXPECT_EQ(CorrectWindowCoordinate(3000), 3000);
                   EXPECT_EQ(CorrectWindowCoordinate(3001), 10);
                 }},
        ReadCase{"BlanksTabsSignsAndNoDigits",
                 "[Convert]\r\n  otstup1\t=\t 7 spaces \r\nOtstup2 = none\r\nDIR =  my dir  \r\n"
                 "[Anime]\r\nDelay=+9\r\n",
                 [](const Settings& s) {
                   EXPECT_EQ(s.convert.first_indent, 7);
                   EXPECT_EQ(s.convert.second_indent, 0);
                   EXPECT_EQ(s.convert.directive_name, "my dir");
                   EXPECT_EQ(s.anime_delay, 9);
                 }},
        ReadCase{"EmptyOwnDirective", "[Convert]\r\nDirState = 0\r\nDir = \r\n",
                 [](const Settings& s) {
                   EXPECT_FALSE(s.convert.use_dt);
                   EXPECT_EQ(s.convert.directive_name, "");
                 }},
        ReadCase{"DirStateOtherThanOneIsTheOwnDirective", "[Convert]\r\nDirState = 2\r\n",
                 [](const Settings& s) { EXPECT_FALSE(s.convert.use_dt); }},
        ReadCase{"Windows1251Path", "[RecentFiles]\r\nFile3 = C:\\\xCF\xF0\xE8\xEC\xE5\xF0.chr\r\n",
                 [](const Settings& s) { EXPECT_EQ(s.recent_files[2], "C:\\Пример.chr"); }},
        ReadCase{"Utf8WithByteOrderMark", "\xEF\xBB\xBF[RecentFiles]\nFile10 = /дом/файл.chr\n",
                 [](const Settings& s) { EXPECT_EQ(s.recent_files[9], "/дом/файл.chr"); }},
        ReadCase{"KeysBelongToTheirGroupOnly", "X = 1\r\n[Anime]\r\nX = 2\r\n[Window]\r\n",
                 [](const Settings& s) { EXPECT_EQ(s.window_x, 20); }},
        ReadCase{"CommentedKeyIsNotRead", "[Window]\r\n;X = 1\r\n  ; Y = 2\r\n",
                 [](const Settings& s) {
                   EXPECT_EQ(s.window_x, 20);
                   EXPECT_EQ(s.window_y, 20);
                 }},
        ReadCase{"FirstOfRepeatedKeysAndGroups",
                 "[Window]\r\nX = 1\r\nX = 2\r\n[Window]\r\nY = 3\r\n",
                 [](const Settings& s) {
                   EXPECT_EQ(s.window_x, 1);
                   EXPECT_EQ(s.window_y, 3);
                 }},
        ReadCase{"ValueHoldingAnEqualsSign", "[RecentFiles]\r\nFile1 = /a=b/c.chr\r\n",
                 [](const Settings& s) { EXPECT_EQ(s.recent_files[0], "/a=b/c.chr"); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Rewrites keep what the user wrote.
struct RewriteCase {
  const char* name;
  std::string before;
  std::string after;
};

void PrintTo(const RewriteCase& c, std::ostream* os) { *os << c.name; }

class SettingsRewriteTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(SettingsRewriteTest, KeepsLinesAndUpdatesInPlace) {
  SettingsDocument doc = SettingsDocument::Parse(GetParam().before);
  doc.SetValue("Window", "X", "-5");
  doc.SetValue("Window", "Y", "300");
  doc.SetValue("Anime", "Delay", "11");
  EXPECT_EQ(doc.Bytes(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsRewriteTest,
    ::testing::Values(
        RewriteCase{"CommentsUnknownKeysLowerCaseCrLf",
                    "; my settings\r\n[window]\r\nx=1\r\nColour = red\r\n\r\n[Extra]\r\nA = 1\r\n",
                    "; my settings\r\n[window]\r\nx = -5\r\nColour = red\r\nY = 300\r\n\r\n"
                    "[Extra]\r\nA = 1\r\n\r\n[Anime]\r\nDelay = 11\r\n"},
        RewriteCase{"LfEndingsBecomeCrLf", "[Window]\nX = 1\nY = 2",
                    "[Window]\r\nX = -5\r\nY = 300\r\n\r\n[Anime]\r\nDelay = 11\r\n"},
        RewriteCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[Anime]\r\nDelay = 1 ; fast\r\n",
                    "\xEF\xBB\xBF[Anime]\r\nDelay = 11\r\n\r\n[Window]\r\nX = -5\r\nY = 300\r\n"},
        RewriteCase{"EmptyFile", "",
                    "[Window]\r\nX = -5\r\nY = 300\r\n\r\n[Anime]\r\nDelay = 11\r\n"},
        RewriteCase{"Windows1251CommentKept", "; \xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8\r\n",
                    "; \xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8\r\n\r\n[Window]\r\nX = -5\r\n"
                    "Y = 300\r\n\r\n[Anime]\r\nDelay = 11\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsWriteTest, WholeTableIntoAnEmptyFileReadsBack) {
  Settings s;
  s.window_x = -20;
  s.window_y = 3000;
  s.convert = {false, true, false, 2, 20, "DB"};
  s.style_menu = 5;
  s.anime_delay = 0;
  s.count_byte = 64;
  s.auto_scan = false;
  for (int i = 0; i < 10; ++i) s.recent_files[i] = "C:\\Рисунки\\" + std::to_string(i) + ".chr";
  s.wrap_shift = true;
  SettingsDocument doc;
  StoreSettings(doc, s);
  const std::string bytes = doc.Bytes();
  EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "Cyrillic fits Windows-1251";
  EXPECT_NE(bytes.find("\r\n[Transforms]\r\nWrapShift = 1\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("Dir = DB\r\nStyleMenu = 5\r\n"), std::string::npos) << bytes;
  EXPECT_EQ(Read(bytes), s);
}

TEST(SettingsWriteTest, OwnGroupsAppearOnlyOnceSet) {
  SettingsDocument doc;
  StoreSettings(doc, Settings{});
  EXPECT_EQ(doc.Bytes().find("Transforms"), std::string::npos) << "untouched: as the file was";
  Settings wrap;
  wrap.wrap_shift = true;
  StoreSettings(doc, wrap);
  ASSERT_NE(doc.Bytes().find("[Transforms]\r\nWrapShift = 1\r\n"), std::string::npos);
  // Once in the file, the default is written back too.
  StoreSettings(doc, Settings{});
  EXPECT_NE(doc.Bytes().find("[Transforms]\r\nWrapShift = 0\r\n"), std::string::npos);
  EXPECT_EQ(Read(doc.Bytes()), Settings{});
}

TEST(SettingsWriteTest, CharacterOutsideWindows1251WritesUtf8WithMark) {
  Settings s;
  s.recent_files[0] = "/home/ユーザー/рисунок.chr";
  SettingsDocument doc = SettingsDocument::Parse("; \xEF\xF0\xE8\xEC\xE5\xF0\r\n");
  StoreSettings(doc, s);
  const std::string bytes = doc.Bytes();
  ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  EXPECT_NE(bytes.find("; пример\r\n"), std::string::npos) << "the comment is re-encoded";
  EXPECT_EQ(Read(bytes).recent_files[0], s.recent_files[0]);
}

TEST(SettingsWriteTest, ValueWithLineBreakCannotInjectKeys) {
  Settings s;
  s.recent_files[0] = "/tmp/a\r\n[Window]\r\nX = 999";
  SettingsDocument doc;
  StoreSettings(doc, s);
  const Settings back = Read(doc.Bytes());
  EXPECT_EQ(back.recent_files[0], "");
  EXPECT_EQ(back.window_x, 20);
}

struct FolderCase {
  const char* tmpdir;
  const char* xdg;
  const char* home;
  const char* expected;
};

void PrintTo(const FolderCase& c, std::ostream* os) {
  *os << (c.expected[0] ? c.expected : "(none)");
}

class SettingsFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(SettingsFolderTest, PerUserFolder) {
  const FolderCase& c = GetParam();
  EXPECT_EQ(SettingsFolderFor(c.tmpdir, c.xdg, c.home), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, SettingsFolderTest,
    ::testing::Values(FolderCase{"/run/user/1000/tmp", "/c", "/home/u", "/run/user/1000/tmp"},
                      FolderCase{"", "/c", "/home/u", "/c/lumigrid"},
                      FolderCase{nullptr, "relative", "/home/u", "/home/u/.cache/lumigrid"},
                      FolderCase{nullptr, nullptr, "/home/u", "/home/u/.cache/lumigrid"},
                      FolderCase{nullptr, nullptr, nullptr, ""}));

}  // namespace
}  // namespace lumigrid
