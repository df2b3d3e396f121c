// "Рисунок → Импорт с настройками…": its defaults are the editor's own import, every control
// is the core conversion, and "Ok" writes one history step per buffer after the usual
// questions; an animation fills consecutive buffers.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <fstream>

#include "app/commands.h"
#include "app/import_commands.h"
#include "file_test_support.h"
#include "files/gif_encode.h"
#include "files/image_import.h"
#include "files/import_dialog.h"
#include "picture/canvas_widget.h"

namespace lumigrid::testing_support {
namespace {

// A colour photo-like image: ramps in every channel, so each option changes something.
QImage Photo(int width, int height, QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 255 / width, (x + 2 * y) % 256, y * 255 / height));
  return image.convertToFormat(format);
}

// Alpha rising from left to right over the photo.
QImage Translucent(int width, int height) {
  QImage image = Photo(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, (image.pixel(x, y) & 0xFFFFFF) | uint32_t(x * 255 / width) << 24);
  return image;
}

class ImportWithSettings : public FileTest {
 protected:
  // Chooses the files in the open dialog of the menu item; the dialog is then open.
  ImportDialog* Open(const QStringList& paths) {
    Platform().QueueFiles(paths);
    Window().Dispatch(command::kImportWithSettings);
    return Window().Imports().Dialog();
  }
  ImportDialog* Open(const std::string& path) { return Open(QStringList{Q(path)}); }

  std::string Gif(const std::string& name, const std::vector<PictureBytes>& frames) {
    return WriteFile(name, *EncodeGifAnimation(frames, RenderLook::kPlain, 1, 100));
  }

  static void Ok(ImportDialog* dialog) { QTest::mouseClick(dialog->OkButton(), Qt::LeftButton); }
};

TEST_F(ImportWithSettings, DefaultsGiveTheEditorsImportOfEveryKindOfFile) {
  const std::string paths[] = {
      SaveImage(Photo(400, 300), "photo.jpg", "JPEG"),
      SaveImage(Photo(300, 171), "ramp.png", "PNG"),
      SaveImage(Translucent(97, 41), "alpha.png", "PNG"),
      SaveImage(Photo(200, 100, QImage::Format_RGB888), "colour.bmp", "BMP"),
      SaveImage(Photo(333, 120, QImage::Format_Mono), "mono.bmp", "BMP"),
      SaveImage(Photo(128, 64, QImage::Format_Grayscale8), "grey.png", "PNG"),
      SaveImage(Photo(64, 64), "jpeg_named.png", "JPEG"),  // the content decides
  };
  for (const std::string& path : paths) {
    State().MarkClean(1);  // no question about the import before
    ASSERT_TRUE(Files().ImportImage(path, 2)) << path;
    const PictureBytes editors = State().Buffer(2).Bytes();

    ImportDialog* dialog = Open(path);
    ASSERT_NE(dialog, nullptr) << path;
    // Whatever the controls showed, "По умолчанию" brings back the editor's import.
    dialog->ThresholdField()->setValue(17);
    dialog->DitherList()->setCurrentIndex(2);
    dialog->FitList()->setCurrentIndex(1);
    dialog->BrightnessField()->setValue(30);
    QTest::mouseClick(dialog->DefaultsButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->Options(), ConversionOptions{}) << path;
    Ok(dialog);
    EXPECT_EQ(State().Buffer(1).Bytes(), editors) << path;
  }
  EXPECT_TRUE(Shown().isEmpty()) << Shown().join("\n").toStdString();
}

