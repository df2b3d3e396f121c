// The tools on the canvas, driven through the real canvas with mouse drags and keys: what a
// drag draws, what its preview leaves, the keys that choose a tool, and the cells' canvas
// untouched while no tool is chosen.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTest>
#include <set>

#include "app/commands.h"
#include "app/drawing_tool_commands.h"
#include "app/history_commands.h"
#include "app/main_menus.h"
#include "codegen/listing_view.h"
#include "core/test_pictures.h"
#include "edit/draw.h"
#include "edit/selection.h"
#include "edit/text_layout.h"
#include "picture/canvas_tools.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "picture/readout_text.h"
#include "picture/text_tool_dialog.h"
#include "picture/zoom_view_widget.h"
#include "test_support.h"

namespace lumigrid {
inline void PrintTo(const PixelPoint& p, std::ostream* os) {
  *os << "(" << p.x << "," << p.y << ")";
}
}  // namespace lumigrid

namespace lumigrid::testing_support {
namespace {

using PixelSet = std::set<PixelPoint>;

class CanvasToolsTest : public MainWindowTest {
 protected:
  CanvasTools& Tools() { return Window().Drawing().Tools(); }
  CanvasWidget* Canvas() { return Window().Canvas(); }

  // A point inside the pixel's 4 x 4 square on the canvas.
  static QPoint On(PixelPoint p) {
    const Rect r = CanvasPixelRect(p);
    return {r.x + 1, r.y + 2};
  }
  void Press(QPoint local, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Platform().SetPointer(Canvas()->mapToGlobal(local), button);
    QTest::mousePress(Canvas(), button, modifiers, local);
  }
  void Move(QPoint local, Qt::MouseButtons buttons,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPoint global = Canvas()->mapToGlobal(local);
    Platform().SetPointer(global, buttons);
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(global), Qt::NoButton, buttons,
                     modifiers);
    QApplication::sendEvent(Canvas(), &move);
  }
  void Release(QPoint local, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Platform().SetPointer(Canvas()->mapToGlobal(local));
    QTest::mouseRelease(Canvas(), button, modifiers, local);
  }
  // Press at the first point, move through the others, release at the last.
  void Drag(const std::vector<PixelPoint>& path, Qt::MouseButton button = Qt::LeftButton,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Press(On(path.front()), button, modifiers);
    for (size_t i = 1; i < path.size(); ++i) Move(On(path[i]), button, modifiers);
    Release(On(path.back()), button, modifiers);
  }
  void Choose(int command) { Window().Dispatch(command); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : Canvas(), key, modifiers);
  }

  static PixelSet Lit(const PictureBuffer& picture) {
    PixelSet lit;
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 0; x < kPictureWidth; ++x) {
        if (picture.Pixel(x, y)) lit.insert({x, y});
      }
    }
    return lit;
  }
  // The pixels the canvas shows lit.
  PixelSet LitOnCanvas() {
    const QImage shot = CanvasShot();
    PixelSet lit;
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 0; x < kPictureWidth; ++x) {
        const Rect r = CanvasPixelRect({x, y});
        if (At(shot, r.x + 2, r.y + 2) == Colour(colour::kPixelLit)) lit.insert({x, y});
      }
    }
    return lit;
  }
  static PixelSet AsSet(const std::vector<PixelPoint>& pixels) {
    PixelSet set;
    for (const PixelPoint& p : pixels) {
      if (IsInPicture(p)) set.insert(p);
    }
    return set;
  }
  QString UndoText() {
    Window().History().UpdateMenu();
    return Window().Menus().MenuActions(command::kUndo).value(0)->text();
  }
  QStringList CheckedTools() {
    QStringList checked;
    for (int n = command::kToolNone; n <= command::kToolSelection; ++n) {
      for (QAction* a : Window().Menus().MenuActions(n)) {
        if (a->isChecked()) checked << a->text();
      }
    }
    return checked;
  }
};

