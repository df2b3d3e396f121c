#include "ui/side_panel_frame.h"

#include <QLabel>
#include <QMouseEvent>

#include "ui/icons.h"

namespace lumigrid::ui {

SidePanelFrame::SidePanelFrame(const QString& title, int height, const QString& close_tooltip,
                               QWidget* parent, int title_width)
    : QFrame(parent) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setFixedSize(kWidth, height);

  title_ = new QLabel(title, this);
  title_->setGeometry(2, 1, title_width, 15);
  title_->setAlignment(Qt::AlignCenter);
  title_->setAutoFillBackground(true);
  QPalette palette = title_->palette();
  palette.setColor(QPalette::Window, QColor(132, 132, 132));
  palette.setColor(QPalette::WindowText, Qt::white);
  title_->setPalette(palette);

  if (!close_tooltip.isEmpty()) {
    close_mark_ = new QLabel(this);
    close_mark_->setGeometry(216, 0, 16, 16);
    close_mark_->setPixmap(EmbeddedImage(image::kCloseMark));
    close_mark_->setToolTip(close_tooltip);
    close_mark_->installEventFilter(this);
  }
}

bool SidePanelFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == close_mark_ && event->type() == QEvent::MouseButtonPress) {
    // Only the left button closes the panel.
    if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) emit closeRequested();
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace lumigrid::ui
