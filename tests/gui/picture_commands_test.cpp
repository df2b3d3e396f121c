// The transforms, whole-buffer commands and system clipboard of the menu "Рисунок", through the
// window: the picture, its history, the canvas, the enlarged view and the readout.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include "app/commands.h"
#include "app/copy_buffer_dialog.h"
#include "app/history_commands.h"
#include "app/main_menus.h"
#include "app/picture_commands.h"
#include "app/tool_commands.h"
#include "codegen/picture_text.h"
#include "core/test_pictures.h"
#include "files/image_import_qt.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "picture/readout_text.h"
#include "test_support.h"
#include "tools/animation_panel.h"

namespace lumigrid::testing_support {
namespace {

using lumigrid::testing::RandomPicture;

// The picture the canvas shows, read back from the colour of every pixel's square.
PictureBytes ShownOnCanvas(const QImage& shot) {
  PictureBuffer shown;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      const PixelAddress a = PixelToAddress(x, y);
      const Rect cell = CanvasCellRect(a.cell);
      const int px = cell.x + kCanvasPixelSize * (a.byte - 1) + 1;
      const int py = cell.y + kCanvasPixelSize * (a.row - 1) + 1;
      shown.SetPixel(x, y, At(shot, px, py) == Colour(colour::kPixelLit));
    }
  }
  return shown.Bytes();
}

class PictureCommandsTest : public MainWindowTest {
 protected:
  // Buffer 1 holds a picture and cell `open` is open in the enlarged view.
  void Prepare(const PictureBytes& picture, int open = 37) {
    State().Buffer(1).Bytes() = picture;
    State().MarkClean(1);
    Window().Editor().RedrawCanvas();
    DoubleClickCell(open);
  }
  std::string UndoText() {
    Window().History().UpdateMenu();
    return Window().Menus().MenuActions(command::kUndo).value(0)->text().toStdString();
  }
  // The canvas, the enlarged view and the readout all show what buffer 1 holds.
  void ExpectShown(const char* what) {
    const PictureBuffer& b = State().Buffer(1);
    EXPECT_EQ(ShownOnCanvas(CanvasShot()), b.Bytes()) << what;
    const int open = State().SelectedCell();
    ASSERT_NE(open, kNoCell) << what;
    EXPECT_EQ(Window().CellSidePanel()->CodeField()->text().toStdString(),
              CodeFieldText(b.Cell(open)))
        << what;
    const QImage zoom = ZoomShot();
    for (int n = 1; n <= kZoomSquareCount; ++n) {
      const Rect r = ZoomSquareRect(n);
      const bool lit = TestBit(b.Byte(open, SquareByte(n)), SquareRow(n)) != 0;
      ASSERT_EQ(At(zoom, r.x + 8, r.y + 8), Colour(lit ? colour::kPixelLit : colour::kSquareUnlit))
          << what << ", square " << n;
    }
  }
  CopyBufferDialog* Dialog() { return Window().Pictures().CopyDialog(); }
  const QList<ui::Message>& Messages() { return Platform().Messages(); }
};

TEST_F(PictureCommandsTest, EveryTransformIsOneStepAndEverythingShownFollows) {
  struct Case {
    int command;
    Transform transform;
    bool wrap;
    const char* label;
  };
  const Case cases[] = {
      {command::kInvert, Transform::kInvert, false, "инвертирование"},
      {command::kFlipHorizontal, Transform::kFlipHorizontal, false, "отражение"},
      {command::kFlipVertical, Transform::kFlipVertical, false, "отражение"},
      {command::kRotate180, Transform::kRotate180, false, "поворот"},
      {command::kShiftLeft, Transform::kShiftLeft, false, "сдвиг"},
      {command::kShiftRight, Transform::kShiftRight, true, "сдвиг"},
      {command::kShiftUp, Transform::kShiftUp, false, "сдвиг"},
      {command::kShiftDown, Transform::kShiftDown, true, "сдвиг"},
      {command::kShiftLeft, Transform::kShiftLeft, true, "сдвиг"},
      {command::kShiftDown, Transform::kShiftDown, false, "сдвиг"},
  };
  const PictureBytes start = RandomPicture(5);
  Prepare(start);
  PictureBytes expected = start;
  for (const Case& c : cases) {
    if (Window().Pictures().WrapShift() != c.wrap) Window().Dispatch(command::kShiftWrap);
    expected =
        Transformed(expected, c.transform, c.wrap ? ShiftEdge::kWrap : ShiftEdge::kFillUnlit);
    Window().Dispatch(c.command);
    EXPECT_EQ(State().Buffer(1).Bytes(), expected) << c.command;
    EXPECT_TRUE(State().BufferModified(1));
    EXPECT_EQ(UndoText(), std::string("Отменить: ") + c.label + "\tCtrl+Z");
    ExpectShown(c.label);
  }
  // One step each: as many undos take the picture back to what was saved.
  for (size_t i = 0; i < std::size(cases); ++i) Window().Dispatch(command::kUndo);
  EXPECT_EQ(State().Buffer(1).Bytes(), start);
  EXPECT_FALSE(State().BufferModified(1));
  ExpectShown("after the undos");
  EXPECT_EQ(Platform().Beeps(), 0);
}

