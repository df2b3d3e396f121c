#include "optimize/report_view.h"

#include <QPlainTextDocumentLayout>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/qt_colour.h"

namespace lumigrid {

ReportView::ReportView(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // The main window shows the report's pop-up menu on a right-button release instead.
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  viewport()->setAcceptDrops(false);
  ShowReport({});
}

QTextDocument* BuildReportDocument(const StyledText& text, const QFont& font, QObject* parent) {
  auto* document = new QTextDocument(parent);
  document->setUndoRedoEnabled(false);
  document->setDefaultFont(font);
  QTextCursor cursor(document);
  QTextCharFormat format;
  for (const StyledSpan& span : text.Spans()) {
    format.setForeground(ui::ToQColor(span.style.colour));
    format.setFontWeight(span.style.bold ? QFont::Bold : QFont::Normal);
    const std::string_view part = text.SpanText(span);
    cursor.insertText(QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())), format);
  }
  // Given at the end: a layout present while the text goes in would follow every insertion.
  document->setDocumentLayout(new QPlainTextDocumentLayout(document));
  return document;
}

void ReportView::ShowReport(StyledText text) {
  report_ = std::move(text);
  QTextDocument* old = own_document_;
  own_document_ = BuildReportDocument(report_, font(), this);
  setDocument(own_document_);
  delete old;
  moveCursor(QTextCursor::Start);
}

void ReportView::ClearReport() { ShowReport({}); }

bool ReportView::Contains(QPoint global) const {
  return isVisible() && QRect(mapToGlobal(QPoint(0, 0)), size()).contains(global);
}

}  // namespace lumigrid
