// The animation panel: its layout, the refusal below two pictures, the run's order and timing
// on a clock the test moves, what a user can and cannot do during a run, and the state after
// stopping.
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <functional>

#include "app/commands.h"
#include "app/drawing_tool_commands.h"
#include "app/main_menus.h"
#include "app/tool_commands.h"
#include "codegen/conversion_panel.h"
#include "codegen/listing_view.h"
#include "picture/canvas_tools.h"
#include "picture/canvas_widget.h"
#include "picture/editor.h"
#include "tool_panels_support.h"
#include "tools/animation_panel.h"

namespace lumigrid::testing_support {
namespace {

using std::chrono::milliseconds;

class ManualClock final : public AnimationClock {
 public:
  TimePoint Now() const override { return now_; }
  void SleepUntil(TimePoint moment) override { now_ = std::max(now_, moment); }
  void Advance(int ms) { now_ += milliseconds(ms); }

 private:
  TimePoint now_{std::chrono::seconds(100)};
};

class AnimationPanelTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Panel().Attach(State(), Window().Editor(), Platform(), &clock_);
    MarkBuffers(State());
    Window().Editor().RedrawCanvas();
    Window().Dispatch(command::kModeAnimation);
  }

  AnimationPanel& Panel() { return Window().Tools().Animation(); }

  void Pick(std::array<int, kAnimationLists> choices, int delay_index) {
    for (int k = 1; k <= kAnimationLists; ++k) {
      Panel().PictureList(k)->setCurrentIndex(choices[k - 1]);
    }
    Panel().SetDelayIndex(delay_index);
  }
  void Start() { QTest::mouseClick(Panel().StartButton(), Qt::LeftButton); }
  void Stop() { QTest::mouseClick(Panel().StopButton(), Qt::LeftButton); }
  // Time passes; the timer's tick follows.
  void Pass(int ms) {
    clock_.Advance(ms);
    Panel().Tick();
  }
  int Shown() { return ShownBuffer(CanvasShot()); }

 public:
  // A full picture file, which would light every pixel of the buffer it is opened into.
  QString PictureFile() {
    const QString path = folder_.filePath("full.chr");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(kPictureBytes, '\xFF'));
    return path;
  }
  void ChooseTab(int b) {
    QTest::mouseClick(Window().Tabs(), Qt::LeftButton, Qt::NoModifier,
                      Window().Tabs()->tabRect(b - 1).center());
  }

 protected:
  ManualClock clock_;
  QTemporaryDir folder_;
};

TEST_F(AnimationPanelTest, ElementsSitAtTheirPlacesWithTheirTextsAndStartStates) {
  EXPECT_TRUE(Panel().isVisible());
  EXPECT_EQ(Panel().geometry(), QRect(554, 32, 234, 458));
  EXPECT_EQ(Panel().TitleLabel()->text(), "Анимация");
  EXPECT_EQ(Panel().TitleLabel()->geometry(), QRect(2, 1, 228, 15));
  EXPECT_EQ(Panel().CloseMark()->toolTip(), "Закрыть панель анимации");
  EXPECT_FALSE(Window().ConversionSidePanel()->isVisible());

  auto* frame = Panel().findChild<QGroupBox*>();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->title(), "Выберите рисунки для анимации");
  EXPECT_EQ(frame->geometry(), QRect(20, 40, 184, 280));

  for (int k = 1; k <= 10; ++k) {
    QComboBox* list = Panel().PictureList(k);
    EXPECT_EQ(list->pos(), QPoint(58, 64 + 24 * (k - 1))) << "list " << k;
    EXPECT_EQ(list->width(), 100);
    EXPECT_FALSE(list->isEditable());
    ASSERT_EQ(list->count(), 11);
    EXPECT_EQ(list->itemText(0), "Нет");
    for (int b = 1; b <= 10; ++b) EXPECT_EQ(list->itemText(b), QString("Буфер  %1").arg(b));
    EXPECT_EQ(list->currentIndex(), k <= 2 ? k : 0) << "list " << k;
  }
  EXPECT_EQ(Panel().DirectionMark()->geometry(), QRect(170, 90, 24, 24));
  EXPECT_FALSE(Panel().DirectionMark()->pixmap().isNull());
  EXPECT_EQ(Panel().DirectionMark()->toolTip(), "Направление сканирования выпадающих списков");

  QLabel* caption = nullptr;
  for (QLabel* label : Panel().findChildren<QLabel*>()) {
    if (label->text() == "Задержка, мс:") caption = label;
  }
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->geometry(), QRect(10, 350, 80, 15));
  QComboBox* delay = Panel().DelayList();
  EXPECT_EQ(delay->pos(), QPoint(100, 346));
  EXPECT_EQ(delay->width(), 70);
  QStringList delays;
  for (int i = 0; i < delay->count(); ++i) delays << delay->itemText(i);
  EXPECT_EQ(delays, QStringList({"10", "30", "50", "100", "200", "500", "800", "1000", "1500",
                                 "2000", "3000", "4000"}));
  EXPECT_EQ(delay->currentText(), "200");
  EXPECT_EQ(Panel().DelayIndex(), 4);

  EXPECT_EQ(Panel().StartButton()->text(), "Анимация");
  EXPECT_EQ(Panel().StartButton()->geometry(), QRect(30, 400, 80, 24));
  EXPECT_TRUE(Panel().StartButton()->isEnabled());
  EXPECT_EQ(Panel().StopButton()->text(), "Стоп");
  EXPECT_EQ(Panel().StopButton()->geometry(), QRect(120, 400, 80, 24));
  EXPECT_FALSE(Panel().StopButton()->isEnabled());
}

