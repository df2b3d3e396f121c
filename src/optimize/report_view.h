// The read-only report of the optimization panel. It shows one styled text at a time and
// keeps it, so that what is saved is exactly what is shown.
#pragma once

#include <QPlainTextEdit>

#include "optimize/styled_text.h"

class QTextDocument;

namespace lumigrid {

class ReportView : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ReportView(QWidget* parent = nullptr);

  // Replaces the content, caret at the start. The document is built aside and set once; the
  // view lays out only the lines it shows, so a long report costs no more than a short one.
  void ShowReport(StyledText text);
  void ClearReport();

  const StyledText& Report() const { return report_; }

  // True when the screen point lies on the view, border included, and the view is visible.
  bool Contains(QPoint global) const;

 private:
  StyledText report_;
  QTextDocument* own_document_ = nullptr;
};

// A document of styled text in `font`, owned by `parent`.
QTextDocument* BuildReportDocument(const StyledText& text, const QFont& font, QObject* parent);

}  // namespace lumigrid
