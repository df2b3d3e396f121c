#include "binexport/bin_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "ui/compact_style.h"

namespace lumigrid {

namespace {

constexpr int kListHeight = 21;

// A drop-down list that cannot be typed in, whose open list is about `list_height` pixels high.
QComboBox* DropDownList(QWidget* parent, int x, int y, int width, const QStringList& items,
                        int list_height) {
  auto* list = new QComboBox(parent);
  ui::CompactStyle::Apply(list);
  list->setEditable(false);
  list->addItems(items);
  list->setGeometry(x, y, width, kListHeight);
  list->setMaxVisibleItems(std::max(1, list_height / 16));
  return list;
}

}  // namespace

BinPanel::BinPanel(QWidget* parent)
    : ui::SidePanelFrame(QStringLiteral("Преобразование кода в BIN формат    "), 458,
                         QStringLiteral("Закрыть панель «Преобразование кода в BIN формат»"),
                         parent) {
  // The frames go first so that the controls lie above them.
  (new QGroupBox(QStringLiteral("Буферы"), this))->setGeometry(10, 22, 120, 270);
  (new QGroupBox(QStringLiteral("Преобразование и сохранение в файле"), this))
      ->setGeometry(4, 300, 220, 134);

  QStringList buffers{QStringLiteral("Нет")};
  for (int b = 1; b <= kBufferCount; ++b) buffers << QStringLiteral("Буфер  %1").arg(b);
  for (int k = 1; k <= kBufferCount; ++k) {
    QComboBox* slot = DropDownList(this, 20, 40 + 24 * (k - 1), 100, buffers, 180);
    slot->setCurrentIndex(k == 1 ? 1 : 0);
    connect(slot, &QComboBox::currentIndexChanged, this, &BinPanel::RefreshConvertButton);
    slots_[k - 1] = slot;
  }

  (new QLabel(QStringLiteral("Сохранить в                 Добавить"), this))
      ->setGeometry(8, 316, 210, 15);
  destination_ = DropDownList(this, 8, 330, 108,
                              {QStringLiteral("новом файле"), QStringLiteral("существующем")}, 80);
  placement_ = DropDownList(this, 120, 330, 100,
                            {QStringLiteral("в конец файла"), QStringLiteral("произвольно")}, 80);
  (new QLabel(QStringLiteral("Начальный адрес   Как добавить данные"), this))
      ->setGeometry(8, 358, 210, 15);
  address_ = new QLineEdit(QStringLiteral("0"), this);
  address_->setGeometry(8, 372, 40, 20);
  address_->setMaxLength(5);
  address_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), this));
  method_ = DropDownList(this, 120, 372, 100,
                         {QStringLiteral("Вставить"), QStringLiteral("Заменить")}, 80);
  connect(destination_, &QComboBox::currentIndexChanged, this, &BinPanel::RefreshPlacementControls);
  connect(placement_, &QComboBox::currentIndexChanged, this, &BinPanel::RefreshPlacementControls);

  grouping_ = new QCheckBox(QStringLiteral("Группировка по кристаллам"), this);
  grouping_->setGeometry(10, 400, 170, 15);
  convert_ = new QPushButton(QStringLiteral("Преобразовать данные..."), this);
  convert_->setGeometry(10, 420, 210, 24);
  convert_->setToolTip(QStringLiteral(
      "Преобразование данных из выбранных буферов в двоичный формат с сохранением в файле"));
  connect(convert_, &QPushButton::clicked, this, &BinPanel::convertRequested);

  RefreshConvertButton();
  RefreshPlacementControls();
}

BinChoices BinPanel::Choices() const {
  BinChoices choices;
  for (int k = 0; k < kBufferCount; ++k) choices.slot_values[k] = slots_[k]->currentIndex();
  choices.grouping = grouping_->isChecked() ? 1 : 0;
  choices.destination = destination_->currentIndex();
  choices.placement = placement_->currentIndex();
  choices.address = address_->text();
  choices.method = method_->currentIndex();
  return choices;
}

void BinPanel::RefreshConvertButton() {
  bool any = false;
  for (const QComboBox* slot : slots_) any = any || slot->currentIndex() > 0;
  convert_->setEnabled(any);
}

// The placement matters only for an existing file, the address and method only when placing
// at an address.
void BinPanel::RefreshPlacementControls() {
  const bool existing = destination_->currentIndex() == kDestinationExisting;
  const bool at_address = existing && placement_->currentIndex() == kPlacementAtAddress;
  placement_->setEnabled(existing);
  address_->setEnabled(at_address);
  method_->setEnabled(at_address);
}

}  // namespace lumigrid
