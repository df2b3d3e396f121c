#include "app/picture_commands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMimeData>

#include "app/commands.h"
#include "app/copy_buffer_dialog.h"
#include "app/history_commands.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "codegen/picture_text.h"
#include "commands/command_table.h"
#include "files/image_import_qt.h"
#include "picture/editor.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

constexpr const char* kClearStep = "очистка";
constexpr const char* kCopyBufferStep = "копирование буфера";
constexpr const char* kPasteStep = "вставка рисунка";

}  // namespace

QImage PictureImage(const PictureBytes& bytes) {
  QImage image(kPictureWidth, kPictureHeight, QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.fill(0);
  PictureBuffer picture;
  picture.Bytes() = bytes;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      if (picture.Pixel(x, y)) image.setPixel(x, y, 1);
    }
  }
  return image;
}

PictureCommands::PictureCommands(MainWindow& window, bool wrap_shift)
    : QObject(&window), window_(window), wrap_shift_(wrap_shift) {}

void PictureCommands::Register(CommandTable& commands) {
  using namespace command;
  const std::pair<int, Transform> transforms[] = {
      {kInvert, Transform::kInvert},
      {kFlipHorizontal, Transform::kFlipHorizontal},
      {kFlipVertical, Transform::kFlipVertical},
      {kRotate180, Transform::kRotate180},
      {kShiftLeft, Transform::kShiftLeft},
      {kShiftRight, Transform::kShiftRight},
      {kShiftUp, Transform::kShiftUp},
      {kShiftDown, Transform::kShiftDown},
  };
  for (const auto& [number, transform] : transforms) {
    commands.Register(number, [this, t = transform] { Apply(t); });
  }
  commands.Register(kShiftWrap, [this] { SetWrapShift(!wrap_shift_); });
  commands.Register(kClearBuffer, [this] { Replace(PictureBytes{}, kClearStep); });
  commands.Register(kCopyBuffer, [this] { AskBufferToCopy(); });
  commands.Register(kCopyPicture, [this] { CopyToClipboard(); });
  commands.Register(kPastePicture, [this] { PasteFromClipboard(); });

  for (QAction* a : window_.Menus().MenuActions(kShiftWrap)) {
    a->setCheckable(true);
    // A click toggles the mark before the command runs, which a refused command would not
    // undo: the mark is set again from the state whenever the menu opens.
    if (auto* menu = qobject_cast<QMenu*>(a->parent())) {
      connect(menu, &QMenu::aboutToShow, this, [this] { SetWrapShift(wrap_shift_); });
    }
  }
  SetWrapShift(wrap_shift_);
}

void PictureCommands::SetWrapShift(bool wrap) {
  wrap_shift_ = wrap;
  for (QAction* a : window_.Menus().MenuActions(command::kShiftWrap)) a->setChecked(wrap);
}

void PictureCommands::Apply(Transform transform) {
  const ShiftEdge edge = wrap_shift_ ? ShiftEdge::kWrap : ShiftEdge::kFillUnlit;
  Replace(Transformed(window_.State().Current().Bytes(), transform, edge),
          TransformStepName(transform));
}

void PictureCommands::Replace(const PictureBytes& content, const std::string& label) {
  EditorState& state = window_.State();
  if (!ReplacePicture(state, state.CurrentBuffer(), content, label)) return;
  window_.Editor().RefreshPicture();
  window_.History().UpdateMenu();
}

CopyBufferDialog* PictureCommands::CopyDialog() const {
  return copy_dialog_ && copy_dialog_->isVisible() ? copy_dialog_.data() : nullptr;
}

void PictureCommands::AskBufferToCopy() {
  if (CopyBufferDialog* open = CopyDialog()) {
    open->raise();
    return;
  }
  const int target = window_.State().CurrentBuffer();
  auto* dialog = new CopyBufferDialog(target, last_copied_, &window_);
  connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    last_copied_ = dialog->Source();
    // The dialog is modal: its target is still the current buffer.
    if (dialog->Target() != window_.State().CurrentBuffer()) return;
    Replace(window_.State().Buffer(last_copied_).Bytes(), kCopyBufferStep);
  });
  copy_dialog_ = dialog;
  dialog->open();
}

void PictureCommands::CopyToClipboard() {
  const PictureBytes& bytes = window_.State().Current().Bytes();
  auto* data = new QMimeData;
  data->setImageData(PictureImage(bytes));
  data->setText(QString::fromStdString(PictureHexText(bytes)));
  QGuiApplication::clipboard()->setMimeData(data);
}

void PictureCommands::PasteFromClipboard() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const char* refusal = kNoPictureText;
  std::optional<PictureBytes> picture;
  if (data != nullptr && data->hasImage()) {
    const QImage image = qvariant_cast<QImage>(data->imageData());
    const ImageDecodeResult converted = ConvertQtImage(image);
    if (converted.status == ImageDecodeStatus::kOk) {
      picture = converted.bytes;
    } else if (!image.isNull()) {
      refusal = kPictureTooLargeText;
    }
  }
  if (!picture && data != nullptr && data->hasText()) {
    picture = ParsePictureHexText(data->text().toStdString());
  }
  if (!picture) {
    window_.Platform().ShowMessage(
        &window_, {QString::fromUtf8(kPastePictureCaption), QString::fromUtf8(refusal),
                   ui::MessageIcon::kExclamation});
    return;
  }
  Replace(*picture, kPasteStep);
}

}  // namespace lumigrid
