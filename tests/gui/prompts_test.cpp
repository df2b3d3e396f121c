// The questions before unsaved changes are lost: through New, Open, a recent file, a drop and
// closing the window.
#include <QCheckBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <functional>

#include "app/commands.h"
#include "file_test_support.h"
#include "optimize/optimize_panel.h"
#include "optimize/report_view.h"
#include "picture/editor.h"

namespace lumigrid::testing_support {
namespace {

const QString kDiscard = "Сохранение файла";
const QString kQuit = "Сохранение файлов при закрытии программы";
const QString kUnnamed = "Данные не были сохранены, сохранить их сейчас?";

QString AboutFile(const QString& file_part) {
  return "Файл   \"" + file_part + "\"\nбыл изменён, сохранить  изменения?";
}

class PromptTest : public FileTest {
 protected:
  struct Route {
    const char* name;
    std::function<void()> run;
    bool closes = false;
  };

  // Every way the current buffer is replaced or the program ends, each with a file to open.
  std::vector<Route> Routes() {
    const std::string other = WritePicture("other.chr", Pattern(9));
    return {
        {"New", [this] { Window().Dispatch(command::kNew); }},
        {"Open", [this] { Window().Dispatch(command::kOpen); }},
        {"Recent",
         [this, other] {
           State().Recent().SetEntry(1, other);
           Window().Dispatch(command::kRecentFirst);
         }},
        {"Drop", [this, other] { Drop({QUrl::fromLocalFile(Q(other))}); }},
        {"Close", [this] { Window().Dispatch(command::kClose); }, true},
    };
  }

