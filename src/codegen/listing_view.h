// The editable text view that receives a buffer's listing; one per buffer.
#pragma once

#include <QPlainTextEdit>

namespace lumigrid {

class ListingView : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ListingView(QWidget* parent = nullptr);
};

}  // namespace lumigrid
