// The logic-operations panel: its layout, the three operations through its controls, and
// when "Отменить..." may be used.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "app/commands.h"
#include "app/tool_commands.h"
#include "app/work_modes.h"
#include "codegen/conversion_panel.h"
#include "picture/editor.h"
#include "tool_panels_support.h"
#include "tools/logic_panel.h"

namespace lumigrid::testing_support {
namespace {

// On the round mark: a click beside a short text misses the option.
void ClickOption(QRadioButton* option) {
  QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, QPoint(6, option->height() / 2));
}

class LogicPanelTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    MarkBuffers(State());
    Window().Editor().RedrawCanvas();
    Window().Dispatch(command::kModeLogic);
  }

  LogicPanel& Panel() { return Window().Tools().Logic(); }

  // Chooses as the user would: the operation's option button, then the three lists.
  void Choose(LogicOp op, int f, int s, int r) {
    ClickOption(Panel().OperationButton(op));
    Panel().FirstList()->setCurrentIndex(f - 1);
    Panel().SecondList()->setCurrentIndex(s - 1);
    Panel().ResultList()->setCurrentIndex(r - 1);
  }
  void Execute() { QTest::mouseClick(Panel().ExecuteButton(), Qt::LeftButton); }
  void Undo() { QTest::mouseClick(Panel().UndoButton(), Qt::LeftButton); }
};

TEST_F(LogicPanelTest, ElementsSitAtTheirPlacesWithTheirTextsAndStartStates) {
  EXPECT_TRUE(Panel().isVisible());
  EXPECT_EQ(Panel().geometry(), QRect(554, 32, 234, 300));
  EXPECT_EQ(Panel().TitleLabel()->geometry(), QRect(2, 1, 230, 15));
  EXPECT_EQ(Panel().TitleLabel()->text(), "Логические операции");
  EXPECT_EQ(Panel().CloseMark()->toolTip(), "Закрыть панель логических операций");
  EXPECT_TRUE(Window().ConversionSidePanel()->isVisible()) << "the conversion panel stays below";

  auto* frame = Panel().findChild<QGroupBox*>();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->title(), "Логическая операция");
  EXPECT_EQ(frame->geometry(), QRect(20, 20, 170, 90));

  struct Option {
    LogicOp op;
    QString text;
    QRect place;
    bool checked;
  };
  for (const Option& o : {Option{LogicOp::kAnd, "«И»", {30, 40, 100, 15}, true},
                          Option{LogicOp::kOr, "«ИЛИ»", {30, 60, 100, 15}, false},
                          Option{LogicOp::kXor, "«Исключающее ИЛИ»", {30, 80, 140, 15}, false}}) {
    EXPECT_EQ(Panel().OperationButton(o.op)->text(), o.text);
    EXPECT_EQ(Panel().OperationButton(o.op)->geometry(), o.place) << o.text.toStdString();
    EXPECT_EQ(Panel().OperationButton(o.op)->isChecked(), o.checked) << o.text.toStdString();
  }

  QMap<QString, QRect> captions;
  for (QLabel* label : Panel().findChildren<QLabel*>()) captions[label->text()] = label->geometry();
  EXPECT_EQ(captions.value(" 1-вый буфер"), QRect(4, 130, 70, 15));
  EXPECT_EQ(captions.value(" 2-рой  буфер"), QRect(4, 160, 70, 15));
  EXPECT_EQ(captions.value(" Результат поместить в..."), QRect(4, 200, 130, 15));

  struct List {
    QComboBox* list;
    QPoint place;
    int buffer;
  };
  for (const List& l :
       {List{Panel().FirstList(), {140, 127}, 1}, List{Panel().SecondList(), {140, 157}, 2},
        List{Panel().ResultList(), {140, 197}, 3}}) {
    EXPECT_EQ(l.list->pos(), l.place);
    EXPECT_EQ(l.list->width(), 80);
    EXPECT_FALSE(l.list->isEditable());
    ASSERT_EQ(l.list->count(), 10);
    for (int b = 1; b <= 10; ++b) EXPECT_EQ(l.list->itemText(b - 1), QString("Буфер %1").arg(b));
    EXPECT_EQ(l.list->currentIndex(), l.buffer - 1);
  }

  struct Button {
    QPushButton* button;
    QString text;
    QRect place;
    bool enabled;
  };
  for (const Button& b : {Button{Panel().ExecuteButton(), "Выполнить", {20, 236, 80, 24}, true},
                          Button{Panel().UndoButton(), "Отменить...", {130, 236, 80, 24}, false},
                          Button{Panel().CloseButton(), "Закрыть", {80, 270, 80, 24}, true}}) {
    EXPECT_EQ(b.button->text(), b.text);
    EXPECT_EQ(b.button->geometry(), b.place) << b.text.toStdString();
    EXPECT_EQ(b.button->isEnabled(), b.enabled) << b.text.toStdString();
  }
  EXPECT_EQ(Panel().UndoButton()->toolTip(), "Отменить последнее действие");
}

struct OperationCase {
  const char* name;
  LogicOp op;
  int f, s, r;
  std::function<PictureBytes(const PictureBytes& f, const PictureBytes& s)> expected;
};

PictureBytes Empty(const PictureBytes&, const PictureBytes&) { return {}; }
PictureBytes First(const PictureBytes& f, const PictureBytes&) { return f; }
PictureBytes Overlay(const PictureBytes& f, const PictureBytes& s) {
  PictureBytes out;
  for (size_t i = 0; i < out.size(); ++i) out[i] = f[i] | s[i];
  return out;
}

