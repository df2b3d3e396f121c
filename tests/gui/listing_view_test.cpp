// The conversion panel, the listing views and the listing's pop-up menu and file.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/commands.h"
#include "app/main_menus.h"
#include "codegen/conversion_panel.h"
#include "codegen/listing_commands.h"
#include "codegen/listing_view.h"
#include "core/file_bytes.h"
#include "core/temp_folder.h"
#include "picture/editor.h"
#include "test_support.h"

namespace lumigrid::testing_support {
namespace {

using lumigrid::testing::ReadAll;

QString Golden(const char* name) {
  return QString::fromStdString(lumigrid::testing::ReadGolden(name));
}

class Listing : public MainWindowTest {
 protected:
  ConversionPanel& Panel() { return *Window().ConversionSidePanel(); }
  QString ViewText(int b) { return Window().Listing(b)->toPlainText(); }

  // The worked example: buffer 3 with a diagonal in cell 1, "DT", indents 2 and 3.
  void SetUpWorkedExample() {
    Window().Editor().SwitchBuffer(2);
    State().Buffer(3).SetCell(1, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80});
    Panel().FirstIndent()->setValue(2);
    Panel().SecondIndent()->setValue(3);
    Panel().GroupingBox()->setChecked(false);
  }
  void ClickConvert() { QTest::mouseClick(Panel().ConvertButton(), Qt::LeftButton); }
  void RightRelease(QPoint client_point) {
    QWidget* client = Window().Client();
    QWidget* target = client->childAt(client_point);
    if (!target) target = client;
    MovePointer(target, target->mapFrom(client, client_point));
    QTest::mouseRelease(target, Qt::RightButton, Qt::NoModifier,
                        target->mapFrom(client, client_point));
  }
};

TEST_F(Listing, PanelStartsWithTheStoredDefaults) {
  EXPECT_TRUE(Panel().DtOption()->isChecked());
  EXPECT_FALSE(Panel().OwnOption()->isChecked());
  EXPECT_TRUE(Panel().DirectiveField()->text().isEmpty());
  EXPECT_FALSE(Panel().DirectiveField()->isEnabled());
  EXPECT_FALSE(Panel().FileNameBox()->isChecked());
  EXPECT_TRUE(Panel().GroupingBox()->isChecked());
  EXPECT_EQ(Panel().FirstIndent()->value(), 12);
  EXPECT_EQ(Panel().SecondIndent()->value(), 12);
  EXPECT_EQ(Panel().DtOption()->text(), "DT");
  EXPECT_TRUE(Panel().OwnOption()->text().isEmpty());
  EXPECT_EQ(Panel().FileNameBox()->text(), "Добавить имя файла");
  EXPECT_EQ(Panel().GroupingBox()->text(), "Группировка по кристаллам");
  EXPECT_EQ(Panel().ConvertButton()->text(), "Преобразовать");
}

TEST_F(Listing, ControlsSitAtTheirPlaces) {
  EXPECT_EQ(Panel().DtOption()->geometry(), QRect(15, 34, 50, 15));
  EXPECT_EQ(Panel().OwnOption()->geometry(), QRect(15, 60, 20, 15));
  EXPECT_EQ(Panel().DirectiveField()->geometry(), QRect(35, 56, 30, 20));
  EXPECT_EQ(Panel().FileNameBox()->geometry(), QRect(15, 88, 130, 15));
  EXPECT_EQ(Panel().GroupingBox()->geometry(), QRect(15, 105, 170, 15));
  EXPECT_EQ(Panel().ConvertButton()->geometry(), QRect(70, 122, 100, 24));
  EXPECT_EQ(Panel().FirstIndent()->geometry(), QRect(180, 32, 30, 20));
  EXPECT_EQ(Panel().SecondIndent()->geometry(), QRect(180, 58, 30, 20));
  QStringList labels;
  for (QLabel* l : Panel().findChildren<QLabel*>()) labels << l->text();
  EXPECT_TRUE(labels.contains("Первый отступ:"));
  EXPECT_TRUE(labels.contains("Второй отступ:"));
}

TEST_F(Listing, IndentsChangeOnlyWithTheArrows) {
  QSpinBox* spin = Panel().FirstIndent();
  EXPECT_EQ(spin->minimum(), 2);
  EXPECT_EQ(spin->maximum(), 20);
  spin->setFocus();
  QTest::keyClicks(spin, "7");
  EXPECT_EQ(spin->value(), 12) << "digits cannot be typed";
  QTest::keyClick(spin, Qt::Key_Up);
  EXPECT_EQ(spin->value(), 13);
  spin->stepBy(100);
  EXPECT_EQ(spin->value(), 20);
}

TEST_F(Listing, ConvertWritesTheWorkedExampleIntoTheBuffersView) {
  SetUpWorkedExample();
  ClickConvert();
  EXPECT_EQ(ViewText(3), Golden("listing_worked_example.txt"));
  EXPECT_EQ(Window().Listing(3)->document()->blockCount(), 146);
  EXPECT_TRUE(ViewText(1).isEmpty()) << "other buffers' views keep their text";
  EXPECT_TRUE(Window().Listing(3)->hasFocus());
  Panel().GroupingBox()->setChecked(true);
  ClickConvert();
  EXPECT_EQ(ViewText(3), Golden("listing_grouped.txt"));
}

TEST_F(Listing, FileLineNamesTheFileOrTheBuffer) {
  SetUpWorkedExample();
  Panel().FileNameBox()->setChecked(true);
  ClickConvert();
  QStringList lines = ViewText(3).split('\n');
  ASSERT_EQ(lines.size(), 148);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "; <Буфер 3>");
  EXPECT_EQ(lines[2], "");
  EXPECT_TRUE(lines[3].startsWith(";      Страница 1"));
  State().SetBufferFileName(3, "C:\\pics\\logo.chr");
  ClickConvert();
  EXPECT_EQ(ViewText(3).split('\n')[1], "; Файл  —  C:\\pics\\logo.chr");
}

