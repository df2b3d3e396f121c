#include "tools/logic_panel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "picture/editor.h"
#include "ui/compact_style.h"

namespace lumigrid {

namespace {

constexpr int kListHeight = 180;  // of the opened list, in pixels

QComboBox* BufferList(QWidget* parent, int x, int y, int initial_buffer) {
  auto* list = new QComboBox(parent);
  ui::CompactStyle::Apply(list);
  for (int b = 1; b <= kBufferCount; ++b) list->addItem(QStringLiteral("Буфер %1").arg(b));
  list->setGeometry(x, y, 80, 21);
  list->setMaxVisibleItems(kListHeight / 18);
  list->setCurrentIndex(initial_buffer - 1);
  return list;
}

}  // namespace

LogicPanel::LogicPanel(QWidget* parent)
    : ui::SidePanelFrame(QStringLiteral("Логические операции"), 300,
                         QStringLiteral("Закрыть панель логических операций"), parent, 230) {
  (new QGroupBox(QStringLiteral("Логическая операция"), this))->setGeometry(20, 20, 170, 90);
  ops_[static_cast<int>(LogicOp::kAnd)] = new QRadioButton(QStringLiteral("«И»"), this);
  ops_[static_cast<int>(LogicOp::kAnd)]->setGeometry(30, 40, 100, 15);
  ops_[static_cast<int>(LogicOp::kOr)] = new QRadioButton(QStringLiteral("«ИЛИ»"), this);
  ops_[static_cast<int>(LogicOp::kOr)]->setGeometry(30, 60, 100, 15);
  ops_[static_cast<int>(LogicOp::kXor)] =
      new QRadioButton(QStringLiteral("«Исключающее ИЛИ»"), this);
  ops_[static_cast<int>(LogicOp::kXor)]->setGeometry(30, 80, 140, 15);
  ops_[static_cast<int>(LogicOp::kAnd)]->setChecked(true);

  (new QLabel(QStringLiteral(" 1-вый буфер"), this))->setGeometry(4, 130, 70, 15);
  (new QLabel(QStringLiteral(" 2-рой  буфер"), this))->setGeometry(4, 160, 70, 15);
  (new QLabel(QStringLiteral(" Результат поместить в..."), this))->setGeometry(4, 200, 130, 15);
  first_ = BufferList(this, 140, 127, 1);
  second_ = BufferList(this, 140, 157, 2);
  result_ = BufferList(this, 140, 197, 3);

  execute_ = new QPushButton(QStringLiteral("Выполнить"), this);
  execute_->setGeometry(20, 236, 80, 24);
  undo_button_ = new QPushButton(QStringLiteral("Отменить..."), this);
  undo_button_->setGeometry(130, 236, 80, 24);
  undo_button_->setToolTip(QStringLiteral("Отменить последнее действие"));
  close_ = new QPushButton(QStringLiteral("Закрыть"), this);
  close_->setGeometry(80, 270, 80, 24);
  ShowUndoState();

  connect(execute_, &QPushButton::clicked, this, &LogicPanel::ApplyLogicOp);
  connect(undo_button_, &QPushButton::clicked, this, &LogicPanel::UndoLogicOp);
  connect(close_, &QPushButton::clicked, this, &ui::SidePanelFrame::closeRequested);
  // The undo belongs to the result buffer it was taken from.
  connect(result_, &QComboBox::currentIndexChanged, this, &LogicPanel::ForfeitUndo);
}

void LogicPanel::Attach(EditorState& state, Editor& editor) {
  state_ = &state;
  editor_ = &editor;
}

LogicOp LogicPanel::Operation() const {
  for (LogicOp op : {LogicOp::kOr, LogicOp::kXor}) {
    if (OperationButton(op)->isChecked()) return op;
  }
  return LogicOp::kAnd;
}

int LogicPanel::FirstBuffer() const { return first_->currentIndex() + 1; }
int LogicPanel::SecondBuffer() const { return second_->currentIndex() + 1; }
int LogicPanel::ResultBuffer() const { return result_->currentIndex() + 1; }

void LogicPanel::ApplyLogicOp() {
  if (!state_) return;
  const int r = ResultBuffer();
  undo_.Apply(*state_, Operation(), FirstBuffer(), SecondBuffer(), r);
  ShowUndoState();
  Redraw(r);
}

void LogicPanel::UndoLogicOp() {
  if (!state_) return;
  const int b = undo_.Undo(*state_);
  ShowUndoState();
  if (b != 0) Redraw(b);
}

void LogicPanel::ForfeitUndo() {
  undo_.Forfeit();
  ShowUndoState();
}

void LogicPanel::Redraw(int b) {
  if (editor_ && b == state_->CurrentBuffer()) editor_->RedrawCanvas();
}

void LogicPanel::ShowUndoState() { undo_button_->setEnabled(undo_.Available()); }

}  // namespace lumigrid
