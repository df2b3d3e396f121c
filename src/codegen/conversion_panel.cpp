#include "codegen/conversion_panel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/compact_style.h"

namespace lumigrid {

namespace {

// A spin box whose number changes only with its arrows: its text cannot be typed.
QSpinBox* ArrowSpinBox(QWidget* parent, const QRect& geometry) {
  auto* spin = new QSpinBox(parent);
  spin->setGeometry(geometry);
  spin->setRange(ConversionPanel::kMinIndent, ConversionPanel::kMaxIndent);
  if (auto* text = spin->findChild<QLineEdit*>()) text->setReadOnly(true);
  ui::CompactStyle::Apply(spin);
  return spin;
}

}  // namespace

ConversionPanel::ConversionPanel(QWidget* parent)
    : ui::SidePanelFrame(QStringLiteral("Преобразование данных"), 150, QString(), parent) {
  // The frames go first so that the controls lie above them.
  (new QGroupBox(QStringLiteral("Директива"), this))->setGeometry(5, 20, 70, 64);
  (new QGroupBox(QStringLiteral("Длина отступов"), this))->setGeometry(90, 20, 130, 64);

  dt_ = new QRadioButton(QStringLiteral("DT"), this);
  dt_->setGeometry(15, 34, 50, 15);
  own_ = new QRadioButton(this);
  own_->setGeometry(15, 60, 20, 15);
  directive_ = new QLineEdit(this);
  directive_->setGeometry(35, 56, 30, 20);

  file_name_ = new QCheckBox(QStringLiteral("Добавить имя файла"), this);
  file_name_->setGeometry(15, 88, 130, 15);
  grouping_ = new QCheckBox(QStringLiteral("Группировка по кристаллам"), this);
  grouping_->setGeometry(15, 105, 170, 15);

  convert_ = new QPushButton(QStringLiteral("Преобразовать"), this);
  convert_->setGeometry(70, 122, 100, 24);

  (new QLabel(QStringLiteral("Первый отступ:"), this))->setGeometry(94, 34, 80, 15);
  first_indent_ = ArrowSpinBox(this, QRect(180, 32, 30, 20));
  (new QLabel(QStringLiteral("Второй отступ:"), this))->setGeometry(94, 60, 80, 15);
  second_indent_ = ArrowSpinBox(this, QRect(180, 58, 30, 20));

  connect(dt_, &QRadioButton::clicked, this, &ConversionPanel::RefreshDirectiveField);
  connect(own_, &QRadioButton::clicked, this, &ConversionPanel::RefreshDirectiveField);
  connect(convert_, &QPushButton::clicked, this, &ConversionPanel::convertRequested);

  SetOptions(ListingOptions{});
}

ListingOptions ConversionPanel::Options() const {
  ListingOptions options;
  options.use_dt = dt_->isChecked();
  options.add_file_name = file_name_->isChecked();
  options.group_by_crystal = grouping_->isChecked();
  options.first_indent = first_indent_->value();
  options.second_indent = second_indent_->value();
  options.directive_name = directive_->text().toStdString();
  return options;
}

void ConversionPanel::SetOptions(const ListingOptions& options) {
  dt_->setChecked(options.use_dt);
  own_->setChecked(!options.use_dt);
  file_name_->setChecked(options.add_file_name);
  grouping_->setChecked(options.group_by_crystal);
  first_indent_->setValue(options.first_indent);
  second_indent_->setValue(options.second_indent);
  directive_->setText(QString::fromStdString(options.directive_name));
  RefreshDirectiveField();
}

void ConversionPanel::RefreshDirectiveField() { directive_->setEnabled(!dt_->isChecked()); }

}  // namespace lumigrid
