// "Импорт с настройками": the source image, the picture as the canvas will show it, and the
// controls of the conversion. Every change converts the session's greys again; nothing is
// decoded here. "Ok" accepts, "Отмена" rejects; the caller writes the buffers.
#pragma once

#include <QDialog>

#include "files/conversion_options.h"
#include "files/import_session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace lumigrid {

class CanvasWidget;

class ImportDialog : public QDialog {
  Q_OBJECT

 public:
  ImportDialog(ImportSession session, const ConversionOptions& options, int target_buffer,
               QWidget* parent = nullptr);
  ~ImportDialog() override;

  // The options the controls show.
  ConversionOptions Options() const;
  void SetOptions(const ConversionOptions& options);
  int TargetBuffer() const;

  const ImportSession& Session() const { return session_; }
  // The frame shown, 0-based.
  int ShownFrame() const { return shown_; }
  void ShowFrame(int i);
  // What frame i becomes under the controls' options.
  PictureBytes Result(int i) const;

  QSlider* ThresholdSlider() const { return threshold_slider_; }
  QSpinBox* ThresholdField() const { return threshold_; }
  QCheckBox* InvertBox() const { return invert_; }
  QComboBox* FitList() const { return fit_; }
  QComboBox* MarginList() const { return margin_; }
  QComboBox* DitherList() const { return dither_; }
  QSlider* BrightnessSlider() const { return brightness_slider_; }
  QSpinBox* BrightnessField() const { return brightness_; }
  QSlider* ContrastSlider() const { return contrast_slider_; }
  QSpinBox* ContrastField() const { return contrast_; }
  QComboBox* BufferList() const { return buffer_; }
  QPushButton* DefaultsButton() const { return defaults_; }
  QPushButton* PreviousButton() const { return previous_; }
  QPushButton* NextButton() const { return next_; }
  QLabel* FrameLabel() const { return frame_label_; }
  QLabel* PlanLabel() const { return plan_label_; }
  QLabel* SourceView() const { return source_; }
  CanvasWidget* ResultView() const { return result_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  void Refresh();
  void ShowSource();
  void UpdatePlan();

  ImportSession session_;
  int shown_ = 0;
  bool setting_ = false;  // controls being set together: one refresh at the end

  QLabel* source_ = nullptr;
  CanvasWidget* result_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
  QLabel* frame_label_ = nullptr;
  QSlider* threshold_slider_ = nullptr;
  QSpinBox* threshold_ = nullptr;
  QCheckBox* invert_ = nullptr;
  QComboBox* fit_ = nullptr;
  QComboBox* margin_ = nullptr;
  QComboBox* dither_ = nullptr;
  QSlider* brightness_slider_ = nullptr;
  QSpinBox* brightness_ = nullptr;
  QSlider* contrast_slider_ = nullptr;
  QSpinBox* contrast_ = nullptr;
  QComboBox* buffer_ = nullptr;
  QLabel* plan_label_ = nullptr;
  QPushButton* defaults_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace lumigrid