TEST_F(CanvasToolsTest, TheToolSubmenuFollowsRedoAndCarriesOneCheckMark) {
  QMenu* picture = Window().Menus().TopMenu(2);
  ASSERT_EQ(picture->title(), "Рисунок");
  const QList<QAction*> items = picture->actions();
  ASSERT_GE(items.size(), 4);
  EXPECT_EQ(items[1]->data().toInt(), command::kRedo);
  EXPECT_TRUE(items[2]->isSeparator());
  ASSERT_NE(items[3]->menu(), nullptr);
  EXPECT_EQ(items[3]->text(), "Инструмент");
  QStringList texts;
  for (QAction* a : items[3]->menu()->actions()) texts << a->text();
  EXPECT_EQ(texts, (QStringList{"Без инструмента\tEsc", "Карандаш\tP", "Линия\tL",
                                "Прямоугольник\tR", "Закрашенный прямоугольник\tShift+R",
                                "Эллипс\tE", "Заливка\tF", "Текст\tT", "Выделение\tS"}));
  EXPECT_EQ(CheckedTools(), QStringList{"Без инструмента\tEsc"});
  Choose(command::kToolEllipse);
  EXPECT_EQ(CheckedTools(), QStringList{"Эллипс\tE"});
  EXPECT_EQ(Tools().Tool(), DrawingTool::kEllipse);
}

TEST_F(CanvasToolsTest, ALineDragDrawsExactlyTheReferenceLine) {
  Choose(command::kToolLine);
  const PixelPoint from{3, 5}, to{100, 50};
  Press(On(from));
  Move(On({60, 2}), Qt::LeftButton);
  EXPECT_EQ(LitOnCanvas(), AsSet(LinePixels(from, {60, 2}))) << "the preview";
  EXPECT_TRUE(Lit(State().Buffer(1)).empty()) << "a preview is no change";
  Move(On({127, 63}), Qt::LeftButton);
  Move(On(to), Qt::LeftButton);
  Release(On(to));
  EXPECT_EQ(Lit(State().Buffer(1)), AsSet(LinePixels(from, to)));
  EXPECT_EQ(LitOnCanvas(), AsSet(LinePixels(from, to)));
  EXPECT_TRUE(State().BufferModified(1));
  EXPECT_EQ(UndoText(), "Отменить: линия\tCtrl+Z");
  Window().Dispatch(command::kUndo);
  EXPECT_TRUE(Lit(State().Buffer(1)).empty()) << "the whole line is one step";
  EXPECT_TRUE(LitOnCanvas().empty());

  // The right button draws unlit pixels.
  State().Buffer(1).Bytes().fill(0xFF);
  Window().Editor().RefreshPicture();
  Drag({{0, 63}, {127, 0}}, Qt::RightButton);
  PixelSet expected;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) expected.insert({x, y});
  }
  for (const PixelPoint& p : LinePixels({0, 63}, {127, 0})) expected.erase(p);
  EXPECT_EQ(Lit(State().Buffer(1)), expected);
}

TEST_F(CanvasToolsTest, EscapeLeavesNoPixelOfThePreviewBehind) {
  State().Buffer(1).Bytes() = [] {
    PictureBuffer p;
    for (int i = 0; i < 128; ++i) p.SetPixel(i, (i * 37) % 64, true);
    return p.Bytes();
  }();
  Window().Editor().RefreshPicture();
  DoubleClickCell(40);  // an open cell keeps its colour under the preview
  Choose(command::kToolEllipse);
  MovePointer(Canvas(), On({70, 20}));
  const QImage before = CanvasShot();
  const PictureBytes bytes = State().Buffer(1).Bytes();
  const QString undo = UndoText();

  Press(On({2, 2}));
  for (const PixelPoint p : {PixelPoint{50, 30}, {127, 63}, {90, 10}}) Move(On(p), Qt::LeftButton);
  ASSERT_NE(CanvasShot(), before) << "the preview shows";
  Key(Qt::Key_Escape);
  EXPECT_EQ(CanvasShot(), before);
  EXPECT_EQ(State().Buffer(1).Bytes(), bytes);
  EXPECT_FALSE(State().BufferModified(1));
  EXPECT_EQ(UndoText(), undo);
  EXPECT_EQ(Tools().Tool(), DrawingTool::kEllipse) << "Escape took back the drag only";
  Release(On({90, 10}));
  EXPECT_EQ(State().Buffer(1).Bytes(), bytes) << "the release after it draws nothing";

  // A pencil stroke taken back by Escape restores what it drew over, and the flag.
  Choose(command::kToolPencil);
  Press(On({0, 0}));
  Move(On({127, 63}), Qt::LeftButton);
  ASSERT_NE(State().Buffer(1).Bytes(), bytes);
  Key(Qt::Key_Escape);
  Release(On({127, 63}));
  EXPECT_EQ(State().Buffer(1).Bytes(), bytes);
  EXPECT_FALSE(State().BufferModified(1));
  EXPECT_EQ(CanvasShot(), before);

  Key(Qt::Key_Escape);
  EXPECT_EQ(Tools().Tool(), DrawingTool::kNone) << "Escape without a drag leaves the tool";
}

