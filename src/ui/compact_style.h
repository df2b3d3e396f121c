// A style for the side panels' narrow controls: slim arrow buttons, so that two digits still
// show in a spin box 30 pixels wide and the longest item shows whole in a drop-down list of the
// width the panels give it.
#pragma once

#include <QProxyStyle>

namespace lumigrid::ui {

class CompactStyle : public QProxyStyle {
  Q_OBJECT

 public:
  static constexpr int kSpinButtonWidth = 11;
  static constexpr int kComboArrowWidth = 13;

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl sub_control, const QWidget* widget) const override;

  // One shared instance for every compact spin box and drop-down list of the program.
  static void Apply(QWidget* control);
};

}  // namespace lumigrid::ui
