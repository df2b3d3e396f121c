// Undo and redo of the pictures through the menu "Рисунок" and its keys, over the Parts' own
// ways of changing a picture.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/commands.h"
#include "app/history_commands.h"
#include "app/main_menus.h"
#include "codegen/listing_view.h"
#include "core/temp_folder.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/zoom_view_widget.h"
#include "test_support.h"

#include <fstream>

namespace lumigrid::testing_support {
namespace {

class History : public MainWindowTest {
 protected:
  QAction* Item(int command) {
    Window().History().UpdateMenu();
    return Window().Menus().MenuActions(command).value(0);
  }
  // A stroke in the enlarged view over squares 1..3 of the open cell.
  void Stroke(Qt::MouseButton button) {
    for (int n = 1; n <= 3; ++n) PointAtSquare(n, 8, 8, button);
    PointAtSquare(3, 8, 8, Qt::NoButton);
  }
  void PressKeys(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(target, key, modifiers);
  }
};

TEST_F(History, TheMenuSitsBetweenModeAndHelpAndNamesTheStep) {
  const QList<QAction*> tops = Window().menuBar()->actions();
  ASSERT_EQ(tops.size(), 4);
  EXPECT_EQ(tops[2]->text(), "Рисунок");
  EXPECT_EQ(tops[3]->text(), "Справка");

  EXPECT_EQ(Item(command::kUndo)->text(), "Отменить\tCtrl+Z");
  EXPECT_FALSE(Item(command::kUndo)->isEnabled());
  EXPECT_FALSE(Item(command::kRedo)->isEnabled());

  DoubleClickCell(1);
  Stroke(Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1).Cell(1)[0], 0x07);  // rows 1..3 of the first column
  EXPECT_EQ(Item(command::kUndo)->text(), "Отменить: рисование\tCtrl+Z");
  EXPECT_TRUE(Item(command::kUndo)->isEnabled());

  // One stroke, one step: a single undo takes all three pixels back.
  Window().Dispatch(command::kUndo);
  EXPECT_EQ(State().Buffer(1).Cell(1), CellBytes{});
  EXPECT_FALSE(State().BufferModified(1));
  EXPECT_EQ(Item(command::kRedo)->text(), "Повторить: рисование\tCtrl+Y");
  EXPECT_FALSE(Item(command::kUndo)->isEnabled());
  // The enlarged view follows at once.
  const Rect square = ZoomSquareRect(1);
  EXPECT_EQ(At(ZoomShot(), square.x + 8, square.y + 8), Colour(colour::kSquareUnlit));

  Window().Dispatch(command::kRedo);
  EXPECT_EQ(State().Buffer(1).Cell(1)[0], 0x07);
  EXPECT_TRUE(State().BufferModified(1));
  EXPECT_EQ(At(ZoomShot(), square.x + 8, square.y + 8), Colour(colour::kPixelLit));
}

TEST_F(History, EveryPartChangeIsOneStep) {
  State().CellClipboard() = {1, 2, 3, 4, 5, 6, 7, 8};
  ClickCell(7, Qt::RightButton);
  Window().Dispatch(command::kCellPaste);
  EXPECT_EQ(Item(command::kUndo)->text(), "Отменить: вставка ячейки\tCtrl+Z");
  Platform().QueueAnswer(ui::Answer::kNo);  // not saved
  Window().Dispatch(command::kNew);
  EXPECT_EQ(Item(command::kUndo)->text(), "Отменить: новый рисунок\tCtrl+Z");
  EXPECT_FALSE(State().BufferModified(1));

  Window().Dispatch(command::kUndo);  // New taken back: the pasted cell returns, unsaved
  EXPECT_EQ(State().Buffer(1).Cell(7), (CellBytes{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_TRUE(State().BufferModified(1));
  Window().Dispatch(command::kUndo);
  EXPECT_EQ(State().Buffer(1).Cell(7), CellBytes{});
  EXPECT_EQ(Platform().Beeps(), 0);
  Window().Dispatch(command::kUndo);  // nothing left
  EXPECT_EQ(Platform().Beeps(), 1);
}

TEST_F(History, OpeningAFileStartsTheBuffersHistoryAfresh) {
  testing::TempFolder folder;
  const std::string path = folder.File("logo.chr");
  PictureBytes logo{};
  logo.fill(0x3C);
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(logo.data()), logo.size());
  }
  State().Buffer(1).SetPixel(0, 0, true);
  State().RecordEdit(1, "карандаш");
  Platform().QueueFile(QString::fromStdString(path));
  Platform().QueueAnswer(ui::Answer::kNo);  // give up the unsaved pixel
  Window().Dispatch(command::kOpen);
  ASSERT_EQ(State().Buffer(1).Bytes(), logo);
  EXPECT_FALSE(Item(command::kUndo)->isEnabled());

  // Back to the content opened: unmodified again.
  State().Buffer(1).SetPixel(9, 10, false);  // bit 2 of 0x3C
  State().MarkModified(1);
  State().RecordEdit(1, "карандаш");
  Window().Dispatch(command::kUndo);
  EXPECT_EQ(State().Buffer(1).Bytes(), logo);
  EXPECT_FALSE(State().BufferModified(1));
}

TEST_F(History, KeysActOnThePictureUnderThePointerWhateverHasTheFocus) {
  ListingView* listing = Window().Listing(1);
  listing->setPlainText("abc");
  listing->setFocus();
  listing->moveCursor(QTextCursor::End);
  QTest::keyClicks(listing, "d");
  ASSERT_EQ(listing->toPlainText(), "abcd");
  State().Buffer(1).SetPixel(0, 0, true);
  State().RecordEdit(1, "карандаш");

  // Pointer over the canvas: the picture's step is taken, the text stays.
  MovePointer(Window().Canvas(), CellCentre(20));
  PressKeys(listing, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(State().Buffer(1).Pixel(0, 0));
  EXPECT_EQ(listing->toPlainText(), "abcd");
  // Ctrl+Y and Ctrl+Shift+Z redo, under the Russian layout too (Я is the Z key).
  PressKeys(listing, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(State().Buffer(1).Pixel(0, 0));
  Window().Dispatch(command::kUndo);
  QTest::sendKeyEvent(QTest::Click, listing, static_cast<Qt::Key>(U'Я'), QStringLiteral("Я"),
                      Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(State().Buffer(1).Pixel(0, 0));

  // Pointer over the listing, which has the focus: its own undo takes the typed letter back.
  MovePointer(listing, QPoint(20, 20));
  PressKeys(listing, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(listing->toPlainText(), "abc");
  EXPECT_TRUE(State().Buffer(1).Pixel(0, 0));
}

}  // namespace
}  // namespace lumigrid::testing_support
