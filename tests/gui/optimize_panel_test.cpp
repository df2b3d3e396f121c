// The optimization panel: its layout, the scan into buffer 10, the cell detail, the full skip
// list, the report's pop-up menu and shortcuts, and saving the report.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <filesystem>
#include <fstream>

#include "app/commands.h"
#include "app/main_menus.h"
#include "codegen/listing_view.h"
#include "core/file_bytes.h"
#include "core/rtf_reader.h"
#include "core/temp_folder.h"
#include "optimize/identical_scan.h"
#include "optimize/optimize_commands.h"
#include "optimize/optimize_panel.h"
#include "optimize/report_view.h"
#include "picture/canvas_widget.h"
#include "picture/editor.h"
#include "test_support.h"

namespace lumigrid::testing_support {
namespace {

using lumigrid::testing::ReadAll;

class Optimize : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Window().Dispatch(command::kModeOptimize);
  }
  OptimizePanel& Panel() { return *Window().OptimizeSidePanel(); }
  ReportView& Report() { return *Panel().Report(); }
  QStringList ReportLines() { return Report().toPlainText().split('\n'); }
  void Tick(std::initializer_list<int> buffers) {
    for (int b = 1; b <= kSourceBufferCount; ++b) {
      const bool want = std::find(buffers.begin(), buffers.end(), b) != buffers.end();
      if (Panel().SourceBox(b)->isChecked() != want) {
        QTest::mouseClick(Panel().SourceBox(b), Qt::LeftButton, Qt::NoModifier, QPoint(7, 7));
      }
    }
  }
  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  // The colour and weight the view shows at character `column` (from 1) of block `line`.
  std::pair<QColor, bool> ShownStyle(int line, int column) {
    const QTextBlock block = Report().document()->findBlockByNumber(line);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + column);  // the format left of the position
    const QTextCharFormat f = cursor.charFormat();
    return {f.foreground().color(), f.fontWeight() == QFont::Bold};
  }
  void PointAtReport() { Platform().SetPointer(Report().mapToGlobal(QPoint(40, 40))); }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(Window().CurrentListing(), key, modifiers);
  }
};

TEST_F(Optimize, PanelShowsEveryControlAtItsPlace) {
  EXPECT_TRUE(Panel().isVisible());
  EXPECT_EQ(Panel().geometry(), QRect(554, 32, 234, 458));
  EXPECT_EQ(Panel().TitleLabel()->text(), "Оптимизация кода");
  EXPECT_EQ(Panel().CloseMark()->toolTip(), "Закрыть панель «Оптимизация кода»");
  struct Place {
    QWidget* widget;
    QRect rect;
  };
  const Place places[] = {
      {Panel().SourceBox(1), {30, 40, 70, 15}},
      {Panel().SourceBox(2), {130, 40, 70, 15}},
      {Panel().SourceBox(3), {30, 60, 70, 15}},
      {Panel().SourceBox(4), {130, 60, 70, 15}},
      {Panel().SourceBox(7), {30, 100, 70, 15}},
      {Panel().SourceBox(8), {130, 100, 70, 15}},
      {Panel().SourceBox(9), {30, 120, 70, 15}},
      {Panel().ResultBufferLabel(), {145, 145, 100, 15}},
      {Panel().ScanButton(), {10, 164, 80, 24}},
      {Panel().ListButton(), {100, 164, 110, 24}},
      {Panel().RunSpin(), {190, 190, 30, 20}},
      {Panel().AutoBox(), {10, 210, 188, 15}},
      {&Report(), {4, 228, 218, 226}},
      {Panel().ProgressLabel(), {10, 255, 140, 15}},
      {Panel().ProgressBar(), {10, 270, 210, 20}},
  };
  for (const Place& p : places)
    EXPECT_EQ(p.widget->geometry(), p.rect) << p.widget->metaObject()->className();

  QStringList labels;
  for (QLabel* l : Panel().findChildren<QLabel*>()) labels << l->text();
  for (const char* text :
       {"Результат помещается в", "Буфер 10", "Число повторяющихся байт", "Построение списка..."}) {
    EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
  }
  for (int b = 1; b <= 9; ++b) {
    EXPECT_EQ(Panel().SourceBox(b)->text(), QStringLiteral("Буфер %1").arg(b));
    EXPECT_EQ(Panel().SourceBox(b)->isChecked(), b <= 2) << b;
  }
  EXPECT_EQ(Panel().ResultBufferLabel()->palette().color(QPalette::WindowText),
            QColor(182, 11, 63));
  EXPECT_EQ(Panel().ScanButton()->text(), "Сканировать");
  EXPECT_EQ(Panel().ScanButton()->toolTip(), "Поиск одинаковых байт в коде");
  EXPECT_TRUE(Panel().ScanButton()->isDefault());
  EXPECT_TRUE(Panel().ScanButton()->isEnabled());
  EXPECT_EQ(Panel().ListButton()->text(), "Список обходов");
  EXPECT_EQ(Panel().ListButton()->toolTip(), "Создание полного списка обходов одинаковых байт");
  EXPECT_EQ(Panel().AutoBox()->text(), "Автоматическое сканирование...");
  EXPECT_EQ(Panel().AutoBox()->toolTip(),
            "Автоматическое сканирование перед созданием списка обходов");
  EXPECT_EQ(Panel().RunSpin()->minimum(), 1);
  EXPECT_EQ(Panel().RunSpin()->maximum(), 64);
  EXPECT_EQ(Panel().RunValue(), 1) << "stored default";
  EXPECT_TRUE(Panel().AutoScan()) << "stored default";
  EXPECT_FALSE(Panel().ProgressLabel()->isVisible());
  EXPECT_FALSE(Panel().ProgressBar()->isVisible());
  EXPECT_EQ(Panel().ProgressBar()->maximum(), 1170);
  EXPECT_TRUE(Report().isReadOnly());
  EXPECT_TRUE(Report().toPlainText().isEmpty());

  Window().Dispatch(command::kModeEditing);
  EXPECT_FALSE(Panel().isVisible());
}