TEST_F(CanvasToolsTest, PencilJoinsTheEventsOfAFastStroke) {
  DoubleClickCell(1);
  Choose(command::kToolPencil);
  const std::vector<PixelPoint> path{{0, 0}, {30, 7}, {30, 40}, {2, 63}};
  Press(On(path[0]));
  Move(On(path[1]), Qt::LeftButton);
  // The open cell's enlarged view and readout follow during the stroke.
  ASSERT_NE(State().Buffer(1).Cell(1), CellBytes{});
  EXPECT_EQ(Window().CellSidePanel()->CodeField()->text(),
            QString::fromStdString(CodeFieldText(State().Buffer(1).Cell(1))));
  const Rect square = ZoomSquareRect(SquareNumber(2, 1));
  EXPECT_EQ(At(ZoomShot(), square.x + 8, square.y + 8), Colour(colour::kPixelLit));
  for (size_t i = 2; i < path.size(); ++i) Move(On(path[i]), Qt::LeftButton);
  Release(On(path.back()));
  PixelSet expected;
  for (size_t i = 1; i < path.size(); ++i) {
    for (const PixelPoint& p : LinePixels(path[i - 1], path[i])) expected.insert(p);
  }
  EXPECT_EQ(Lit(State().Buffer(1)), expected);
  EXPECT_EQ(LitOnCanvas(), expected);
  EXPECT_EQ(UndoText(), "Отменить: карандаш\tCtrl+Z");
  Window().Dispatch(command::kUndo);
  EXPECT_TRUE(Lit(State().Buffer(1)).empty()) << "one stroke, one step";

  // Outside the picture the stroke holds to its edge.
  Press(On({5, 60}));
  Move(QPoint(-40, 400), Qt::LeftButton);
  Release(QPoint(-40, 400));
  EXPECT_EQ(Lit(State().Buffer(1)), AsSet(LinePixels({5, 60}, {0, 63})));
}

