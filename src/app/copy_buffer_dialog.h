// The small dialog of "Копировать буфер…": which buffer's picture replaces the current one.
#pragma once

#include <QDialog>

class QComboBox;

namespace lumigrid {

class CopyBufferDialog : public QDialog {
  Q_OBJECT

 public:
  // Offers every buffer but `target`, `proposed` chosen when it is one of them.
  CopyBufferDialog(int target, int proposed, QWidget* parent);

  int Target() const { return target_; }
  // The buffer chosen, 1..10.
  int Source() const;
  QComboBox* SourceList() const { return sources_; }

 private:
  int target_;
  QComboBox* sources_;
};

}  // namespace lumigrid
