#include "optimize/optimize_panel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "optimize/report_view.h"
#include "optimize/skip_report.h"
#include "ui/compact_style.h"

namespace lumigrid {

namespace {

// Odd buffers in the left column, even ones in the right, buffer 9 alone below.
QPoint SourceBoxPlace(int b) {
  if (b == kSourceBufferCount) return {30, 120};
  return {(b % 2 == 1) ? 30 : 130, 40 + 20 * ((b - 1) / 2)};
}

}  // namespace

OptimizePanel::OptimizePanel(QWidget* parent)
    : ui::SidePanelFrame(QStringLiteral("Оптимизация кода"), kHeight,
                         QStringLiteral("Закрыть панель «Оптимизация кода»"), parent) {
  // The frame goes first so that the boxes lie above it.
  (new QGroupBox(QStringLiteral("Буферы"), this))->setGeometry(10, 20, 200, 120);
  for (int b = 1; b <= kSourceBufferCount; ++b) {
    auto* box = new QCheckBox(QStringLiteral("Буфер %1").arg(b), this);
    box->setGeometry(QRect(SourceBoxPlace(b), QSize(70, 15)));
    box->setChecked(b <= 2);
    connect(box, &QCheckBox::toggled, this, &OptimizePanel::RefreshScanButton);
    sources_[b - 1] = box;
  }

  (new QLabel(QStringLiteral("Результат помещается в"), this))->setGeometry(10, 145, 140, 15);
  result_buffer_ = new QLabel(QStringLiteral("Буфер 10"), this);
  result_buffer_->setGeometry(145, 145, 100, 15);
  QPalette palette = result_buffer_->palette();
  palette.setColor(QPalette::WindowText, QColor(182, 11, 63));
  result_buffer_->setPalette(palette);

  scan_ = new QPushButton(QStringLiteral("Сканировать"), this);
  scan_->setGeometry(10, 164, 80, 24);
  scan_->setToolTip(QStringLiteral("Поиск одинаковых байт в коде"));
  scan_->setDefault(true);
  list_ = new QPushButton(QStringLiteral("Список обходов"), this);
  list_->setGeometry(100, 164, 110, 24);
  list_->setToolTip(QStringLiteral("Создание полного списка обходов одинаковых байт"));

  (new QLabel(QStringLiteral("Число повторяющихся байт"), this))->setGeometry(10, 195, 190, 15);
  run_ = new QSpinBox(this);
  run_->setGeometry(190, 190, 30, 20);
  run_->setRange(1, kMinRunLimit);
  ui::CompactStyle::Apply(run_);

  auto_ = new QCheckBox(QStringLiteral("Автоматическое сканирование..."), this);
  auto_->setGeometry(10, 210, 188, 15);
  auto_->setToolTip(QStringLiteral("Автоматическое сканирование перед созданием списка обходов"));

  report_ = new ReportView(this);
  report_->setGeometry(4, 228, 218, 226);

  progress_label_ = new QLabel(QStringLiteral("Построение списка..."), this);
  progress_label_->setGeometry(10, 255, 140, 15);
  progress_label_->hide();
  progress_ = new QProgressBar(this);
  progress_->setGeometry(10, 270, 210, 20);
  progress_->setRange(0, kSkipListProgressMax);
  progress_->setTextVisible(false);
  progress_->hide();

  connect(scan_, &QPushButton::clicked, this, &OptimizePanel::scanRequested);
  connect(list_, &QPushButton::clicked, this, &OptimizePanel::listRequested);
  SetStartState(1, true);
}

void OptimizePanel::SetStartState(int run, bool auto_scan) {
  run_->setValue(run);
  auto_->setChecked(auto_scan);
}

int OptimizePanel::RunValue() const { return run_->value(); }

bool OptimizePanel::AutoScan() const { return auto_->isChecked(); }

QString OptimizePanel::RunText() const { return run_->text(); }

SourceFlags OptimizePanel::Sources() const {
  SourceFlags flags{};
  for (int i = 0; i < kSourceBufferCount; ++i) flags[i] = sources_[i]->isChecked();
  return flags;
}

void OptimizePanel::RefreshScanButton() { scan_->setEnabled(CountTicked(Sources()) >= 2); }

void OptimizePanel::ShowProgress() {
  progress_->setValue(0);
  progress_label_->show();
  progress_->show();
}

void OptimizePanel::SetProgress(int lines) {
  // With sources the count passes the range a little; the bar then simply stays full.
  progress_->setValue(std::min(lines, kSkipListProgressMax));
}

void OptimizePanel::HideProgress() {
  progress_label_->hide();
  progress_->hide();
}

}  // namespace lumigrid
