#include "ui/compact_style.h"

#include <QApplication>
#include <QStyleOptionComplex>
#include <QWidget>
#include <optional>

namespace lumigrid::ui {

namespace {

std::optional<QRect> SpinBoxPart(const QRect& r, QStyle::SubControl sub_control) {
  const int frame = 1;
  const int width = CompactStyle::kSpinButtonWidth;
  const int buttons_left = r.right() - frame - width + 1;
  const int half = (r.height() - 2 * frame) / 2;
  switch (sub_control) {
    case QStyle::SC_SpinBoxUp:
      return QRect(buttons_left, r.top() + frame, width, half);
    case QStyle::SC_SpinBoxDown:
      return QRect(buttons_left, r.top() + frame + half, width, r.height() - 2 * frame - half);
    case QStyle::SC_SpinBoxEditField:
      return QRect(r.left() + frame + 1, r.top() + frame, buttons_left - r.left() - frame - 1,
                   r.height() - 2 * frame);
    case QStyle::SC_SpinBoxFrame:
      return r;
    default:
      return std::nullopt;
  }
}

std::optional<QRect> ComboBoxPart(const QRect& r, QStyle::SubControl sub_control) {
  const int frame = 2;
  const int width = CompactStyle::kComboArrowWidth;
  const int arrow_left = r.right() - frame - width + 1;
  switch (sub_control) {
    case QStyle::SC_ComboBoxArrow:
      return QRect(arrow_left, r.top() + frame, width, r.height() - 2 * frame);
    case QStyle::SC_ComboBoxEditField:
      return QRect(r.left() + frame, r.top() + frame, arrow_left - r.left() - frame,
                   r.height() - 2 * frame);
    default:
      return std::nullopt;
  }
}

}  // namespace

QRect CompactStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                   SubControl sub_control, const QWidget* widget) const {
  std::optional<QRect> part;
  if (control == CC_SpinBox) part = SpinBoxPart(option->rect, sub_control);
  if (control == CC_ComboBox) {
    part = ComboBoxPart(option->rect, sub_control);
    if (part) part = visualRect(option->direction, option->rect, *part);
  }
  return part ? *part : QProxyStyle::subControlRect(control, option, sub_control, widget);
}

void CompactStyle::Apply(QWidget* control) {
  static CompactStyle* style = [] {
    auto* s = new CompactStyle;
    s->setParent(qApp);  // lives as long as the application
    return s;
  }();
  control->setStyle(style);
}

}  // namespace lumigrid::ui
