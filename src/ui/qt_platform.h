#pragma once

#include "ui/platform.h"

namespace lumigrid::ui {

// The platform as the running program sees it: Qt's dialogs, cursor and event loop.
class QtPlatform final : public Platform {
 public:
  Answer ShowMessage(QWidget* parent, const Message& message) override;
  FileChoice AskOpenFile(QWidget* parent, const FileDialogRequest& request) override;
  FileChoice AskSaveFile(QWidget* parent, const FileDialogRequest& request) override;
  void Beep() override;
  QPoint PointerPosition() const override;
  Qt::MouseButtons PointerButtons() const override;
  void OpenLink(const QUrl& url) override;
  void Sleep(int milliseconds) override;
  void ProcessPendingEvents() override;
};

}  // namespace lumigrid::ui
