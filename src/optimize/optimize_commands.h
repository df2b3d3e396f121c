// The work of the optimization panel: the scan into buffer 10, the detail of a clicked
// cell, the full skip list, and the commands of the report's pop-up menu.
#pragma once

#include <QObject>

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

  // The skip map of the ticked buffers into buffer 10, which then becomes current.
  void Scan();
  // The skips of cell c of buffer 10 into the report view.
  void ShowCellSkips(int c);
  // The full list of buffer 10's skips into the report view.
  void BuildSkipList();
  // The list button: a scan first when the auto box is ticked.
  void MakeList();
  // Writes the report as RTF or Windows-1251 text, as the chosen filter says.
  void SaveReportView();

 private:
  EditorState& state_;
  ui::Platform& platform_;
  OptimizePanel& panel_;
  Editor& editor_;
  QWidget* dialog_parent_;
};

}  // namespace lumigrid
