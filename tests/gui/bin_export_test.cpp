// The BIN panel: its controls and enabling rules, and "Преобразовать данные..." writing into
// real files through the scripted dialogs and message boxes.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <optional>
#include <tuple>

#include "app/commands.h"
#include "app/work_modes.h"
#include "binexport/bin_block.h"
#include "binexport/bin_panel.h"
#include "codegen/listing_view.h"
#include "file_test_support.h"

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace lumigrid::testing_support {
namespace {

namespace fs = std::filesystem;

QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

class BinExport : public FileTest {
 protected:
  void SetUp() override {
    FileTest::SetUp();
    for (int b = 1; b <= kBufferCount; ++b) State().Buffer(b).Bytes() = Pattern(b);
    State().MarkModified(2);
  }

  BinPanel& Panel() {
    return *qobject_cast<BinPanel*>(Window().Panel(static_cast<int>(SidePanel::kBin)));
  }
  void Choose(int destination, int placement = 0, int method = 0, const char* address = "0") {
    Panel().DestinationList()->setCurrentIndex(destination);
    Panel().PlacementList()->setCurrentIndex(placement);
    Panel().MethodList()->setCurrentIndex(method);
    Panel().AddressField()->setText(QString::fromUtf8(address));
  }
  void ClickConvert() { QTest::mouseClick(Panel().ConvertButton(), Qt::LeftButton); }
  std::string Image(int b, int grouping = 0) {
    BinImage image{};
    EXPECT_TRUE(BufferToBin(State(), b, grouping, image));
    return {image.begin(), image.end()};
  }
};

TEST_F(BinExport, CtrlFiveShowsThePanelInPlaceOfTheOthers) {
  QTest::keyClick(Window().Listing(1), Qt::Key_5, Qt::ControlModifier);
  EXPECT_EQ(State().WorkMode(), 5);
  EXPECT_TRUE(Panel().isVisible());
  EXPECT_EQ(Panel().geometry(), QRect(554, 32, 234, 458));
  EXPECT_EQ(Panel().TitleLabel()->text(), "Преобразование кода в BIN формат    ");
  EXPECT_EQ(Panel().CloseMark()->toolTip(), "Закрыть панель «Преобразование кода в BIN формат»");
  QTest::mouseClick(Panel().CloseMark(), Qt::LeftButton);
  EXPECT_EQ(State().WorkMode(), 1);
  EXPECT_FALSE(Panel().isVisible());
}

TEST_F(BinExport, ControlsSitAtTheirPlacesWithTheirTextsAndStartStates) {
  struct Case {
    QWidget* widget;
    QRect place;
    bool enabled;
  };
  BinPanel& p = Panel();
  std::vector<Case> cases = {
      {p.GroupingBox(), QRect(10, 400, 170, 15), true},
      {p.ConvertButton(), QRect(10, 420, 210, 24), true},
      {p.AddressField(), QRect(8, 372, 40, 20), false},
  };
  for (int k = 1; k <= kBufferCount; ++k) {
    cases.push_back({p.Slot(k), QRect(20, 40 + 24 * (k - 1), 100, 0), true});
  }
  cases.push_back({p.DestinationList(), QRect(8, 330, 108, 0), true});
  cases.push_back({p.PlacementList(), QRect(120, 330, 100, 0), false});
  cases.push_back({p.MethodList(), QRect(120, 372, 100, 0), false});
  for (const Case& c : cases) {
    QRect place = c.widget->geometry();
    if (c.place.height() == 0) place.setHeight(0);  // a drop-down list keeps its own height
    EXPECT_EQ(place, c.place) << c.widget->metaObject()->className();
    EXPECT_EQ(c.widget->isEnabled(), c.enabled) << c.place.x() << ", " << c.place.y();
  }

  QStringList buffers{"Нет"};
  for (int b = 1; b <= 10; ++b) buffers << QString("Буфер  %1").arg(b);
  for (int k = 1; k <= kBufferCount; ++k) {
    EXPECT_EQ(Items(p.Slot(k)), buffers) << k;
    EXPECT_EQ(p.Slot(k)->currentIndex(), k == 1 ? 1 : 0) << k;
    EXPECT_FALSE(p.Slot(k)->isEditable());
  }
  EXPECT_EQ(Items(p.DestinationList()), (QStringList{"новом файле", "существующем"}));
  EXPECT_EQ(Items(p.PlacementList()), (QStringList{"в конец файла", "произвольно"}));
  EXPECT_EQ(Items(p.MethodList()), (QStringList{"Вставить", "Заменить"}));
  EXPECT_EQ(p.DestinationList()->currentIndex(), 0);
  EXPECT_EQ(p.PlacementList()->currentIndex(), 0);
  EXPECT_EQ(p.MethodList()->currentIndex(), 0);
  EXPECT_EQ(p.AddressField()->text(), "0");
  EXPECT_FALSE(p.GroupingBox()->isChecked());
  EXPECT_EQ(p.GroupingBox()->text(), "Группировка по кристаллам");
  EXPECT_EQ(p.ConvertButton()->text(), "Преобразовать данные...");
  EXPECT_EQ(p.ConvertButton()->toolTip(),
            "Преобразование данных из выбранных буферов в двоичный формат с сохранением в файле");

  QStringList frames;
  for (const QGroupBox* frame : p.findChildren<QGroupBox*>()) {
    frames << QString("%1 %2,%3,%4,%5")
                  .arg(frame->title())
                  .arg(frame->x())
                  .arg(frame->y())
                  .arg(frame->width())
                  .arg(frame->height());
  }
  EXPECT_EQ(frames, (QStringList{"Буферы 10,22,120,270",
                                 "Преобразование и сохранение в файле 4,300,220,134"}));
  QStringList labels;
  for (const QLabel* label : p.findChildren<QLabel*>()) {
    if (label == p.TitleLabel() || label == p.CloseMark()) continue;
    labels << QString("%1 %2,%3,%4,%5")
                  .arg(label->text())
                  .arg(label->x())
                  .arg(label->y())
                  .arg(label->width())
                  .arg(label->height());
  }
  EXPECT_EQ(labels, (QStringList{"Сохранить в                 Добавить 8,316,210,15",
                                 "Начальный адрес   Как добавить данные 8,358,210,15"}));
}

TEST_F(BinExport, PlacementControlsFollowDestinationAndPlacement) {
  struct Case {
    int destination, placement;
    bool placement_enabled, address_enabled;
  };
  // Each step changes one list, in the order a user would.
  const Case steps[] = {
      {1, 0, true, false}, {1, 1, true, true},  {0, 1, false, false},
      {1, 1, true, true},  {1, 0, true, false}, {0, 0, false, false},
  };
  for (const Case& c : steps) {
    if (Panel().DestinationList()->currentIndex() != c.destination) {
      Panel().DestinationList()->setCurrentIndex(c.destination);
    } else {
      Panel().PlacementList()->setCurrentIndex(c.placement);
    }
    EXPECT_EQ(Panel().PlacementList()->isEnabled(), c.placement_enabled)
        << c.destination << ", " << c.placement;
    EXPECT_EQ(Panel().AddressField()->isEnabled(), c.address_enabled)
        << c.destination << ", " << c.placement;
    EXPECT_EQ(Panel().MethodList()->isEnabled(), c.address_enabled)
        << c.destination << ", " << c.placement;
  }
}

TEST_F(BinExport, ConvertButtonNeedsASlotNamingABuffer) {
  Panel().Slot(1)->setCurrentIndex(0);
  EXPECT_FALSE(Panel().ConvertButton()->isEnabled());
  Panel().Slot(7)->setCurrentIndex(10);
  EXPECT_TRUE(Panel().ConvertButton()->isEnabled());
  Panel().Slot(7)->setCurrentIndex(0);
  EXPECT_FALSE(Panel().ConvertButton()->isEnabled());
}

TEST_F(BinExport, AddressFieldTakesAtMostFiveDigits) {
  Choose(1, 1);
  QLineEdit* field = Panel().AddressField();
  field->clear();
  QTest::keyClicks(field, "1a-2 3+4.5 67");
  EXPECT_EQ(field->text(), "12345");
}

// A piece of the expected file: bytes [from, to) of the old file, or the block.
struct Piece {
  bool block = false;
  int from = 0, to = 0;
};
Piece Old(int from, int to) { return {false, from, to}; }
const Piece kBlock{true};

const char* const kDone =
    "Преобразование | Преобразование информации завершено.\nДанные были добавлены в файл\n%1 | "
    "information ok";
const char* const kMissing =
    "Добавление данный в файл | Файл  \"%1\"  не существует!\nСоздать его? | exclamation yes/no";
const char* const kNoAddress =
    "Предупреждение | Поле  \"Начальный адрес\"  не заполено\nНужно указать начальный адрес "
    "добавляемых данных в файл. | exclamation ok";
const char* const kBeyondEnd =
    "Внимание | Начальный адрес был задан больше текущего размера файла!\nДобавить данные в "
    "конец файла? | exclamation yes/no";
const char* const kOpenFailed = "Ошибка | Не удалось открыть файл \n\"%1\" | error ok";
const char* const kWriteFailed = "Ошибка | Не удалось записать файл \n\"%1\" | error ok";

constexpr int kOldLength = 3000;

struct FlowCase {
  const char* name;
  bool old_exists;  // "fw.bin" holds kOldLength bytes
  int destination, placement, method;
  const char* address;
  const char* typed;  // in the dialog, inside the test folder; empty cancels
  int filter;
  std::vector<ui::Answer> answers;
  const char* file;             // the file that holds the result
  std::vector<Piece> expected;  // its bytes; empty: the file does not exist
  std::vector<const char*> messages;
};

using ui::Answer;
// clang-format off
const FlowCase kFlows[] = {
    // name, old file, destination, placement, method, address, typed name, filter, answers,
    // file looked at, its bytes, messages
    {"cancel", true, 0, 0, 0, "0", "", 0, {}, "fw.bin", {Old(0, kOldLength)}, {}},
    {"new file gets bin", false, 0, 0, 0, "0", "pic", 0, {}, "pic.bin", {kBlock}, {kDone}},
    {"other extension stays", false, 0, 0, 0, "0", "pic.dat", 0, {}, "pic.dat", {kBlock}, {kDone}},
    {"all files keeps the name", false, 0, 0, 0, "0", "pic", 1, {}, "pic", {kBlock}, {kDone}},
    {"new file replaces unasked", true, 0, 0, 0, "0", "fw", 0, {}, "fw.bin", {kBlock}, {kDone}},
    {"missing file, no", false, 1, 1, 0, "5", "fw", 0, {Answer::kNo}, "fw.bin", {}, {kMissing}},
    {"missing file, yes", false, 1, 1, 0, "5", "fw", 0, {Answer::kYes}, "fw.bin", {kBlock},
     {kMissing, kDone}},
    {"append", true, 1, 0, 0, "0", "fw", 0, {}, "fw.bin", {Old(0, kOldLength), kBlock}, {kDone}},
    {"empty address", true, 1, 1, 0, "", "fw", 0, {}, "fw.bin", {Old(0, kOldLength)}, {kNoAddress}},
    {"insert at 007", true, 1, 1, 0, "007", "fw", 0, {}, "fw.bin",
     {Old(0, 7), kBlock, Old(7, kOldLength)}, {kDone}},
    {"beyond the end, no", true, 1, 1, 0, "3001", "fw", 0, {Answer::kNo}, "fw.bin",
     {Old(0, kOldLength)}, {kBeyondEnd}},
    {"beyond the end, yes", true, 1, 1, 0, "3001", "fw", 0, {Answer::kYes}, "fw.bin",
     {Old(0, kOldLength), kBlock}, {kBeyondEnd, kDone}},
    {"replace beyond the end appends unasked", true, 1, 1, 1, "99999", "fw", 0, {}, "fw.bin",
     {Old(0, kOldLength), kBlock}, {kDone}},
};
// clang-format on

TEST_F(BinExport, EveryPathWritesTheFileAndSaysSo) {
  for (const FlowCase& c : kFlows) {
    SCOPED_TRACE(c.name);
    std::string old(kOldLength, '\0');
    for (int i = 0; i < kOldLength; ++i) old[i] = static_cast<char>(i * 13 + i / 251);
    for (const std::string& name : folder_.Entries()) fs::remove(folder_.Path() / name);
    if (c.old_exists) WriteFile("fw.bin", old);
    Platform().ClearRecords();
    for (Answer answer : c.answers) Platform().QueueAnswer(answer);
    if (*c.typed) Platform().QueueFile(Q(PathOf(c.typed)), c.filter);
    Choose(c.destination, c.placement, c.method, c.address);

    ClickConvert();

    ASSERT_EQ(Platform().Dialogs().size(), 1);
    const ui::FileDialogRequest& dialog = Platform().Dialogs()[0].request;
    EXPECT_TRUE(Platform().Dialogs()[0].save);
    EXPECT_EQ(dialog.title, "Сохранение преобразованого файла...");
    EXPECT_EQ(dialog.filter, "Бинарные файлы (*.BIN)|*.BIN|Все файлы|*.*");
    EXPECT_EQ(dialog.selected_filter, 0);
    EXPECT_TRUE(dialog.start_path.isEmpty());

    QStringList messages;
    for (const char* m : c.messages)
      messages << QString::fromUtf8(m).replace("%1", Q(PathOf(c.file)));
    EXPECT_EQ(Shown(), messages);
    const std::string path = PathOf(c.file);
    if (c.expected.empty()) {
      EXPECT_FALSE(fs::exists(PathFromUtf8(path)));
    } else {
      std::string expected;
      for (const Piece& piece : c.expected) {
        expected += piece.block ? Image(1) : old.substr(piece.from, piece.to - piece.from);
      }
      EXPECT_TRUE(ReadAll(path) == expected) << ReadAll(path).size() << " bytes";
    }
  }
  for (int b = 1; b <= kBufferCount; ++b) {
    EXPECT_EQ(State().Buffer(b).Bytes(), Pattern(b)) << b;
    EXPECT_EQ(State().BufferModified(b), b == 2) << b;
  }
}

// The command reads the panel but never sets it, not even when a missing file turns the run
// into a new file; the choices also outlive leaving the mode.
TEST_F(BinExport, ChoicesOutliveModeSwitchesAndRuns) {
  Panel().Slot(4)->setCurrentIndex(6);
  Panel().GroupingBox()->setChecked(true);
  Choose(1, 1, 1, "12");
  const BinChoices before = Panel().Choices();
  Window().Dispatch(command::kModeEditing);
  Window().Dispatch(command::kModeBin);
  Platform().QueueAnswer(Answer::kYes);
  Platform().QueueFile(Q(PathOf("missing")));
  ClickConvert();
  ASSERT_TRUE(fs::exists(PathFromUtf8(PathOf("missing.bin"))));
  const BinChoices after = Panel().Choices();
  EXPECT_EQ(after.slot_values, before.slot_values);
  EXPECT_EQ(after.grouping, 1);
  EXPECT_EQ(std::tuple(after.destination, after.placement, after.method, after.address),
            std::tuple(1, 1, 1, QString("12")));
  EXPECT_TRUE(Panel().AddressField()->isEnabled());
}

TEST_F(BinExport, BlockHoldsTheChosenBuffersInSlotOrderAndByteOrder) {
  Panel().Slot(1)->setCurrentIndex(2);
  Panel().Slot(3)->setCurrentIndex(2);
  Panel().Slot(10)->setCurrentIndex(9);
  for (int grouping : {0, 1}) {
    Panel().GroupingBox()->setChecked(grouping == 1);
    Platform().QueueFile(Q(PathOf("out")));
    ClickConvert();
    EXPECT_TRUE(ReadAll(PathOf("out.bin")) ==
                Image(2, grouping) + Image(2, grouping) + Image(9, grouping))
        << "grouping " << grouping;
  }
}

TEST_F(BinExport, FolderInTheWayCannotBeOpened) {
  fs::create_directory(PathFromUtf8(PathOf("fw.bin")));
  Platform().QueueFile(Q(PathOf("fw")));
  ClickConvert();
  EXPECT_EQ(Shown(), QStringList{QString::fromUtf8(kOpenFailed).arg(Q(PathOf("fw.bin")))});
  EXPECT_TRUE(fs::is_directory(PathFromUtf8(PathOf("fw.bin"))));
}

#ifdef __linux__
// A failed write is reported, never followed by the completion message, and changes nothing.
TEST_F(BinExport, FailedWriteIsReportedAndKeepsTheFile) {
  const fs::path small = folder_.Path() / "small";
  fs::create_directory(small);
  if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root and mount rights)";
  }
  struct Unmount {
    const fs::path& at;
    ~Unmount() { ::umount(at.c_str()); }
  } unmount{small};
  const std::string old(60 * 1024, 'o');
  WriteFile("small/fw.bin", old);
  for (int method : {0, 1}) {
    Platform().ClearRecords();
    Choose(1, 1, method, "10");
    Platform().QueueFile(Q(PathOf("small/fw.bin")));
    ClickConvert();
    EXPECT_EQ(Shown(), QStringList{QString::fromUtf8(kWriteFailed).arg(Q(PathOf("small/fw.bin")))})
        << "method " << method;
    EXPECT_TRUE(ReadAll(PathOf("small/fw.bin")) == old) << "method " << method;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(small), fs::directory_iterator()), 1);
}
#endif

}  // namespace
}  // namespace lumigrid::testing_support
