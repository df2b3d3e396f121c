#include "codegen/listing_view.h"

#include "ui/fonts.h"

namespace lumigrid {

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

}  // namespace lumigrid
