#include "picture/buffer_tab_bar.h"

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
