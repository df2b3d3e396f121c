#include "files/import_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "picture/canvas_widget.h"

namespace lumigrid {

namespace {

constexpr int kPreviewBoxWidth = 256;
constexpr int kPreviewBoxHeight = 192;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// A slider and a spin box showing one number; either moves the other.
void Pair(QSlider* slider, QSpinBox* field, int min, int max) {
  slider->setRange(min, max);
  field->setRange(min, max);
  QObject::connect(slider, &QSlider::valueChanged, field, &QSpinBox::setValue);
  QObject::connect(field, &QSpinBox::valueChanged, slider, &QSlider::setValue);
}

void SelectData(QComboBox* list, int value) {
  const int index = list->findData(value);
  list->setCurrentIndex(index >= 0 ? index : 0);
}

}  // namespace

ImportDialog::ImportDialog(ImportSession session, const ConversionOptions& options,
                           int target_buffer, QWidget* parent)
    : QDialog(parent), session_(std::move(session)) {
  setWindowTitle(Text("Импорт с настройками"));

  auto* source_box = new QGroupBox(Text("Рисунок"), this);
  source_ = new QLabel(source_box);
  source_->setFixedSize(kPreviewBoxWidth, kPreviewBoxHeight);
  source_->setAlignment(Qt::AlignCenter);
  previous_ = new QPushButton(Text("◀"), source_box);
  next_ = new QPushButton(Text("▶"), source_box);
  frame_label_ = new QLabel(source_box);
  auto* frames_row = new QHBoxLayout;
  frames_row->addWidget(previous_);
  frames_row->addWidget(frame_label_, 1, Qt::AlignCenter);
  frames_row->addWidget(next_);
  auto* source_layout = new QVBoxLayout(source_box);
  source_layout->addWidget(source_);
  source_layout->addLayout(frames_row);

  auto* result_box = new QGroupBox(Text("Результат"), this);
  result_ = new CanvasWidget(result_box);
  auto* result_layout = new QVBoxLayout(result_box);
  result_layout->addWidget(result_);

  threshold_slider_ = new QSlider(Qt::Horizontal, this);
  threshold_ = new QSpinBox(this);
  Pair(threshold_slider_, threshold_, 0, 255);
  invert_ = new QCheckBox(Text("Инвертировать"), this);
  fit_ = new QComboBox(this);
  fit_->addItem(Text("растянуть"), static_cast<int>(Fit::kStretch));
  fit_->addItem(Text("вписать целиком"), static_cast<int>(Fit::kContain));
  fit_->addItem(Text("заполнить, обрезав лишнее"), static_cast<int>(Fit::kCover));
  margin_ = new QComboBox(this);
  margin_->addItem(Text("не закрашены"), static_cast<int>(Margin::kUnlit));
  margin_->addItem(Text("закрашены"), static_cast<int>(Margin::kLit));
  dither_ = new QComboBox(this);
  dither_->addItem(Text("нет"), static_cast<int>(Dither::kNone));
  dither_->addItem(Text("Флойд — Стейнберг"), static_cast<int>(Dither::kFloydSteinberg));
  dither_->addItem(Text("Аткинсон"), static_cast<int>(Dither::kAtkinson));
  dither_->addItem(Text("упорядоченный 4 × 4"), static_cast<int>(Dither::kOrdered4));
  dither_->addItem(Text("упорядоченный 8 × 8"), static_cast<int>(Dither::kOrdered));
  brightness_slider_ = new QSlider(Qt::Horizontal, this);
  brightness_ = new QSpinBox(this);
  Pair(brightness_slider_, brightness_, -kMaxBrightness, kMaxBrightness);
  contrast_slider_ = new QSlider(Qt::Horizontal, this);
  contrast_ = new QSpinBox(this);
  Pair(contrast_slider_, contrast_, -kMaxContrast, kMaxContrast);
  buffer_ = new QComboBox(this);
  for (int b = 1; b <= kBufferCount; ++b) buffer_->addItem(Text("Буфер ") + QString::number(b), b);

  auto* controls = new QGridLayout;
  int row = 0;
  const auto add_row = [&](const char* label, QWidget* first, QWidget* second, int column) {
    controls->addWidget(new QLabel(Text(label), this), row, column);
    if (second == nullptr) {
      controls->addWidget(first, row, column + 1, 1, 2);
    } else {
      controls->addWidget(first, row, column + 1);
      controls->addWidget(second, row, column + 2);
    }
  };
  add_row("Порог:", threshold_slider_, threshold_, 0);
  add_row("Размещение:", fit_, nullptr, 3);
  ++row;
  add_row("Яркость:", brightness_slider_, brightness_, 0);
  add_row("Поля:", margin_, nullptr, 3);
  ++row;
  add_row("Контраст:", contrast_slider_, contrast_, 0);
  add_row("Растр:", dither_, nullptr, 3);
  ++row;
  controls->addWidget(invert_, row, 1);
  add_row("В буфер:", buffer_, nullptr, 3);
  controls->setColumnStretch(1, 1);
  controls->setColumnMinimumWidth(3, 90);

  defaults_ = new QPushButton(Text("По умолчанию"), this);
  plan_label_ = new QLabel(this);
  ok_ = new QPushButton(Text("Ok"), this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(Text("Отмена"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(defaults_);
  buttons->addWidget(plan_label_, 1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* top = new QHBoxLayout;
  top->addWidget(source_box);
  top->addWidget(result_box);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(controls);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  SetOptions(options);
  SelectData(buffer_, IsValidBuffer(target_buffer) ? target_buffer : 1);
  ShowFrame(0);
  UpdatePlan();

  for (QSpinBox* field : {threshold_, brightness_, contrast_}) {
    connect(field, &QSpinBox::valueChanged, this, &ImportDialog::Refresh);
  }
  connect(invert_, &QCheckBox::toggled, this, &ImportDialog::Refresh);
  for (QComboBox* list : {fit_, margin_, dither_}) {
    connect(list, &QComboBox::currentIndexChanged, this, &ImportDialog::Refresh);
  }
  connect(buffer_, &QComboBox::currentIndexChanged, this, &ImportDialog::UpdatePlan);
  connect(defaults_, &QPushButton::clicked, this, [this] { SetOptions(ConversionOptions{}); });
  connect(previous_, &QPushButton::clicked, this, [this] { ShowFrame(shown_ - 1); });
  connect(next_, &QPushButton::clicked, this, [this] { ShowFrame(shown_ + 1); });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

ImportDialog::~ImportDialog() = default;

ConversionOptions ImportDialog::Options() const {
  ConversionOptions options;
  options.threshold = threshold_->value();
  options.invert = invert_->isChecked();
  options.fit = static_cast<Fit>(fit_->currentData().toInt());
  // Only a contained image has a margin; otherwise the option keeps its default.
  if (options.fit == Fit::kContain)
    options.margin = static_cast<Margin>(margin_->currentData().toInt());
  options.dither = static_cast<Dither>(dither_->currentData().toInt());
  options.brightness = brightness_->value();
  options.contrast = contrast_->value();
  return options;
}

void ImportDialog::SetOptions(const ConversionOptions& options) {
  setting_ = true;
  threshold_->setValue(options.threshold);
  invert_->setChecked(options.invert);
  SelectData(fit_, static_cast<int>(options.fit));
  // A margin converted with the image shows clear, as long as the image is not inverted.
  SelectData(margin_,
             static_cast<int>(options.margin == Margin::kLit ? Margin::kLit : Margin::kUnlit));
  SelectData(dither_, static_cast<int>(options.dither));
  brightness_->setValue(options.brightness);
  contrast_->setValue(options.contrast);
  setting_ = false;
  Refresh();
}

int ImportDialog::TargetBuffer() const { return buffer_->currentData().toInt(); }

PictureBytes ImportDialog::Result(int i) const { return session_.Picture(i, Options()); }

void ImportDialog::ShowFrame(int i) {
  const int kept = session_.FramesKept();
  shown_ = std::clamp(i, 0, std::max(kept - 1, 0));
  previous_->setEnabled(shown_ > 0);
  next_->setEnabled(shown_ + 1 < kept);
  previous_->setVisible(session_.FrameCount() > 1);
  next_->setVisible(session_.FrameCount() > 1);
  QString text = Text("Кадр %1 из %2").arg(shown_ + 1).arg(kept);
  if (session_.FrameCount() > kept) {
    text += Text(" (всего %1)").arg(session_.FrameCount());
  }
  frame_label_->setText(session_.FrameCount() > 1 ? text : QString());
  ShowSource();
  Refresh();
}

void ImportDialog::ShowSource() {
  const ImportSession::Preview preview = session_.PreviewOf(shown_);
  QImage image(preview.width, preview.height, QImage::Format_RGB32);
  for (int y = 0; y < preview.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < preview.width; ++x) {
      line[x] = 0xFF000000u | preview.pixels[static_cast<std::size_t>(y) * preview.width + x];
    }
  }
  source_->setPixmap(QPixmap::fromImage(image));
}

void ImportDialog::Refresh() {
  if (setting_) return;
  threshold_->setEnabled(dither_->currentData().toInt() == static_cast<int>(Dither::kNone));
  threshold_slider_->setEnabled(threshold_->isEnabled());
  margin_->setEnabled(fit_->currentData().toInt() == static_cast<int>(Fit::kContain));
  PictureBuffer picture;
  picture.Bytes() = Result(shown_);
  result_->DrawPicture(picture);
}

void ImportDialog::UpdatePlan() {
  const int first = TargetBuffer();
  const ImportPlan plan = session_.Plan(first);
  const int count = session_.FrameCount();
  QString text;
  if (count > 1) {
    const int last = first + plan.written - 1;
    text = Text("Кадров: %1, в буферы %2–%3").arg(count).arg(first).arg(last);
    if (plan.left_out > 0) text += Text("; не поместятся: %1").arg(plan.left_out);
    text += '.';
  }
  plan_label_->setText(text);
}

}  // namespace lumigrid