TEST_F(LogicPanelTest, OperationsThenUndoGiveTheResultBufferBack) {
  const OperationCase cases[] = {
      {"XOR of a buffer with itself into itself clears it", LogicOp::kXor, 4, 4, 4, Empty},
      {"AND with an empty buffer", LogicOp::kAnd, 5, 9, 3, Empty},
      {"OR with an empty buffer copies the first", LogicOp::kOr, 5, 9, 3, First},
      {"result is the first operand", LogicOp::kOr, 1, 2, 1, Overlay},
  };
  for (const OperationCase& c : cases) {
    MarkBuffers(State());
    State().Buffer(9).Clear();
    State().Buffer(5).SetCell(77, {1, 2, 3, 4, 5, 6, 7, 8});
    for (int b = 1; b <= kBufferCount; ++b) State().MarkClean(b);
    const PictureBytes before = State().Buffer(c.r).Bytes();
    const PictureBytes expected =
        c.expected(State().Buffer(c.f).Bytes(), State().Buffer(c.s).Bytes());

    Choose(c.op, c.f, c.s, c.r);
    Execute();
    EXPECT_EQ(State().Buffer(c.r).Bytes(), expected) << c.name;
    EXPECT_TRUE(State().BufferModified(c.r)) << c.name;
    EXPECT_TRUE(Panel().UndoButton()->isEnabled()) << c.name;
    for (int b = 1; b <= kBufferCount; ++b) {
      if (b != c.r) EXPECT_FALSE(State().BufferModified(b)) << c.name << " buffer " << b;
    }

    Undo();
    EXPECT_EQ(State().Buffer(c.r).Bytes(), before) << c.name;
    EXPECT_TRUE(State().BufferModified(c.r)) << c.name << ": the undo keeps the buffer modified";
    EXPECT_FALSE(Panel().UndoButton()->isEnabled()) << c.name;
  }
}

struct UndoRuleCase {
  const char* name;
  std::function<void(LogicPanelTest&, LogicPanel&, MainWindow&)> action;
  bool undo_enabled;
};

TEST_F(LogicPanelTest, OnlyAnotherResultBufferOrEnteringTheModeLosesTheUndo) {
  const UndoRuleCase cases[] = {
      {"another result buffer",
       [](auto&, LogicPanel& p, auto&) { p.ResultList()->setCurrentIndex(6); }, false},
      {"another first buffer",
       [](auto&, LogicPanel& p, auto&) { p.FirstList()->setCurrentIndex(6); }, true},
      {"another second buffer",
       [](auto&, LogicPanel& p, auto&) { p.SecondList()->setCurrentIndex(6); }, true},
      {"another operation",
       [](auto&, LogicPanel& p, auto&) { ClickOption(p.OperationButton(LogicOp::kXor)); }, true},
      {"Ctrl+3 again", [](auto&, auto&, MainWindow& w) { w.Dispatch(command::kModeLogic); }, false},
      {"mode 5 and back",
       [](auto&, auto&, MainWindow& w) {
         w.Dispatch(command::kModeBin);
         w.Dispatch(command::kModeLogic);
       },
       false},
      {"mode 4 and back",
       [](auto&, auto&, MainWindow& w) {
         w.Dispatch(command::kModeOptimize);
         w.Dispatch(command::kModeLogic);
       },
       false},
      {"Закрыть and back",
       [](auto&, LogicPanel& p, MainWindow& w) {
         QTest::mouseClick(p.CloseButton(), Qt::LeftButton);
         w.Dispatch(command::kModeLogic);
       },
       false},
  };
  for (const UndoRuleCase& c : cases) {
    Choose(LogicOp::kAnd, 1, 2, 3);
    Execute();
    ASSERT_TRUE(Panel().UndoButton()->isEnabled()) << c.name;
    c.action(*this, Panel(), Window());
    EXPECT_EQ(Panel().UndoButton()->isEnabled(), c.undo_enabled) << c.name;
  }
}

TEST_F(LogicPanelTest, TheCanvasIsRedrawnOnlyWhenTheResultIsCurrent) {
  ASSERT_EQ(ShownBuffer(CanvasShot()), 1);
  // Buffer 3 = buffer 2: not current, the canvas keeps showing buffer 1.
  Choose(LogicOp::kOr, 2, 2, 3);
  Execute();
  EXPECT_EQ(ShownBuffer(CanvasShot()), 1);
  QTest::mouseClick(Window().Tabs(), Qt::LeftButton, Qt::NoModifier,
                    Window().Tabs()->tabRect(2).center());
  EXPECT_EQ(ShownBuffer(CanvasShot()), 2) << "switching to the result shows it";

  // Into the current buffer: drawn at once, and the undo draws the old picture again.
  Choose(LogicOp::kOr, 6, 6, 3);
  Execute();
  EXPECT_EQ(ShownBuffer(CanvasShot()), 6);
  Undo();
  EXPECT_EQ(ShownBuffer(CanvasShot()), 2);
}

TEST_F(LogicPanelTest, CloseButtonAndLeftClickOnTheCloseMarkReturnToEditing) {
  QTest::mouseClick(Panel().CloseButton(), Qt::LeftButton);
  EXPECT_EQ(State().WorkMode(), 1);
  EXPECT_FALSE(Panel().isVisible());

  Window().Dispatch(command::kModeLogic);
  QTest::mouseClick(Panel().CloseMark(), Qt::RightButton);
  EXPECT_EQ(State().WorkMode(), 3) << "the right button does nothing";
  QTest::mouseClick(Panel().CloseMark(), Qt::LeftButton);
  EXPECT_EQ(State().WorkMode(), 1);
}

}  // namespace
}  // namespace lumigrid::testing_support