TEST_F(Listing, EmptyOwnDirectiveWarnsAndKeepsTheOldListing) {
  ClickConvert();
  const QString before = ViewText(1);
  ASSERT_FALSE(before.isEmpty());
  QTest::mouseClick(Panel().OwnOption(), Qt::LeftButton);
  EXPECT_TRUE(Panel().DirectiveField()->isEnabled());
  ClickConvert();
  ASSERT_EQ(Platform().Messages().size(), 1);
  const ui::Message& m = Platform().Messages()[0];
  EXPECT_EQ(m.caption, "Преобразование...");
  EXPECT_EQ(m.text, "Не выбрано имя директивы");
  EXPECT_EQ(m.icon, ui::MessageIcon::kExclamation);
  EXPECT_EQ(ViewText(1), before);

  Panel().DirectiveField()->setText("retlw");
  ClickConvert();
  EXPECT_TRUE(ViewText(1).contains("retlw"));
  QTest::mouseClick(Panel().DtOption(), Qt::LeftButton);
  EXPECT_FALSE(Panel().DirectiveField()->isEnabled());
}

TEST_F(Listing, EachBufferKeepsItsOwnOptionsAndListing) {
  QTabBar* tabs = Window().Tabs();
  auto choose_tab = [&](int b) {
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(b - 1).center());
  };
  Panel().GroupingBox()->setChecked(false);
  Panel().FirstIndent()->setValue(3);
  Panel().SecondIndent()->setValue(4);
  ClickConvert();
  const QString listing1 = ViewText(1);

  choose_tab(2);
  EXPECT_TRUE(Panel().GroupingBox()->isChecked()) << "buffer 2 starts with the stored options";
  EXPECT_EQ(Panel().FirstIndent()->value(), 12);
  QTest::mouseClick(Panel().OwnOption(), Qt::LeftButton);
  Panel().DirectiveField()->setText("dt");
  choose_tab(1);
  EXPECT_FALSE(Panel().GroupingBox()->isChecked());
  EXPECT_EQ(Panel().FirstIndent()->value(), 3);
  EXPECT_EQ(Panel().SecondIndent()->value(), 4);
  EXPECT_TRUE(Panel().DtOption()->isChecked());
  EXPECT_FALSE(Panel().DirectiveField()->isEnabled());
  EXPECT_TRUE(Window().Listing(1)->isVisible());
  EXPECT_EQ(ViewText(1), listing1);
  choose_tab(2);
  EXPECT_TRUE(Panel().OwnOption()->isChecked());
  EXPECT_EQ(Panel().DirectiveField()->text(), "dt");
  EXPECT_TRUE(Panel().DirectiveField()->isEnabled());
}