TEST_F(PictureCommandsTest, ClearingAndCopyingABufferAreSteps) {
  State().Buffer(4).Bytes() = RandomPicture(4);
  Prepare(RandomPicture(1));

  Window().Dispatch(command::kCopyBuffer);
  ASSERT_NE(Dialog(), nullptr);
  QComboBox* list = Dialog()->SourceList();
  QStringList offered;
  for (int i = 0; i < list->count(); ++i) offered << list->itemText(i);
  EXPECT_EQ(offered, (QStringList{"Буфер 2", "Буфер 3", "Буфер 4", "Буфер 5", "Буфер 6", "Буфер 7",
                                  "Буфер 8", "Буфер 9", "Буфер 10"}));
  list->setCurrentIndex(2);
  Dialog()->reject();
  EXPECT_EQ(State().Buffer(1).Bytes(), RandomPicture(1)) << "cancelled: nothing copied";

  Window().Dispatch(command::kCopyBuffer);
  ASSERT_NE(Dialog(), nullptr);
  Dialog()->SourceList()->setCurrentIndex(2);
  QTest::mouseClick(Dialog()->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                    Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(State().Buffer(1).Bytes(), RandomPicture(4));
  EXPECT_EQ(State().Buffer(4).Bytes(), RandomPicture(4));
  EXPECT_FALSE(State().BufferModified(4));
  EXPECT_EQ(UndoText(), "Отменить: копирование буфера\tCtrl+Z");
  ExpectShown("copied");
  // The dialog proposes the buffer chosen last.
  Window().Dispatch(command::kCopyBuffer);
  EXPECT_EQ(Dialog()->Source(), 4);
  Dialog()->reject();

  Window().Dispatch(command::kClearBuffer);
  EXPECT_EQ(State().Buffer(1).Bytes(), PictureBytes{});
  EXPECT_EQ(UndoText(), "Отменить: очистка\tCtrl+Z");
  ExpectShown("cleared");
  Window().Dispatch(command::kUndo);
  EXPECT_EQ(State().Buffer(1).Bytes(), RandomPicture(4));

  // A command that changes nothing is no step and no change.
  Prepare(PictureBytes{});
  State().StartHistoryAfresh(1);
  Window().Dispatch(command::kClearBuffer);
  Window().Dispatch(command::kShiftLeft);
  EXPECT_FALSE(State().BufferModified(1));
  EXPECT_FALSE(State().History(1).CanUndo(State().Buffer(1).Bytes()));
}

TEST_F(PictureCommandsTest, CopiedPictureIsAnImageAndTheListingsBytes) {
  Prepare(RandomPicture(9));
  Window().Dispatch(command::kCopyPicture);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text().toStdString(), PictureHexText(RandomPicture(9)));
  const QImage image = qvariant_cast<QImage>(data->imageData());
  ASSERT_EQ(image.size(), QSize(128, 64));
  const PictureBuffer& b = State().Buffer(1);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) {
      ASSERT_EQ(QColor(image.pixel(x, y)), b.Pixel(x, y) ? QColor(Qt::black) : QColor(Qt::white))
          << x << ", " << y;
    }
  }
  EXPECT_FALSE(State().BufferModified(1)) << "copying changes nothing";

  // Back into another picture, as one step.
  Prepare(RandomPicture(2));
  Window().Dispatch(command::kPastePicture);
  EXPECT_EQ(State().Buffer(1).Bytes(), RandomPicture(9));
  EXPECT_TRUE(State().BufferModified(1));
  EXPECT_EQ(UndoText(), "Отменить: вставка рисунка\tCtrl+Z");
  ExpectShown("pasted");
}

