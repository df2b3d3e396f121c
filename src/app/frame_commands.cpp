#include "app/frame_commands.h"

#include <QComboBox>

#include "app/main_window.h"
#include "app/tool_commands.h"
#include "codegen/conversion_panel.h"
#include "codegen/listing.h"
#include "commands/command_numbers.h"
#include "commands/command_table.h"
#include "files/gif_encode.h"
#include "files/path_text.h"
#include "files/safe_file.h"
#include "frames/frame_budget_dialog.h"
#include "frames/frame_table.h"
#include "optimize/identical_scan.h"
#include "optimize/optimize_panel.h"
#include "tools/animation.h"
#include "tools/animation_panel.h"
#include "tools/gif_export_dialog.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr const char* kTableExtensions[] = {".asm", ".c", ".bin"};

}  // namespace

FrameCommands::FrameCommands(MainWindow& window, const Settings& settings)
    : QObject(&window),
      window_(window),
      gif_look_(settings.gif_look),
      gif_scale_(settings.gif_scale),
      cycle_ns_(settings.cycle_ns) {}

GifExportDialog* FrameCommands::GifDialog() const { return gif_dialog_; }
FrameBudgetDialog* FrameCommands::BudgetDialog() const { return budget_dialog_; }

void FrameCommands::Register(CommandTable& commands) {
  commands.Register(command::kSaveAnimationGif, [this] { SaveAnimationGif(); });
  commands.Register(command::kExportFrameTable, [this] { ExportFrameTable(); });
  commands.Register(command::kFrameBudget, [this] { ShowBudget(); });
}

void FrameCommands::StoreSettings(Settings& settings) const {
  settings.gif_look = gif_look_;
  settings.gif_scale = gif_scale_;
  settings.cycle_ns = budget_dialog_ ? budget_dialog_->CycleNs() : cycle_ns_;
}

void FrameCommands::Report(const QString& caption, const QString& text, bool error) {
  window_.Platform().ShowMessage(
      &window_, {caption, text, error ? ui::MessageIcon::kError : ui::MessageIcon::kExclamation,
                 ui::MessageButtons::kOk, ui::Answer::kOk});
}

std::optional<FrameCommands::Sequence> FrameCommands::PanelSequence(const char* caption,
                                                                    std::size_t at_least) {
  Sequence sequence;
  sequence.buffers = AnimationSequence(window_.Tools().Animation().Choices());
  if (sequence.buffers.size() < at_least) {
    Report(Text(caption),
           at_least >= 2 ? Text("Для анимации нужно как минимум 2 рисунка!")
                         : Text("В панели анимации не выбран ни один рисунок."),
           false);
    return std::nullopt;
  }
  for (int b : sequence.buffers) sequence.pictures.push_back(window_.State().Buffer(b).Bytes());
  return sequence;
}

void FrameCommands::SaveAnimationGif() {
  if (gif_dialog_ || !PanelSequence(kGifCaption, 2)) return;
  auto* dialog = new GifExportDialog(gif_look_ == 0 ? RenderLook::kCanvas : RenderLook::kPlain,
                                     gif_scale_, &window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowModality(Qt::WindowModal);
  // The dialogs are deleted later; from their closing on they are no longer the open ones.
  connect(dialog, &QDialog::finished, this, [this] { gif_dialog_ = nullptr; });
  connect(dialog, &QDialog::accepted, this, [this, dialog] { WriteGif(*dialog); });
  gif_dialog_ = dialog;
  dialog->open();
}

void FrameCommands::WriteGif(const GifExportDialog& dialog) {
  gif_look_ = dialog.Look() == RenderLook::kCanvas ? 0 : 1;
  gif_scale_ = dialog.Scale();
  // Read again: the panel may have changed while the dialog was open.
  const auto sequence = PanelSequence(kGifCaption, 2);
  if (!sequence) return;
  const ui::FileChoice choice =
      window_.Platform().AskSaveFile(&window_, {Text(kGifCaption), Text(kGifFilter), 0, QString()});
  if (choice.Cancelled()) return;
  std::string path = choice.path.toStdString();
  if (PathExtension(path).empty()) path += ".gif";
  const int delay =
      AnimationDelayMs(window_.Tools().Animation().DelayList()->currentText().toStdString());
  const auto bytes = EncodeGifAnimation(sequence->pictures, dialog.Look(), dialog.Scale(), delay);
  if (!bytes || !WriteFileSafely(path, *bytes)) {
    Report(Text("Ошибка"), QString::fromStdString(SaveFailedText(path)), true);
  }
}

void FrameCommands::ExportFrameTable() {
  const auto sequence = PanelSequence(kFrameTableCaption, 1);
  if (!sequence) return;
  const ui::FileChoice choice = window_.Platform().AskSaveFile(
      &window_, {Text(kFrameTableCaption), Text(kFrameTableFilter), 0, QString()});
  if (choice.Cancelled()) return;
  const int form = std::clamp(choice.filter, 0, 2);
  std::string path = choice.path.toStdString();
  if (PathExtension(path).empty()) path += kTableExtensions[form];
  SequenceOptions options;
  options.loop = true;  // as a run of the panel plays: from blank, round and round
  const FrameScript script = MakeFrameScript(sequence->pictures, options);
  const auto bytes = FrameTableFile(script, static_cast<FrameTableFormat>(form),
                                    window_.ConversionSidePanel()->Options());
  if (!bytes) {
    const auto text = [](std::string_view utf8) {
      return QString::fromUtf8(utf8.data(), utf8.size());
    };
    Report(text(kNoDirectiveCaption), text(kNoDirectiveText), false);
    return;
  }
  if (!WriteFileSafely(path, *bytes)) {
    Report(Text("Ошибка"), QString::fromStdString(SaveFailedText(path)), true);
  }
}

void FrameCommands::ShowBudget() {
  const auto sequence = PanelSequence(kFrameBudgetCaption, 1);
  if (!sequence) return;
  if (budget_dialog_) {
    cycle_ns_ = budget_dialog_->CycleNs();
    budget_dialog_->close();
  }
  // The skip map the optimization panel would make of these pictures.
  std::vector<const PictureBytes*> sources;
  for (const PictureBytes& p : sequence->pictures) sources.push_back(&p);
  const int min_run = NormalizeMinRun(window_.OptimizeSidePanel()->RunValue());
  auto* dialog =
      new FrameBudgetDialog(sequence->pictures, sequence->buffers,
                            ScanIdenticalBytes(sources, min_run), min_run, cycle_ns_, &window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::finished, this, [this, dialog] {
    cycle_ns_ = dialog->CycleNs();
    budget_dialog_ = nullptr;
  });
  budget_dialog_ = dialog;
  dialog->show();
}

}  // namespace lumigrid