TEST_F(Listing, ChoosingTheCurrentTabRefreshesTheDirectiveField) {
  Panel().OwnOption()->setChecked(true);  // set without the click that would refresh it
  EXPECT_FALSE(Panel().DirectiveField()->isEnabled());
  QTabBar* tabs = Window().Tabs();
  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(0).center());
  EXPECT_TRUE(Panel().DirectiveField()->isEnabled());
}

TEST_F(Listing, PopupOpensOnlyStrictlyInsideTheListingArea) {
  QMenu* popup = Window().Menus().Popup(2);
  struct Case {
    QPoint point;
    bool opens;
  };
  const Case cases[] = {{{5, 341}, true},    {{549, 489}, true},  {{4, 400}, false},
                        {{300, 490}, false}, {{550, 400}, false}, {{300, 340}, false}};
  for (const Case& c : cases) {
    RightRelease(c.point);
    EXPECT_EQ(popup->isVisible(), c.opens) << c.point.x() << "," << c.point.y();
    popup->hide();
  }
}

TEST_F(Listing, SelectAllAndCopyReachTheSystemClipboard) {
  Window().Listing(1)->setPlainText("first\nsecond");
  Window().Dispatch(command::kListingSelectAll);
  Window().Dispatch(command::kListingCopy);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "first\nsecond");
}

class SaveListing : public Listing {
 protected:
  lumigrid::testing::TempFolder folder_;
};

TEST_F(SaveListing, AppendsAsmOnlyToANameWithoutExtension) {
  struct Case {
    const char* typed;
    const char* written;
  };
  for (const Case& c : {Case{"out", "out.asm"}, Case{"out.inc", "out.inc"},
                        Case{"out.lst", "out.lst"}, Case{"dir.d/out", "dir.d/out.asm"}}) {
    std::filesystem::create_directories(folder_.Path() / "dir.d");
    Platform().QueueFile(QString::fromStdString(folder_.File(c.typed)));
    Window().Dispatch(command::kListingSave);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(folder_.File(c.written))))
        << c.typed;
  }
  ASSERT_FALSE(Platform().Dialogs().isEmpty());
  const ui::FileDialogRequest& r = Platform().Dialogs()[0].request;
  EXPECT_TRUE(Platform().Dialogs()[0].save);
  EXPECT_EQ(r.title, "Сохранить файл...");
  EXPECT_EQ(r.filter, "*.asm, *.inc, *.txt|*.asm; *.inc; *.txt|Все файлы|*.*");
  EXPECT_EQ(r.selected_filter, 0);
  EXPECT_TRUE(r.start_path.isEmpty());
  EXPECT_TRUE(Platform().Messages().isEmpty());
}

TEST_F(SaveListing, WritesTheEditedTextInWindows1251WithCrLf) {
  State().SetBufferFileName(1, "C:\\pics\\logo.chr");
  Panel().FileNameBox()->setChecked(true);
  ClickConvert();
  Window().Listing(1)->appendPlainText("; правка");
  Platform().QueueFile(QString::fromStdString(folder_.File("logo.asm")));
  Window().Dispatch(command::kListingSave);
  const std::string bytes = ReadAll(folder_.File("logo.asm"));
  EXPECT_EQ(bytes.substr(0, 2), "\r\n");
  EXPECT_NE(bytes.find("; \xD4\xE0\xE9\xEB  \x97  C:\\pics\\logo.chr\r\n"), std::string::npos)
      << "\"; Файл  —  \" in Windows-1251";
  EXPECT_TRUE(bytes.ends_with("\r\n; \xEF\xF0\xE0\xE2\xEA\xE0")) << "the edit, nothing after it";
  EXPECT_EQ(bytes.find('\n', 0), 1u);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'),
            std::count(bytes.begin(), bytes.end(), '\r'));
}

