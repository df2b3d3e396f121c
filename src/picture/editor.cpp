#include "picture/editor.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QTabBar>

#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/readout_text.h"
#include "picture/zoom_view_widget.h"
#include "ui/platform.h"

namespace lumigrid {

Editor::Editor(EditorState& state, ui::Platform& platform, const Widgets& widgets, QObject* parent)
    : QObject(parent), state_(state), platform_(platform), w_(widgets) {
  connect(w_.canvas, &CanvasWidget::cellPressed, this, &Editor::OnCellPressed);
  connect(w_.canvas, &CanvasWidget::cellDoubleClicked, this, &Editor::OnCellDoubleClicked);
  connect(w_.tabs, &QTabBar::tabBarClicked, this, [this](int index) {
    if (index >= 0) SwitchBuffer(index);
  });
  connect(w_.tabs, &QTabBar::currentChanged, this, [this](int index) {
    // Keyboard changes of the tab strip arrive here only.
    if (!switching_tab_ && index >= 0) SwitchBuffer(index);
  });
}

void Editor::RedrawCanvas() { ShowPicture(state_.CurrentBuffer()); }

void Editor::ShowPicture(int b) { w_.canvas->DrawPicture(state_.Buffer(b)); }

void Editor::RefreshPicture() {
  RedrawCanvas();
  if (state_.SelectedCell() != kNoCell) {
    OpenCell(state_.SelectedCell());
  } else if (state_.WorkMode() == 1 && hover_.HoverCell() != 0) {
    RedrawCell(hover_.HoverCell(), CellLook::kHover);
  }
}

void Editor::RedrawCell(int c, CellLook look) {
  w_.canvas->DrawCell(c, state_.Current().Cell(c), look);
}

void Editor::OpenCell(int c) {
  if (!IsValidCell(c)) return;
  w_.cell_panel->ZoomView()->LoadCell(state_.Current().Cell(c));
  const int open = state_.SelectedCell();
  if (open != kNoCell && open != c) RedrawCell(open, CellLook::kNormal);
  state_.SetSelectedCell(c);
  RedrawCell(c, CellLook::kOpen);
  w_.cell_panel->ShowReadout(CellPosition(c), state_.Current().Cell(c));
}

void Editor::CellEdited(int c) {
  if (c == state_.SelectedCell()) {
    OpenCell(c);
  } else {
    RedrawCell(c, CellLook::kNormal);
  }
}

void Editor::CloseCell() {
  const int open = state_.SelectedCell();
  if (open != kNoCell) RedrawCell(open, CellLook::kNormal);
  w_.cell_panel->ZoomView()->ClearView();
  state_.SetSelectedCell(kNoCell);
}

void Editor::ClearReadout() { w_.cell_panel->ClearReadout(); }

void Editor::OnCellPressed(int c, Qt::MouseButton button) {
  const int mode = state_.WorkMode();
  if (mode == 1) {
    if (button == Qt::RightButton) {
      CloseCell();
      popup_cell_ = c;
      if (w_.cell_popup) w_.cell_popup->popup(platform_.PointerPosition());
    } else if (button == Qt::LeftButton) {
      const int open = state_.SelectedCell();
      if (open != kNoCell && open != c) CloseCell();
    }
  } else if (mode == kOptimizeWorkMode && button == Qt::LeftButton &&
             state_.CurrentBuffer() == kSkipMapBuffer) {
    emit skipMapCellClicked(c);
  }
}

void Editor::OnCellDoubleClicked(int c) {
  const int mode = state_.WorkMode();
  if (mode == kOptimizeWorkMode && state_.CurrentBuffer() == kSkipMapBuffer) return;
  if (mode != 1 && return_to_editing_) return_to_editing_();
  if (state_.WorkMode() == 1) OpenCell(c);
}

void Editor::RunPolls() {
  PaintPoll();
  HoverPoll();
}

void Editor::PaintPoll() {
  const Qt::MouseButtons buttons = platform_.PointerButtons();
  if (stroke_buffer_ != 0 && !(buttons & (Qt::LeftButton | Qt::RightButton))) {
    // A stroke in the enlarged view, from press to release, is one step of the history.
    state_.RecordEdit(stroke_buffer_, "рисование");
    stroke_buffer_ = 0;
  }
  const int c = state_.SelectedCell();
  if (state_.WorkMode() != 1 || c == kNoCell) return;
  ZoomViewWidget* zoom = w_.cell_panel->ZoomView();
  const ZoomViewWidget::Hit hit =
      ZoomViewWidget::SquareAt(zoom->mapFromGlobal(platform_.PointerPosition()));
  const PaintAction action =
      paint_.Poll(hit.square, hit.dx, hit.dy, buttons & Qt::LeftButton, buttons & Qt::RightButton);
  if (action == PaintAction::kNone) return;
  const bool lit = action == PaintAction::kSet;
  const int b = state_.CurrentBuffer();
  if (stroke_buffer_ != b) {
    if (stroke_buffer_ != 0) state_.RecordEdit(stroke_buffer_, "рисование");
    stroke_buffer_ = b;
  }
  state_.MarkModified(b);
  zoom->PaintSquare(hit.square, lit);
  state_.Buffer(b).SetCellPixel(c, SquareByte(hit.square), SquareRow(hit.square), lit);
  RedrawCell(c, CellLook::kOpen);
  w_.cell_panel->ShowReadout(CellPosition(c), state_.Current().Cell(c));
}

void Editor::HoverPoll() {
  const bool editing = state_.WorkMode() == 1 && state_.SelectedCell() == kNoCell;
  const bool skip_map =
      state_.WorkMode() == kOptimizeWorkMode && state_.CurrentBuffer() == kSkipMapBuffer;
  if (!editing && !skip_map) return;
  const QPoint pointer = platform_.PointerPosition();
  const bool over_frame = w_.canvas_frame->rect().contains(w_.canvas_frame->mapFromGlobal(pointer));
  const QPoint on_canvas = w_.canvas->mapFromGlobal(pointer);
  const HoverTracker::Update update =
      hover_.Poll(over_frame, over_frame ? CanvasCellAt(on_canvas.x(), on_canvas.y()) : 0);
  if (update.highlight != 0) {
    RedrawCell(update.highlight, CellLook::kHover);
    if (update.unhighlight != 0) RedrawCell(update.unhighlight, CellLook::kNormal);
    w_.hint->setText(QString::fromStdString(HintText(CellPosition(update.highlight))));
  } else if (update.clear_hint) {
    if (update.unhighlight != 0) RedrawCell(update.unhighlight, CellLook::kNormal);
    w_.hint->clear();
  }
}

void Editor::SwitchBuffer(int tab_index) {
  const int from = state_.CurrentBuffer();
  const int to = tab_index + 1;
  if (to != from && IsValidBuffer(to)) {
    ClearReadout();
    emit bufferLeaving(from, to);
    state_.SetCurrentBuffer(to);
    ShowTab(to);
    RedrawCanvas();
    w_.cell_panel->ZoomView()->ClearView();
    state_.SetSelectedCell(kNoCell);
    emit currentBufferChanged(to);
  }
  emit bufferTabChosen();
}

void Editor::ShowTab(int b) {
  switching_tab_ = true;
  w_.tabs->setCurrentIndex(b - 1);
  switching_tab_ = false;
}

}  // namespace lumigrid
