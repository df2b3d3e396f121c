// The strip of ten buffer tabs "Буфер 1" .. "Буфер 10", all of one width.
#pragma once

#include <QTabBar>

namespace lumigrid {

class BufferTabBar : public QTabBar {
  Q_OBJECT

 public:
  explicit BufferTabBar(QWidget* parent = nullptr);

 protected:
  QSize tabSizeHint(int index) const override;
  QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
  void paintEvent(QPaintEvent* event) override;
  // Only the left button and the keyboard choose a buffer.
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
};

}  // namespace lumigrid