TEST_F(AnimationPanelTest, FewerThanTwoPicturesOnlyShowTheMessage) {
  const std::array<int, kAnimationLists> cases[] = {{}, {0, 0, 0, 7}, {3}};
  for (const auto& choices : cases) {
    Platform().ClearRecords();
    Pick(choices, 4);
    Start();
    ASSERT_EQ(Platform().Messages().size(), 1);
    const ui::Message& m = Platform().Messages()[0];
    EXPECT_EQ(m.caption, "Анимация");
    EXPECT_EQ(m.text, "Для анимации нужно как минимум 2 рисунка!");
    EXPECT_EQ(m.icon, ui::MessageIcon::kExclamation);
    EXPECT_FALSE(Panel().Running());
    EXPECT_TRUE(Panel().StartButton()->isEnabled());
    EXPECT_FALSE(Panel().StopButton()->isEnabled());
  }
}

struct RunCase {
  const char* name;
  std::array<int, kAnimationLists> choices;
  int delay_index;
  int delay_ms;  // what the run should wait
  std::vector<int> shown;
};

TEST_F(AnimationPanelTest, ShowsTheSequenceInListOrderEachPictureForOneDelay) {
  const RunCase cases[] = {
      {"lists 1, 2 and 4 at 200", {1, 2, 0, 4}, 4, 200, {1, 2, 4, 1, 2, 4, 1}},
      {"lists 3 and 10 at 10", {0, 0, 3, 0, 0, 0, 0, 0, 0, 10}, 0, 10, {3, 10, 3, 10, 3}},
      {"delay 4000", {2, 5}, 11, 4000, {2, 5, 2}},
      {"stored index outside the list", {7, 8}, 12, 200, {7, 8, 7}},
      {"no stored index", {7, 8}, -1, 200, {7, 8, 7}},
  };
  ChooseTab(9);
  const QString title = Window().windowTitle();
  for (const RunCase& c : cases) {
    Pick(c.choices, c.delay_index);
    Start();
    ASSERT_TRUE(Panel().Running()) << c.name;
    EXPECT_FALSE(Panel().StartButton()->isEnabled()) << c.name;
    EXPECT_TRUE(Panel().StopButton()->isEnabled()) << c.name;
    const auto started = clock_.Now();
    for (size_t i = 0; i < c.shown.size(); ++i) {
      if (i > 0) {
        Pass(c.delay_ms - 3);
        EXPECT_EQ(Shown(), c.shown[i - 1]) << c.name << ": still up 3 ms before its time, " << i;
        Pass(2);  // the timer wakes; the last millisecond is slept
        EXPECT_EQ(clock_.Now() - started, milliseconds(c.delay_ms) * static_cast<int>(i))
            << c.name << ": changed on its moment, " << i;
      }
      EXPECT_EQ(Shown(), c.shown[i]) << c.name << ", picture " << i;
      EXPECT_EQ(Window().Tabs()->currentIndex(), c.shown[i] - 1) << c.name << ", picture " << i;
      EXPECT_EQ(State().CurrentBuffer(), 9) << c.name;
      EXPECT_EQ(Window().windowTitle(), title) << c.name;
      EXPECT_TRUE(Window().Listing(9)->isVisible()) << c.name;
    }
    Stop();
    EXPECT_FALSE(Panel().Running()) << c.name;
  }
}

