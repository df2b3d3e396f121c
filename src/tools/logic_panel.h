// "Логические операции": combines two buffers into a third with AND, OR or exclusive OR, and
// undoes the last operation once.
#pragma once

#include <array>

#include "tools/logic_ops.h"
#include "ui/side_panel_frame.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace lumigrid {

class Editor;

class LogicPanel : public ui::SidePanelFrame {
  Q_OBJECT

 public:
  explicit LogicPanel(QWidget* parent = nullptr);

  // The buffers it works on and the canvas it redraws; the buttons act only once attached.
  void Attach(EditorState& state, Editor& editor);

  // "Выполнить" and "Отменить...".
  void ApplyLogicOp();
  void UndoLogicOp();
  // Entering the panel's work mode (or the optimization or BIN one) loses the undo.
  void ForfeitUndo();

  LogicOp Operation() const;
  // Buffer numbers 1..10 of the first, second and result lists.
  int FirstBuffer() const;
  int SecondBuffer() const;
  int ResultBuffer() const;

  QRadioButton* OperationButton(LogicOp op) const { return ops_[static_cast<int>(op)]; }
  QComboBox* FirstList() const { return first_; }
  QComboBox* SecondList() const { return second_; }
  QComboBox* ResultList() const { return result_; }
  QPushButton* ExecuteButton() const { return execute_; }
  QPushButton* UndoButton() const { return undo_button_; }
  QPushButton* CloseButton() const { return close_; }

 private:
  void Redraw(int b);
  void ShowUndoState();

  EditorState* state_ = nullptr;
  Editor* editor_ = nullptr;
  LogicUndo undo_;
  std::array<QRadioButton*, 3> ops_{};
  QComboBox* first_ = nullptr;
  QComboBox* second_ = nullptr;
  QComboBox* result_ = nullptr;
  QPushButton* execute_ = nullptr;
  QPushButton* undo_button_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace lumigrid
