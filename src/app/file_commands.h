// Pictures on disk: Open, Save, Save as, the recent-file items, dropped files and the file
// named at start-up, with their dialogs and messages. Every operation works on the current
// buffer unless a buffer is named.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace lumigrid {

class CommandTable;
class MainWindow;

class FileCommands : public QObject {
  Q_OBJECT

 public:
  enum class PromptSave { kSaved, kFailed, kCancelled };

  explicit FileCommands(MainWindow& window);

  // Open, Save, Save as and the ten recent-file items.
  void Register(CommandTable& commands);

  lumigrid::Prompts& Prompts() { return prompts_; }

  // Reads a picture file into buffer b and names the buffer after it. On failure a message
  // is shown and nothing has changed.
  bool LoadPictureFile(const std::string& path, int b);
  // Writes buffer b; marks it saved and makes path the newest recent file. The buffer's name
  // stays. On failure a message is shown and the file that was there is kept.
  bool SavePictureFile(const std::string& path, int b);
  // Converts an image into buffer b. Once the file proves readable the buffer takes its name
  // even if decoding then fails (the pixels then stay).
  bool ImportImage(const std::string& path, int b);

  // Loads or imports by extension, remembers the file when that worked and shows the result.
  void OpenSelectedFile(const std::string& path);
  void OpenPictureDialog();
  void SaveBuffer();
  void SaveBufferAs();

  // The routes that replace the current buffer, each after asking about unsaved changes.
  void Open();
  void OpenRecent(int i);
  void OpenDropped(const std::vector<std::string>& names);

  // The Yes of an unsaved-changes question: by the buffer's name when it is a picture file,
  // else through the save dialog; the buffer's name and the title stay.
  PromptSave SaveFromPrompt(int b);

 private:
  // Asks ConfirmDiscard for the current buffer and, on yes, gives its changes up.
  bool MayReplaceCurrent();
  // The save dialog's name with ".chr" added when it has no extension; empty when cancelled.
  std::string AskSaveName();
  void AddRecentFile(const std::string& path);
  void ShowError(const std::string& caption, const std::string& text);

  MainWindow& window_;
  lumigrid::Prompts prompts_;
};

}  // namespace lumigrid
