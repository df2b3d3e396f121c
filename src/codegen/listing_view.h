// The editable text view that receives a buffer's listing; one per buffer.
#pragma once

#include <QPlainTextEdit>

namespace lumigrid {

class ListingView : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ListingView(QWidget* parent = nullptr);

  // The whole text exactly as shown, lines ending in "\n". Unlike toPlainText(), a no-break
  // space stays one: it is a character of its own in the saved Windows-1251 file.
  QString ExactText() const;
  // The selection, the same way.
  QString ExactSelection() const;

 protected:
  // Copy and drag carry the exact selection too.
  QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace lumigrid
