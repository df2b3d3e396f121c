// The work of the optimization panel: the scan into buffer 10, the detail of a clicked
// cell, the full skip list, and the commands of the report's pop-up menu.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace lumigrid {

namespace ui {
class Platform;
}
class CommandTable;
class EditorState;
class Editor;
class OptimizePanel;

class OptimizeCommands : public QObject {
  Q_OBJECT

 public:
  OptimizeCommands(EditorState& state, ui::Platform& platform, OptimizePanel& panel, Editor& editor,
                   QWidget* dialog_parent);

  // Commands 70..72 of the report's pop-up menu.
  void Register(CommandTable& commands);

  // Asked before the map replaces buffer 10's unsaved changes: true lets the scan go on.
  void SetConfirmDiscard(std::function<bool(int)> confirm) {
    confirm_discard_ = std::move(confirm);
  }

  // The skip map of the ticked buffers into buffer 10, which then becomes current and
  // belongs to no file. False when the user kept buffer 10's unsaved changes instead.
  bool Scan();
  // The skips of cell c of buffer 10 into the report view.
  void ShowCellSkips(int c);
  // The full list of buffer 10's skips into the report view.
  void BuildSkipList();
  // The list button: a scan first when the auto box is ticked.
  void MakeList();
  // Writes the report as RTF or Windows-1251 text, as the chosen filter says.
  void SaveReportView();

 signals:
  // Buffer 10 now holds a new map and no file name.
  void skipMapWritten();

 private:
  EditorState& state_;
  ui::Platform& platform_;
  OptimizePanel& panel_;
  Editor& editor_;
  QWidget* dialog_parent_;
  std::function<bool(int)> confirm_discard_;
};

}  // namespace lumigrid
