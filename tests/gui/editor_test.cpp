// The canvas, the enlarged view, the readout, the buffer tabs and the work modes, driven
// through real widgets and the scripted pointer.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>

#include "app/commands.h"
#include "app/main_menus.h"
#include "app/work_modes.h"
#include "codegen/listing_view.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "picture/zoom_view_widget.h"
#include "test_support.h"
#include "ui/side_panel_frame.h"

namespace lumigrid::testing_support {
namespace {

using Canvas = MainWindowTest;

TEST_F(Canvas, CellsSitApartWithAWiderGapBetweenTheCrystals) {
  const QImage shot = CanvasShot();
  ASSERT_EQ(shot.size(), QSize(530, 264));
  // Cell 8 spans x 232..263, cell 9 starts at 267: three white columns between them.
  EXPECT_EQ(At(shot, 232, 1), Colour(colour::kCellNormal));
  EXPECT_EQ(At(shot, 263, 1), Colour(colour::kCellNormal));
  for (int x = 264; x <= 266; ++x) EXPECT_EQ(At(shot, x, 1), Colour(colour::kBackground)) << x;
  EXPECT_EQ(At(shot, 267, 1), Colour(colour::kCellNormal));
  EXPECT_EQ(At(shot, 0, 0), Colour(colour::kBackground));
  EXPECT_EQ(At(shot, 33, 10), Colour(colour::kBackground)) << "1-pixel gap after cell 1";
  EXPECT_EQ(At(shot, 10, 33), Colour(colour::kBackground)) << "1-pixel gap below cell 1";
  EXPECT_EQ(At(shot, 529, 263), Colour(colour::kCellNormal)) << "cell 128 reaches the corner";
}

TEST_F(Canvas, EveryLitPixelIsAFourByFourBlackSquare) {
  State().Buffer(1).SetPixel(0, 0, true);    // cell 1, byte 1, row 1
  State().Buffer(1).SetPixel(71, 13, true);  // cell 25 (crystal 2), byte 8, row 6
  Window().Editor().RedrawCanvas();
  const QImage shot = CanvasShot();
  EXPECT_EQ(At(shot, 1, 1), Colour(colour::kPixelLit));
  EXPECT_EQ(At(shot, 4, 4), Colour(colour::kPixelLit));
  EXPECT_EQ(At(shot, 5, 1), Colour(colour::kCellNormal));
  EXPECT_EQ(At(shot, 1, 5), Colour(colour::kCellNormal));
  const Rect c25 = CanvasCellRect(25);
  EXPECT_EQ(c25.x, 1 + 33 * 8 + 2);
  EXPECT_EQ(At(shot, c25.x + 28, c25.y + 20), Colour(colour::kPixelLit));
  EXPECT_EQ(At(shot, c25.x + 31, c25.y + 23), Colour(colour::kPixelLit));
  EXPECT_EQ(At(shot, c25.x + 27, c25.y + 20), Colour(colour::kCellNormal));
  EXPECT_EQ(At(shot, c25.x + 28, c25.y + 24), Colour(colour::kCellNormal));
}

TEST_F(Canvas, DoubleClickOpensTheCellInTheEnlargedView) {
  State().Buffer(1).SetCell(18, {0x01, 0, 0, 0, 0, 0, 0, 0x80});
  Window().Editor().RedrawCanvas();
  DoubleClickCell(18);
  EXPECT_EQ(State().SelectedCell(), 18);
  const QImage canvas = CanvasShot();
  const Rect r = CanvasCellRect(18);
  EXPECT_EQ(At(canvas, r.x + 10, r.y + 10), Colour(colour::kCellOpen));
  const QImage zoom = ZoomShot();
  const Rect first = ZoomSquareRect(1);
  const Rect last = ZoomSquareRect(64);
  const Rect unlit = ZoomSquareRect(2);
  EXPECT_EQ(At(zoom, first.x + 8, first.y + 8), Colour(colour::kPixelLit));
  EXPECT_EQ(At(zoom, last.x + 8, last.y + 8), Colour(colour::kPixelLit));
  EXPECT_EQ(At(zoom, unlit.x + 8, unlit.y + 8), Colour(colour::kSquareUnlit));
  EXPECT_EQ(At(zoom, 0, 0), Colour(colour::kBackground)) << "white gaps around the squares";
  EXPECT_EQ(last.x, 1 + 17 * 7);
}

TEST_F(Canvas, ClicksCloseTheOpenCell) {
  DoubleClickCell(3);
  ClickCell(3);
  EXPECT_EQ(State().SelectedCell(), 3) << "a click on the open cell itself does nothing";
  ClickCell(4);
  EXPECT_EQ(State().SelectedCell(), kNoCell);
  EXPECT_EQ(At(ZoomShot(), 8, 8), Colour(colour::kViewEmpty));
  const Rect r = CanvasCellRect(3);
  EXPECT_EQ(At(CanvasShot(), r.x + 10, r.y + 10), Colour(colour::kCellNormal));
  EXPECT_TRUE(Window().CellSidePanel()->PositionLabel()->isEnabled())
      << "closing by a click leaves the last readout";
}

TEST_F(Canvas, RightClickClosesTheCellAndShowsTheCellMenu) {
  DoubleClickCell(3);
  ClickCell(7, Qt::RightButton);
  EXPECT_EQ(State().SelectedCell(), kNoCell);
  EXPECT_EQ(Window().Editor().PopupCell(), 7);
  QMenu* popup = Window().Menus().Popup(1);
  EXPECT_TRUE(popup->isVisible());
  popup->hide();
}

using Painting = MainWindowTest;

TEST_F(Painting, PaintsOnlyInsideTheLiveAreaOfASquare) {
  DoubleClickCell(1);
  PointAtSquare(1, 1, 5, Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1, 1, 1), 0) << "offset 1 is in the dead border";
  EXPECT_FALSE(State().BufferModified(1));
  PointAtSquare(1, 2, 5, Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1, 1, 1), 0x01);
  EXPECT_TRUE(State().BufferModified(1));
  for (auto [dx, dy] : {std::pair{15, 5}, std::pair{5, 15}, std::pair{5, 1}}) {
    PointAtSquare(2, dx, dy, Qt::LeftButton);
    EXPECT_EQ(State().Buffer(1, 1, 1), 0x01) << "dead offset " << dx << "," << dy;
  }
  PointAtSquare(2, 14, 14, Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1, 1, 1), 0x03) << "offset 14 is live";
}