TEST_F(ImportWithSettings, EachControlIsTheCoreConversion) {
  const std::string path = SaveImage(Photo(360, 120), "wide.png", "PNG");
  ImportDialog* dialog = Open(path);
  ASSERT_NE(dialog, nullptr);
  struct Case {
    const char* name;
    std::function<void(ImportDialog*)> set;
    ConversionOptions expected;
  };
  const Case cases[] = {
      {"threshold slider",
       [](ImportDialog* d) { d->ThresholdSlider()->setValue(90); },
       {.threshold = 90}},
      {"threshold field",
       [](ImportDialog* d) { d->ThresholdField()->setValue(160); },
       {.threshold = 160}},
      {"invert", [](ImportDialog* d) { d->InvertBox()->click(); }, {.invert = true}},
      {"contain",
       [](ImportDialog* d) { d->FitList()->setCurrentIndex(1); },
       {.fit = Fit::kContain, .margin = Margin::kUnlit}},
      {"contain, lit margin",
       [](ImportDialog* d) {
         d->FitList()->setCurrentIndex(1);
         d->MarginList()->setCurrentIndex(1);
       },
       {.fit = Fit::kContain, .margin = Margin::kLit}},
      {"cover", [](ImportDialog* d) { d->FitList()->setCurrentIndex(2); }, {.fit = Fit::kCover}},
      {"Floyd-Steinberg",
       [](ImportDialog* d) { d->DitherList()->setCurrentIndex(1); },
       {.dither = Dither::kFloydSteinberg}},
      {"Atkinson",
       [](ImportDialog* d) { d->DitherList()->setCurrentIndex(2); },
       {.dither = Dither::kAtkinson}},
      {"ordered 4",
       [](ImportDialog* d) { d->DitherList()->setCurrentIndex(3); },
       {.dither = Dither::kOrdered4}},
      {"ordered 8",
       [](ImportDialog* d) { d->DitherList()->setCurrentIndex(4); },
       {.dither = Dither::kOrdered}},
      {"brightness",
       [](ImportDialog* d) { d->BrightnessSlider()->setValue(-45); },
       {.brightness = -45}},
      {"contrast", [](ImportDialog* d) { d->ContrastField()->setValue(70); }, {.contrast = 70}},
  };
  for (const Case& c : cases) {
    QTest::mouseClick(dialog->DefaultsButton(), Qt::LeftButton);
    c.set(dialog);
    const ConversionOptions& expected = c.expected;
    EXPECT_EQ(dialog->Options(), expected) << c.name;
    const PictureBytes bytes = DecodeImageFile(path, expected).bytes;
    EXPECT_EQ(dialog->Result(0), bytes) << c.name;
    // The preview is the canvas's drawing of that picture.
    CanvasWidget canvas;
    PictureBuffer picture;
    picture.Bytes() = bytes;
    canvas.DrawPicture(picture);
    EXPECT_EQ(dialog->ResultView()->Image(), canvas.Image()) << c.name;
  }
  // Thresholds mean nothing to dithering; margins only to a contained image.
  EXPECT_TRUE(dialog->ThresholdField()->isEnabled());
  dialog->DitherList()->setCurrentIndex(1);
  EXPECT_FALSE(dialog->ThresholdField()->isEnabled());
  EXPECT_FALSE(dialog->MarginList()->isEnabled());
  dialog->FitList()->setCurrentIndex(1);
  EXPECT_TRUE(dialog->MarginList()->isEnabled());
}

