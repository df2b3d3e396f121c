#include "ui/scripted_platform.h"

#include <QCoreApplication>

namespace lumigrid::ui {

void ScriptedPlatform::ClearRecords() {
  messages_.clear();
  dialogs_.clear();
  links_.clear();
  beeps_ = 0;
}

Answer ScriptedPlatform::ShowMessage(QWidget*, const Message& message) {
  messages_.append(message);
  if (on_message_) on_message_(message);
  if (answers_.empty()) return message.default_answer;
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

FileChoice ScriptedPlatform::NextFile(bool save, const FileDialogRequest& request) {
  dialogs_.append({save, request});
  if (files_.empty()) return {};
  FileChoice choice = files_.front();
  files_.pop_front();
  return choice;
}

FileChoice ScriptedPlatform::AskOpenFile(QWidget*, const FileDialogRequest& request) {
  return NextFile(false, request);
}

FileChoice ScriptedPlatform::AskSaveFile(QWidget*, const FileDialogRequest& request) {
  return NextFile(true, request);
}

void ScriptedPlatform::ProcessPendingEvents() { QCoreApplication::processEvents(); }

}  // namespace lumigrid::ui
