// Open, Save, Save as, image import, recent files, dropped files and the start-up file,
// driven through the command table and the scripted dialogs.
#include <QAction>
#include <QMenu>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "app/commands.h"
#include "app/main_menus.h"
#include "app/startup.h"
#include "codegen/listing_view.h"
#include "core/failing_writes.h"
#include "core/test_pictures.h"
#include "file_test_support.h"
#include "picture/editor.h"

namespace lumigrid::testing_support {
namespace {

using lumigrid::testing::Filled;

const char* const kTitle = "Lumigrid v 3.8  —  ";

QImage Black(int width, int height, QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image.convertToFormat(format);
}

using PictureFiles = FileTest;

TEST_F(PictureFiles, OpenReadsThePictureIntoTheCurrentBufferAndShowsIt) {
  Window().Editor().SwitchBuffer(2);
  PictureBytes bytes{};
  bytes[0] = 0x01;  // pixel (0, 0)
  const std::string path = WritePicture("logo.chr", bytes);
  Platform().QueueFile(Q(path));
  Window().Dispatch(command::kOpen);

  ASSERT_EQ(Platform().Dialogs().size(), 1);
  const ui::FileDialogRequest& dialog = Platform().Dialogs()[0].request;
  EXPECT_FALSE(Platform().Dialogs()[0].save);
  EXPECT_EQ(dialog.title, "Открыть файл...");
  EXPECT_EQ(dialog.filter,
            "Font Files (*.chr)|*.chr|Рисунки в форматах BMP, JPG, PNG|*.bmp;*.jpg;*.png|"
            "Все файлы|*.*");
  EXPECT_EQ(State().Buffer(3).Bytes(), bytes);
  EXPECT_EQ(State().Buffer(1).Bytes(), PictureBytes{}) << "only the current buffer changes";
  EXPECT_EQ(State().BufferFileName(3), path);
  EXPECT_FALSE(State().BufferModified(3));
  EXPECT_EQ(Window().windowTitle(), kTitle + Q(path));
  EXPECT_EQ(At(CanvasShot(), 1, 1), Colour(colour::kPixelLit));
  EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(PictureFiles, OpenDialogStartsAtTheNewestRecentFile) {
  struct Case {
    const char* newest;
    int filter;
  };
  const Case cases[] = {{"", 0}, {"/pics/logo.chr", 0}, {"/pics/Photo.PNG", 1}};
  for (const Case& c : cases) {
    State().Recent().SetEntry(1, c.newest);
    Platform().ClearRecords();
    Window().Dispatch(command::kOpen);  // cancelled: nothing changes
    ASSERT_EQ(Platform().Dialogs().size(), 1);
    EXPECT_EQ(Platform().Dialogs()[0].request.selected_filter, c.filter) << c.newest;
    EXPECT_EQ(Platform().Dialogs()[0].request.start_path, c.newest);
    EXPECT_EQ(State().BufferFileName(1), "");
  }
}

TEST_F(PictureFiles, ShortLongAndEmptyFilesLoadAsMuchAsThereIs) {
  const PictureBytes pattern = Pattern();
  struct Case {
    std::size_t size;
    int bytes_used;
  };
  for (const Case& c : {Case{10, 10}, Case{5000, 1024}, Case{0, 0}, Case{1024, 1024}}) {
    std::string content(c.size, '\0');
    for (std::size_t i = 0; i < c.size; ++i) content[i] = static_cast<char>(pattern[i % 1024]);
    const std::string path = WriteFile("f" + std::to_string(c.size) + ".chr", content);
    Prepare(1, Filled(0xFF), "", false);
    Files().OpenSelectedFile(path);
    PictureBytes expected{};
    std::copy_n(pattern.begin(), c.bytes_used, expected.begin());
    EXPECT_EQ(State().Buffer(1).Bytes(), expected) << c.size << " bytes";
    EXPECT_EQ(State().BufferFileName(1), path);
    EXPECT_EQ(State().Recent().Entry(1), path) << "an empty file is a success too";
  }
  EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(PictureFiles, FailedOpenChangesNothing) {
  const std::string old_name = PathOf("old.chr");
  std::vector<std::string> paths = {PathOf("gone.chr"), PathOf(""), PathOf("gone.png")};
#ifndef _WIN32
  // A FIFO must be refused without waiting for a writer that never comes.
  for (const char* fifo : {"pipe.chr", "pipe.png"}) {
    ASSERT_EQ(mkfifo(PathOf(fifo).c_str(), 0644), 0);
    paths.push_back(PathOf(fifo));
  }
#endif
  for (const std::string& path : paths) {
    Prepare(1, Pattern(), old_name);
    Platform().ClearRecords();
    Files().OpenSelectedFile(path);
    EXPECT_EQ(Shown(), QStringList{ErrorMessage("Ошибка", "Не удалось открыть файл\n" + Q(path))});
    EXPECT_EQ(State().Buffer(1).Bytes(), Pattern()) << path;
    EXPECT_EQ(State().BufferFileName(1), old_name) << path;
    EXPECT_TRUE(State().BufferModified(1)) << path;
    EXPECT_EQ(Window().windowTitle(), kTitle + Q(old_name));
    EXPECT_EQ(State().Recent().Entry(1), "") << path;
  }
}

TEST_F(PictureFiles, ContentDecidesTheImageFormatAndTheExtensionTheRoute) {
  QImage corners(128, 64, QImage::Format_RGB32);
  corners.fill(Qt::white);
  corners.setPixel(0, 0, qRgb(0, 0, 0));
  corners.setPixel(127, 63, qRgb(0, 0, 0));
  PictureBytes corner_bytes{};
  corner_bytes[0] = 0x01;
  corner_bytes[1023] = 0x80;
  struct Case {
    std::string path;
    PictureBytes expected;
  };
  const Case cases[] = {
      {SaveImage(Black(256, 128), "Picture.BMP", "BMP"), Filled(0xFF)},
      {SaveImage(corners, "corners.png", "PNG"), corner_bytes},
      {SaveImage(Black(64, 64), "photo.png", "JPEG"), Filled(0xFF)},
      {SaveImage(Black(64, 64, QImage::Format_Mono), "mono.bmp", "BMP"), Filled(0xFF)},
      // Not images by name: read as picture files, whatever they hold.
      {WriteFile("notes.txt", "\x01\x02\x03"), PictureBytes{0x01, 0x02, 0x03}},
      {WriteFile("data", "\x80"), PictureBytes{0x80}},
  };
  for (const Case& c : cases) {
    Prepare(1, Pattern(), "", false);
    Files().OpenSelectedFile(c.path);
    EXPECT_EQ(State().Buffer(1).Bytes(), c.expected) << c.path;
    EXPECT_EQ(State().BufferFileName(1), c.path);
    EXPECT_EQ(State().Recent().Entry(1), c.path);
  }
  EXPECT_TRUE(Shown().isEmpty()) << Shown().join("\n").toStdString();
}

TEST_F(PictureFiles, UndecodableImageKeepsThePixelsButTakesTheName) {
  const std::string path = WriteFile("photo.jpg", "just some text, not a JPEG");
  Prepare(1, Pattern(), PathOf("old.chr"));
  Files().OpenSelectedFile(path);
  EXPECT_EQ(Shown(), QStringList{ErrorMessage(
                         "Lumigrid v 3.8  —  Ошибка",
                         "Не удалось загрузить рисунок\n" + Q(path) + "\nВозможно он повреждён")});
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern());
  EXPECT_EQ(State().BufferFileName(1), path);
  EXPECT_EQ(Window().windowTitle(), kTitle + Q(path));
  EXPECT_FALSE(State().BufferModified(1));
  EXPECT_EQ(State().Recent().Entry(1), "");
}

TEST_F(PictureFiles, SaveAsCompletesTheNameOnlyWithoutAnExtension) {
  struct Case {
    std::string typed;
    std::string written;
    bool later_save_asks;
  };
  const Case cases[] = {
      {"pic", "pic.chr", false},
      {"pic.bin", "pic.bin", true},
      {"Pic.CHR", "Pic.CHR", false},
  };
  for (const Case& c : cases) {
    Prepare(1, Pattern(), "", true);
    Platform().ClearRecords();
    Platform().QueueFile(Q(PathOf(c.typed)));
    Window().Dispatch(command::kSaveAs);
    const std::string path = PathOf(c.written);
    ASSERT_EQ(Platform().Dialogs().size(), 1);
    const ui::FileDialogRequest& dialog = Platform().Dialogs()[0].request;
    EXPECT_TRUE(Platform().Dialogs()[0].save);
    EXPECT_EQ(dialog.title, "Сохранить файл...");
    EXPECT_EQ(dialog.filter, "Font Files (*.chr)|*.chr|All Files|*.*");
    EXPECT_EQ(dialog.selected_filter, 0);
    EXPECT_EQ(dialog.start_path, "");
    EXPECT_EQ(ReadAll(path), AsText(Pattern())) << c.typed;
    EXPECT_EQ(State().BufferFileName(1), path);
    EXPECT_EQ(Window().windowTitle(), kTitle + Q(path));
    EXPECT_FALSE(State().BufferModified(1));
    EXPECT_EQ(State().Recent().Entry(1), path);

    State().Buffer(1).SetByte(1, 1, 0xAA);
    Window().Dispatch(command::kSave);  // the dialog is cancelled if it comes up
    EXPECT_EQ(Platform().Dialogs().size(), c.later_save_asks ? 2 : 1) << c.typed;
    EXPECT_EQ(ReadAll(path)[0], c.later_save_asks ? '\x01' : '\xAA') << c.typed;
  }
}

TEST_F(PictureFiles, SaveAsksForANameUnlessTheBufferIsAPictureFile) {
  for (const std::string& name : {std::string(), PathOf("photo.png"), PathOf("a.CHR")}) {
    const bool direct = !name.empty() && name.ends_with("CHR");
    Prepare(1, Pattern(), name);
    Platform().ClearRecords();
    Window().Dispatch(command::kSave);
    EXPECT_EQ(Platform().Dialogs().size(), direct ? 0 : 1) << name;
    EXPECT_EQ(State().BufferModified(1), !direct) << name;
    if (direct) {
      EXPECT_EQ(ReadAll(name), AsText(Pattern()));
    }
  }
}

#ifndef _WIN32
TEST_F(PictureFiles, FailedSaveKeepsTheFileThatWasThere) {
  // The write fails after the old file was found writable: the case where a direct rewrite
  // would already have truncated it.
  const std::string path = WriteFile("pic.chr", "old content");
  Prepare(1, Pattern(), path);
  {
    testing::FileSizeLimit disk_full(100);
    Window().Dispatch(command::kSave);
  }
  EXPECT_EQ(Shown(), QStringList{ErrorMessage("Ошибка", "Не удалось сохранить файл\n" + Q(path))});
  EXPECT_EQ(ReadAll(path), "old content");
  EXPECT_TRUE(State().BufferModified(1));
  EXPECT_EQ(State().Recent().Entry(1), "");
  EXPECT_EQ(folder_.Entries().size(), 1u) << "no temporary file is left behind";
}
#endif

TEST_F(PictureFiles, FailedSaveAsStillNamesTheBuffer) {
  const std::string path = PathOf("missing/pic.chr");
  Prepare(1, Pattern(), "");
  Platform().QueueFile(Q(PathOf("missing/pic")));
  Window().Dispatch(command::kSaveAs);
  EXPECT_EQ(Shown(), QStringList{ErrorMessage("Ошибка", "Не удалось сохранить файл\n" + Q(path))});
  EXPECT_EQ(State().BufferFileName(1), path);
  EXPECT_EQ(Window().windowTitle(), kTitle + Q(path));
  EXPECT_TRUE(State().BufferModified(1));
}

// Labels of items 30..39 in one menu; the submenu and the open button's drop-down must agree.
QStringList RecentLabels(MainMenus& menus, int which) {
  QStringList labels;
  for (int n = command::kRecentFirst; n <= command::kRecentLast; ++n) {
    labels << menus.MenuActions(n).value(which)->text();
  }
  return labels;
}

TEST_F(PictureFiles, RecentItemsFollowOpensInBothMenus) {
  const std::string a = WritePicture("a.chr", Pattern(1));
  const std::string b = WritePicture("b.chr", Pattern(2));
  Files().OpenSelectedFile(a);
  Files().OpenSelectedFile(b);
  QStringList expected{"1)    " + Q(b), "2)    " + Q(a)};
  for (int i = 3; i <= 10; ++i) expected << QString("%1)    ").arg(i);
  ASSERT_EQ(Window().Menus().MenuActions(command::kRecentFirst).size(), 2);
  EXPECT_EQ(RecentLabels(Window().Menus(), 0), expected);
  EXPECT_EQ(RecentLabels(Window().Menus(), 1), expected);

  Window().Dispatch(command::kRecentFirst + 1);  // "2)    a"
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern(1));
  EXPECT_EQ(State().Recent().Entry(1), a);
  EXPECT_EQ(State().Recent().Entry(2), b);
}

TEST_F(PictureFiles, EmptyRecentEntryDoesNothingNotEvenAsk) {
  Prepare(1, Pattern(), "");
  Window().Dispatch(command::kRecentFirst + 4);
  EXPECT_TRUE(Shown().isEmpty());
  EXPECT_TRUE(Platform().Dialogs().isEmpty());
  EXPECT_TRUE(State().BufferModified(1));
}

TEST_F(PictureFiles, VanishedRecentFileShowsWhyAndStaysListed) {
  const std::string gone = PathOf("gone.chr");
  State().Recent().SetEntry(1, gone);
  Window().Dispatch(command::kRecentFirst);
  EXPECT_EQ(Shown(), QStringList{ErrorMessage("Ошибка", "Не удалось открыть файл\n" + Q(gone))});
  EXPECT_EQ(State().Recent().Entry(1), gone);
}

TEST_F(PictureFiles, DropOpensOnlyTheFirstFile) {
  const std::string first = WritePicture("first.chr", Pattern(1));
  const std::string second = WritePicture("second.chr", Pattern(2));
  const std::string third = SaveImage(Black(8, 8), "third.png", "PNG");
  Drop({QUrl::fromLocalFile(Q(first)), QUrl::fromLocalFile(Q(second)),
        QUrl::fromLocalFile(Q(third))});
  EXPECT_EQ(State().Buffer(1).Bytes(), Pattern(1));
  EXPECT_EQ(State().Recent().Entry(1), first);
  EXPECT_EQ(State().Recent().Entry(2), "");
}

TEST_F(PictureFiles, DropsOverTheListingViewsReachTheWindow) {
  // The window system gives a drop to the nearest widget that accepts drops.
  EXPECT_TRUE(Window().acceptDrops());
  for (int b = 1; b <= 10; ++b) {
    EXPECT_FALSE(Window().Listing(b)->acceptDrops()) << b;
    EXPECT_FALSE(Window().Listing(b)->viewport()->acceptDrops()) << b;
  }
}

TEST_F(PictureFiles, DropOfAnythingElseIsIgnoredSilently) {
  std::filesystem::create_directory(folder_.Path() / "folder.chr");
  const QList<QUrl> drops[] = {
      {QUrl::fromLocalFile(Q(WriteFile("notes.txt", "text")))},
      {QUrl::fromLocalFile(Q(PathOf("folder.chr")))},
      {QUrl::fromLocalFile(Q(WriteFile("empty.chr", "")))},
      {QUrl("https://example.com/logo.chr")},
  };
  for (const QList<QUrl>& urls : drops) {
    Prepare(1, Pattern(), "", true);  // a prompt would show if the drop went on
    Drop(urls);
    EXPECT_EQ(State().Buffer(1).Bytes(), Pattern()) << urls[0].toString().toStdString();
    EXPECT_TRUE(State().BufferModified(1));
  }
  EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(PictureFiles, StartupFileOpensWhenItHasContentWhateverItsName) {
  struct Case {
    QStringList parameters;
    PictureBytes expected;
  };
  const Case cases[] = {
      {{}, PictureBytes{}},
      {{Q(PathOf("gone.chr"))}, PictureBytes{}},
      {{Q(WriteFile("empty.chr", ""))}, PictureBytes{}},
      {{"", Q(WritePicture("second.chr", Pattern()))}, PictureBytes{}},
      {{Q(WriteFile("notes.txt", "\x07"))}, PictureBytes{0x07}},
      {{Q(SaveImage(Black(128, 64), "start.png", "PNG"))}, Filled(0xFF)},
  };
  for (const Case& c : cases) {
    Prepare(1, PictureBytes{}, "", false);
    OpenCommandLineFile(Window(), c.parameters);
    EXPECT_EQ(State().Buffer(1).Bytes(), c.expected) << c.parameters.join(",").toStdString();
  }
  EXPECT_TRUE(Shown().isEmpty());
}

}  // namespace
}  // namespace lumigrid::testing_support