// What the view shows is what the file and the clipboard get: a no-break space is 0xA0 in
// Windows-1251, not a plain space, and every line break, however typed, ends a line.
TEST_F(SaveListing, SavesAndCopiesExactlyWhatTheViewShows) {
  const QChar nbsp(0x00A0);
  struct Case {
    QString shown;
    std::string saved;
  };
  const Case cases[] = {
      {QString("DT") + nbsp + "0x01",
       "DT\xA0"
       "0x01"},
      {QString("a\n") + nbsp + "\nb", "a\r\n\xA0\r\nb"},
      {QString("line") + QChar(QChar::LineSeparator) + "next", "line\r\nnext"},
      {QString("\n\n"), "\r\n\r\n"},
  };
  for (const Case& c : cases) {
    ListingView* view = Window().Listing(1);
    view->clear();
    view->textCursor().insertText(c.shown);
    Platform().QueueFile(QString::fromStdString(folder_.File("out.asm")));
    Window().Dispatch(command::kListingSave);
    EXPECT_EQ(ReadAll(folder_.File("out.asm")), c.saved) << c.shown.toStdString();
    Window().Dispatch(command::kListingSelectAll);
    Window().Dispatch(command::kListingCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString(c.shown).replace(QChar(QChar::LineSeparator), u'\n'));
  }
}

TEST_F(SaveListing, NoBreakSpaceInTheFileNameLineIsKept) {
  State().SetBufferFileName(1, "C:\\my\u00A0pics\\logo.chr");
  Panel().FileNameBox()->setChecked(true);
  ClickConvert();
  Platform().QueueFile(QString::fromStdString(folder_.File("logo.asm")));
  Window().Dispatch(command::kListingSave);
  EXPECT_NE(ReadAll(folder_.File("logo.asm")).find("C:\\my\xA0pics\\logo.chr\r\n"),
            std::string::npos);
}

TEST_F(SaveListing, CancelledDialogWritesNothing) {
  Window().Dispatch(command::kListingSave);
  EXPECT_EQ(Platform().Dialogs().size(), 1);
  EXPECT_TRUE(folder_.Entries().empty());
  EXPECT_TRUE(Platform().Messages().isEmpty());
}

TEST_F(SaveListing, UnwritablePathReportsAndKeepsWhatWasThere) {
  Window().Listing(1)->setPlainText("new text");
  const std::string missing = folder_.File("no such folder/out.asm");
  Platform().QueueFile(QString::fromStdString(missing));
  Window().Dispatch(command::kListingSave);
  ASSERT_EQ(Platform().Messages().size(), 1);
  EXPECT_EQ(Platform().Messages()[0].caption, "Ошибка");
  EXPECT_EQ(Platform().Messages()[0].text,
            QString::fromStdString("Не удалось сохранить файл\n" + missing));
  EXPECT_EQ(Platform().Messages()[0].icon, ui::MessageIcon::kError);

  // A folder of that name stands where the file would go: it is not replaced.
  std::filesystem::create_directories(std::filesystem::u8path(folder_.File("taken.asm")));
  std::ofstream(std::filesystem::u8path(folder_.File("taken.asm/keep"))) << "kept";
  Platform().QueueFile(QString::fromStdString(folder_.File("taken.asm")));
  Window().Dispatch(command::kListingSave);
  EXPECT_EQ(Platform().Messages().size(), 2);
  EXPECT_EQ(ReadAll(folder_.File("taken.asm/keep")), "kept");
}

}  // namespace
}  // namespace lumigrid::testing_support
