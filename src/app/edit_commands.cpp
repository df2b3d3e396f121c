#include "app/edit_commands.h"

#include <QFrame>

#include "app/commands.h"
#include "app/main_window.h"
#include "codegen/listing_view.h"
#include "commands/command_table.h"
#include "optimize/optimize_panel.h"
#include "optimize/report_view.h"
#include "picture/canvas_widget.h"
#include "picture/editor.h"
#include "ui/platform.h"

namespace lumigrid {

EditCommands::EditCommands(MainWindow& window) : QObject(&window), window_(window) {}

void EditCommands::Register(CommandTable& commands) {
  using namespace command;
  commands.Register(kCellCut, [this] { PopupOperation(CellOperation::kCut, true); });
  commands.Register(kCellCopy, [this] { PopupOperation(CellOperation::kCopy, false); });
  commands.Register(kCellPaste, [this] { PopupOperation(CellOperation::kPaste, true); });
  commands.Register(kCellClear, [this] { PopupOperation(CellOperation::kClear, true); });
  commands.Register(kShortcutCut, [this] {
    if (!ShortcutOnCell(CellOperation::kCut)) window_.Platform().Beep();
  });
  commands.Register(kShortcutCopy, [this] { ShortcutCopy(); });
  commands.Register(kShortcutPaste, [this] {
    if (!ShortcutOnCell(CellOperation::kPaste)) window_.Platform().Beep();
  });
  commands.Register(kShortcutSelectAll, [this] { ShortcutSelectAll(); });
  commands.Register(kShortcutSave, [this] { ShortcutSave(); });
}

void EditCommands::Edit(int c, CellOperation operation, bool marks_modified) {
  const int b = window_.State().CurrentBuffer();
  if (!ApplyCellOperation(window_.State(), b, c, operation)) return;
  if (marks_modified) window_.State().MarkModified(b);
  if (operation == CellOperation::kCopy) return;
  window_.State().RecordEdit(b, CellOperationName(operation));
  window_.Editor().CellEdited(c);
}

void EditCommands::PopupOperation(CellOperation operation, bool marks_modified) {
  Edit(window_.Editor().PopupCell(), operation, marks_modified);
}

bool EditCommands::PointerOver(const QWidget* widget) const {
  const QRect on_screen(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  return widget->isVisible() && on_screen.contains(window_.Platform().PointerPosition());
}

bool EditCommands::PointerOverReport() const {
  return window_.State().WorkMode() == 4 && PointerOver(window_.OptimizeSidePanel()->Report());
}

bool EditCommands::ShortcutOnCell(CellOperation operation) {
  if (window_.State().WorkMode() != 1 || !PointerOver(window_.CanvasFrame())) return false;
  const QPoint p = window_.Canvas()->mapFromGlobal(window_.Platform().PointerPosition());
  const int c = CanvasCellAt(p.x(), p.y());
  if (c == 0) return false;
  // From the keyboard even a copy counts as a change of the buffer.
  Edit(c, operation, true);
  return true;
}

void EditCommands::ShortcutCopy() {
  if (ShortcutOnCell(CellOperation::kCopy)) return;
  if (PointerOverReport()) {
    window_.Dispatch(command::kReportCopy);
  } else if (PointerOver(window_.CurrentListing())) {
    window_.Dispatch(command::kListingCopy);
  } else {
    window_.Platform().Beep();
  }
}

void EditCommands::ShortcutSelectAll() {
  if (PointerOverReport()) {
    window_.Dispatch(command::kReportSelectAll);
  } else if (PointerOver(window_.CurrentListing())) {
    window_.Dispatch(command::kListingSelectAll);
  } else {
    window_.Platform().Beep();
  }
}

void EditCommands::ShortcutSave() {
  if (PointerOverReport()) {
    window_.Dispatch(command::kReportSave);
  } else if (PointerOver(window_.CurrentListing())) {
    window_.Dispatch(command::kListingSave);
  } else {
    window_.Platform().Beep();
  }
}

}  // namespace lumigrid
