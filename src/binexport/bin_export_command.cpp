#include "binexport/bin_export_command.h"

#include <memory>
#include <new>

#include "binexport/bin_block.h"
#include "binexport/bin_export_rules.h"
#include "binexport/bin_panel.h"
#include "files/safe_file.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }
QString FromUtf8(const char* text) { return QString::fromUtf8(text); }

BinPlacement PlacementOf(const BinChoices& choices) {
  if (choices.destination != BinPanel::kDestinationExisting)
    return {BinWrite::kNewFile, std::nullopt};
  if (choices.placement != BinPanel::kPlacementAtAddress) return {BinWrite::kAppend, std::nullopt};
  return {choices.method == BinPanel::kMethodReplace ? BinWrite::kReplace : BinWrite::kInsert,
          ParseStartAddress(choices.address.toStdString())};
}

}  // namespace

BinExportCommand::BinExportCommand(const EditorState& state, ui::Platform& platform,
                                   BinPanel& panel)
    : QObject(&panel), state_(state), platform_(platform), panel_(panel) {
  connect(&panel, &BinPanel::convertRequested, this, &BinExportCommand::WriteBinFile);
}

void BinExportCommand::WriteBinFile() {
  const BinChoices choices = panel_.Choices();
  const ui::FileChoice choice = platform_.AskSaveFile(
      panel_.window(),
      {FromUtf8(kBinDialogTitle), FromUtf8(kBinDialogFilter), kBinFilterBinary, QString()});
  if (choice.Cancelled()) return;
  const std::string name = WithBinExtension(choice.path.toStdString(), choice.filter);

  BinPlacement placement = PlacementOf(choices);
  if (placement.write != BinWrite::kNewFile && !FileSize(name)) {
    const ui::Answer answer = platform_.ShowMessage(
        panel_.window(),
        {FromUtf8(kBinMissingCaption), FromUtf8(BinMissingFileText(name)),
         ui::MessageIcon::kExclamation, ui::MessageButtons::kYesNo, ui::Answer::kYes});
    if (answer != ui::Answer::kYes) return;
    placement = {BinWrite::kNewFile, std::nullopt};
  }

  // Work memory lives only for this run.
  std::unique_ptr<BinImage> image(new (std::nothrow) BinImage{});
  std::unique_ptr<BinBlockArea> block(new (std::nothrow) BinBlockArea{});
  if (!image || !block) {
    Show(kBinMemoryCaption, kBinMemoryText, ui::MessageIcon::kError);
    return;
  }
  const int length = BuildBinBlock(state_, choices.slot_values, choices.grouping, *image, *block);
  const std::span<const uint8_t> bytes(block->data(), static_cast<std::size_t>(length));

  if (Report(name, PlaceBinBlock(name, bytes, placement))) {
    Report(name, PlaceBinBlock(name, bytes, {BinWrite::kAppend, std::nullopt}));
  }
}

bool BinExportCommand::Report(const std::string& name, const BinPlaceResult& result) {
  using ui::MessageIcon;
  switch (result.status) {
    case BinPlaceStatus::kWritten:
      Show(kBinDoneCaption, BinDoneText(name), MessageIcon::kInformation);
      return false;
    case BinPlaceStatus::kOpenFailed:
      Show(kBinErrorCaption, BinOpenFailedText(name), MessageIcon::kError);
      return false;
    case BinPlaceStatus::kNoAddress:
      Show(kBinNoAddressCaption, kBinNoAddressText, MessageIcon::kExclamation);
      return false;
    case BinPlaceStatus::kAddressBeyondEnd:
      return platform_.ShowMessage(panel_.window(),
                                   {FromUtf8(kBinBeyondEndCaption), FromUtf8(kBinBeyondEndText),
                                    MessageIcon::kExclamation, ui::MessageButtons::kYesNo,
                                    ui::Answer::kYes}) == ui::Answer::kYes;
    case BinPlaceStatus::kNoMemory:
      Show(kBinMemoryCaption, kBinMemoryText, MessageIcon::kError);
      return false;
    case BinPlaceStatus::kWriteFailed:
      Show(kBinErrorCaption, BinWriteFailedText(name), MessageIcon::kError);
      return false;
  }
  return false;
}

void BinExportCommand::Show(const char* caption, const std::string& text, ui::MessageIcon icon) {
  platform_.ShowMessage(panel_.window(), {FromUtf8(caption), FromUtf8(text), icon});
}

ui::SidePanelFrame* CreateBinExportPanel(const EditorState& state, ui::Platform& platform,
                                         QWidget* parent) {
  auto* panel = new BinPanel(parent);
  new BinExportCommand(state, platform, *panel);
  return panel;
}

}  // namespace lumigrid