TEST_F(CanvasToolsTest, ShiftHoldsLinesTo45DegreesAndBoxesToSquares) {
  Choose(command::kToolLine);
  Drag({{10, 10}, {40, 14}}, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(Lit(State().Buffer(1)), AsSet(LinePixels({10, 10}, {40, 10})));
  State().Buffer(1).Clear();
  Window().Editor().RefreshPicture();

  Choose(command::kToolRectangle);
  Press(On({10, 10}));
  Move(On({30, 16}), Qt::LeftButton);
  // Shift pressed while dragging, without a move, turns the preview into a square.
  QTest::keyPress(QApplication::focusWidget(), Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_EQ(LitOnCanvas(), AsSet(RectanglePixels({10, 10}, {30, 30}, false)));
  QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Shift);
  EXPECT_EQ(LitOnCanvas(), AsSet(RectanglePixels({10, 10}, {30, 16}, false)));
  Release(On({30, 16}), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(Lit(State().Buffer(1)), AsSet(RectanglePixels({10, 10}, {30, 30}, false)));
  EXPECT_EQ(UndoText(), "Отменить: прямоугольник\tCtrl+Z");

  Choose(command::kToolFilledRectangle);
  Drag({{100, 40}, {90, 60}}, Qt::LeftButton);
  Choose(command::kToolEllipse);
  Drag({{40, 40}, {70, 50}}, Qt::LeftButton, Qt::ShiftModifier);
  PixelSet expected = AsSet(RectanglePixels({10, 10}, {30, 30}, false));
  for (const PixelPoint& p : RectanglePixels({100, 40}, {90, 60}, true)) expected.insert(p);
  for (const PixelPoint& p : EllipsePixels({40, 40}, {70, 70})) {
    if (IsInPicture(p)) expected.insert(p);
  }
  EXPECT_EQ(Lit(State().Buffer(1)), expected);
  EXPECT_EQ(UndoText(), "Отменить: эллипс\tCtrl+Z");
}

TEST_F(CanvasToolsTest, FillTakesTheFourConnectedRegionOfTheClickedColour) {
  PictureBuffer& picture = State().Buffer(1);
  PlotPixels(picture, RectanglePixels({10, 10}, {20, 20}, false), true);
  picture.SetPixel(15, 9, true);   // touches the box at a side: not inside
  picture.SetPixel(21, 21, true);  // only at a corner
  Window().Editor().RefreshPicture();
  Choose(command::kToolFill);
  Press(On({15, 15}));
  Release(On({15, 15}));
  PixelSet expected = AsSet(RectanglePixels({10, 10}, {20, 20}, true));
  expected.insert({15, 9});
  expected.insert({21, 21});
  EXPECT_EQ(Lit(picture), expected);
  EXPECT_EQ(LitOnCanvas(), expected);
  EXPECT_EQ(UndoText(), "Отменить: заливка\tCtrl+Z");
  // A right click empties the region of lit pixels it is in: the pixel on the box's side
  // belongs to it, the one at its corner does not.
  Press(On({10, 20}), Qt::RightButton);
  Release(On({10, 20}), Qt::RightButton);
  EXPECT_EQ(Lit(picture), (PixelSet{{21, 21}}));
  // Filling with the colour a pixel already has is no change.
  Platform().ClearRecords();
  const QString undo = UndoText();
  Press(On({0, 0}), Qt::RightButton);
  Release(On({0, 0}), Qt::RightButton);
  EXPECT_EQ(UndoText(), undo);
}

TEST_F(CanvasToolsTest, TheGapBetweenTheCrystalsIsNoPixel) {
  Choose(command::kToolPencil);
  const Rect left_cell = CanvasCellRect(8);
  const QPoint gap(left_cell.x + left_cell.width + 1, left_cell.y + 5);
  Press(gap);
  Release(gap);
  EXPECT_TRUE(Lit(State().Buffer(1)).empty());
  EXPECT_FALSE(State().BufferModified(1));
  // The 1-pixel gap after a cell is that cell's last column.
  const QPoint cell_gap(left_cell.x - 1, left_cell.y + 5);
  Press(cell_gap);
  Release(cell_gap);
  EXPECT_EQ(Lit(State().Buffer(1)), (PixelSet{{55, 1}}));
}

TEST_F(CanvasToolsTest, LettersChooseToolsOverTheCanvasButTypingStaysTyping) {
  ListingView* listing = Window().Listing(1);
  listing->setFocus();
  MovePointer(Canvas(), On({64, 32}));
  QTest::keyClick(listing, Qt::Key_L);
  EXPECT_EQ(listing->toPlainText(), "l") << "the listing holds the focus";
  EXPECT_EQ(Tools().Tool(), DrawingTool::kNone);

  // A click on the canvas takes the focus; the letters then choose.
  ClickCell(60);
  ASSERT_TRUE(Canvas()->hasFocus());
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    DrawingTool tool;
  } keys[] = {
      {Qt::Key_P, Qt::NoModifier, DrawingTool::kPencil},
      {Qt::Key_L, Qt::NoModifier, DrawingTool::kLine},
      {Qt::Key_R, Qt::NoModifier, DrawingTool::kRectangle},
      {Qt::Key_R, Qt::ShiftModifier, DrawingTool::kFilledRectangle},
      {Qt::Key_E, Qt::NoModifier, DrawingTool::kEllipse},
      {Qt::Key_F, Qt::NoModifier, DrawingTool::kFill},
      {Qt::Key_S, Qt::NoModifier, DrawingTool::kSelection},
      {Qt::Key_Escape, Qt::NoModifier, DrawingTool::kNone},
  };
  for (const auto& k : keys) {
    Key(k.key, k.modifiers);
    EXPECT_EQ(Tools().Tool(), k.tool) << QKeySequence(k.key | k.modifiers).toString().toStdString();
  }
  // The Russian layout: the keys of Д and К.
  QTest::sendKeyEvent(QTest::Click, Canvas(), static_cast<Qt::Key>(U'Д'), QStringLiteral("д"),
                      Qt::NoModifier);
  EXPECT_EQ(Tools().Tool(), DrawingTool::kLine);
  QTest::sendKeyEvent(QTest::Click, Canvas(), static_cast<Qt::Key>(U'К'), QStringLiteral("К"),
                      Qt::ShiftModifier);
  EXPECT_EQ(Tools().Tool(), DrawingTool::kFilledRectangle);

  // Away from the canvas a letter is no tool key.
  MovePointer(listing, QPoint(30, 30));
  Key(Qt::Key_P);
  EXPECT_EQ(Tools().Tool(), DrawingTool::kFilledRectangle);
  EXPECT_EQ(listing->toPlainText(), "l");
}

TEST_F(CanvasToolsTest, WithNoToolChosenTheCanvasDoesWhatItDid) {
  Choose(command::kToolPencil);
  Choose(command::kToolNone);
  State().CellClipboard() = {1, 2, 3, 4, 5, 6, 7, 8};
  MovePointer(Canvas(), CellCentre(20));
  EXPECT_EQ(At(CanvasShot(), CellCentre(20).x(), CellCentre(20).y()), Colour(colour::kCellHover));
  DoubleClickCell(20);
  EXPECT_EQ(State().SelectedCell(), 20);
  EXPECT_EQ(At(CanvasShot(), CellCentre(20).x(), CellCentre(20).y()), Colour(colour::kCellOpen));
  ClickCell(21);
  EXPECT_EQ(State().SelectedCell(), kNoCell) << "a click on another cell closes the open one";
  EXPECT_TRUE(Lit(State().Buffer(1)).empty()) << "and draws nothing";
  ClickCell(22, Qt::RightButton);
  EXPECT_TRUE(Window().Menus().Popup(1)->isVisible());
  EXPECT_EQ(Window().Editor().PopupCell(), 22);
  Window().Menus().Popup(1)->hide();
  // Ctrl+V pastes into the cell under the pointer; letters over the canvas choose tools
  // (nothing else uses them), and nothing else changes.
  MovePointer(Canvas(), CellCentre(23));
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(State().Buffer(1).Cell(23), (CellBytes{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_TRUE(State().BufferModified(1));
  EXPECT_EQ(Platform().Beeps(), 0);
  MovePointer(Canvas(), QPoint(265, 100));  // the crystal gap: no cell
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Platform().Beeps(), 1);
}

TEST_F(CanvasToolsTest, ToolsActInEditingOnly) {
  Choose(command::kToolPencil);
  Window().SwitchWorkMode(3);
  DoubleClickCell(30);
  EXPECT_EQ(State().WorkMode(), 1) << "a double click outside editing returns to it";
  EXPECT_EQ(State().SelectedCell(), 30) << "and opens the cell, as with no tool";
  EXPECT_TRUE(Lit(State().Buffer(1)).empty());
  EXPECT_EQ(Tools().Tool(), DrawingTool::kPencil) << "the tool stays chosen";
  Drag({{1, 1}, {1, 3}});
  EXPECT_EQ(Lit(State().Buffer(1)), (PixelSet{{1, 1}, {1, 2}, {1, 3}}));

  // A drag cut short by leaving editing draws nothing more and leaves nothing behind.
  Choose(command::kToolLine);
  Press(On({60, 60}));
  Move(On({0, 60}), Qt::LeftButton);
  QTest::keyClick(Canvas(), Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(State().WorkMode(), 2);
  EXPECT_EQ(LitOnCanvas(), (PixelSet{{1, 1}, {1, 2}, {1, 3}}));
  Release(On({0, 60}));
  EXPECT_EQ(Lit(State().Buffer(1)), (PixelSet{{1, 1}, {1, 2}, {1, 3}}));
}

TEST_F(CanvasToolsTest, AnUndoDuringADragEndsIt) {
  Choose(command::kToolPencil);
  Drag({{4, 4}, {8, 4}});
  Choose(command::kToolLine);
  Press(On({0, 20}));
  Move(On({50, 20}), Qt::LeftButton);
  QTest::keyClick(Canvas(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(Lit(State().Buffer(1)).empty());
  Move(On({60, 20}), Qt::LeftButton);
  Release(On({60, 20}));
  EXPECT_TRUE(Lit(State().Buffer(1)).empty());
  EXPECT_TRUE(LitOnCanvas().empty());
}

// A picture that shows where pixels went, recorded as the history's start.
PictureBytes Pattern() { return testing::RandomPicture(21); }

void StartFrom(MainWindow& window, const PictureBytes& picture) {
  window.State().Buffer(1).Bytes() = picture;
  window.State().RecordEdit(1, "узор");
  window.Editor().RefreshPicture();
}

// The picture after the pixels of r were lifted and dropped at `to`, by the core's moves.
PictureBytes Moved(const PictureBytes& picture, const PixelRect& r, PixelPoint to) {
  PictureSelection selection;
  selection.Select(r);
  return selection.MoveTo(picture, to);
}

TEST_F(CanvasToolsTest, ASelectionIsDraggedOutAndMovedByDraggingItAsOneStep) {
  StartFrom(Window(), Pattern());
  Choose(command::kToolSelection);
  Drag({{10, 10}, {14, 12}, {20, 15}});
  EXPECT_EQ(Tools().Selection().Rect(), (PixelRect{10, 10, 11, 6}));
  const Rect first = CanvasPixelRect({10, 10}), last = CanvasPixelRect({20, 15});
  EXPECT_EQ(Canvas()->Marquee(),
            (Rect{first.x, first.y, last.x + 4 - first.x, last.y + 4 - first.y}));
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern()) << "selecting changes nothing";
  EXPECT_FALSE(State().BufferModified(1));

  // Taken at (12, 12) and let go at (52, 32): the selection's corner goes to (50, 30).
  Drag({{12, 12}, {30, 20}, {52, 32}});
  const PictureBytes once = Moved(Pattern(), {10, 10, 11, 6}, {50, 30});
  EXPECT_EQ(State().Buffer(1).Bytes(), once);
  EXPECT_EQ(Tools().Selection().Rect(), (PixelRect{50, 30, 11, 6}));
  EXPECT_EQ(UndoText(), "Отменить: перемещение\tCtrl+Z");
  EXPECT_TRUE(State().BufferModified(1));

  // Moved on, it uncovers what it lay on at (50, 30).
  Drag({{50, 30}, {100, 0}});
  EXPECT_EQ(State().Buffer(1).Bytes(), Moved(Pattern(), {10, 10, 11, 6}, {100, 0}));
  // Escape during a move puts everything back as it was at the press.
  const PixelSet before = LitOnCanvas();
  const std::optional<Rect> marquee = Canvas()->Marquee();
  Press(On({101, 1}));
  Move(On({5, 50}), Qt::LeftButton);
  ASSERT_NE(Canvas()->Marquee(), marquee);
  Key(Qt::Key_Escape);
  Release(On({5, 50}));
  EXPECT_EQ(LitOnCanvas(), before);
  EXPECT_EQ(Canvas()->Marquee(), marquee);
  EXPECT_EQ(Tools().Selection().Rect(), (PixelRect{100, 0, 11, 6}));

  Window().Dispatch(command::kUndo);
  EXPECT_EQ(State().Buffer(1).Bytes(), once);
  EXPECT_FALSE(Tools().Selection().Active()) << "an undo ends the selection";
  EXPECT_EQ(Canvas()->Marquee(), std::nullopt);
  Window().Dispatch(command::kUndo);
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern());
}

TEST_F(CanvasToolsTest, LeavingEditingDropsAFloatingSelectionWhereItLies) {
  StartFrom(Window(), Pattern());
  Choose(command::kToolSelection);
  Drag({{0, 0}, {7, 7}});
  Drag({{3, 3}, {33, 3}});
  const PictureBytes moved = State().Buffer(1).Bytes();
  QTest::keyClick(Canvas(), Qt::Key_3, Qt::ControlModifier);
  EXPECT_FALSE(Tools().Selection().Active());
  EXPECT_EQ(Canvas()->Marquee(), std::nullopt);
  EXPECT_EQ(State().Buffer(1).Bytes(), moved);
  QTest::keyClick(Canvas(), Qt::Key_1, Qt::ControlModifier);
  // Dropped: a drag where it was starts a new selection instead of moving it.
  Drag({{31, 1}, {35, 5}});
  EXPECT_EQ(State().Buffer(1).Bytes(), moved);
  EXPECT_EQ(Tools().Selection().Rect(), (PixelRect{31, 1, 5, 5}));
}

TEST_F(CanvasToolsTest, TheEditKeysActOnTheSelectionWhileItsToolIsChosen) {
  StartFrom(Window(), Pattern());
  State().CellClipboard() = {9, 9, 9, 9, 9, 9, 9, 9};
  Choose(command::kToolSelection);
  // Nothing selected: no object under the pointer, and no cell is copied either.
  MovePointer(Canvas(), On({60, 30}));
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Platform().Beeps(), 1);
  EXPECT_EQ(State().CellClipboard(), (CellBytes{9, 9, 9, 9, 9, 9, 9, 9}));

  Drag({{0, 0}, {4, 2}});
  MovePointer(Canvas(), On({60, 30}));
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(State().PixelClipboard(), CopyFromPicture(Pattern(), 0, 0, 5, 3));
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern()) << "copying pixels changes nothing";

  // Pasted where the pointer is, floating: Delete takes it away again.
  MovePointer(Canvas(), On({125, 62}));
  Key(Qt::Key_V, Qt::ControlModifier);
  PictureBytes pasted = Pattern();
  StampBitmap(pasted, State().PixelClipboard(), 125, 62, StampMode::kOpaque);
  EXPECT_EQ(State().Buffer(1).Bytes(), pasted);
  EXPECT_EQ(UndoText(), "Отменить: вставка\tCtrl+Z");
  EXPECT_EQ(Tools().Selection().Rect(), (PixelRect{125, 62, 5, 3}));
  Key(Qt::Key_Delete);
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern());
  EXPECT_EQ(UndoText(), "Отменить: удаление\tCtrl+Z");

  Drag({{10, 10}, {12, 12}});
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(State().PixelClipboard(), CopyFromPicture(Pattern(), 10, 10, 3, 3));
  EXPECT_EQ(State().Buffer(1).Bytes(), Moved(Pattern(), {10, 10, 3, 3}, {1000, 1000}));
  EXPECT_EQ(UndoText(), "Отменить: вырезание\tCtrl+Z");
  EXPECT_EQ(Platform().Beeps(), 1);

  // Over the listing the keys do what they did: Ctrl+X beeps and no pixel changes.
  Drag({{40, 40}, {45, 45}});
  const PictureBytes now = State().Buffer(1).Bytes();
  MovePointer(Window().Listing(1), QPoint(30, 30));
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Platform().Beeps(), 2);
  EXPECT_EQ(State().Buffer(1).Bytes(), now);
  // With another tool the cell under the pointer is copied, as with none.
  Choose(command::kToolLine);
  MovePointer(Canvas(), CellCentre(2));
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(State().CellClipboard(), State().Buffer(1).Cell(2));
}