TEST_F(Optimize, RunDigitsCanBeTyped) {
  QSpinBox* spin = Panel().RunSpin();
  spin->selectAll();
  QTest::keyClicks(spin, "12");
  EXPECT_EQ(Panel().RunValue(), 12);
  EXPECT_EQ(Panel().RunText(), "12");
}

TEST_F(Optimize, ScanButtonNeedsTwoTickedSources) {
  struct Case {
    std::initializer_list<int> ticked;
    bool enabled;
  };
  for (const Case& c : {Case{{1}, false}, Case{{}, false}, Case{{1, 9}, true}, Case{{9}, false},
                        Case{{3, 4, 5}, true}, Case{{1, 2}, true}}) {
    Tick(c.ticked);
    EXPECT_EQ(Panel().ScanButton()->isEnabled(), c.enabled)
        << c.ticked.size() << " ticked, first " << (c.ticked.size() ? *c.ticked.begin() : 0);
  }
}

TEST_F(Optimize, ScanWritesTheMapAndSwitchesToBufferTen) {
  State().Buffer(1).SetByte(2, 1, 0x11);
  State().Buffer(9).SetByte(2, 5, 0x22);
  State().Buffer(2).Bytes().fill(0x55);  // not ticked
  State().SetBufferFileName(10, "/maps/skip.chr");
  Tick({1, 9});
  Panel().RunSpin()->setValue(4);
  Click(Panel().ScanButton());
  for (int k = 1; k <= 8; ++k) {
    EXPECT_EQ(State().Buffer(10).Byte(2, k), k <= 5 ? 0x00 : 0xFF) << "byte " << k;
  }
  EXPECT_EQ(State().Buffer(10).Byte(1, 1), 0xFF);
  EXPECT_EQ(State().CurrentBuffer(), 10);
  EXPECT_EQ(Window().Tabs()->currentIndex(), 9);
  EXPECT_EQ(State().BufferFileName(10), "") << "the map belongs to no file";
  EXPECT_EQ(Window().windowTitle(), "Lumigrid v 3.8  —  ");
  EXPECT_TRUE(Window().Listing(10)->isVisible());
  EXPECT_FALSE(State().BufferModified(10));
  const Rect r = CanvasCellRect(1);
  EXPECT_EQ(At(CanvasShot(), r.x + 1, r.y + 1), Colour(colour::kPixelLit));

  // Scanning again while buffer 10 is shown redraws it.
  State().Buffer(9).Bytes().fill(0x77);
  Click(Panel().ScanButton());
  EXPECT_NE(At(CanvasShot(), r.x + 1, r.y + 1), Colour(colour::kPixelLit));
}