TEST_F(PictureCommandsTest, PastesAnImageAsTheImportWouldAndOurTextAlone) {
  // Any image: the picture is what importing a file of it gives.
  QImage photo(300, 170, QImage::Format_RGB32);
  for (int y = 0; y < photo.height(); ++y) {
    for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(x % 256, y, (x * y) % 256));
  }
  QTemporaryDir dir;
  const QString path = dir.filePath("photo.png");
  ASSERT_TRUE(photo.save(path));
  const ImageDecodeResult imported = DecodeImageToPicture(path);
  ASSERT_EQ(imported.status, ImageDecodeStatus::kOk);
  Prepare(PictureBytes{});
  QGuiApplication::clipboard()->setImage(photo);
  Window().Dispatch(command::kPastePicture);
  EXPECT_EQ(State().Buffer(1).Bytes(), imported.bytes);
  ExpectShown("image pasted");

  // The hex text alone, as a text editor would hand it back.
  QString text = QString::fromStdString(PictureHexText(RandomPicture(3)));
  text.replace("\n", "\r\n");
  QGuiApplication::clipboard()->setText(text);
  Window().Dispatch(command::kPastePicture);
  EXPECT_EQ(State().Buffer(1).Bytes(), RandomPicture(3));
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(PictureCommandsTest, AnythingElseOnTheClipboardIsRefusedWithAMessage) {
  struct Case {
    const char* name;
    std::function<void(QClipboard*)> put;
    const char* text;
  };
  const std::string hex = PictureHexText(RandomPicture(3));
  const Case cases[] = {
      {"nothing", [](QClipboard* c) { c->clear(); }, kNoPictureText},
      {"other text", [](QClipboard* c) { c->setText("Lumigrid"); }, kNoPictureText},
      {"1023 bytes",
       [&](QClipboard* c) { c->setText(QString::fromStdString(hex.substr(0, hex.size() - 6))); },
       kNoPictureText},
      {"a listing line", [](QClipboard* c) { c->setText("  Dt   0x01,0x02"); }, kNoPictureText},
      // Wider than the 65535 pixels the import takes.
      {"an image too wide",
       [](QClipboard* c) { c->setImage(QImage(65536, 1, QImage::Format_Mono)); },
       kPictureTooLargeText},
  };
  Prepare(RandomPicture(6));
  const int steps = State().History(1).UndoCount();
  for (const Case& c : cases) {
    Platform().ClearRecords();
    c.put(QGuiApplication::clipboard());
    Window().Dispatch(command::kPastePicture);
    ASSERT_EQ(Messages().size(), 1) << c.name;
    EXPECT_EQ(Messages()[0].caption, "Вставить рисунок") << c.name;
    EXPECT_EQ(Messages()[0].text, QString::fromUtf8(c.text)) << c.name;
    EXPECT_EQ(Messages()[0].icon, ui::MessageIcon::kExclamation) << c.name;
    EXPECT_EQ(State().Buffer(1).Bytes(), RandomPicture(6)) << c.name;
    EXPECT_FALSE(State().BufferModified(1)) << c.name;
  }
  EXPECT_EQ(State().History(1).UndoCount(), steps);
}

TEST_F(PictureCommandsTest, DuringAnAnimationRunEveryNewCommandBeeps) {
  Prepare(RandomPicture(8));
  QGuiApplication::clipboard()->setText("unchanged");
  Window().Dispatch(command::kModeAnimation);
  AnimationPanel& animation = Window().Tools().Animation();
  animation.PictureList(1)->setCurrentIndex(1);
  animation.PictureList(2)->setCurrentIndex(2);
  QTest::mouseClick(animation.StartButton(), Qt::LeftButton);
  ASSERT_TRUE(animation.Running());
  for (int n = command::kInvert; n <= command::kPastePicture; ++n) {
    Platform().ClearRecords();
    Window().Dispatch(n);
    EXPECT_EQ(Platform().Beeps(), 1) << n;
    EXPECT_TRUE(Messages().isEmpty()) << n;
  }
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_FALSE(Window().Pictures().WrapShift());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "unchanged");
  QTest::mouseClick(animation.StopButton(), Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1).Bytes(), RandomPicture(8));
  EXPECT_FALSE(State().BufferModified(1));
}

TEST_F(PictureCommandsTest, WrapChoiceIsACheckMarkThatGoesToTheSettingsAtTheEnd) {
  QAction* wrap = Window().Menus().MenuActions(command::kShiftWrap).value(0);
  ASSERT_NE(wrap, nullptr);
  EXPECT_TRUE(wrap->isCheckable());
  EXPECT_FALSE(wrap->isChecked());
  EXPECT_FALSE(Window().CollectSettings().wrap_shift);
  Window().Dispatch(command::kShiftWrap);
  EXPECT_TRUE(wrap->isChecked());
  EXPECT_TRUE(Window().CollectSettings().wrap_shift);
}

class StoredWrap : public PictureCommandsTest {
 protected:
  StoredWrap() { settings_.wrap_shift = true; }
};

TEST_F(StoredWrap, StartsWithTheMarkAndShiftsAround) {
  EXPECT_TRUE(Window().Menus().MenuActions(command::kShiftWrap).value(0)->isChecked());
  PictureBuffer corner;
  corner.SetPixel(0, 0, true);
  Prepare(corner.Bytes());
  Window().Dispatch(command::kShiftLeft);
  Window().Dispatch(command::kShiftUp);
  EXPECT_TRUE(State().Buffer(1).Pixel(127, 63));
}

}  // namespace
}  // namespace lumigrid::testing_support