TEST_F(ImportWithSettings, OkWritesOneHistoryStepAndCancelChangesNothing) {
  const std::string path = SaveImage(Photo(256, 128), "photo.png", "PNG");
  Prepare(4, Pattern(3), PathOf("mine.chr"), false);
  State().MarkClean(4);  // as if opened from the file
  State().StartHistoryAfresh(4);
  State().SetCurrentBuffer(4);

  ImportDialog* dialog = Open(path);
  dialog->ThresholdField()->setValue(120);
  QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
  EXPECT_EQ(State().Buffer(4).Bytes(), Pattern(3));
  EXPECT_FALSE(State().BufferModified(4));
  EXPECT_FALSE(State().History(4).CanUndo(State().Buffer(4).Bytes()));

  dialog = Open(path);
  EXPECT_EQ(dialog->TargetBuffer(), 4) << "the current buffer";
  dialog->ThresholdField()->setValue(120);
  Ok(dialog);
  const PictureBytes imported = DecodeImageFile(path, {.threshold = 120}).bytes;
  EXPECT_EQ(State().Buffer(4).Bytes(), imported);
  EXPECT_TRUE(State().BufferModified(4));
  EXPECT_EQ(State().BufferFileName(4), PathOf("mine.chr")) << "an edit, not an opened file";
  EXPECT_EQ(State().History(4).UndoLabel(imported), "импорт");
  CanvasWidget canvas;
  canvas.DrawPicture(State().Buffer(4));
  EXPECT_EQ(Window().Canvas()->Image(), canvas.Image()) << "the current buffer is redrawn";
  Window().Dispatch(command::kUndo);
  EXPECT_EQ(State().Buffer(4).Bytes(), Pattern(3));
  EXPECT_FALSE(State().BufferModified(4));
  EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(ImportWithSettings, AGifOfThreeFramesFillsBuffersThreeToFive) {
  const std::vector<PictureBytes> frames{Pattern(1), Pattern(2), Pattern(5)};
  const std::string gif = Gif("three.gif", frames);
  Prepare(4, Pattern(9), "", true);  // unsaved: asked about, and given up
  State().RecordEdit(4, "рисование");

  ImportDialog* dialog = Open(gif);
  ASSERT_NE(dialog, nullptr);
  dialog->BufferList()->setCurrentIndex(2);
  EXPECT_EQ(dialog->TargetBuffer(), 3);
  EXPECT_EQ(dialog->FrameLabel()->text(), "Кадр 1 из 3");
  EXPECT_EQ(dialog->PlanLabel()->text(), "Кадров: 3, в буферы 3–5.");
  // The preview steps through the frames; the settings apply to all of them.
  EXPECT_FALSE(dialog->PreviousButton()->isEnabled());
  QTest::mouseClick(dialog->NextButton(), Qt::LeftButton);
  QTest::mouseClick(dialog->NextButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->ShownFrame(), 2);
  EXPECT_FALSE(dialog->NextButton()->isEnabled());
  EXPECT_EQ(dialog->FrameLabel()->text(), "Кадр 3 из 3");

  Platform().QueueAnswer(ui::Answer::kNo);
  Ok(dialog);
  EXPECT_EQ(Shown(), QStringList{Question("Сохранение файла",
                                          "Данные не были сохранены, сохранить их сейчас?")});
  for (int i = 0; i < 3; ++i) {
    const int b = 3 + i;
    EXPECT_EQ(State().Buffer(b).Bytes(), frames[static_cast<std::size_t>(i)]) << b;
    EXPECT_TRUE(State().BufferModified(b)) << b;
    EXPECT_EQ(State().History(b).UndoLabel(State().Buffer(b).Bytes()), "импорт") << b;
  }
  EXPECT_EQ(State().Buffer(1).Bytes(), PictureBytes{});
  EXPECT_EQ(State().Buffer(6).Bytes(), PictureBytes{});
  // One step each: undoing buffer 4's brings back what it held before the import.
  State().SetCurrentBuffer(4);
  Window().Dispatch(command::kUndo);
  EXPECT_EQ(State().Buffer(4).Bytes(), Pattern(9));
}

TEST_F(ImportWithSettings, ACancelledQuestionWritesNoBufferAtAll) {
  const std::string gif = Gif("two.gif", {Pattern(1), Pattern(2)});
  Prepare(2, Pattern(7), PathOf("kept.chr"), true);
  ImportDialog* dialog = Open(gif);
  Platform().QueueAnswer(ui::Answer::kCancel);
  Ok(dialog);
  EXPECT_EQ(State().Buffer(1).Bytes(), PictureBytes{});
  EXPECT_EQ(State().Buffer(2).Bytes(), Pattern(7));
  EXPECT_TRUE(State().BufferModified(2));
}

TEST_F(ImportWithSettings, FramesPastTheLastBufferAreCountedAndReported) {
  std::vector<PictureBytes> frames;
  for (int i = 0; i < 13; ++i) frames.push_back(Pattern(i + 20));
  const std::string gif = Gif("long.gif", frames);
  ImportDialog* dialog = Open(gif);
  EXPECT_EQ(dialog->FrameLabel()->text(), "Кадр 1 из 10 (всего 13)");
  EXPECT_EQ(dialog->PlanLabel()->text(), "Кадров: 13, в буферы 1–10; не поместятся: 3.");
  dialog->BufferList()->setCurrentIndex(7);
  EXPECT_EQ(dialog->PlanLabel()->text(), "Кадров: 13, в буферы 8–10; не поместятся: 10.");
  Ok(dialog);
  EXPECT_EQ(Shown(),
            QStringList{"Импорт с настройками | Буферов хватило не на все кадры: 10 из 13 не "
                        "импортированы. | information ok"});
  for (int b = 8; b <= 10; ++b) EXPECT_EQ(State().Buffer(b).Bytes(), frames[b - 8]) << b;
  EXPECT_EQ(State().Buffer(7).Bytes(), PictureBytes{});
}

TEST_F(ImportWithSettings, SeveralFilesAreFramesInTheOrderChosen) {
  const std::string a = Gif("a.gif", {Pattern(1), Pattern(2)});
  const std::string b = SaveImage(Photo(200, 100), "b.png", "PNG");
  ImportDialog* dialog = Open(QStringList{Q(a), Q(b)});
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Session().FrameCount(), 3);
  Ok(dialog);
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern(1));
  EXPECT_EQ(State().Buffer(2).Bytes(), Pattern(2));
  EXPECT_EQ(State().Buffer(3).Bytes(), DecodeImageFile(b).bytes);
}

