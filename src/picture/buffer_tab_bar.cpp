#include "picture/buffer_tab_bar.h"

#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

#include "picture/geometry.h"

namespace lumigrid {

BufferTabBar::BufferTabBar(QWidget* parent) : QTabBar(parent) {
  setExpanding(false);
  setUsesScrollButtons(false);
  setElideMode(Qt::ElideNone);
  for (int b = 1; b <= kBufferCount; ++b) addTab(QStringLiteral("Буфер %1").arg(b));
}

void BufferTabBar::mousePressEvent(QMouseEvent* event) {
  // Any other button would switch the buffer and close the open cell by accident.
  if (event->button() != Qt::LeftButton) {
    event->accept();
    return;
  }
  QTabBar::mousePressEvent(event);
}

void BufferTabBar::wheelEvent(QWheelEvent* event) { event->accept(); }

QSize BufferTabBar::tabSizeHint(int) const { return {width() / kBufferCount, height()}; }

void BufferTabBar::paintEvent(QPaintEvent*) {
  // The labels use the whole width of their tab, without the style's inner padding.
  QStylePainter painter(this);
  auto draw = [&](int i) {
    QStyleOptionTab option;
    initStyleOption(&option, i);
    const QString text = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_TabBarTabShape, option);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(option.rect, Qt::AlignCenter, text);
  };
  for (int i = 0; i < count(); ++i) {
    if (i != currentIndex()) draw(i);
  }
  if (currentIndex() >= 0) draw(currentIndex());
}

}  // namespace lumigrid
