#include "app/file_commands.h"

#include "app/commands.h"
#include "app/file_rules.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "commands/command_table.h"
#include "files/image_import_qt.h"
#include "files/picture_file.h"
#include "files/safe_file.h"
#include "picture/editor.h"

namespace lumigrid {

namespace {

// Between the readability check and the decoding of an imported image.
constexpr int kImportPauseMs = 10;

QString ToQt(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

FileCommands::FileCommands(MainWindow& window)
    : QObject(&window), window_(window), prompts_(window, *this) {}

void FileCommands::Register(CommandTable& commands) {
  using namespace command;
  commands.Register(kOpen, [this] { Open(); });
  commands.Register(kSave, [this] { SaveBuffer(); });
  commands.Register(kSaveAs, [this] { SaveBufferAs(); });
  commands.RegisterRange(kRecentFirst, kRecentLast,
                         [this](int n) { OpenRecent(n - kRecentFirst + 1); });
}

bool FileCommands::LoadPictureFile(const std::string& path, int b) {
  const std::optional<PictureBytes> bytes = ReadPictureFile(path);
  if (!bytes) {
    ShowError(kErrorCaption, OpenFailedText(path));
    return false;
  }
  EditorState& state = window_.State();
  state.Buffer(b).Bytes() = *bytes;
  state.SetBufferFileName(b, path);
  window_.UpdateTitle();
  state.MarkClean(b);
  state.StartHistoryAfresh(b);
  return true;
}

bool FileCommands::SavePictureFile(const std::string& path, int b) {
  EditorState& state = window_.State();
  if (!WritePictureFile(path, state.Buffer(b).Bytes())) {
    ShowError(kErrorCaption, SaveFailedText(path));
    return false;
  }
  state.MarkClean(b);
  AddRecentFile(path);
  return true;
}

bool FileCommands::ImportImage(const std::string& path, int b) {
  if (!ReadFileBytes(path, 0)) {
    ShowError(kErrorCaption, OpenFailedText(path));
    return false;
  }
  window_.Platform().Sleep(kImportPauseMs);
  EditorState& state = window_.State();
  state.SetBufferFileName(b, path);
  window_.UpdateTitle();
  state.MarkClean(b);
  // The buffer now carries the image's name: no undo may bring back what came before.
  state.StartHistoryAfresh(b);
  const ImageDecodeResult result = DecodeImageToPicture(ToQt(path));
  if (result.status != ImageDecodeStatus::kOk) {
    ShowError(ImageFailedCaption(), ImageFailedText(path));
    return false;
  }
  state.Buffer(b).Bytes() = result.bytes;
  // The flag was cleared before the decoding; the image is what the buffer was opened with.
  state.MarkClean(b);
  state.StartHistoryAfresh(b);
  return true;
}

void FileCommands::OpenSelectedFile(const std::string& path) {
  if (path.empty()) return;
  const int b = window_.State().CurrentBuffer();
  const bool opened = IsImagePath(path) ? ImportImage(path, b) : LoadPictureFile(path, b);
  if (opened) AddRecentFile(path);
  window_.Editor().RedrawCanvas();
  window_.Editor().CloseCell();
}

void FileCommands::OpenPictureDialog() {
  const std::string newest = window_.State().Recent().Entry(1);
  const ui::FileDialogRequest request{QString::fromUtf8(kOpenDialogTitle),
                                      QString::fromUtf8(kOpenDialogFilter),
                                      OpenDialogFilter(newest), ToQt(newest)};
  OpenSelectedFile(window_.Platform().AskOpenFile(&window_, request).path.toStdString());
}

std::string FileCommands::AskSaveName() {
  const ui::FileDialogRequest request{QString::fromUtf8(kSaveDialogTitle),
                                      QString::fromUtf8(kSaveDialogFilter), 0, QString()};
  const ui::FileChoice choice = window_.Platform().AskSaveFile(&window_, request);
  if (choice.Cancelled()) return {};
  return WithPictureExtension(choice.path.toStdString());
}

void FileCommands::SaveBuffer() {
  const int b = window_.State().CurrentBuffer();
  const std::string name = window_.State().BufferFileName(b);
  if (SavesUnderOwnName(name)) {
    SavePictureFile(name, b);
  } else {
    SaveBufferAs();
  }
}

void FileCommands::SaveBufferAs() {
  const int b = window_.State().CurrentBuffer();
  const std::string name = AskSaveName();
  if (name.empty()) return;
  SavePictureFile(name, b);
  // Even after a failed write: the user chose this name for the buffer.
  if (name != window_.State().BufferFileName(b)) window_.State().StartHistoryAfresh(b);
  window_.State().SetBufferFileName(b, name);
  window_.UpdateTitle();
}

FileCommands::PromptSave FileCommands::SaveFromPrompt(int b) {
  const std::string& own_name = window_.State().BufferFileName(b);
  const std::string name = SavesUnderOwnName(own_name) ? own_name : AskSaveName();
  if (name.empty()) return PromptSave::kCancelled;
  return SavePictureFile(name, b) ? PromptSave::kSaved : PromptSave::kFailed;
}

bool FileCommands::MayReplaceCurrent() {
  const int b = window_.State().CurrentBuffer();
  if (!prompts_.ConfirmDiscard(b)) return false;
  window_.State().MarkClean(b);
  return true;
}

void FileCommands::Open() {
  if (MayReplaceCurrent()) OpenPictureDialog();
}

void FileCommands::OpenRecent(int i) {
  // A vanished file is not tested for here: opening it shows why it failed.
  const std::string path = window_.State().Recent().Entry(i);
  if (path.empty()) return;
  if (MayReplaceCurrent()) OpenSelectedFile(path);
}

void FileCommands::OpenDropped(const std::vector<std::string>& names) {
  const std::string path = DroppedFile(names);
  if (path.empty()) return;
  if (MayReplaceCurrent()) OpenSelectedFile(path);
}

void FileCommands::AddRecentFile(const std::string& path) {
  window_.State().Recent().AddRecentFile(path);
  window_.Menus().SetRecentLabels(window_.State().Recent());
}

void FileCommands::ShowError(const std::string& caption, const std::string& text) {
  window_.Platform().ShowMessage(&window_, {ToQt(caption), ToQt(text), ui::MessageIcon::kError,
                                            ui::MessageButtons::kOk, ui::Answer::kOk});
}

}  // namespace lumigrid