TEST_F(ImportWithSettings, ShiftDropTakesEveryImageToTheDialog) {
  const std::string a = SaveImage(Photo(64, 32), "a.png", "PNG");
  const std::string b = Gif("b.gif", {Pattern(4), Pattern(5)});
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Q(a)), QUrl::fromLocalFile(Q(b))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(&Window(), &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(&Window(), &drop);
  QCoreApplication::sendPostedEvents();
  ImportDialog* dialog = Window().Imports().Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Session().FrameCount(), 3);
  QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
  EXPECT_EQ(State().Buffer(1).Bytes(), PictureBytes{});
  EXPECT_EQ(State().BufferFileName(1), "");

  // Without Shift the drop is the editor's own: the first file into the current buffer.
  Drop({QUrl::fromLocalFile(Q(a)), QUrl::fromLocalFile(Q(b))});
  EXPECT_EQ(State().BufferFileName(1), a);
  EXPECT_EQ(State().Buffer(1).Bytes(), DecodeImageFile(a).bytes);
}

TEST_F(ImportWithSettings, FilesThatCannotBeImportedAreReportedAsTheEditorDoes) {
  // A GIF of a 65535 x 65535 screen: refused with the editor's message before anything is kept.
  const std::string huge = WriteFile(
      "huge.gif", std::string("GIF89a\xFF\xFF\xFF\xFF\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00;", 20));
  EXPECT_EQ(Open(huge), nullptr);
  EXPECT_EQ(Shown(), QStringList{ErrorMessage(
                         "Lumigrid v 3.8  —  Ошибка",
                         "Не удалось загрузить рисунок\n" + Q(huge) + "\nВозможно он повреждён")});
  Platform().ClearRecords();

  const std::string text = WriteFile("photo.gif", "GIF89a and then nothing");
  EXPECT_EQ(Open(text), nullptr);
  const std::string missing = PathOf("missing.png");
  EXPECT_EQ(Open(QStringList{Q(missing)}), nullptr);  // left out silently, like a folder
  const std::string good = SaveImage(Photo(64, 32), "good.png", "PNG");
  EXPECT_EQ(Open(QStringList{Q(good), Q(text)}), nullptr);
  EXPECT_EQ(
      Shown(),
      (QStringList{
          ErrorMessage("Lumigrid v 3.8  —  Ошибка",
                       "Не удалось загрузить рисунок\n" + Q(text) + "\nВозможно он повреждён"),
          ErrorMessage("Lumigrid v 3.8  —  Ошибка",
                       "Не удалось загрузить рисунок\n" + Q(text) + "\nВозможно он повреждён")}));
  EXPECT_EQ(State().Buffer(1).Bytes(), PictureBytes{});
  Platform().ClearRecords();
  Window().Dispatch(command::kImportWithSettings);  // the open dialog cancelled
  EXPECT_EQ(Window().Imports().Dialog(), nullptr);
  ASSERT_EQ(Platform().Dialogs().size(), 1);
  EXPECT_EQ(Platform().Dialogs()[0].request.filter,
            "Рисунки в форматах BMP, JPG, PNG, GIF|*.bmp;*.jpg;*.jpeg;*.png;*.gif|Все файлы|*.*");
  EXPECT_TRUE(Platform().Dialogs()[0].request.several);
}

TEST_F(ImportWithSettings, TheLastSettingsAreKeptBetweenRuns) {
  const std::string path = SaveImage(Photo(200, 100), "p.png", "PNG");
  ImportDialog* dialog = Open(path);
  dialog->DitherList()->setCurrentIndex(2);
  dialog->ContrastField()->setValue(-20);
  dialog->InvertBox()->setChecked(true);
  Ok(dialog);
  const Settings stored = Window().CollectSettings();
  const ConversionOptions expected{.invert = true, .dither = Dither::kAtkinson, .contrast = -20};
  EXPECT_EQ(stored.import, expected);

  // The next run opens the dialog as it was left.
  MainWindow next(Platform(), stored);
  Platform().QueueFiles({Q(path)});
  next.Dispatch(command::kImportWithSettings);
  ASSERT_NE(next.Imports().Dialog(), nullptr);
  EXPECT_EQ(next.Imports().Dialog()->Options(), expected);
  QTest::mouseClick(next.Imports().Dialog()->CancelButton(), Qt::LeftButton);
}

}  // namespace
}  // namespace lumigrid::testing_support
