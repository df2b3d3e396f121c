#include "ui/compact_spin_style.h"

#include <QApplication>
#include <QSpinBox>
#include <QStyleOptionComplex>

namespace lumigrid::ui {

QRect CompactSpinStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                       SubControl sub_control, const QWidget* widget) const {
  if (control != CC_SpinBox) {
    return QProxyStyle::subControlRect(control, option, sub_control, widget);
  }
  const QRect r = option->rect;
  const int frame = 1;
  const int buttons_left = r.right() - frame - kButtonWidth + 1;
  const int half = (r.height() - 2 * frame) / 2;
  switch (sub_control) {
    case SC_SpinBoxUp:
      return {buttons_left, r.top() + frame, kButtonWidth, half};
    case SC_SpinBoxDown:
      return {buttons_left, r.top() + frame + half, kButtonWidth, r.height() - 2 * frame - half};
    case SC_SpinBoxEditField:
      return {r.left() + frame + 1, r.top() + frame, buttons_left - r.left() - frame - 1,
              r.height() - 2 * frame};
    case SC_SpinBoxFrame:
      return r;
    default:
      return QProxyStyle::subControlRect(control, option, sub_control, widget);
  }
}

void CompactSpinStyle::Apply(QSpinBox* spin) {
  static CompactSpinStyle* style = [] {
    auto* s = new CompactSpinStyle;
    s->setParent(qApp);  // lives as long as the application
    return s;
  }();
  spin->setStyle(style);
}

}  // namespace lumigrid::ui
