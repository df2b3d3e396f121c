// A main window with a temporary folder for the files a test opens and saves, and short
// descriptions of what the scripted platform was asked to show.
#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <iterator>
#include <string>

#include "app/file_commands.h"
#include "core/file_bytes.h"
#include "core/temp_folder.h"
#include "files/safe_file.h"
#include "test_support.h"

namespace lumigrid::testing_support {

using lumigrid::testing::ReadAll;

// "caption | text | icon buttons": one line per message, so a test compares all at once.
inline QString Describe(const ui::Message& m) {
  static const char* const kIcons[] = {"none", "information", "question", "exclamation", "error"};
  static const char* const kButtons[] = {"ok", "yes/no", "yes/no/cancel"};
  return QString("%1 | %2 | %3 %4")
      .arg(m.caption, m.text, kIcons[static_cast<int>(m.icon)],
           kButtons[static_cast<int>(m.buttons)]);
}

inline QString ErrorMessage(const QString& caption, const QString& text) {
  return caption + " | " + text + " | error ok";
}

inline QString Question(const QString& caption, const QString& text) {
  return caption + " | " + text + " | question yes/no/cancel";
}

// A picture whose every byte differs from its neighbours', so misplaced bytes show.
inline PictureBytes Pattern(int seed = 1) {
  PictureBytes bytes{};
  for (int i = 0; i < kPictureBytes; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + seed);
  return bytes;
}

class FileTest : public MainWindowTest {
 protected:
  FileCommands& Files() { return Window().Files(); }

  std::string PathOf(const std::string& name) const { return folder_.File(name); }

  std::string WriteFile(const std::string& name, const std::string& bytes) {
    lumigrid::testing::WriteRaw(PathFromUtf8(PathOf(name)), bytes);
    return PathOf(name);
  }
  std::string WritePicture(const std::string& name, const PictureBytes& bytes) {
    return WriteFile(name, std::string(bytes.begin(), bytes.end()));
  }
  std::string SaveImage(const QImage& image, const std::string& name, const char* format) {
    EXPECT_TRUE(image.save(QString::fromStdString(PathOf(name)), format)) << name;
    return PathOf(name);
  }
  static std::string AsText(const PictureBytes& bytes) { return {bytes.begin(), bytes.end()}; }

  // A buffer with content, a name and unsaved changes.
  void Prepare(int b, const PictureBytes& bytes, const std::string& name, bool modified = true) {
    State().Buffer(b).Bytes() = bytes;
    State().SetBufferFileName(b, name);
    if (modified) State().MarkModified(b);
    Window().UpdateTitle();
  }

  QStringList Shown() {
    QStringList lines;
    for (const ui::Message& m : Platform().Messages()) lines << Describe(m);
    return lines;
  }

  // Drops the names onto the canvas as a file manager would.
  void Drop(const QList<QUrl>& urls) {
    QWidget* target = &Window();
    QMimeData data;
    data.setUrls(urls);
    // The target becomes the drop target by accepting the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::sendPostedEvents();  // the window opens the file after the drop
  }

  testing::TempFolder folder_;
};

inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace lumigrid::testing_support
