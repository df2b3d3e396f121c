#include "codegen/listing_commands.h"

#include <QPlainTextEdit>

#include "codegen/conversion_panel.h"
#include "codegen/listing.h"
#include "codegen/listing_view.h"
#include "commands/command_numbers.h"
#include "commands/command_table.h"
#include "files/path_text.h"
#include "files/safe_file.h"
#include "picture/editor.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ListingCommands::ListingCommands(EditorState& state, ui::Platform& platform, ConversionPanel& panel,
                                 const Views& views, Editor& editor, QWidget* dialog_parent)
    : QObject(&panel),
      state_(state),
      platform_(platform),
      panel_(panel),
      views_(views),
      dialog_parent_(dialog_parent) {
  panel_.SetOptions(state_.ConversionOptions(state_.CurrentBuffer()));
  connect(&panel_, &ConversionPanel::convertRequested, this, &ListingCommands::Convert);
  connect(&editor, &Editor::bufferLeaving, this, &ListingCommands::SwapOptions);
  connect(&editor, &Editor::bufferTabChosen, &panel_, &ConversionPanel::RefreshDirectiveField);
}

void ListingCommands::Register(CommandTable& commands) {
  commands.Register(command::kListingSelectAll, [this] { CurrentView()->selectAll(); });
  commands.Register(command::kListingCopy, [this] { CurrentView()->copy(); });
  commands.Register(command::kListingSave, [this] { SaveListing(); });
}

void ListingCommands::SwapOptions(int from, int to) {
  state_.ConversionOptions(from) = panel_.Options();
  panel_.SetOptions(state_.ConversionOptions(to));
}

void ListingCommands::Convert() {
  const int b = state_.CurrentBuffer();
  const auto lines = GenerateListing(state_.Buffer(b), b, panel_.Options());
  if (!lines) {
    platform_.ShowMessage(
        dialog_parent_,
        {FromUtf8(kNoDirectiveCaption), FromUtf8(kNoDirectiveText), ui::MessageIcon::kExclamation});
    return;
  }
  ListingView* view = CurrentView();
  view->setPlainText(QString::fromStdString(JoinListingLines(*lines)));
  view->setFocus();
}

void ListingCommands::SaveListing() {
  const ui::FileChoice choice = platform_.AskSaveFile(
      dialog_parent_,
      {QStringLiteral("Сохранить файл..."),
       QStringLiteral("*.asm, *.inc, *.txt|*.asm; *.inc; *.txt|Все файлы|*.*"), 0, QString()});
  if (choice.Cancelled()) return;
  std::string path = choice.path.toStdString();
  if (PathExtension(path).empty()) path += ".asm";
  const std::string bytes = ListingFileBytes(CurrentView()->ExactText().toStdString());
  if (!WriteFileSafely(path, bytes)) {
    platform_.ShowMessage(dialog_parent_,
                          {QStringLiteral("Ошибка"), QString::fromStdString(SaveFailedText(path)),
                           ui::MessageIcon::kError});
  }
}

}  // namespace lumigrid
