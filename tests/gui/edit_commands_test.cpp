// Cell cut, copy, paste and clear from the cell pop-up menu, and the edit shortcuts routed by
// the position of the mouse pointer.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "app/commands.h"
#include "codegen/listing_view.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "test_support.h"

namespace lumigrid::testing_support {
namespace {

constexpr CellBytes kCircle{0x3C, 0x42, 0x81, 0x81, 0x81, 0x81, 0x42, 0x3C};

class EditCommandsTest : public MainWindowTest {
 protected:
  void Popup(int cell, int command) {
    ClickCell(cell, Qt::RightButton);
    QApplication::activePopupWidget()->hide();
    Window().Dispatch(command);
  }
  void PointAtCanvas(QPoint canvas_point) {
    Platform().SetPointer(Window().Canvas()->mapToGlobal(canvas_point));
  }
  void PointAtListing() {
    Platform().SetPointer(Window().CurrentListing()->mapToGlobal(QPoint(40, 40)));
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(Window().CurrentListing(), key, modifiers);
  }
};

TEST_F(EditCommandsTest, PopupCopyInOneBufferPastesIntoAnother) {
  State().Buffer(1).SetCell(5, kCircle);
  Popup(5, command::kCellCopy);
  Window().Editor().SwitchBuffer(1);
  Popup(100, command::kCellPaste);
  EXPECT_EQ(State().Buffer(2).Cell(100), kCircle);
  EXPECT_TRUE(State().BufferModified(2));
  EXPECT_FALSE(State().BufferModified(1)) << "a copy from the pop-up is no change";
  const Rect r = CanvasCellRect(100);
  EXPECT_EQ(At(CanvasShot(), r.x + 8, r.y + 1), Colour(colour::kPixelLit)) << "byte 3, row 1";
}

TEST_F(EditCommandsTest, PopupCutAndClearEmptyTheCellAndMarkTheBuffer) {
  State().Buffer(1).SetCell(5, kCircle);
  State().Buffer(1).SetCell(6, kCircle);
  Popup(5, command::kCellCut);
  EXPECT_EQ(State().Buffer(1).Cell(5), CellBytes{});
  EXPECT_EQ(State().CellClipboard(), kCircle);
  EXPECT_TRUE(State().BufferModified(1));
  State().MarkClean(1);
  Popup(6, command::kCellClear);
  EXPECT_EQ(State().Buffer(1).Cell(6), CellBytes{});
  EXPECT_TRUE(State().BufferModified(1));
  EXPECT_EQ(At(CanvasShot(), CellCentre(6).x(), CellCentre(6).y()), Colour(colour::kCellNormal));
}

TEST_F(EditCommandsTest, CtrlCOnACellCopiesItAndMarksTheBuffer) {
  State().Buffer(1).SetCell(20, kCircle);
  PointAtCanvas(CellCentre(20));
  Press(Qt::Key_C);
  EXPECT_EQ(State().CellClipboard(), kCircle);
  EXPECT_TRUE(State().BufferModified(1));
  PointAtCanvas(CellCentre(21));
  Press(Qt::Key_V);
  EXPECT_EQ(State().Buffer(1).Cell(21), kCircle);
  Press(Qt::Key_X);
  EXPECT_EQ(State().Buffer(1).Cell(21), CellBytes{});
  EXPECT_EQ(Platform().Beeps(), 0);
}

TEST_F(EditCommandsTest, ShortcutsWithNothingUnderThePointerBeep) {
  State().Buffer(1).SetCell(1, kCircle);
  State().Buffer(1).SetCell(2, kCircle);
  PointAtCanvas(QPoint(33, 10));  // the gap between cells 1 and 2
  Press(Qt::Key_X);
  EXPECT_EQ(Platform().Beeps(), 1);
  EXPECT_EQ(State().Buffer(1).Cell(1), kCircle);
  EXPECT_EQ(State().Buffer(1).Cell(2), kCircle);
  EXPECT_FALSE(State().BufferModified(1));

  PointAtCanvas(CellCentre(1));
  Press(Qt::Key_A);
  EXPECT_EQ(Platform().Beeps(), 2) << "select all has nothing to select on the canvas";
  Press(Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(Platform().Beeps(), 3);
  EXPECT_TRUE(Platform().Dialogs().isEmpty()) << "Alt+S over the canvas opens no dialog";

  Window().SwitchWorkMode(2);
  Press(Qt::Key_V);
  EXPECT_EQ(Platform().Beeps(), 4) << "cells take shortcuts only while editing";
  EXPECT_EQ(State().Buffer(1).Cell(1), kCircle);
}

TEST_F(EditCommandsTest, TextShortcutsActOnTheListingUnderThePointer) {
  Window().CurrentListing()->setPlainText("  Dt   0x01");
  PointAtListing();
  Press(Qt::Key_A);
  EXPECT_EQ(Window().CurrentListing()->textCursor().selectedText(), "  Dt   0x01");
  Press(Qt::Key_C);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "  Dt   0x01");
  Press(Qt::Key_X);
  Press(Qt::Key_V);
  EXPECT_EQ(Window().CurrentListing()->toPlainText(), "  Dt   0x01")
      << "cut and paste never reach a text view";
  EXPECT_EQ(Platform().Beeps(), 2);
  Press(Qt::Key_S, Qt::AltModifier);
  ASSERT_EQ(Platform().Dialogs().size(), 1);
  EXPECT_EQ(Platform().Dialogs()[0].request.title, "Сохранить файл...");
}

TEST_F(EditCommandsTest, KeyboardFocusPlaysNoPart) {
  Window().CellSidePanel()->CodeField()->setFocus();
  State().Buffer(1).SetCell(9, kCircle);
  PointAtCanvas(CellCentre(9));
  QTest::keyClick(Window().CellSidePanel()->CodeField(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(State().CellClipboard(), kCircle);
}

TEST_F(EditCommandsTest, EditingTheOpenCellUpdatesItsViewAndReadout) {
  State().Buffer(1).SetCell(3, kCircle);
  DoubleClickCell(3);
  PointAtCanvas(CellCentre(3));
  Press(Qt::Key_X);
  EXPECT_EQ(Window().CellSidePanel()->CodeField()->text(),
            "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00");
  const Rect first = ZoomSquareRect(SquareNumber(1, 3));  // byte 1, row 3: lit before the cut
  EXPECT_EQ(At(ZoomShot(), first.x + 8, first.y + 8), Colour(colour::kSquareUnlit));
  EXPECT_EQ(State().SelectedCell(), 3);
}

}  // namespace
}  // namespace lumigrid::testing_support