TEST_F(Painting, OneChangePerSquareAndButtonState) {
  DoubleClickCell(1);
  PointAtSquare(9, 5, 5, Qt::LeftButton);  // byte 2, row 1
  EXPECT_EQ(State().Buffer(1, 1, 2), 0x01);
  State().Buffer(1).SetByte(1, 2, 0);  // a change behind the poll's back
  PointAtSquare(9, 8, 8, Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1, 1, 2), 0) << "moving inside the same square changes nothing";
  PointAtSquare(10, 8, 8, Qt::LeftButton);
  PointAtSquare(9, 8, 8, Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1, 1, 2), 0x03) << "coming back into the first square paints again";
}

TEST_F(Painting, RightErasesAndLeftWinsWhenBothAreHeld) {
  State().Buffer(1).SetByte(1, 1, 0xFF);
  DoubleClickCell(1);
  PointAtSquare(3, 5, 5, Qt::RightButton);
  EXPECT_EQ(State().Buffer(1, 1, 1), 0xFB);
  PointAtSquare(3, 5, 5, Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(State().Buffer(1, 1, 1), 0xFF);
  PointAtSquare(4, 5, 5, Qt::NoButton);
  EXPECT_EQ(State().Buffer(1, 1, 1), 0xFF) << "moving without a button changes nothing";
}

TEST_F(Painting, ButtonPressedOutsideAndDraggedInPaints) {
  DoubleClickCell(2);
  MovePointer(Window().CellSidePanel(), QPoint(200, 200), Qt::LeftButton);
  PointAtSquare(64, 8, 8, Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1, 2, 8), 0x80);
}

