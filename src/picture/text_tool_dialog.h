// The small dialog of the Text tool: the text, its font and, for an installed font, its size.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "edit/bitmap_fonts.h"
#include "edit/mono_bitmap.h"

class QComboBox;
class QPlainTextEdit;
class QSpinBox;

namespace lumigrid {

// What the Text tool places.
struct TextRequest {
  QString text;
  std::optional<BitmapFont> bitmap_font = BitmapFont::k5x7;  // a built-in font, or else
  QString family;                                            // an installed one
  int pixel_size = 12;                                       // of an installed font, 6..32
};

// The text laid out in its font, ready to stamp; empty when nothing in it prints.
MonoBitmap RenderTextRequest(const TextRequest& request);

class TextToolDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TextToolDialog(const TextRequest& start, QWidget* parent = nullptr);

  TextRequest Request() const;

  QPlainTextEdit* TextField() const { return text_; }
  // The two built-in fonts first, then the installed families.
  QComboBox* FontList() const { return fonts_; }
  QSpinBox* SizeField() const { return size_; }

 private:
  QPlainTextEdit* text_ = nullptr;
  QComboBox* fonts_ = nullptr;
  QSpinBox* size_ = nullptr;
};

}  // namespace lumigrid
