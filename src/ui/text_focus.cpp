#include "ui/text_focus.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace lumigrid::ui {

bool EditsText(const QWidget* w) {
  if (const auto* line = qobject_cast<const QLineEdit*>(w)) return !line->isReadOnly();
  if (const auto* text = qobject_cast<const QTextEdit*>(w)) return !text->isReadOnly();
  if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w)) return !plain->isReadOnly();
  return qobject_cast<const QAbstractSpinBox*>(w) != nullptr;
}

}  // namespace lumigrid::ui
