#include "app/copy_buffer_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "picture/geometry.h"

namespace lumigrid {

CopyBufferDialog::CopyBufferDialog(int target, int proposed, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      target_(target),
      sources_(new QComboBox(this)) {
  setWindowTitle(QStringLiteral("Копировать буфер"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(QStringLiteral("Рисунок какого буфера скопировать в «Буфер %1»?").arg(target)));
  for (int b = 1; b <= kBufferCount; ++b) {
    if (b == target) continue;
    sources_->addItem(QStringLiteral("Буфер %1").arg(b), b);
    if (b == proposed) sources_->setCurrentIndex(sources_->count() - 1);
  }
  layout->addWidget(sources_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CopyBufferDialog::Source() const { return sources_->currentData().toInt(); }

}  // namespace lumigrid
