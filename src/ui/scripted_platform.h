// A platform for tests and the screenshot tool: records every message, answers message
// boxes and file dialogs from queues, and holds a pointer that the caller places.
#pragma once

#include <QList>
#include <deque>
#include <functional>

#include "ui/platform.h"

namespace lumigrid::ui {

class ScriptedPlatform final : public Platform {
 public:
  struct DialogRecord {
    bool save = false;
    FileDialogRequest request;
  };

  // Answers used in order; an empty queue answers with the message's default button.
  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  // Dialog results used in order; an empty queue cancels the dialog.
  void QueueFile(const QString& path, int filter = 0) { files_.push_back({path, filter, {path}}); }
  // Several files chosen at once in an open dialog.
  void QueueFiles(const QStringList& paths, int filter = 0) {
    files_.push_back({paths.value(0), filter, paths});
  }
  // Runs while a message is shown, to see what the window shows meanwhile.
  void OnMessage(std::function<void(const Message&)> hook) { on_message_ = std::move(hook); }

  void SetPointer(QPoint screen_position, Qt::MouseButtons buttons = Qt::NoButton) {
    pointer_ = screen_position;
    buttons_ = buttons;
  }

  const QList<Message>& Messages() const { return messages_; }
  const QList<DialogRecord>& Dialogs() const { return dialogs_; }
  const QList<QUrl>& Links() const { return links_; }
  int Beeps() const { return beeps_; }
  void ClearRecords();

  Answer ShowMessage(QWidget* parent, const Message& message) override;
  FileChoice AskOpenFile(QWidget* parent, const FileDialogRequest& request) override;
  FileChoice AskSaveFile(QWidget* parent, const FileDialogRequest& request) override;
  void Beep() override { ++beeps_; }
  QPoint PointerPosition() const override { return pointer_; }
  Qt::MouseButtons PointerButtons() const override { return buttons_; }
  void OpenLink(const QUrl& url) override { links_.append(url); }
  void Sleep(int) override {}
  void ProcessPendingEvents() override;

 private:
  FileChoice NextFile(bool save, const FileDialogRequest& request);

  std::deque<Answer> answers_;
  std::deque<FileChoice> files_;
  std::function<void(const Message&)> on_message_;
  QList<Message> messages_;
  QList<DialogRecord> dialogs_;
  QList<QUrl> links_;
  QPoint pointer_{-10000, -10000};
  Qt::MouseButtons buttons_ = Qt::NoButton;
  int beeps_ = 0;
};

}  // namespace lumigrid::ui