class TextToolTest : public CanvasToolsTest {
 protected:
  void SetUp() override {
    CanvasToolsTest::SetUp();
    Window().Drawing().SetTextPrompt([this](const TextRequest& last) {
      asked_with_.push_back(last);
      return answer_;
    });
  }
  // The laid-out text at `at`.
  static PixelSet TextAt(const MonoBitmap& text, PixelPoint at) {
    PixelSet pixels;
    for (int y = 0; y < text.Height(); ++y) {
      for (int x = 0; x < text.Width(); ++x) {
        if (text.Get(x, y) && IsInPicture({at.x + x, at.y + y}))
          pixels.insert({at.x + x, at.y + y});
      }
    }
    return pixels;
  }

  std::optional<TextRequest> answer_;
  std::vector<TextRequest> asked_with_;
};

TEST_F(TextToolTest, TheTextFollowsThePointerAndAClickPlacesIt) {
  answer_ = TextRequest{QStringLiteral("PIC Ж"), BitmapFont::k8x8, {}, 12};
  Choose(command::kToolText);
  ASSERT_EQ(asked_with_.size(), 1u);
  EXPECT_EQ(Tools().Tool(), DrawingTool::kText);
  const MonoBitmap text = LayoutText(BitmapFont::k8x8, "PIC Ж");
  ASSERT_FALSE(text.Empty());

  MovePointer(Canvas(), On({10, 20}));
  EXPECT_EQ(LitOnCanvas(), TextAt(text, {10, 20}));
  MovePointer(Canvas(), On({100, 60}));
  EXPECT_EQ(LitOnCanvas(), TextAt(text, {100, 60})) << "nothing left at the old place";
  EXPECT_TRUE(Lit(State().Buffer(1)).empty()) << "a preview is no change";
  MovePointer(Window().Listing(1), QPoint(10, 10));
  EXPECT_TRUE(LitOnCanvas().empty()) << "off the canvas the preview goes";

  Press(On({40, 30}));
  Release(On({40, 30}));
  EXPECT_EQ(Lit(State().Buffer(1)), TextAt(text, {40, 30}));
  EXPECT_EQ(UndoText(), "Отменить: текст\tCtrl+Z");
  // The right button writes it in unlit pixels.
  State().Buffer(1).Bytes().fill(0xFF);
  Press(On({0, 0}), Qt::RightButton);
  Release(On({0, 0}), Qt::RightButton);
  PixelSet expected;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) expected.insert({x, y});
  }
  for (const PixelPoint& p : TextAt(text, {0, 0})) expected.erase(p);
  EXPECT_EQ(Lit(State().Buffer(1)), expected);

  // Chosen again it asks from the last text; cancelled, the tool and its text stay.
  answer_.reset();
  Choose(command::kToolText);
  ASSERT_EQ(asked_with_.size(), 2u);
  EXPECT_EQ(asked_with_[1].text, "PIC Ж");
  EXPECT_EQ(Tools().Tool(), DrawingTool::kText);
  EXPECT_EQ(Tools().Text(), text);
  Choose(command::kToolLine);
  answer_ = TextRequest{QStringLiteral("  \n "), BitmapFont::k5x7, {}, 12};
  Window().Menus().MenuActions(command::kToolText).value(0)->trigger();
  EXPECT_EQ(Tools().Tool(), DrawingTool::kLine) << "a text that prints nothing chooses nothing";
  EXPECT_EQ(CheckedTools(), QStringList{"Линия\tL"});
}

