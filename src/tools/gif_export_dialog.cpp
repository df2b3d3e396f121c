#include "tools/gif_export_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "picture/canvas_geometry.h"

namespace lumigrid {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

GifExportDialog::GifExportDialog(RenderLook look, int scale, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Text("Сохранить анимацию как GIF"));
  canvas_ =
      new QRadioButton(Text("Как на холсте (%1 × %2)").arg(kCanvasWidth).arg(kCanvasHeight), this);
  plain_ = new QRadioButton(Text("Чёрным по белому"), this);
  scale_ = new QSpinBox(this);
  scale_->setRange(1, kMaxPlainScale);
  scale_->setValue(std::clamp(scale, 1, kMaxPlainScale));
  auto* scale_label = new QLabel(Text("Масштаб:"), this);
  ok_ = new QPushButton(Text("Ok"), this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(Text("Отмена"), this);

  auto* options = new QGridLayout;
  options->addWidget(canvas_, 0, 0, 1, 3);
  options->addWidget(plain_, 1, 0);
  options->addWidget(scale_label, 1, 1);
  options->addWidget(scale_, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(options);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  (look == RenderLook::kCanvas ? canvas_ : plain_)->setChecked(true);
  scale_->setEnabled(look == RenderLook::kPlain);
  connect(plain_, &QRadioButton::toggled, scale_, &QSpinBox::setEnabled);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

RenderLook GifExportDialog::Look() const {
  return canvas_->isChecked() ? RenderLook::kCanvas : RenderLook::kPlain;
}

int GifExportDialog::Scale() const { return scale_->value(); }

}  // namespace lumigrid
