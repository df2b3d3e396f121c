// The look of "Сохранить анимацию как GIF…": each picture as the canvas draws it, or black on
// white at a scale of 1 to 8.
#pragma once

#include <QDialog>

#include "picture/picture_render.h"

class QPushButton;
class QRadioButton;
class QSpinBox;

namespace lumigrid {

class GifExportDialog : public QDialog {
  Q_OBJECT

 public:
  GifExportDialog(RenderLook look, int scale, QWidget* parent = nullptr);

  RenderLook Look() const;
  int Scale() const;

  QRadioButton* CanvasOption() const { return canvas_; }
  QRadioButton* PlainOption() const { return plain_; }
  QSpinBox* ScaleField() const { return scale_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  QRadioButton* canvas_ = nullptr;
  QRadioButton* plain_ = nullptr;
  QSpinBox* scale_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace lumigrid
