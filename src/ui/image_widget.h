// A widget that shows an image drawn by code: drawing goes into the image, the screen is
// repainted from it.
#pragma once

#include <QImage>
#include <QWidget>

namespace lumigrid::ui {

class ImageWidget : public QWidget {
  Q_OBJECT

 public:
  ImageWidget(QSize size, QColor background, QWidget* parent = nullptr);

  const QImage& Image() const { return image_; }

 protected:
  QImage& MutableImage() { return image_; }
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

}  // namespace lumigrid::ui
