#include "codegen/listing_view.h"

#include <QMimeData>
#include <QTextCursor>

#include "ui/fonts.h"

namespace lumigrid {

namespace {

// The document's raw text separates paragraphs by U+2029; a line separator (Shift+Enter) is
// a line break on screen as well.
QString WithLineBreaks(QString raw) {
  for (QChar& ch : raw) {
    if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator) ch = u'\n';
  }
  return raw;
}

}  // namespace

ListingView::ListingView(QWidget* parent) : QPlainTextEdit(parent) {
  setFont(ui::MonospaceFont(10));
  QPalette p = palette();
  p.setColor(QPalette::Base, QColor(206, 255, 214));
  setPalette(p);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // The main window shows the listing pop-up menu on a right-button release instead.
  setContextMenuPolicy(Qt::NoContextMenu);
  // Files dropped here go on to the main window, which opens them.
  setAcceptDrops(false);
  viewport()->setAcceptDrops(false);
}

QString ListingView::ExactText() const { return WithLineBreaks(document()->toRawText()); }

QString ListingView::ExactSelection() const { return WithLineBreaks(textCursor().selectedText()); }

QMimeData* ListingView::createMimeDataFromSelection() const {
  auto* data = new QMimeData;
  data->setText(ExactSelection());
  return data;
}

}  // namespace lumigrid
