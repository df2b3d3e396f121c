#include "ui/compact_combo_style.h"

#include <QApplication>
#include <QComboBox>
#include <QStyleOptionComplex>

namespace lumigrid::ui {

QRect CompactComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl sub_control, const QWidget* widget) const {
  if (control != CC_ComboBox) {
    return QProxyStyle::subControlRect(control, option, sub_control, widget);
  }
  const QRect r = option->rect;
  const int frame = 2;
  const int arrow_left = r.right() - frame - kArrowWidth + 1;
  QRect rect;
  switch (sub_control) {
    case SC_ComboBoxArrow:
      rect = QRect(arrow_left, r.top() + frame, kArrowWidth, r.height() - 2 * frame);
      break;
    case SC_ComboBoxEditField:
      rect = QRect(r.left() + frame, r.top() + frame, arrow_left - r.left() - frame,
                   r.height() - 2 * frame);
      break;
    default:
      return QProxyStyle::subControlRect(control, option, sub_control, widget);
  }
  return visualRect(option->direction, r, rect);
}

void CompactComboStyle::Apply(QComboBox* list) {
  static CompactComboStyle* style = [] {
    auto* s = new CompactComboStyle;
    s->setParent(qApp);  // lives as long as the application
    return s;
  }();
  list->setStyle(style);
}

}  // namespace lumigrid::ui