TEST_F(Optimize, ClickOnACellOfBufferTenShowsItsSkips) {
  for (int k = 1; k <= 3; ++k) State().Buffer(10).SetByte(12, k, 0xFF);
  ClickCell(12);
  EXPECT_TRUE(Report().toPlainText().isEmpty()) << "buffer 1 is current";

  Window().Editor().SwitchBuffer(9);
  ClickCell(12);
  const QStringList lines = ReportLines();
  ASSERT_EQ(lines.size(), 13);
  EXPECT_EQ(lines[0], "Кристалл  —   2");
  EXPECT_EQ(lines[2], "Сегмент    —   4");
  EXPECT_EQ(lines[4], "Адрес:        18H  ");
  EXPECT_EQ(lines[7], "------------------  ");
  EXPECT_EQ(Report().textCursor().position(), 0);
  const std::pair<QColor, bool> black{QColor(0, 0, 0), false};
  EXPECT_EQ(ShownStyle(0, 14), black);
  EXPECT_EQ(ShownStyle(0, 15), std::pair(QColor(0, 100, 0), false));
  EXPECT_EQ(ShownStyle(4, 15), std::pair(QColor(254, 17, 181), false));
  EXPECT_EQ(ShownStyle(4, 17), std::pair(QColor(254, 17, 181), false));
  EXPECT_EQ(ShownStyle(4, 18), black);
  EXPECT_EQ(ShownStyle(7, 18), std::pair(QColor(70, 36, 185), false));
  EXPECT_EQ(ShownStyle(7, 19), black);
}

TEST_F(Optimize, HoverHighlightOnlyWhileBufferTenIsCurrent) {
  for (const auto& [b, lit] : {std::pair{1, false}, std::pair{10, true}}) {
    Window().Editor().SwitchBuffer(b - 1);
    MovePointer(Window().Canvas(), CellCentre(30 + b));
    const QPoint p = CellCentre(30 + b);
    EXPECT_EQ(At(CanvasShot(), p.x(), p.y()) == Colour(colour::kCellHover), lit) << "buffer " << b;
  }
}