TEST_F(TextToolTest, TheDialogOffersTheBuiltInFontsFirstAndSizesForInstalledOnes) {
  TextToolDialog dialog(TextRequest{QStringLiteral("abc"), BitmapFont::k8x8, {}, 20});
  EXPECT_EQ(dialog.windowTitle(), "Текст");
  EXPECT_EQ(dialog.FontList()->itemText(0), "Встроенный 5 × 7");
  EXPECT_EQ(dialog.FontList()->itemText(1), "Встроенный 8 × 8");
  EXPECT_EQ(dialog.FontList()->currentIndex(), 1);
  EXPECT_FALSE(dialog.SizeField()->isEnabled());
  EXPECT_EQ(dialog.SizeField()->minimum(), 6);
  EXPECT_EQ(dialog.SizeField()->maximum(), 32);
  TextRequest request = dialog.Request();
  EXPECT_EQ(request.text, "abc");
  EXPECT_EQ(request.bitmap_font, BitmapFont::k8x8);
  if (dialog.FontList()->count() > 2) {
    dialog.FontList()->setCurrentIndex(2);
    EXPECT_TRUE(dialog.SizeField()->isEnabled());
    request = dialog.Request();
    EXPECT_FALSE(request.bitmap_font.has_value());
    EXPECT_EQ(request.family, dialog.FontList()->itemText(2));
    EXPECT_EQ(request.pixel_size, 20);
  }
}

}  // namespace
}  // namespace lumigrid::testing_support
