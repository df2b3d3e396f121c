#include "ui/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>

namespace lumigrid::ui {

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    patterns = patterns.simplified();
    // A description that already names its patterns, as "Font Files (*.chr)", is shown as it is
    // rather than with the patterns twice.
    const QString named = QStringLiteral("(%1)").arg(patterns);
    if (parts[i].trimmed().endsWith(named, Qt::CaseInsensitive)) {
      filters << parts[i].trimmed();
    } else {
      filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
  }
  return filters;
}

namespace {

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kExclamation:
      return QMessageBox::Warning;
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQt(Answer answer) {
  switch (answer) {
    case Answer::kYes:
      return QMessageBox::Yes;
    case Answer::kNo:
      return QMessageBox::No;
    case Answer::kCancel:
      return QMessageBox::Cancel;
    case Answer::kOk:
      break;
  }
  return QMessageBox::Ok;
}

FileChoice RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                         QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, request.title);
  dialog.setAcceptMode(mode);
  // The open dialog does not insist that the file exists, the save dialog does not ask
  // before replacing; both need an existing folder.
  dialog.setFileMode(request.several ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  const QStringList filters = QtNameFilters(request.filter);
  dialog.setNameFilters(filters);
  if (request.selected_filter >= 0 && request.selected_filter < filters.size()) {
    dialog.selectNameFilter(filters[request.selected_filter]);
  }
  if (!request.start_path.isEmpty()) {
    const QFileInfo start(request.start_path);
    dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {dialog.selectedFiles().constFirst(),
          static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()))),
          dialog.selectedFiles()};
}

}  // namespace

Answer QtPlatform::ShowMessage(QWidget* parent, const Message& message) {
  QMessageBox box(ToQt(message.icon), message.caption, message.text, QMessageBox::NoButton, parent);
  switch (message.buttons) {
    case MessageButtons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MessageButtons::kYesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  box.setDefaultButton(ToQt(message.default_answer));
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    case QMessageBox::Cancel:
      return Answer::kCancel;
    default:
      break;
  }
  // The close box of a Yes/No/Cancel question means Cancel; of a Yes/No question, No.
  if (message.buttons == MessageButtons::kYesNoCancel) return Answer::kCancel;
  if (message.buttons == MessageButtons::kYesNo) return Answer::kNo;
  return Answer::kOk;
}

FileChoice QtPlatform::AskOpenFile(QWidget* parent, const FileDialogRequest& request) {
  return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

FileChoice QtPlatform::AskSaveFile(QWidget* parent, const FileDialogRequest& request) {
  return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

void QtPlatform::Beep() { QApplication::beep(); }

QPoint QtPlatform::PointerPosition() const { return QCursor::pos(); }

Qt::MouseButtons QtPlatform::PointerButtons() const { return QGuiApplication::mouseButtons(); }

void QtPlatform::OpenLink(const QUrl& url) { QDesktopServices::openUrl(url); }

void QtPlatform::Sleep(int milliseconds) { QThread::msleep(static_cast<unsigned>(milliseconds)); }

void QtPlatform::ProcessPendingEvents() { QCoreApplication::processEvents(); }

}  // namespace lumigrid::ui
