// "Преобразовать данные...": asks for a file and puts the binary images of the chosen buffers
// into it as the BIN panel says.
#pragma once

#include <QObject>

#include "binexport/bin_placement.h"
#include "picture/editor_state.h"
#include "ui/platform.h"

class QWidget;

namespace lumigrid {

namespace ui {
class SidePanelFrame;
}  // namespace ui
class BinPanel;

class BinExportCommand : public QObject {
  Q_OBJECT

 public:
  // Runs on every click of the panel's convert button; a child of the panel.
  BinExportCommand(const EditorState& state, ui::Platform& platform, BinPanel& panel);

  void WriteBinFile();

 private:
  // Shows what the placement came to; true when the caller may go on with appending.
  bool Report(const std::string& name, const BinPlaceResult& result);
  void Show(const char* caption, const std::string& text, ui::MessageIcon icon);

  const EditorState& state_;
  ui::Platform& platform_;
  BinPanel& panel_;
};

// The BIN panel with its command wired in, for the main window's side column.
ui::SidePanelFrame* CreateBinExportPanel(const EditorState& state, ui::Platform& platform,
                                         QWidget* parent);

}  // namespace lumigrid
