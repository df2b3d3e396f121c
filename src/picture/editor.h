// The picture editor: what clicks on the canvas mean, the open cell, the two pointer polls
// and the buffer tabs. It draws through the canvas and the cell panel and reads the pointer
// through the platform layer.
#pragma once

#include <QObject>
#include <functional>

#include "picture/canvas_geometry.h"
#include "picture/editor_state.h"
#include "picture/pointer_polls.h"

class QFrame;
class QLabel;
class QMenu;
class QTabBar;

namespace lumigrid {

namespace ui {
class Platform;
}
class CanvasWidget;
class CellPanel;

class Editor : public QObject {
  Q_OBJECT

 public:
  struct Widgets {
    QTabBar* tabs = nullptr;
    QFrame* canvas_frame = nullptr;
    CanvasWidget* canvas = nullptr;
    CellPanel* cell_panel = nullptr;
    QLabel* hint = nullptr;
    QMenu* cell_popup = nullptr;  // pop-up menu 1
  };

  Editor(EditorState& state, ui::Platform& platform, const Widgets& widgets,
         QObject* parent = nullptr);

  // Called for a double click outside editing: switches to work mode 1.
  void SetReturnToEditing(std::function<void()> handler) {
    return_to_editing_ = std::move(handler);
  }

  // Drawing from the buffer bytes.
  void RedrawCanvas();                    // current buffer, all cells normal
  void RedrawCell(int c, CellLook look);  // from the current buffer
  void ShowPicture(int b);                // any buffer, all cells normal (tab unchanged)
  // After a change anywhere in the current picture: the canvas, the open cell's enlarged view
  // and its readout follow the new bytes.
  void RefreshPicture();

  void OpenCell(int c);
  // After an edit of a whole cell of the current buffer: the open cell keeps its look and its
  // enlarged view and readout follow the new bytes; any other cell is redrawn normal.
  void CellEdited(int c);
  // Redraws the open cell normal, greys the enlarged view and leaves no cell open.
  void CloseCell();
  void ClearReadout();

  // The cell the last pop-up menu was shown over.
  int PopupCell() const { return popup_cell_; }

  // Both pointer polls, in order; run after every event of the main window.
  void RunPolls();

  // A choice in the buffer tab strip (tab index 0..9).
  void SwitchBuffer(int tab_index);
  // Selects tab b without making buffer b current.
  void ShowTab(int b);

 signals:
  // Before buffer `to` is made current: the conversion options are swapped here.
  void bufferLeaving(int from, int to);
  // After the switch: title, listing view and focus follow.
  void currentBufferChanged(int b);
  // After every choice in the tab strip, even of the current tab.
  void bufferTabChosen();
  // A left click on a cell of buffer 10 in the optimization mode.
  void skipMapCellClicked(int c);

 private:
  void OnCellPressed(int c, Qt::MouseButton button);
  void OnCellDoubleClicked(int c);
  void PaintPoll();
  void HoverPoll();

  EditorState& state_;
  ui::Platform& platform_;
  Widgets w_;
  std::function<void()> return_to_editing_;
  PaintTracker paint_;
  int stroke_buffer_ = 0;  // buffer of the enlarged-view stroke not yet recorded, 0 for none
  HoverTracker hover_;
  int popup_cell_ = 0;
  bool switching_tab_ = false;
};

}  // namespace lumigrid
