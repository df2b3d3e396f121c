// "Оптимизация кода": the source buffers, the minimum run, the scan and list buttons, and the
// report view with the progress shown while a list is built.
#pragma once

#include <array>

#include "optimize/identical_scan.h"
#include "ui/side_panel_frame.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace lumigrid {

class ReportView;

class OptimizePanel : public ui::SidePanelFrame {
  Q_OBJECT

 public:
  static constexpr int kHeight = 458;

  explicit OptimizePanel(QWidget* parent = nullptr);

  // The stored minimum run and auto box; read back at exit.
  void SetStartState(int run, bool auto_scan);
  int RunValue() const;
  bool AutoScan() const;

  SourceFlags Sources() const;
  // The run spin's text exactly as it shows.
  QString RunText() const;

  // While a list is built the progress takes the report view's place.
  void ShowProgress();
  void SetProgress(int lines);
  void HideProgress();

  QCheckBox* SourceBox(int b) const { return sources_[b - 1]; }
  QPushButton* ScanButton() const { return scan_; }
  QPushButton* ListButton() const { return list_; }
  QSpinBox* RunSpin() const { return run_; }
  QCheckBox* AutoBox() const { return auto_; }
  ReportView* Report() const { return report_; }
  QLabel* ResultBufferLabel() const { return result_buffer_; }
  QLabel* ProgressLabel() const { return progress_label_; }
  QProgressBar* ProgressBar() const { return progress_; }

 signals:
  void scanRequested();
  void listRequested();

 private:
  // Scanning needs at least two sources to compare.
  void RefreshScanButton();

  std::array<QCheckBox*, kSourceBufferCount> sources_{};
  QLabel* result_buffer_ = nullptr;
  QPushButton* scan_ = nullptr;
  QPushButton* list_ = nullptr;
  QSpinBox* run_ = nullptr;
  QCheckBox* auto_ = nullptr;
  ReportView* report_ = nullptr;
  QLabel* progress_label_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace lumigrid
