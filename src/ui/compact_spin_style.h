// A style for very narrow spin boxes: slim arrow buttons, so that two digits still show in a
// box 30 pixels wide.
#pragma once

#include <QProxyStyle>

class QSpinBox;

namespace lumigrid::ui {

class CompactSpinStyle : public QProxyStyle {
  Q_OBJECT

 public:
  static constexpr int kButtonWidth = 11;

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl sub_control, const QWidget* widget) const override;

  // One shared instance for every compact spin box of the program.
  static void Apply(QSpinBox* spin);
};

}  // namespace lumigrid::ui
