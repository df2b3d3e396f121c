// "Рисунок → Импорт с настройками…" and Shift + drop of images: the chosen files decoded once,
// the import dialog over them, and on "Ok" one buffer written per frame from the target buffer
// on, each as one step of its history, after the usual question for a buffer with unsaved
// changes.
#pragma once

#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

#include "files/conversion_options.h"

namespace lumigrid {

class CommandTable;
class ImportDialog;
class MainWindow;

inline constexpr const char* kImportCaption = "Импорт с настройками";
inline constexpr const char* kImportOpenFilter =
    "Рисунки в форматах BMP, JPG, PNG, GIF|*.bmp;*.jpg;*.jpeg;*.png;*.gif|Все файлы|*.*";

class ImportCommands : public QObject {
  Q_OBJECT

 public:
  ImportCommands(MainWindow& window, const ConversionOptions& last_options);

  void Register(CommandTable& commands);

  // Asks for the files, then opens the dialog.
  void ImportWithSettings();
  // Decodes the files (folders and empty files left out) and opens the dialog over them; a
  // file that cannot be read or decoded is reported and nothing opens.
  void OpenDialog(const std::vector<std::string>& paths);

  // The dialog while it is open.
  ImportDialog* Dialog() const;
  // The options of the last import, kept between runs.
  const ConversionOptions& LastOptions() const { return last_options_; }

 private:
  void Write(ImportDialog& dialog);

  MainWindow& window_;
  ConversionOptions last_options_;
  QPointer<ImportDialog> dialog_;
};

}  // namespace lumigrid
