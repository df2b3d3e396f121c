// Settings across a restart with the real window, the program's own files that are refused,
// and the recovery copies offered at start.
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <filesystem>

#include "app/commands.h"
#include "app/fault_handler.h"
#include "app/fault_message.h"
#include "app/main_menus.h"
#include "app/recovery_file.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "app/tool_commands.h"
#include "codegen/conversion_panel.h"
#include "file_test_support.h"
#include "optimize/optimize_panel.h"
#include "tools/animation_panel.h"

namespace lumigrid::testing_support {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SettingsRestart : public ::testing::Test {
 protected:
  std::unique_ptr<MainWindow> Start() {
    auto window = CreateMainWindow(platform_, ReadSettings(platform_, path_));
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }
  // A normal end: the window closes, then the settings are written.
  bool End(std::unique_ptr<MainWindow> window) {
    EXPECT_TRUE(window->close());
    const bool written = WriteSettings(path_, window->CollectSettings());
    window.reset();
    QApplication::processEvents();
    return written;
  }
  std::string Content() const { return ReadAll(path_); }
  void Write(const std::string& bytes) const {
    std::ofstream(PathFromUtf8(path_), std::ios::binary) << bytes;
  }

  testing::TempFolder folder_;
  std::string path_ = folder_.File("Glyphboard.inf");
  ui::ScriptedPlatform platform_;
};

TEST_F(SettingsRestart, FirstStartCreatesAnEmptyFileThatTheEndFills) {
  auto window = Start();
  EXPECT_TRUE(platform_.Messages().isEmpty());
  ASSERT_TRUE(fs::exists(path_));
  EXPECT_EQ(Content(), "");
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(window->pos(), QPoint(20, 20));
  EXPECT_EQ(window->ConversionSidePanel()->Options(), ListingOptions{});
  EXPECT_EQ(window->Menus().MenuStyle(), 2);
  ASSERT_TRUE(End(std::move(window)));
  EXPECT_EQ(Content(),
            "[Window]\r\nX = 20\r\nY = 20\r\n\r\n[Convert]\r\nDirState = 1\r\nAddFileName = 0\r\n"
            "GroupCrystal = 1\r\nOtstup1 = 12\r\nOtstup2 = 12\r\nDir = \r\nStyleMenu = 2\r\n\r\n"
            "[Anime]\r\nDelay = 4\r\n\r\n[Optimizacia]\r\nCountByte = 1\r\nAuto = 1\r\n\r\n"
            "[RecentFiles]\r\nFile1 = \r\nFile2 = \r\nFile3 = \r\nFile4 = \r\nFile5 = \r\n"
            "File6 = \r\nFile7 = \r\nFile8 = \r\nFile9 = \r\nFile10 = \r\n");
}

TEST_F(SettingsRestart, EveryControlIsRestored) {
  Write("; hand-written\r\n[Anime]\r\nDelay = 7\r\n[Optimizacia]\r\nCountByte = 9\r\nAuto = 0\r\n");
  auto window = Start();
  // The stored values reach the animation and optimization panels.
  EXPECT_EQ(window->Tools().Animation().DelayList()->currentIndex(), 7);
  EXPECT_EQ(window->OptimizeSidePanel()->RunSpin()->value(), 9);
  EXPECT_FALSE(window->OptimizeSidePanel()->AutoBox()->isChecked());
  window->Tools().Animation().DelayList()->setCurrentIndex(10);
  window->OptimizeSidePanel()->RunSpin()->setValue(23);
  QTest::mouseClick(window->OptimizeSidePanel()->AutoBox(), Qt::LeftButton);
  window->move(345, 123);
  ConversionPanel& panel = *window->ConversionSidePanel();
  QTest::mouseClick(panel.OwnOption(), Qt::LeftButton);
  panel.DirectiveField()->clear();
  panel.DirectiveField()->insert(QStringLiteral("ДБ"));
  QTest::mouseClick(panel.FileNameBox(), Qt::LeftButton);
  QTest::mouseClick(panel.GroupingBox(), Qt::LeftButton);
  panel.FirstIndent()->setValue(5);
  panel.SecondIndent()->setValue(17);
  window->Dispatch(command::kStyleStandard + 4);
  const std::string picture = folder_.File("кот.chr");
  // A name Windows-1251 cannot hold: the file turns to UTF-8 rather than lose it.
  const std::string other = folder_.File("猫.chr");
  ASSERT_TRUE(window->Files().SavePictureFile(other, 1));
  ASSERT_TRUE(window->Files().SavePictureFile(picture, 1));
  const ListingOptions options{false, true, false, 5, 17, "ДБ"};
  ASSERT_EQ(panel.Options(), options);
  ASSERT_TRUE(End(std::move(window)));
  EXPECT_EQ(Content().substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(Content().find('?'), std::string::npos);

  window = Start();
  EXPECT_EQ(window->pos(), QPoint(345, 123));
  EXPECT_EQ(window->ConversionSidePanel()->Options(), options);
  EXPECT_TRUE(window->ConversionSidePanel()->OwnOption()->isChecked());
  EXPECT_TRUE(window->ConversionSidePanel()->DirectiveField()->isEnabled());
  for (int b = 1; b <= kBufferCount; ++b) EXPECT_EQ(window->State().ConversionOptions(b), options);
  EXPECT_EQ(window->Menus().MenuStyle(), 4);
  EXPECT_EQ(window->State().Recent().Entry(1), picture);
  EXPECT_EQ(window->State().Recent().Entry(2), other);
  EXPECT_EQ(window->Tools().Animation().DelayList()->currentIndex(), 10);
  EXPECT_EQ(window->OptimizeSidePanel()->RunSpin()->value(), 23);
  EXPECT_TRUE(window->OptimizeSidePanel()->AutoBox()->isChecked());
  ASSERT_TRUE(End(std::move(window)));
  EXPECT_EQ(Content().find("\xEF\xBB\xBF; hand-written\r\n[Anime]\r\nDelay = 10\r\n"), 0u);
  EXPECT_NE(Content().find("CountByte = 23\r\nAuto = 1\r\n"), std::string::npos);
}

TEST_F(SettingsRestart, PositionOutsideTheScreenRangeOpensAtTen) {
  Write("[Window]\r\nx = 5000\r\nY = -21\r\n");
  auto window = Start();
  EXPECT_EQ(window->pos(), QPoint(10, 10));
  // Even a position far off the screen is stored; the next start corrects it.
  window->move(4000, 100);
  ASSERT_TRUE(End(std::move(window)));
  EXPECT_EQ(Content().find("[Window]\r\nx = 4000\r\nY = 100\r\n"), 0u) << Content();
}

TEST_F(SettingsRestart, OutOfRangeValuesReachTheControlsUnchecked) {
  Write("[Convert]\r\nOtstup1 = 0\r\nOtstup2 = 99\r\nStyleMenu = 9\r\n[Anime]\r\nDelay = 40\r\n");
  auto window = Start();
  // The spin fields keep to their range; no style item is checked.
  EXPECT_EQ(window->ConversionSidePanel()->FirstIndent()->value(), 2);
  EXPECT_EQ(window->ConversionSidePanel()->SecondIndent()->value(), 20);
  for (int n = command::kStyleStandard; n <= command::kStyleLast; ++n) {
    for (QAction* a : window->Menus().MenuActions(n)) EXPECT_FALSE(a->isChecked()) << n;
  }
  ASSERT_TRUE(End(std::move(window)));
  EXPECT_EQ(Content().find("[Convert]\r\nOtstup1 = 2\r\nOtstup2 = 20\r\nStyleMenu = 9\r\n"), 0u)
      << Content();
  EXPECT_NE(Content().find("[Anime]\r\nDelay = 40\r\n"), std::string::npos);
}

// Files at the settings path that are not the user's own: read as missing, never written.
struct RefusedCase {
  const char* name;
  bool (*prepare)(const std::string& path, const std::string& victim);
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class RefusedSettingsFile : public SettingsRestart,
                            public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedSettingsFile, GivesDefaultsAndIsNotWritten) {
  const std::string victim = folder_.File("victim.txt");
  const std::string planted = "[Window]\r\nX = 777\r\n";
  std::ofstream(PathFromUtf8(victim), std::ios::binary) << planted;
  if (!GetParam().prepare(path_, victim)) GTEST_SKIP() << "cannot be provoked here";
  const std::string before = fs::is_regular_file(fs::symlink_status(path_)) ? Content() : "";

  auto window = Start();
  EXPECT_EQ(window->pos(), QPoint(20, 20));
  EXPECT_TRUE(platform_.Messages().isEmpty());
  window->move(300, 300);
  EXPECT_FALSE(End(std::move(window)));
  EXPECT_EQ(ReadAll(victim), planted);
  if (!before.empty()) {
    EXPECT_EQ(Content(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedSettingsFile,
    ::testing::Values(RefusedCase{"LinkToAnotherFile",
                                  [](const std::string& path, const std::string& victim) {
                                    fs::create_symlink(victim, path);
                                    return true;
                                  }},
                      RefusedCase{"DanglingLink",
                                  [](const std::string& path, const std::string& victim) {
                                    fs::create_symlink(victim + ".missing", path);
                                    return true;
                                  }},
                      RefusedCase{"FileOfAnotherUser",
                                  [](const std::string& path, const std::string& victim) {
                                    fs::copy_file(victim, path);
                                    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
                                    return ::chown(path.c_str(), other, other) == 0;
                                  }},
                      RefusedCase{"Folder",
                                  [](const std::string& path, const std::string&) {
                                    return fs::create_directory(path);
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// Settings folders in which nothing can exist at the settings path, nor be created there.
class UncreatableSettingsFile : public SettingsRestart,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(UncreatableSettingsFile, IsReportedAndNothingSaved) {
  const std::string parent = folder_.File("settings-folder");
  if (std::string(GetParam()) == "PlainFileInPlaceOfTheFolder") {
    std::ofstream(PathFromUtf8(parent), std::ios::binary) << "not a folder";
  }
  path_ = parent + "/Glyphboard.inf";
  auto window = Start();
  ASSERT_EQ(platform_.Messages().size(), 1);
  EXPECT_EQ(Describe(platform_.Messages()[0]),
            "Запуск программы | Не удалось создать файл с настройками | error ok");
  EXPECT_EQ(window->pos(), QPoint(20, 20));
  EXPECT_FALSE(End(std::move(window)));
  EXPECT_FALSE(fs::is_directory(PathFromUtf8(parent)));
}

INSTANTIATE_TEST_SUITE_P(Cases, UncreatableSettingsFile,
                         ::testing::Values("MissingFolder", "PlainFileInPlaceOfTheFolder"),
                         [](const auto& info) { return std::string(info.param); });

// Recovery copies left by a fault, offered at the next start.
class RecoveryOffer : public FileTest {
 protected:
  std::string Folder() { return PathOf("recovery"); }
  void Copy(int b, const PictureBytes& bytes, const std::string& name) {
    fs::create_directories(PathFromUtf8(Folder()));
    PictureBuffer buffer;
    buffer.Bytes() = bytes;
    buffer.SetFileName(name);
    std::ofstream(PathFromUtf8(Folder()) / RecoveryFileName(b), std::ios::binary)
        << RecoveryFileContent(buffer);
  }
  std::vector<std::string> Left() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(PathFromUtf8(Folder()))) {
      names.push_back(e.path().filename().string());
    }
    return names;
  }
};

TEST_F(RecoveryOffer, YesLoadsTheCopiesMarkedModifiedAndRemovesThem) {
  Copy(1, Pattern(3), "/pictures/кот.chr");
  Copy(5, Pattern(5), "");
  // A link planted among the copies is not one of ours.
  Copy(9, Pattern(9), "/elsewhere.chr");
  fs::rename(PathFromUtf8(Folder()) / "buffer09.rcv", PathFromUtf8(PathOf("planted")));
  fs::create_symlink(PathFromUtf8(PathOf("planted")), PathFromUtf8(Folder()) / "buffer09.rcv");
  Platform().QueueAnswer(ui::Answer::kYes);

  OfferRecovery(Window(), Folder());

  EXPECT_EQ(Shown(), QStringList{QString::fromUtf8(kRecoveryCaption) + " | " +
                                 QString::fromUtf8(kRecoveryQuestion) + " | question yes/no"});
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern(3));
  EXPECT_EQ(State().BufferFileName(1), "/pictures/кот.chr");
  EXPECT_TRUE(State().BufferModified(1));
  EXPECT_EQ(State().Buffer(5).Bytes(), Pattern(5));
  EXPECT_TRUE(State().BufferModified(5));
  EXPECT_EQ(State().Buffer(9).Bytes(), PictureBytes{});
  EXPECT_FALSE(State().BufferModified(9));
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("Lumigrid v 3.8  —  /pictures/кот.chr"));
  EXPECT_TRUE(Left().empty());
}

TEST_F(RecoveryOffer, NoKeepsTheBuffersAndRemovesTheCopies) {
  Copy(2, Pattern(2), "/a.chr");
  Platform().QueueAnswer(ui::Answer::kNo);
  OfferRecovery(Window(), Folder());
  EXPECT_EQ(Platform().Messages().size(), 1);
  EXPECT_EQ(State().Buffer(2).Bytes(), PictureBytes{});
  EXPECT_FALSE(State().BufferModified(2));
  EXPECT_TRUE(Left().empty());
}

TEST_F(RecoveryOffer, NothingToOfferAsksNothing) {
  fs::create_directories(PathFromUtf8(Folder()));
  // Too short to be a copy.
  std::ofstream(PathFromUtf8(Folder()) / RecoveryFileName(3), std::ios::binary) << "short";
  OfferRecovery(Window(), Folder());
  OfferRecovery(Window(), PathOf("no-such-folder"));
  EXPECT_TRUE(Platform().Messages().isEmpty());
}

}  // namespace
}  // namespace lumigrid::testing_support