TEST_F(Painting, NoInterpolationBetweenEvents) {
  DoubleClickCell(1);
  PointAtSquare(1, 8, 8, Qt::LeftButton);
  PointAtSquare(8, 8, 8, Qt::LeftButton);  // a fast stroke down the first column
  EXPECT_EQ(State().Buffer(1, 1, 1), 0x81) << "rows 2..7 were never under the pointer";
}

TEST_F(Painting, EachChangeRedrawsTheCellAndTheReadout) {
  DoubleClickCell(17);
  PointAtSquare(1, 8, 8, Qt::LeftButton);
  EXPECT_EQ(Window().CellSidePanel()->CodeField()->text(),
            "0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00");
  const Rect r = CanvasCellRect(17);
  const QImage canvas = CanvasShot();
  EXPECT_EQ(At(canvas, r.x + 1, r.y + 1), Colour(colour::kPixelLit));
  EXPECT_EQ(At(canvas, r.x + 10, r.y + 10), Colour(colour::kCellOpen));
  EXPECT_EQ(At(ZoomShot(), ZoomSquareRect(1).x + 5, ZoomSquareRect(1).y + 5),
            Colour(colour::kPixelLit));
  PointAtSquare(8, 8, 8, Qt::LeftButton);
  EXPECT_EQ(Window().CellSidePanel()->CodeField()->text(),
            "0x81,0x00,0x00,0x00,0x00,0x00,0x00,0x00");
}

TEST_F(Painting, NothingIsPaintedWithoutAnOpenCell) {
  PointAtSquare(1, 8, 8, Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1, 1, 1), 0);
  EXPECT_FALSE(State().BufferModified(1));
}

using Readout = MainWindowTest;

struct ReadoutCase {
  int cell;
  const char* values;
  const char* hint;
};

TEST_F(Readout, PositionValuesAndHintForTellingCells) {
  const ReadoutCase cases[] = {
      {1, "1\n\n1\n\n1", "Кристалл — 1;  Страница — 1;  Сегмент  — 1"},
      {9, "2\n\n1\n\n1", "Кристалл — 2;  Страница — 1;  Сегмент  — 1"},
      {16, "2\n\n1\n\n8", "Кристалл — 2;  Страница — 1;  Сегмент  — 8"},
      {17, "1\n\n2\n\n1", "Кристалл — 1;  Страница — 2;  Сегмент  — 1"},
      {128, "2\n\n8\n\n8", "Кристалл — 2;  Страница — 8;  Сегмент  — 8"},
  };
  CellPanel* panel = Window().CellSidePanel();
  for (const ReadoutCase& c : cases) {
    Window().Editor().CloseCell();
    MovePointer(Window().Canvas(), CellCentre(c.cell));
    EXPECT_EQ(Window().Menus().HintLabel()->text(), QString::fromUtf8(c.hint)) << c.cell;
    DoubleClickCell(c.cell);
    EXPECT_EQ(panel->PositionValues()->text(), QString::fromUtf8(c.values)) << c.cell;
    EXPECT_TRUE(panel->PositionLabel()->isEnabled());
  }
  EXPECT_EQ(panel->PositionLabel()->text(), "Кристалл\n\nСтраница\n\nСегмент");
}

