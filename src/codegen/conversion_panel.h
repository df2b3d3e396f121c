// "Преобразование данных": the options of the listing of the current buffer and the button
// that generates it.
#pragma once

#include "picture/listing_options.h"
#include "ui/side_panel_frame.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace lumigrid {

class ConversionPanel : public ui::SidePanelFrame {
  Q_OBJECT

 public:
  static constexpr int kMinIndent = 2;
  static constexpr int kMaxIndent = 20;

  explicit ConversionPanel(QWidget* parent = nullptr);

  // The options the controls show, and showing a buffer's options.
  ListingOptions Options() const;
  void SetOptions(const ListingOptions& options);

  // The directive field can be typed in only while the own directive is chosen.
  void RefreshDirectiveField();

  QRadioButton* DtOption() const { return dt_; }
  QRadioButton* OwnOption() const { return own_; }
  QLineEdit* DirectiveField() const { return directive_; }
  QCheckBox* FileNameBox() const { return file_name_; }
  QCheckBox* GroupingBox() const { return grouping_; }
  QSpinBox* FirstIndent() const { return first_indent_; }
  QSpinBox* SecondIndent() const { return second_indent_; }
  QPushButton* ConvertButton() const { return convert_; }

 signals:
  void convertRequested();

 private:
  QRadioButton* dt_ = nullptr;
  QRadioButton* own_ = nullptr;
  QLineEdit* directive_ = nullptr;
  QCheckBox* file_name_ = nullptr;
  QCheckBox* grouping_ = nullptr;
  QSpinBox* first_indent_ = nullptr;
  QSpinBox* second_indent_ = nullptr;
  QPushButton* convert_ = nullptr;
};

}  // namespace lumigrid
