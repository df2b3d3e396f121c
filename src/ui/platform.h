// Everything the program asks of the windowing system that a test must see or answer:
// message boxes, file dialogs, the beep, the pointer, links, sleeping and pending events.
// The program uses QtPlatform; tests use ScriptedPlatform.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <Qt>

class QWidget;

namespace lumigrid::ui {

enum class MessageIcon { kNone, kInformation, kQuestion, kExclamation, kError };
enum class MessageButtons { kOk, kYesNo, kYesNoCancel };
enum class Answer { kOk, kYes, kNo, kCancel };

struct Message {
  QString caption;
  QString text;
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
  Answer default_answer = Answer::kOk;
};

// A file dialog as the program describes it. `filter` is a list of description|pattern
// pairs separated by "|" ("Font Files (*.chr)|*.chr|All Files|*.*"); patterns within a pair
// are separated by ";".
struct FileDialogRequest {
  QString title;
  QString filter;
  int selected_filter = 0;  // 0-based pair index
  QString start_path;       // proposed file (its folder is where the dialog opens)
  bool several = false;     // an open dialog that lets several existing files be chosen
};

struct FileChoice {
  QString path;       // empty when the dialog was cancelled; the first of `paths`
  int filter = 0;     // 0-based index of the pair chosen when the dialog closed
  QStringList paths;  // every file chosen, for a dialog that takes several
  bool Cancelled() const { return path.isEmpty(); }
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual Answer ShowMessage(QWidget* parent, const Message& message) = 0;
  virtual FileChoice AskOpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual FileChoice AskSaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual void Beep() = 0;

  // The pointer's screen position and the buttons held at this moment.
  virtual QPoint PointerPosition() const = 0;
  virtual Qt::MouseButtons PointerButtons() const = 0;

  virtual void OpenLink(const QUrl& url) = 0;
  virtual void Sleep(int milliseconds) = 0;
  // Lets the window system handle what is pending, without waiting for more.
  virtual void ProcessPendingEvents() = 0;
};

// "desc|pat;pat|desc|pat" -> Qt name filters "desc (pat pat)".
QStringList QtNameFilters(const QString& filter);

}  // namespace lumigrid::ui