TEST_F(AnimationPanelTest, StoppingShowsTheBufferCurrentBeforeTheRun) {
  ChooseTab(2);
  Pick({3, 0, 0, 0, 0, 0, 0, 0, 0, 10}, 11);
  Start();
  Pass(4000);
  ASSERT_EQ(Shown(), 10);
  Pass(1500);  // in the middle of a 4000 ms picture: the stop does not wait for its end
  Stop();
  EXPECT_FALSE(Panel().Running());
  EXPECT_TRUE(Panel().StartButton()->isEnabled());
  EXPECT_FALSE(Panel().StopButton()->isEnabled());
  EXPECT_EQ(State().CurrentBuffer(), 2);
  EXPECT_EQ(Window().Tabs()->currentIndex(), 1);
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(State().SelectedCell(), kNoCell);
  // Nothing is shown any more when time goes on.
  Pass(10000);
  EXPECT_EQ(Shown(), 2);
}

struct RefusedCase {
  const char* name;
  std::function<void(AnimationPanelTest&, MainWindow&)> action;
};

TEST_F(AnimationPanelTest, DuringARunEveryOtherCommandOnlyBeeps) {
  const RefusedCase cases[] = {
      {"menu command", [](auto&, MainWindow& w) { w.Dispatch(command::kOpen); }},
      {"Ctrl+1",
       [](auto&, MainWindow& w) { QTest::keyClick(w.Listing(1), Qt::Key_1, Qt::ControlModifier); }},
      {"typing in the listing",
       [](auto&, MainWindow& w) { QTest::keyClick(w.Listing(1), Qt::Key_Z); }},
      {"buffer tab", [](AnimationPanelTest& t, auto&) { t.ChooseTab(5); }},
      {"canvas double click",
       [](auto&, MainWindow& w) {
         QTest::mouseDClick(w.Canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
       }},
      {"toolbar button",
       [](auto&, MainWindow& w) {
         QWidget* b =
             w.Menus().ToolBar()->widgetForAction(w.Menus().ToolAction(command::kModeCycle));
         QTest::mouseClick(b, Qt::LeftButton);
       }},
      {"menu bar",
       [](auto&, MainWindow& w) {
         QMenuBar* bar = w.menuBar();
         QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                           bar->actionGeometry(bar->actions().first()).center());
       }},
      {"drawing tool command", [](auto&, MainWindow& w) { w.Dispatch(command::kToolLine); }},
      {"tool letter", [](auto&, MainWindow& w) { QTest::keyClick(w.Canvas(), Qt::Key_L); }},
      {"dropped picture file",
       [](AnimationPanelTest& t, MainWindow& w) {
         QMimeData data;
         data.setUrls({QUrl::fromLocalFile(t.PictureFile())});
         QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                               Qt::NoModifier);
         QApplication::sendEvent(&w, &enter);
         QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(&w, &drop);
       }},
  };
  // A tool chosen before the run acts on nothing during it.
  Window().Dispatch(command::kToolPencil);
  Pick({1, 2}, 4);
  Start();
  ASSERT_TRUE(Panel().Running());
  const PictureBytes before = State().Buffer(1).Bytes();
  for (const RefusedCase& c : cases) {
    Platform().ClearRecords();
    c.action(*this, Window());
    EXPECT_EQ(Platform().Beeps(), 1) << c.name;
    EXPECT_TRUE(Platform().Messages().isEmpty()) << c.name;
    EXPECT_TRUE(Platform().Dialogs().isEmpty()) << c.name;
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << c.name;
    EXPECT_TRUE(Panel().Running()) << c.name;
    EXPECT_EQ(State().WorkMode(), 2) << c.name;
    EXPECT_EQ(State().CurrentBuffer(), 1) << c.name;
    EXPECT_EQ(Window().Listing(1)->toPlainText(), "") << c.name;
    EXPECT_EQ(Window().Drawing().Tools().Tool(), DrawingTool::kPencil) << c.name;
    QApplication::processEvents();
    EXPECT_EQ(State().Buffer(1).Bytes(), before) << c.name;
  }
  // Nothing was queued: after the stop the commands do not run on their own.
  Stop();
  QApplication::processEvents();
  EXPECT_EQ(State().WorkMode(), 2);
  EXPECT_TRUE(Platform().Dialogs().isEmpty());
  // And they work again.
  QTest::keyClick(Window().Listing(1), Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(State().WorkMode(), 1);
}