TEST_F(Optimize, ListWithoutSourcesScansFirstOnlyWithTheAutoBox) {
  Tick({});
  struct Case {
    bool auto_scan;
    int skip_lines;
  };
  for (const Case& c : {Case{false, 8}, Case{true, 1024}}) {
    State().Buffer(10).Bytes().fill(0);
    State().Buffer(10).SetCell(128, CellBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    Panel().AutoBox()->setChecked(c.auto_scan);
    Click(Panel().ListButton());
    const QStringList lines = ReportLines();
    EXPECT_EQ(lines.size(), 1178 + 1) << "the text ends with a line break";
    EXPECT_EQ(lines.filter(QRegularExpression("^ {19}Адрес  [0-9A-F]{2}H {5}$")).size(),
              c.skip_lines)
        << c.auto_scan;
    EXPECT_EQ(lines[2], "") << "no source lines";
  }
  EXPECT_EQ(State().CurrentBuffer(), 10) << "the scan switched";
}

TEST_F(Optimize, ListNamesSourcesAndRunAndEndsWithTheViewFocused) {
  State().SetBufferFileName(2, "C:\\pics\\b.chr");
  Panel().AutoBox()->setChecked(false);
  Panel().RunSpin()->setValue(12);
  Click(Panel().ListButton());
  const QStringList lines = ReportLines();
  ASSERT_EQ(lines.size(), 1178 + 2 + 1);
  EXPECT_EQ(lines[2], "<Буфер 1>");
  EXPECT_EQ(lines[3], "C:\\pics\\b.chr");
  EXPECT_EQ(lines[5], "Число повторяющихся байт  —  12 ");
  EXPECT_EQ(ShownStyle(0, 1), std::pair(QColor(76, 2, 179), true));
  EXPECT_EQ(ShownStyle(5, 30), std::pair(QColor(0, 0, 0), true));
  EXPECT_EQ(ShownStyle(7, 3), std::pair(QColor(195, 4, 60), true));
  EXPECT_TRUE(Report().isVisible());
  EXPECT_TRUE(Report().hasFocus());
  EXPECT_EQ(Report().textCursor().position(), 0);
  EXPECT_FALSE(Panel().ProgressBar()->isVisible());
  EXPECT_FALSE(Panel().ProgressLabel()->isVisible());
  EXPECT_EQ(Panel().ProgressBar()->value(), 1170) << "ends full";
  EXPECT_EQ(Report().toPlainText().toStdString(), Report().Report().Text());
}

TEST_F(Optimize, ProgressStandsInForTheViewAndClicksMeanwhileAreLost) {
  Panel().AutoBox()->setChecked(false);
  QCheckBox* box = Panel().SourceBox(5);
  // Handled inside the build, when it lets pending events through.
  struct Seen {
    bool label = false, bar = false, view = true;
  } seen;
  QMetaObject::invokeMethod(
      &Panel(),
      [&] {
        seen = {Panel().ProgressLabel()->isVisible(), Panel().ProgressBar()->isVisible(),
                Report().isVisible()};
      },
      Qt::QueuedConnection);
  const QPoint at(7, 7);
  QCoreApplication::postEvent(
      box, new QMouseEvent(QEvent::MouseButtonPress, at, box->mapToGlobal(at), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(
      box, new QMouseEvent(QEvent::MouseButtonRelease, at, box->mapToGlobal(at), Qt::LeftButton,
                           Qt::NoButton, Qt::NoModifier));
  Click(Panel().ListButton());
  EXPECT_TRUE(seen.label);
  EXPECT_TRUE(seen.bar);
  EXPECT_FALSE(seen.view);
  QApplication::processEvents();
  EXPECT_FALSE(box->isChecked()) << "the click made during the build was not dispatched";
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_TRUE(box->isChecked()) << "clicks count again afterwards";
}

TEST_F(Optimize, PopupThreeOpensOverTheReportOnlyInThisMode) {
  QMenu* report_popup = Window().Menus().Popup(3);
  QMenu* listing_popup = Window().Menus().Popup(2);
  auto right_release = [&](QWidget* target, QPoint local) {
    MovePointer(target, local);
    QTest::mouseRelease(target, Qt::RightButton, Qt::NoModifier, local);
  };
  right_release(Report().viewport(), QPoint(30, 30));
  EXPECT_TRUE(report_popup->isVisible());
  report_popup->hide();
  right_release(Window().CurrentListing()->viewport(), QPoint(30, 30));
  EXPECT_TRUE(listing_popup->isVisible());
  EXPECT_FALSE(report_popup->isVisible());
  listing_popup->hide();
  right_release(Panel().ScanButton(), QPoint(5, 5));
  EXPECT_FALSE(report_popup->isVisible()) << "outside the report view";
  Window().Dispatch(command::kModeEditing);
  right_release(Window().Client(), QPoint(600, 300));
  EXPECT_FALSE(report_popup->isVisible()) << "in mode 1";
}

TEST_F(Optimize, TextShortcutsPreferTheReportUnderThePointer) {
  Window().Editor().SwitchBuffer(9);
  State().Buffer(10).Bytes().fill(0xFF);
  ClickCell(1);
  Window().CurrentListing()->setPlainText("listing");
  PointAtReport();
  Press(Qt::Key_A);
  EXPECT_TRUE(Report().textCursor().hasSelection());
  EXPECT_FALSE(Window().CurrentListing()->textCursor().hasSelection());
  Press(Qt::Key_C);
  EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Кристалл  —   1\n"));
  Press(Qt::Key_S, Qt::AltModifier);
  ASSERT_EQ(Platform().Dialogs().size(), 1);
  EXPECT_EQ(Platform().Dialogs()[0].request.filter, "RTF|*.rtf|TXT|*.txt");

  Platform().SetPointer(Window().CurrentListing()->mapToGlobal(QPoint(40, 40)));
  Press(Qt::Key_A);
  Press(Qt::Key_C);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "listing");
  EXPECT_EQ(Platform().Beeps(), 0);

  Window().Dispatch(command::kModeEditing);
  Platform().SetPointer(Panel().mapToGlobal(QPoint(100, 300)));
  Press(Qt::Key_A);
  EXPECT_EQ(Platform().Beeps(), 1) << "the hidden report takes no shortcut";
}

class SaveReport : public Optimize {
 protected:
  void SetUp() override {
    Optimize::SetUp();
    Panel().AutoBox()->setChecked(false);
    State().Buffer(10).SetByte(1, 1, 0xFF);
    Click(Panel().ListButton());
  }
  void Save(const std::string& name, int filter) {
    Platform().QueueFile(QString::fromStdString(folder_.File(name)), filter);
    Window().Dispatch(command::kReportSave);
  }
  lumigrid::testing::TempFolder folder_;
};

TEST_F(SaveReport, FormatFollowsTheFilterNotTheName) {
  struct Case {
    const char* typed;
    int filter;
    const char* written;
    bool rtf;
  };
  for (const Case& c :
       {Case{"report", 1, "report.txt", false}, Case{"report", 0, "report.rtf", true},
        Case{"other.txt", 0, "other.txt", true}, Case{"plain.rtf", 1, "plain.rtf", false}}) {
    Save(c.typed, c.filter);
    const std::string bytes = ReadAll(folder_.File(c.written));
    EXPECT_EQ(bytes.starts_with("{\\rtf1"), c.rtf) << c.typed << " " << c.filter;
  }
  EXPECT_EQ(folder_.Entries().size(), 4u) << "no name without its extension, no temporary file";
  const ui::FileDialogRequest& r = Platform().Dialogs()[0].request;
  EXPECT_EQ(r.title, "Сохранить файл...");
  EXPECT_EQ(r.filter, "RTF|*.rtf|TXT|*.txt");
  EXPECT_EQ(r.selected_filter, 0);
  EXPECT_TRUE(r.start_path.isEmpty());
  EXPECT_TRUE(Platform().Messages().isEmpty());
}

TEST_F(SaveReport, RtfHoldsWhatTheViewShows) {
  Save("report", 0);
  const auto read = lumigrid::testing::ReadRtf(ReadAll(folder_.File("report.rtf")));
  ASSERT_TRUE(read.error.empty()) << read.error;
  EXPECT_EQ(read.chars, lumigrid::testing::CharsOf(Report().Report()));
  // And the view shows that same text.
  QString text;
  for (const auto& ch : read.chars) text += QString::fromUcs4(&ch.code_point, 1);
  EXPECT_EQ(text, Report().toPlainText());
}

TEST_F(SaveReport, TextIsWindows1251WithCrLfAndAnEmptyLastLine) {
  Save("report", 1);
  const std::string bytes = ReadAll(folder_.File("report.txt"));
  EXPECT_TRUE(bytes.starts_with("\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2 ")) << "Результат";
  EXPECT_NE(bytes.find("\r\n                   \xC0\xE4\xF0\xE5\xF1  00H     \r\n"),
            std::string::npos);
  EXPECT_TRUE(bytes.ends_with("----------  \r\n\r\n"));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 1178 + 2 + 1);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 1178 + 2 + 1);
}