TEST_F(Readout, CodeFieldIsReadOnlyAndSelectsAllOnFocus) {
  State().Buffer(1).SetCell(5, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  DoubleClickCell(5);
  QLineEdit* code = Window().CellSidePanel()->CodeField();
  EXPECT_EQ(code->text(), "0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF");
  EXPECT_TRUE(code->isReadOnly());
  code->setFocus(Qt::MouseFocusReason);
  QCoreApplication::processEvents();  // the selection follows once the focus has settled
  EXPECT_EQ(code->selectedText(), code->text());
}

TEST_F(Readout, StartsEmptyAndDisabled) {
  CellPanel* panel = Window().CellSidePanel();
  EXPECT_FALSE(panel->PositionLabel()->isEnabled());
  EXPECT_TRUE(panel->PositionValues()->text().isEmpty());
  EXPECT_TRUE(panel->CodeField()->text().isEmpty());
  EXPECT_EQ(At(ZoomShot(), 8, 8), Colour(colour::kViewEmpty));
}

using Hover = MainWindowTest;

TEST_F(Hover, HighlightLeavesWithThePointerAndComesBack) {
  MovePointer(Window().Canvas(), CellCentre(20));
  const Rect r = CanvasCellRect(20);
  EXPECT_EQ(At(CanvasShot(), r.x + 5, r.y + 5), Colour(colour::kCellHover));
  MovePointer(Window().Canvas(), CellCentre(21));
  EXPECT_EQ(At(CanvasShot(), r.x + 5, r.y + 5), Colour(colour::kCellNormal));
  MovePointer(Window().Listing(1), QPoint(50, 50));
  EXPECT_EQ(At(CanvasShot(), CellCentre(21).x(), CellCentre(21).y()), Colour(colour::kCellNormal));
  EXPECT_TRUE(Window().Menus().HintLabel()->text().isEmpty());
  MovePointer(Window().Canvas(), CellCentre(21));
  EXPECT_EQ(At(CanvasShot(), CellCentre(21).x(), CellCentre(21).y()), Colour(colour::kCellHover))
      << "re-entering the same cell highlights it again";
  EXPECT_FALSE(Window().Menus().HintLabel()->text().isEmpty());
}

TEST_F(Hover, GapBetweenCellsKeepsTheHighlight) {
  MovePointer(Window().Canvas(), CellCentre(1));
  MovePointer(Window().Canvas(), QPoint(33, 10));  // the gap after cell 1
  EXPECT_EQ(At(CanvasShot(), 10, 10), Colour(colour::kCellHover));
}

TEST_F(Hover, NoHighlightWhileACellIsOpen) {
  DoubleClickCell(1);
  MovePointer(Window().Canvas(), CellCentre(2));
  EXPECT_EQ(At(CanvasShot(), CellCentre(2).x(), CellCentre(2).y()), Colour(colour::kCellNormal));
}

using BufferTabs = MainWindowTest;

TEST_F(BufferTabs, SwitchingShowsTheBufferAndItsListing) {
  State().Buffer(3).SetPixel(0, 0, true);
  State().SetBufferFileName(3, "/pics/three.chr");
  DoubleClickCell(9);
  QTabBar* tabs = Window().Tabs();
  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(2).center());
  EXPECT_EQ(State().CurrentBuffer(), 3);
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_EQ(Window().windowTitle(), QString("Lumigrid v 3.8  —  /pics/three.chr"));
  EXPECT_EQ(State().SelectedCell(), kNoCell);
  EXPECT_FALSE(Window().CellSidePanel()->PositionLabel()->isEnabled());
  EXPECT_TRUE(Window().CellSidePanel()->CodeField()->text().isEmpty());
  EXPECT_EQ(At(CanvasShot(), 1, 1), Colour(colour::kPixelLit));
  EXPECT_EQ(At(ZoomShot(), 8, 8), Colour(colour::kViewEmpty));
  for (int b = 1; b <= 10; ++b) EXPECT_EQ(Window().Listing(b)->isVisible(), b == 3) << b;
  EXPECT_TRUE(Window().Listing(3)->hasFocus());
}

TEST_F(BufferTabs, ChoosingTheCurrentTabChangesNothing) {
  DoubleClickCell(9);
  int left = 0, chosen = 0;
  QObject::connect(&Window().Editor(), &Editor::bufferLeaving, [&](int, int) { ++left; });
  QObject::connect(&Window().Editor(), &Editor::bufferTabChosen, [&] { ++chosen; });
  QTabBar* tabs = Window().Tabs();
  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(0).center());
  EXPECT_EQ(State().SelectedCell(), 9);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(chosen, 1) << "the directive field's state is still refreshed";
}