TEST_F(AnimationPanelTest, PictureListsStayUsableButCountFromTheNextRun) {
  Pick({1, 2}, 4);
  Start();
  Platform().ClearRecords();
  QComboBox* third = Panel().PictureList(3);
  third->setFocus();
  QTest::keyClick(third, Qt::Key_Down);
  EXPECT_EQ(third->currentIndex(), 1);
  EXPECT_EQ(Platform().Beeps(), 1);
  Pass(200);
  Pass(200);
  EXPECT_EQ(Shown(), 1) << "the run goes on with its own two pictures";
  Stop();
  Start();
  Pass(200);
  Pass(200);
  EXPECT_EQ(Shown(), 1) << "the next run has three";
}

TEST_F(AnimationPanelTest, ClosingTheWindowAsksAndNoGoesOn) {
  Pick({1, 2}, 4);
  Start();
  Platform().QueueAnswer(ui::Answer::kNo);
  EXPECT_FALSE(Window().close());
  ASSERT_EQ(Platform().Messages().size(), 1);
  const ui::Message& m = Platform().Messages()[0];
  EXPECT_EQ(m.caption, "Анимация");
  EXPECT_EQ(m.text, "Прекратить анимацию?");
  EXPECT_EQ(m.icon, ui::MessageIcon::kQuestion);
  EXPECT_EQ(m.buttons, ui::MessageButtons::kYesNo);
  EXPECT_TRUE(Panel().Running());
  Pass(200);
  EXPECT_EQ(Shown(), 2);

  Platform().QueueAnswer(ui::Answer::kYes);
  EXPECT_FALSE(Window().close()) << "the program stays open";
  EXPECT_TRUE(Window().isVisible());
  EXPECT_FALSE(Panel().Running());
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(Platform().Messages().size(), 2);
}

// The pictures hold still while the question is open: after No, the picture on show gets the
// rest of its delay, and none flashes by for less than one.
TEST_F(AnimationPanelTest, TimeSpentOnTheCloseQuestionIsNotTakenFromThePictures) {
  struct Case {
    const char* name;
    int before_question;  // ms of picture 1 on show when the window is closed
    int question_open;    // ms until No is answered
  };
  const Case cases[] = {
      {"answered within the picture's time", 50, 100},
      {"answered after the picture was due", 50, 300},
      {"answered just before the next grid moment", 10, 389},
  };
  for (const Case& c : cases) {
    Pick({1, 2}, 4);
    Start();
    Pass(c.before_question);
    Platform().OnMessage([&](const ui::Message&) { clock_.Advance(c.question_open); });
    Platform().QueueAnswer(ui::Answer::kNo);
    Window().close();
    Platform().OnMessage({});
    EXPECT_EQ(Shown(), 1) << c.name;
    Pass(200 - c.before_question - 3);
    EXPECT_EQ(Shown(), 1) << c.name << ": still up 3 ms before the rest of its delay";
    Pass(3);
    EXPECT_EQ(Shown(), 2) << c.name;
    Pass(197);
    EXPECT_EQ(Shown(), 2) << c.name << ": the next picture stays a whole delay";
    Pass(3);
    EXPECT_EQ(Shown(), 1) << c.name;
    Stop();
  }
}

TEST_F(AnimationPanelTest, CloseMarkStopsAndOnlyTheLeftButtonLeavesTheMode) {
  struct Case {
    Qt::MouseButton button;
    int mode_after;
  };
  for (const Case& c : {Case{Qt::RightButton, 2}, Case{Qt::LeftButton, 1}}) {
    Window().Dispatch(command::kModeAnimation);
    Pick({4, 5}, 4);
    Start();
    Pass(200);
    Platform().ClearRecords();
    QTest::mouseClick(Panel().CloseMark(), c.button);
    EXPECT_FALSE(Panel().Running()) << c.button;
    EXPECT_EQ(State().WorkMode(), c.mode_after) << c.button;
    EXPECT_EQ(Shown(), 1) << c.button;
    EXPECT_EQ(Platform().Beeps(), 0) << c.button;
  }
}

}  // namespace
}  // namespace lumigrid::testing_support

namespace lumigrid::testing_support {
namespace {

class StoredDelay : public MainWindowTest {
 protected:
  StoredDelay() { settings_.anime_delay = 7; }
};

TEST_F(StoredDelay, DelayListStartsAtTheStoredIndexAndReportsTheChoice) {
  AnimationPanel& panel = Window().Tools().Animation();
  EXPECT_EQ(panel.DelayList()->currentText(), "1000");
  panel.DelayList()->setCurrentIndex(0);
  EXPECT_EQ(panel.DelayIndex(), 0);
}

}  // namespace
}  // namespace lumigrid::testing_support
