// The transforms and whole-buffer commands of the menu "Рисунок" and the picture on the system
// clipboard. Each change of the current picture is one step of its history, marks the buffer
// modified, and the canvas, the open cell's enlarged view and its readout follow.
#pragma once

#include <QObject>
#include <QPointer>
#include <string>

#include "edit/transforms.h"

class QImage;
class QMimeData;

namespace lumigrid {

class CommandTable;
class CopyBufferDialog;
class MainWindow;

// Caption and text of the message when the clipboard holds nothing "Вставить рисунок" takes.
inline constexpr const char* kPastePictureCaption = "Вставить рисунок";
inline constexpr const char* kNoPictureText =
    "В буфере обмена нет рисунка\nВставить можно изображение или текст из 1024 байт, "
    "скопированный командой «Копировать рисунок»";
inline constexpr const char* kPictureTooLargeText = "Рисунок в буфере обмена слишком велик";

// The picture as an image of 128 x 64 pixels, lit pixels black on white.
QImage PictureImage(const PictureBytes& bytes);

class PictureCommands : public QObject {
  Q_OBJECT

 public:
  PictureCommands(MainWindow& window, bool wrap_shift);

  // Commands 120..130 and 140..141.
  void Register(CommandTable& commands);

  // "Сдвиг по кругу": shifts bring the pixels pushed over an edge in at the other edge.
  bool WrapShift() const { return wrap_shift_; }
  void SetWrapShift(bool wrap);

  // The dialog of "Копировать буфер…" while it is open, else nullptr.
  CopyBufferDialog* CopyDialog() const;

 private:
  void Apply(Transform transform);
  // The current buffer takes `content` as one step named `label`.
  void Replace(const PictureBytes& content, const std::string& label);
  void AskBufferToCopy();
  void CopyToClipboard();
  void PasteFromClipboard();

  MainWindow& window_;
  bool wrap_shift_;
  int last_copied_ = 0;  // the buffer last chosen in the dialog, proposed again
  QPointer<CopyBufferDialog> copy_dialog_;
};

}  // namespace lumigrid