TEST_F(SaveReport, CancelledDialogWritesNothing) {
  Window().Dispatch(command::kReportSave);
  EXPECT_EQ(Platform().Dialogs().size(), 1);
  EXPECT_TRUE(folder_.Entries().empty());
  EXPECT_TRUE(Platform().Messages().isEmpty());
}

TEST_F(SaveReport, FailureIsReportedAndTheOldFileStays) {
  namespace fs = std::filesystem;
  struct Case {
    const char* name;
    std::function<bool()> prepare;  // false: this account cannot make the case
    const char* kept;               // a file that must keep "old"
  };
  const Case cases[] = {
      {"missing/out.rtf", [] { return true; }, nullptr},
      {"folder.rtf",
       [&] {
         fs::create_directories(fs::u8path(folder_.File("folder.rtf")));
         std::ofstream(fs::u8path(folder_.File("folder.rtf/keep"))) << "old";
         return true;
       },
       "folder.rtf/keep"},
      {"locked.rtf",
       [&] {
         const fs::path p = fs::u8path(folder_.File("locked.rtf"));
         std::ofstream(p) << "old";
         fs::permissions(p, fs::perms::owner_read);
         return !std::ofstream(p, std::ios::app);
       },
       "locked.rtf"},
  };
  int expected_messages = 0;
  for (const Case& c : cases) {
    if (!c.prepare()) continue;  // an account that may write anywhere
    Save(c.name, 0);
    ASSERT_EQ(Platform().Messages().size(), ++expected_messages) << c.name;
    const ui::Message& m = Platform().Messages().back();
    EXPECT_EQ(m.caption, "Ошибка");
    EXPECT_EQ(m.text, QString::fromStdString("Не удалось сохранить файл\n" + folder_.File(c.name)));
    EXPECT_EQ(m.icon, ui::MessageIcon::kError);
    if (c.kept) {
      EXPECT_EQ(ReadAll(folder_.File(c.kept)), "old") << c.name;
    }
  }
  EXPECT_GE(expected_messages, 2);
}

}  // namespace
}  // namespace lumigrid::testing_support
