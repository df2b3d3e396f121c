#include "ui/image_widget.h"

#include <QPaintEvent>
#include <QPainter>

namespace lumigrid::ui {

ImageWidget::ImageWidget(QSize size, QColor background, QWidget* parent)
    : QWidget(parent), image_(size, QImage::Format_RGB32) {
  setFixedSize(size);
  setAttribute(Qt::WA_OpaquePaintEvent);
  image_.fill(background);
}

void ImageWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), image_, event->rect());
}

}  // namespace lumigrid::ui