TEST_F(BufferTabs, OnlyTheLeftButtonAndTheKeyboardChooseATab) {
  QTabBar* tabs = Window().Tabs();
  const QPoint third = tabs->tabRect(2).center();
  DoubleClickCell(9);
  for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    QTest::mouseClick(tabs, button, Qt::NoModifier, third);
    QTest::mouseDClick(tabs, button, Qt::NoModifier, third);
  }
  for (const int delta : {-120, 120}) {
    QWheelEvent wheel(third, tabs->mapToGlobal(third), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(tabs, &wheel);
  }
  EXPECT_EQ(State().CurrentBuffer(), 1);
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(State().SelectedCell(), 9) << "the open cell stays open";

  tabs->setFocus();
  QTest::keyClick(tabs, Qt::Key_Right);
  EXPECT_EQ(State().CurrentBuffer(), 2);
  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, third);
  EXPECT_EQ(State().CurrentBuffer(), 3);
}

TEST_F(BufferTabs, OptionsAreSwappedBetweenLeavingAndArriving) {
  QList<int> seen;
  QObject::connect(&Window().Editor(), &Editor::bufferLeaving,
                   [&](int from, int to) { seen << from << to << State().CurrentBuffer(); });
  Window().Editor().SwitchBuffer(6);
  EXPECT_EQ(seen, (QList<int>{1, 7, 1})) << "the old buffer is still current while leaving";
}

using WorkModes = MainWindowTest;

std::vector<SidePanel> Visible(MainWindow& w) {
  std::vector<SidePanel> shown;
  for (int i = 0; i < 6; ++i) {
    if (w.Panel(i)->isVisible()) shown.push_back(static_cast<SidePanel>(i));
  }
  return shown;
}

TEST_F(WorkModes, EachModeShowsItsPanels) {
  using P = SidePanel;
  const std::vector<std::vector<P>> expected{{P::kCell, P::kConversion},
                                             {P::kAnimation},
                                             {P::kLogic, P::kConversion},
                                             {P::kOptimize},
                                             {P::kBin}};
  for (int mode = 1; mode <= 5; ++mode) {
    Window().Dispatch(command::kModeEditing + mode - 1);
    EXPECT_EQ(State().WorkMode(), mode);
    EXPECT_EQ(Visible(Window()), expected[mode - 1]) << "mode " << mode;
    int checked = 0;
    for (int n = 16; n <= 20; ++n) {
      for (QAction* a : Window().Menus().MenuActions(n)) checked += a->isChecked() ? n : 0;
    }
    EXPECT_EQ(checked, mode + 15);
  }
}

TEST_F(WorkModes, PanelFramesCarryTitlesAndCloseMarks) {
  struct Frame {
    SidePanel panel;
    QRect geometry;
    const char* title;
    const char* close_tip;
  };
  const Frame frames[] = {
      {SidePanel::kCell, {554, 32, 234, 240}, "Редактируемый символ", nullptr},
      {SidePanel::kAnimation, {554, 32, 234, 458}, "Анимация", "Закрыть панель анимации"},
      {SidePanel::kLogic,
       {554, 32, 234, 300},
       "Логические операции",
       "Закрыть панель логических операций"},
      {SidePanel::kOptimize,
       {554, 32, 234, 458},
       "Оптимизация кода",
       "Закрыть панель «Оптимизация кода»"},
      {SidePanel::kBin,
       {554, 32, 234, 458},
       "Преобразование кода в BIN формат    ",
       "Закрыть панель «Преобразование кода в BIN формат»"},
      {SidePanel::kConversion, {554, 340, 234, 150}, "Преобразование данных", nullptr},
  };
  for (const Frame& f : frames) {
    ui::SidePanelFrame* panel = Window().Panel(static_cast<int>(f.panel));
    EXPECT_EQ(panel->geometry(), f.geometry) << f.title;
    EXPECT_EQ(panel->TitleLabel()->text(), QString::fromUtf8(f.title));
    EXPECT_EQ(panel->TitleLabel()->geometry(),
              QRect(2, 1, f.panel == SidePanel::kLogic ? 230 : 228, 15));
    EXPECT_EQ(panel->TitleLabel()->palette().color(QPalette::Window), QColor(132, 132, 132));
    if (f.close_tip) {
      ASSERT_NE(panel->CloseMark(), nullptr) << f.title;
      EXPECT_EQ(panel->CloseMark()->geometry(), QRect(216, 0, 16, 16));
      EXPECT_EQ(panel->CloseMark()->toolTip(), QString::fromUtf8(f.close_tip));
    } else {
      EXPECT_EQ(panel->CloseMark(), nullptr) << f.title;
    }
  }
}

