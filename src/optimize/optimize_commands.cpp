#include "optimize/optimize_commands.h"

#include <vector>

#include "commands/command_numbers.h"
#include "commands/command_table.h"
#include "files/path_text.h"
#include "files/safe_file.h"
#include "optimize/identical_scan.h"
#include "optimize/optimize_panel.h"
#include "optimize/report_view.h"
#include "optimize/rtf_writer.h"
#include "optimize/skip_report.h"
#include "picture/editor.h"
#include "picture/editor_state.h"
#include "ui/application.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

constexpr int kPauseBeforeListMs = 100;
constexpr int kEventsBeforeList = 4;  // enough for the progress to be drawn
constexpr int kTxtFilter = 1;         // "RTF|*.rtf|TXT|*.txt"

}  // namespace

OptimizeCommands::OptimizeCommands(EditorState& state, ui::Platform& platform, OptimizePanel& panel,
                                   Editor& editor, QWidget* dialog_parent)
    : QObject(&panel),
      state_(state),
      platform_(platform),
      panel_(panel),
      editor_(editor),
      dialog_parent_(dialog_parent) {
  connect(&panel_, &OptimizePanel::scanRequested, this, &OptimizeCommands::Scan);
  connect(&panel_, &OptimizePanel::listRequested, this, &OptimizeCommands::MakeList);
  connect(&editor_, &Editor::skipMapCellClicked, this, &OptimizeCommands::ShowCellSkips);
}

void OptimizeCommands::Register(CommandTable& commands) {
  commands.Register(command::kReportSelectAll, [this] { panel_.Report()->selectAll(); });
  commands.Register(command::kReportCopy, [this] { panel_.Report()->copy(); });
  commands.Register(command::kReportSave, [this] { SaveReportView(); });
}

bool OptimizeCommands::Scan() {
  // The map would silently replace edits, and a later save would write it over the picture's
  // file: ask first, and leave the map without a file.
  if (confirm_discard_ && !confirm_discard_(kSkipMapBuffer)) return false;
  StoreSkipMap(state_, ScanIdenticalBytes(state_, panel_.Sources(), panel_.RunValue()));
  // Unmodified is the map, not the changes given up or saved: taking the scan back marks them
  // modified again, so they are asked about before they could be lost.
  state_.MarkClean(kSkipMapBuffer);
  state_.SetBufferFileName(kSkipMapBuffer, {});
  const bool shown = state_.CurrentBuffer() == kSkipMapBuffer;
  editor_.SwitchBuffer(kSkipMapBuffer - 1);
  // The switch redraws only when the buffer changes.
  if (shown) editor_.RedrawCanvas();
  emit skipMapWritten();
  return true;
}

void OptimizeCommands::ShowCellSkips(int c) {
  panel_.Report()->ShowReport(CellSkipDetail(state_.Buffer(kSkipMapBuffer).Bytes(), c));
}

void OptimizeCommands::MakeList() {
  if (panel_.AutoScan() && !Scan()) return;
  BuildSkipList();
}

void OptimizeCommands::BuildSkipList() {
  // Pending events are taken only to repaint; a click made meanwhile is lost.
  const ui::ScopedInputBlock block;
  ReportView* view = panel_.Report();
  view->ClearReport();
  view->hide();
  platform_.Sleep(kPauseBeforeListMs);
  panel_.ShowProgress();
  for (int i = 0; i < kEventsBeforeList; ++i) platform_.ProcessPendingEvents();

  std::vector<ReportSource> sources;
  const SourceFlags ticked = panel_.Sources();
  for (int b = 1; b <= kSourceBufferCount; ++b) {
    if (ticked[b - 1]) sources.push_back({b, state_.BufferFileName(b)});
  }
  const SkipListProgress progress{[this] { platform_.ProcessPendingEvents(); },
                                  [this](int lines) { panel_.SetProgress(lines); }};
  view->ShowReport(SkipListReport(state_.Buffer(kSkipMapBuffer).Bytes(), sources,
                                  panel_.RunText().toStdString(), progress));
  panel_.HideProgress();
  view->show();
  view->setFocus();
}

void OptimizeCommands::SaveReportView() {
  const ui::FileChoice choice = platform_.AskSaveFile(
      dialog_parent_,
      {QStringLiteral("Сохранить файл..."), QStringLiteral("RTF|*.rtf|TXT|*.txt"), 0, QString()});
  if (choice.Cancelled()) return;
  // The format follows the filter, whatever the name's extension says.
  const bool text = choice.filter == kTxtFilter;
  std::string path = choice.path.toStdString();
  if (PathExtension(path).empty()) path += text ? ".txt" : ".rtf";
  const StyledText& report = panel_.Report()->Report();
  if (!WriteFileSafely(path, text ? PlainTextFileBytes(report) : WriteRtf(report))) {
    platform_.ShowMessage(dialog_parent_, {QStringLiteral("Ошибка"),
                                           QStringLiteral("Не удалось сохранить файл\n") +
                                               QString::fromStdString(path),
                                           ui::MessageIcon::kError});
  }
}

}  // namespace lumigrid
