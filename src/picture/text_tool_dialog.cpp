#include "picture/text_tool_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "edit/text_layout.h"
#include "edit/text_render_qt.h"

namespace lumigrid {

namespace {

const char* BuiltInName(BitmapFont font) {
  return font == BitmapFont::k5x7 ? "Встроенный 5 × 7" : "Встроенный 8 × 8";
}

}  // namespace

MonoBitmap RenderTextRequest(const TextRequest& request) {
  if (request.bitmap_font) return LayoutText(*request.bitmap_font, request.text.toStdString());
  return RenderSystemFontText(request.family, request.pixel_size, request.text);
}

TextToolDialog::TextToolDialog(const TextRequest& start, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Текст"));
  text_ = new QPlainTextEdit(start.text, this);
  text_->setTabChangesFocus(true);
  fonts_ = new QComboBox(this);
  for (const BitmapFont font : kBitmapFonts) {
    fonts_->addItem(QString::fromUtf8(BuiltInName(font)), static_cast<int>(font));
  }
  for (const QString& family : QFontDatabase::families()) fonts_->addItem(family, family);
  size_ = new QSpinBox(this);
  size_->setRange(kSystemFontMinPixelSize, kSystemFontMaxPixelSize);
  size_->setSuffix(QStringLiteral(" пикс."));
  size_->setValue(start.pixel_size);

  const int chosen = start.bitmap_font ? fonts_->findData(static_cast<int>(*start.bitmap_font))
                                       : fonts_->findData(start.family);
  fonts_->setCurrentIndex(std::max(chosen, 0));
  // The built-in fonts have the one size they are drawn in.
  const auto follow_font = [this] {
    size_->setEnabled(fonts_->currentData().typeId() == QMetaType::QString);
  };
  connect(fonts_, &QComboBox::currentIndexChanged, this, follow_font);
  follow_font();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Текст:"), text_);
  form->addRow(QStringLiteral("Шрифт:"), fonts_);
  form->addRow(QStringLiteral("Размер:"), size_);
  form->addRow(buttons);
  text_->setFocus();
}

TextRequest TextToolDialog::Request() const {
  TextRequest request;
  request.text = text_->toPlainText();
  const QVariant font = fonts_->currentData();
  if (font.typeId() == QMetaType::QString) {
    request.bitmap_font.reset();
    request.family = font.toString();
  } else {
    request.bitmap_font = static_cast<BitmapFont>(font.toInt());
  }
  request.pixel_size = size_->value();
  return request;
}

}  // namespace lumigrid
