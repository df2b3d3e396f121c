// The "Редактируемый символ" panel: the enlarged view of the open cell and its readout.
#pragma once

#include <string>

#include "picture/geometry.h"
#include "picture/picture_buffer.h"
#include "ui/side_panel_frame.h"

class QLabel;
class QLineEdit;

namespace lumigrid {

class ZoomViewWidget;

class CellPanel : public ui::SidePanelFrame {
  Q_OBJECT

 public:
  explicit CellPanel(QWidget* parent = nullptr);

  ZoomViewWidget* ZoomView() const { return zoom_; }
  QLabel* PositionLabel() const { return position_label_; }
  QLabel* PositionValues() const { return position_values_; }
  QLineEdit* CodeField() const { return code_field_; }

  void ShowReadout(const CellPlace& place, const CellBytes& bytes);
  void ClearReadout();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ZoomViewWidget* zoom_ = nullptr;
  QLabel* position_label_ = nullptr;
  QLabel* position_values_ = nullptr;
  QLineEdit* code_field_ = nullptr;
};

}  // namespace lumigrid
