// A style for the narrow drop-down lists of the side panels: a slim arrow button, so that
// the longest item still shows whole in a list of the width the panels give it.
#pragma once

#include <QProxyStyle>

class QComboBox;

namespace lumigrid::ui {

class CompactComboStyle : public QProxyStyle {
  Q_OBJECT

 public:
  static constexpr int kArrowWidth = 13;

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl sub_control, const QWidget* widget) const override;

  // One shared instance for every compact drop-down list of the program.
  static void Apply(QComboBox* list);
};

}  // namespace lumigrid::ui
