#include "app/import_commands.h"

#include <filesystem>
#include <system_error>

#include "app/file_commands.h"
#include "app/file_rules.h"
#include "app/main_window.h"
#include "commands/command_numbers.h"
#include "commands/command_table.h"
#include "files/import_dialog.h"
#include "files/import_loading.h"
#include "files/path_text.h"
#include "files/safe_file.h"
#include "picture/editor.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

QString ToQt(const std::string& utf8) { return QString::fromStdString(utf8); }

void Show(MainWindow& window, const std::string& caption, const std::string& text,
          ui::MessageIcon icon) {
  window.Platform().ShowMessage(
      &window, {ToQt(caption), ToQt(text), icon, ui::MessageButtons::kOk, ui::Answer::kOk});
}

bool IsNonEmptyFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::path p = PathFromUtf8(path);
  return std::filesystem::is_regular_file(p, error) && std::filesystem::file_size(p, error) > 0;
}

}  // namespace

ImportCommands::ImportCommands(MainWindow& window, const ConversionOptions& last_options)
    : QObject(&window), window_(window), last_options_(last_options) {}

ImportDialog* ImportCommands::Dialog() const { return dialog_; }

void ImportCommands::Register(CommandTable& commands) {
  commands.Register(command::kImportWithSettings, [this] { ImportWithSettings(); });
}

void ImportCommands::ImportWithSettings() {
  ui::FileDialogRequest request{QString::fromUtf8(kImportCaption),
                                QString::fromUtf8(kImportOpenFilter), 0, QString()};
  request.several = true;
  const ui::FileChoice choice = window_.Platform().AskOpenFile(&window_, request);
  std::vector<std::string> paths;
  for (const QString& path : choice.paths) paths.push_back(path.toStdString());
  OpenDialog(paths);
}

void ImportCommands::OpenDialog(const std::vector<std::string>& paths) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    if (IsNonEmptyFile(path)) files.push_back(path);
  }
  if (files.empty() || dialog_) return;
  SessionLoad load = LoadImportSession(files, kBufferCount);
  if (load.status == ImageDecodeStatus::kUnreadable) {
    Show(window_, kErrorCaption, OpenFailedText(load.failed_path), ui::MessageIcon::kError);
    return;
  }
  if (load.status != ImageDecodeStatus::kOk) {
    Show(window_, ImageFailedCaption(), ImageFailedText(load.failed_path), ui::MessageIcon::kError);
    return;
  }
  auto* dialog = new ImportDialog(std::move(load.session), last_options_,
                                  window_.State().CurrentBuffer(), &window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowModality(Qt::WindowModal);
  // The dialog is deleted later; from its closing on it is no longer the open one.
  connect(dialog, &QDialog::finished, this, [this] { dialog_ = nullptr; });
  connect(dialog, &QDialog::accepted, this, [this, dialog] { Write(*dialog); });
  dialog_ = dialog;
  dialog->open();
}

void ImportCommands::Write(ImportDialog& dialog) {
  const ConversionOptions options = dialog.Options();
  last_options_ = options;
  const int first = dialog.TargetBuffer();
  const ImportPlan plan = dialog.Session().Plan(first);
  EditorState& state = window_.State();
  // Every question first: a cancelled one leaves every buffer as it was.
  for (int i = 0; i < plan.written; ++i) {
    if (!window_.Files().Prompts().ConfirmDiscard(first + i)) return;
  }
  for (int i = 0; i < plan.written; ++i) {
    const int b = first + i;
    state.Buffer(b).Bytes() = dialog.Result(i);
    state.MarkModified(b);
    state.RecordEdit(b, "импорт");
  }
  if (first <= state.CurrentBuffer() && state.CurrentBuffer() < first + plan.written) {
    window_.Editor().RefreshPicture();
  }
  if (plan.left_out > 0) {
    Show(window_, kImportCaption,
         "Буферов хватило не на все кадры: " + std::to_string(plan.left_out) + " из " +
             std::to_string(dialog.Session().FrameCount()) + " не импортированы.",
         ui::MessageIcon::kInformation);
  }
}

}  // namespace lumigrid
