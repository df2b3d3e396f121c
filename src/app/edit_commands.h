// Cut, copy, paste and clear of canvas cells, and the edit shortcuts, which act on whatever
// lies under the mouse pointer: a canvas cell in editing, the optimization report in its
// mode, else the current listing view.
#pragma once

#include <QObject>

#include "picture/cell_operations.h"

class QWidget;

namespace lumigrid {

class CommandTable;
class MainWindow;

class EditCommands : public QObject {
  Q_OBJECT

 public:
  explicit EditCommands(MainWindow& window);

  // Commands 40..43 of the cell pop-up menu and the shortcuts 85..89.
  void Register(CommandTable& commands);

 private:
  // The cell pop-up menu acts on the cell it was shown over.
  void PopupOperation(CellOperation operation, bool marks_modified);
  // Ctrl+X, Ctrl+C, Ctrl+V on the cell under the pointer; false when there is none.
  bool ShortcutOnCell(CellOperation operation);
  void ShortcutCopy();
  void ShortcutSelectAll();
  void ShortcutSave();
  void Edit(int c, CellOperation operation, bool marks_modified);
  bool PointerOver(const QWidget* widget) const;
  // In the optimization mode the report view takes the text shortcuts first.
  bool PointerOverReport() const;

  MainWindow& window_;
};

}  // namespace lumigrid