TEST_F(WorkModes, ToolbarButtonCyclesWithItsTooltip) {
  QAction* button = Window().Menus().ToolAction(command::kModeCycle);
  const QStringList names{"Анимация", "Логические операции", "Оптимизация кода",
                          "Преобразование кода в BIN формат", "Редактирование"};
  for (int i = 0; i < 5; ++i) {
    button->trigger();
    EXPECT_EQ(State().WorkMode(), i == 4 ? 1 : i + 2);
    EXPECT_EQ(button->toolTip(), names[i]);
  }
}

TEST_F(WorkModes, LeavingEditingClosesTheCellAndClearsTheReadout) {
  DoubleClickCell(10);
  Window().Dispatch(command::kModeEditing);
  EXPECT_EQ(State().SelectedCell(), 10) << "editing from editing keeps the open cell";
  EXPECT_TRUE(Window().CellSidePanel()->PositionLabel()->isEnabled());
  QTest::keyClick(Window().Listing(1), Qt::Key_4, Qt::ControlModifier);
  EXPECT_EQ(State().WorkMode(), 4);
  EXPECT_EQ(State().SelectedCell(), kNoCell);
  EXPECT_FALSE(Window().CellSidePanel()->PositionLabel()->isEnabled());
  EXPECT_TRUE(Window().CellSidePanel()->CodeField()->text().isEmpty());
  EXPECT_EQ(Visible(Window()), std::vector<SidePanel>{SidePanel::kOptimize});
  const Rect r = CanvasCellRect(10);
  EXPECT_EQ(At(CanvasShot(), r.x + 5, r.y + 5), Colour(colour::kCellNormal));
}

TEST_F(WorkModes, OnlyALeftClickOnACloseMarkReturnsToEditing) {
  Window().Dispatch(command::kModeAnimation);
  QLabel* mark = Window().Panel(static_cast<int>(SidePanel::kAnimation))->CloseMark();
  QTest::mouseClick(mark, Qt::RightButton);
  EXPECT_EQ(State().WorkMode(), 2);
  QTest::mouseClick(mark, Qt::LeftButton);
  EXPECT_EQ(State().WorkMode(), 1);
}

TEST_F(WorkModes, DoubleClickOutsideEditingReturnsAndOpensTheCell) {
  for (int mode : {2, 3, 5}) {
    Window().SwitchWorkMode(mode);
    DoubleClickCell(30);
    EXPECT_EQ(State().WorkMode(), 1) << mode;
    EXPECT_EQ(State().SelectedCell(), 30) << mode;
    EXPECT_EQ(Window().CellSidePanel()->PositionValues()->text(), "2\n\n2\n\n6");
  }
}

TEST_F(WorkModes, OptimizationModeReportsClicksOnBufferTenOnly) {
  QList<int> clicked;
  QObject::connect(&Window().Editor(), &Editor::skipMapCellClicked, [&](int c) { clicked << c; });
  Window().SwitchWorkMode(4);
  ClickCell(12);
  EXPECT_TRUE(clicked.isEmpty()) << "buffer 1 is current";
  Window().Editor().SwitchBuffer(9);
  ClickCell(12);
  EXPECT_EQ(clicked, QList<int>{12});
  DoubleClickCell(13);
  EXPECT_EQ(State().WorkMode(), 4) << "the report click is not a return to editing";
  MovePointer(Window().Canvas(), CellCentre(40));
  EXPECT_EQ(At(CanvasShot(), CellCentre(40).x(), CellCentre(40).y()), Colour(colour::kCellHover))
      << "hovering works on buffer 10 in this mode";
}

}  // namespace
}  // namespace lumigrid::testing_support