  // Pixel (0, 0) lit in buffer 2 and (1, 0) in buffer 5, so the canvas tells which it shows.
  void ModifyBuffersTwoAndFive() {
    PictureBytes two{}, five{};
    two[0] = 0x01;
    five[1] = 0x01;
    Prepare(2, two, "");
    Prepare(5, five, "");
  }
  int ShownBuffer() {
    const QImage shot = CanvasShot();
    const bool two = At(shot, 2, 2) == Colour(colour::kPixelLit);
    const bool five = At(shot, 6, 2) == Colour(colour::kPixelLit);
    return two ? (five ? -1 : 2) : (five ? 5 : 0);
  }
};

using DiscardPrompt = PromptTest;

TEST_F(DiscardPrompt, NewAsksOnlyAboutAModifiedBuffer) {
  struct Case {
    bool modified;
    ui::Answer answer;
    bool cleared;
  };
  const Case cases[] = {
      {false, ui::Answer::kOk, true},  // not asked
      {true, ui::Answer::kCancel, false},
      {true, ui::Answer::kNo, true},
      {true, ui::Answer::kYes, true},
  };
  const std::string kept = PathOf("kept.chr");
  for (const Case& c : cases) {
    Prepare(1, Pattern(), kept, c.modified);
    std::filesystem::remove(PathFromUtf8(kept));
    Platform().ClearRecords();
    if (c.modified) Platform().QueueAnswer(c.answer);
    Window().Dispatch(command::kNew);
    const QStringList expected =
        c.modified ? QStringList{Question(kDiscard, AboutFile("kept.chr"))} : QStringList{};
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(State().Buffer(1).Bytes() == PictureBytes{}, c.cleared);
    EXPECT_EQ(State().BufferModified(1), !c.cleared);
    EXPECT_EQ(State().BufferFileName(1), c.cleared ? "" : kept);
    EXPECT_EQ(ReadAll(kept), c.answer == ui::Answer::kYes ? AsText(Pattern()) : "");
  }
}

TEST_F(DiscardPrompt, EveryRouteAsksAndCancelKeepsTheBuffer) {
  for (const Route& route : Routes()) {
    Prepare(1, Pattern(), "D:\\pics\\logo.chr");
    Platform().ClearRecords();
    Platform().QueueAnswer(ui::Answer::kCancel);
    route.run();
    const QString caption = route.closes ? kQuit : kDiscard;
    EXPECT_EQ(Shown(), QStringList{Question(caption, AboutFile("logo.chr"))}) << route.name;
    EXPECT_TRUE(Platform().Dialogs().isEmpty()) << route.name;
    EXPECT_EQ(State().Buffer(1).Bytes(), Pattern()) << route.name;
    EXPECT_TRUE(State().BufferModified(1)) << route.name;
    EXPECT_TRUE(Window().isVisible()) << route.name;
  }
}

TEST_F(DiscardPrompt, OpenAnsweredNoThenCancelledForgetsTheChangesOnly) {
  Prepare(1, Pattern(), "");
  Platform().QueueAnswer(ui::Answer::kNo);
  Window().Dispatch(command::kOpen);
  EXPECT_EQ(Platform().Dialogs().size(), 1) << "the Open dialog, cancelled";
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern());
  EXPECT_FALSE(State().BufferModified(1));
  EXPECT_TRUE(Window().close()) << "nothing left to ask about";
  EXPECT_EQ(Platform().Messages().size(), 1);
}

TEST_F(DiscardPrompt, YesWithoutAPictureNameSavesThroughTheDialogKeepingTheName) {
  for (const std::string& name : {std::string(), PathOf("photo.png")}) {
    Prepare(1, Pattern(), name);
    Platform().ClearRecords();
    Platform().QueueAnswer(ui::Answer::kYes);
    Platform().QueueFile(Q(PathOf("out")));
    Window().Dispatch(command::kOpen);  // the Open dialog is then cancelled
    ASSERT_EQ(Platform().Dialogs().size(), 2) << name;
    EXPECT_TRUE(Platform().Dialogs()[0].save);
    EXPECT_EQ(Platform().Dialogs()[0].request.title, "Сохранить файл...");
    EXPECT_EQ(ReadAll(PathOf("out.chr")), AsText(Pattern())) << name;
    EXPECT_EQ(State().BufferFileName(1), name) << "a prompt's save does not rename";
    EXPECT_EQ(Window().windowTitle(), "Lumigrid v 3.8  —  " + Q(name));
    EXPECT_EQ(State().Recent().Entry(1), PathOf("out.chr"));
    EXPECT_FALSE(State().BufferModified(1));
  }
}

// A save the user asked for that does not happen must not be followed by losing the picture.
TEST_F(DiscardPrompt, FailedOrCancelledSaveStopsTheAskingOperation) {
  for (const bool dialog_cancelled : {false, true}) {
    for (const Route& route : Routes()) {
      const std::string name = dialog_cancelled ? "" : PathOf("missing/a.chr");
      Prepare(1, Pattern(), name);
      Platform().ClearRecords();
      Platform().QueueAnswer(ui::Answer::kYes);
      route.run();
      const QString question = name.empty() ? kUnnamed : AboutFile("a.chr");
      QStringList expected{Question(route.closes ? kQuit : kDiscard, question)};
      if (!dialog_cancelled) {
        expected << ErrorMessage("Ошибка", "Не удалось сохранить файл\n" + Q(name));
      }
      EXPECT_EQ(Shown(), expected) << route.name;
      EXPECT_EQ(Platform().Dialogs().size(), dialog_cancelled ? 1 : 0)
          << route.name << ": only the save dialog";
      EXPECT_EQ(State().Buffer(1).Bytes(), Pattern()) << route.name;
      EXPECT_EQ(State().BufferFileName(1), name) << route.name;
      EXPECT_TRUE(State().BufferModified(1)) << route.name;
      ASSERT_TRUE(Window().isVisible()) << route.name;
    }
  }
}

// The scan's map used to overwrite buffer 10's edits unasked, and a later save wrote the map
// over the picture's file.
TEST_F(DiscardPrompt, ScanAsksAboutBufferTenAndLeavesTheMapWithoutAFile) {
  struct Case {
    bool modified;
    ui::Answer answer;
    bool list;  // the list button with the auto box, rather than the scan button
    bool scanned;
  };
  const Case cases[] = {
      {true, ui::Answer::kCancel, false, false}, {true, ui::Answer::kCancel, true, false},
      {true, ui::Answer::kNo, false, true},      {true, ui::Answer::kYes, true, true},
      {false, ui::Answer::kOk, false, true},  // not asked
  };
  Window().Dispatch(command::kModeOptimize);
  OptimizePanel& panel = *Window().OptimizeSidePanel();
  panel.AutoBox()->setChecked(true);
  const std::string logo = PathOf("logo.chr");
  for (const Case& c : cases) {
    const std::string what = std::string(c.list ? "list, " : "scan, ") +
                             (c.modified ? std::to_string(static_cast<int>(c.answer)) : "clean");
    Window().Editor().SwitchBuffer(0);
    State().Buffer(1).Bytes() = Pattern(1);
    State().Buffer(2).Bytes() = Pattern(1);  // every byte the same: the map is all 0xFF
    WritePicture("logo.chr", Pattern(3));
    Prepare(10, Pattern(5), logo, c.modified);
    State().RecordEdit(10, "edits");  // as drawing would
    if (!c.modified) State().MarkClean(10);
    panel.Report()->ClearReport();
    Platform().ClearRecords();
    if (c.modified) Platform().QueueAnswer(c.answer);
    QTest::mouseClick(c.list ? panel.ListButton() : panel.ScanButton(), Qt::LeftButton);

    const QStringList expected =
        c.modified ? QStringList{Question(kDiscard, AboutFile("logo.chr"))} : QStringList{};
    EXPECT_EQ(Shown(), expected) << what;
    EXPECT_EQ(ReadAll(logo), AsText(c.answer == ui::Answer::kYes ? Pattern(5) : Pattern(3)))
        << what << ": only Yes saves the edits, to their own file";
    PictureBytes map;
    map.fill(0xFF);
    EXPECT_EQ(State().Buffer(10).Bytes(), c.scanned ? map : Pattern(5)) << what;
    EXPECT_EQ(State().BufferFileName(10), c.scanned ? "" : logo) << what;
    EXPECT_EQ(State().BufferModified(10), !c.scanned) << what;
    EXPECT_EQ(State().CurrentBuffer(), c.scanned ? 10 : 1) << what;
    EXPECT_EQ(panel.Report()->toPlainText().isEmpty(), !c.scanned || !c.list)
        << what << ": a cancelled scan builds no list";
    if (!c.scanned) continue;
    EXPECT_EQ(Window().windowTitle(), "Lumigrid v 3.8  —  ") << what;
    // Saving the map asks for a name instead of writing over the picture it replaced.
    Platform().ClearRecords();
    Window().Dispatch(command::kSave);
    ASSERT_EQ(Platform().Dialogs().size(), 1) << what;
    EXPECT_TRUE(Platform().Dialogs()[0].save) << what;
    // Taken back, the old picture counts as unsaved: closing would ask about it.
    Window().Dispatch(command::kUndo);
    EXPECT_EQ(State().Buffer(10).Bytes(), Pattern(5)) << what;
    EXPECT_TRUE(State().BufferModified(10)) << what;
  }
  EXPECT_EQ(ReadAll(logo), AsText(Pattern(3)));
}

using QuitPrompt = PromptTest;

TEST_F(QuitPrompt, AsksAboutEachModifiedBufferInOrderShowingIt) {
  struct Seen {
    int tab;
    int current;
    int shown;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  Platform().OnMessage([&](const ui::Message&) {
    seen.push_back({Window().Tabs()->currentIndex() + 1, State().CurrentBuffer(), ShownBuffer()});
  });
  ModifyBuffersTwoAndFive();
  const std::function<bool()> closes[] = {[this] { return Window().close(); },
                                          [this] {
                                            Window().Dispatch(command::kClose);
                                            return !Window().isVisible();
                                          }};
  for (const auto& close : closes) {
    Window().show();
    seen.clear();
    Platform().ClearRecords();
    Platform().QueueAnswer(ui::Answer::kNo);
    Platform().QueueAnswer(ui::Answer::kNo);
    EXPECT_TRUE(close());
    EXPECT_EQ(Shown(), QStringList(2, Question(kQuit, kUnnamed)));
    EXPECT_EQ(seen, (std::vector<Seen>{{2, 1, 2}, {5, 1, 5}}));
  }
  Platform().OnMessage(nullptr);
}

TEST_F(QuitPrompt, CancelStopsAskingAndShowsTheCurrentBufferAgain) {
  ModifyBuffersTwoAndFive();
  DoubleClickCell(3);
  Platform().QueueAnswer(ui::Answer::kCancel);
  EXPECT_FALSE(Window().close());
  EXPECT_EQ(Shown(), QStringList{Question(kQuit, kUnnamed)}) << "buffer 5 is not asked about";
  EXPECT_TRUE(Window().isVisible());
  EXPECT_EQ(Window().Tabs()->currentIndex(), 0);
  EXPECT_EQ(ShownBuffer(), 0);
  EXPECT_EQ(State().SelectedCell(), 3);
  const Rect cell = CanvasCellRect(3);
  EXPECT_EQ(At(CanvasShot(), cell.x + 10, cell.y + 10), Colour(colour::kCellOpen));
}

TEST_F(QuitPrompt, SavesMadeBeforeACancelStayMade) {
  const std::string one = PathOf("one.chr");
  Prepare(1, Pattern(1), one);
  Prepare(2, Pattern(2), "");
  Prepare(5, Pattern(5), "");
  Platform().QueueAnswer(ui::Answer::kYes);  // buffer 1, by its name
  Platform().QueueAnswer(ui::Answer::kYes);  // buffer 2, through the dialog
  Platform().QueueFile(Q(PathOf("two")));
  Platform().QueueAnswer(ui::Answer::kCancel);
  EXPECT_FALSE(Window().close());
  EXPECT_EQ(Shown(), (QStringList{Question(kQuit, AboutFile("one.chr")), Question(kQuit, kUnnamed),
                                  Question(kQuit, kUnnamed)}));
  EXPECT_EQ(ReadAll(one), AsText(Pattern(1)));
  EXPECT_EQ(ReadAll(PathOf("two.chr")), AsText(Pattern(2)));
  EXPECT_FALSE(State().BufferModified(1));
  EXPECT_FALSE(State().BufferModified(2));
  EXPECT_EQ(State().BufferFileName(2), "");
  EXPECT_TRUE(State().BufferModified(5));
  EXPECT_EQ(State().Recent().Entry(1), PathOf("two.chr"));
  EXPECT_EQ(State().Recent().Entry(2), one);
}

}  // namespace
}  // namespace lumigrid::testing_support
