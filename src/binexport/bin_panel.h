// "Преобразование кода в BIN формат": which buffers go into the binary file, in which byte
// order, and where in the file they go.
#pragma once

#include <QString>
#include <array>

#include "binexport/bin_block.h"
#include "ui/side_panel_frame.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumigrid {

// The panel's choices as the command reads them at its start.
struct BinChoices {
  BinSlots slot_values{};
  int grouping = 0;
  int destination = 0;  // 0 "новом файле", 1 "существующем"
  int placement = 0;    // 0 "в конец файла", 1 "произвольно"
  QString address;      // the start-address field's text
  int method = 0;       // 0 "Вставить", 1 "Заменить"
};

class BinPanel : public ui::SidePanelFrame {
  Q_OBJECT

 public:
  static constexpr int kDestinationExisting = 1;
  static constexpr int kPlacementAtAddress = 1;
  static constexpr int kMethodReplace = 1;

  explicit BinPanel(QWidget* parent = nullptr);

  BinChoices Choices() const;

  QComboBox* Slot(int k) const { return slots_[k - 1]; }  // k 1..10
  QCheckBox* GroupingBox() const { return grouping_; }
  QPushButton* ConvertButton() const { return convert_; }
  QComboBox* DestinationList() const { return destination_; }
  QComboBox* PlacementList() const { return placement_; }
  QLineEdit* AddressField() const { return address_; }
  QComboBox* MethodList() const { return method_; }

 signals:
  void convertRequested();

 private:
  void RefreshConvertButton();
  void RefreshPlacementControls();

  std::array<QComboBox*, kBufferCount> slots_{};
  QCheckBox* grouping_ = nullptr;
  QPushButton* convert_ = nullptr;
  QComboBox* destination_ = nullptr;
  QComboBox* placement_ = nullptr;
  QLineEdit* address_ = nullptr;
  QComboBox* method_ = nullptr;
};

}  // namespace lumigrid
