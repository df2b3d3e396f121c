#include "tools/animation_panel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "picture/editor.h"
#include "ui/compact_style.h"
#include "ui/icons.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

constexpr int kPictureListHeight = 180;  // of the opened lists, in pixels
constexpr int kDelayListHeight = 100;
constexpr int kItemHeight = 18;

}  // namespace

AnimationPanel::AnimationPanel(QWidget* parent)
    : ui::SidePanelFrame(QStringLiteral("Анимация"), 458, QStringLiteral("Закрыть панель анимации"),
                         parent) {
  (new QGroupBox(QStringLiteral("Выберите рисунки для анимации"), this))
      ->setGeometry(20, 40, 184, 280);
  for (int k = 1; k <= kAnimationLists; ++k) {
    auto* list = new QComboBox(this);
    ui::CompactStyle::Apply(list);
    list->addItem(QStringLiteral("Нет"));
    for (int b = 1; b <= kBufferCount; ++b) list->addItem(QStringLiteral("Буфер  %1").arg(b));
    list->setGeometry(58, 64 + 24 * (k - 1), 100, 21);
    list->setMaxVisibleItems(kPictureListHeight / kItemHeight);
    list->setCurrentIndex(k <= 2 ? k : 0);
    lists_[k - 1] = list;
  }
  direction_ = new QLabel(this);
  direction_->setGeometry(170, 90, 24, 24);
  direction_->setPixmap(ui::EmbeddedImage(ui::image::kScanDirection));
  direction_->setToolTip(QStringLiteral("Направление сканирования выпадающих списков"));

  (new QLabel(QStringLiteral("Задержка, мс:"), this))->setGeometry(10, 350, 80, 15);
  delay_ = new QComboBox(this);
  ui::CompactStyle::Apply(delay_);
  for (std::string_view d : kAnimationDelays) {
    delay_->addItem(QString::fromLatin1(d.data(), static_cast<qsizetype>(d.size())));
  }
  delay_->setGeometry(100, 346, 70, 21);
  delay_->setMaxVisibleItems(kDelayListHeight / kItemHeight);
  delay_->setCurrentIndex(kDefaultAnimationDelayIndex);

  start_ = new QPushButton(QStringLiteral("Анимация"), this);
  start_->setGeometry(30, 400, 80, 24);
  stop_ = new QPushButton(QStringLiteral("Стоп"), this);
  stop_->setGeometry(120, 400, 80, 24);
  stop_->setEnabled(false);

  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  timer_->setTimerType(Qt::PreciseTimer);
  connect(timer_, &QTimer::timeout, this, &AnimationPanel::Tick);
  connect(start_, &QPushButton::clicked, this, &AnimationPanel::StartAnimation);
  connect(stop_, &QPushButton::clicked, this, &AnimationPanel::StopAnimation);
  // The lists stay usable during a run, but their choices count only from the next one.
  for (QComboBox* list : lists_) {
    connect(list, &QComboBox::activated, this, [this] {
      if (Running() && platform_) platform_->Beep();
    });
  }
  connect(delay_, &QComboBox::activated, this, [this] {
    if (Running() && platform_) platform_->Beep();
  });
}

AnimationPanel::~AnimationPanel() = default;

void AnimationPanel::Attach(EditorState& state, Editor& editor, ui::Platform& platform,
                            AnimationClock* clock) {
  state_ = &state;
  editor_ = &editor;
  platform_ = &platform;
  clock_ = clock ? clock : &steady_clock_;
}

int AnimationPanel::DelayIndex() const { return delay_->currentIndex(); }

void AnimationPanel::SetDelayIndex(int index) {
  delay_->setCurrentIndex(index >= 0 && index < delay_->count() ? index : -1);
}

std::array<int, kAnimationLists> AnimationPanel::Choices() const {
  std::array<int, kAnimationLists> choices{};
  for (int k = 0; k < kAnimationLists; ++k) choices[k] = std::max(0, lists_[k]->currentIndex());
  return choices;
}

void AnimationPanel::StartAnimation() {
  if (!state_ || Running()) return;
  std::vector<int> sequence = AnimationSequence(Choices());
  if (!CanAnimate(sequence)) {
    platform_->ShowMessage(window(), {QStringLiteral("Анимация"),
                                      QStringLiteral("Для анимации нужно как минимум 2 рисунка!"),
                                      ui::MessageIcon::kExclamation});
    return;
  }
  buffer_before_run_ = state_->CurrentBuffer();
  start_->setEnabled(false);
  stop_->setEnabled(true);
  const int delay = AnimationDelayMs(delay_->currentText().toStdString());
  run_.emplace(std::move(sequence), std::chrono::milliseconds(delay), clock_->Now());
  Show(run_->Picture());
  WaitForNext();
}

void AnimationPanel::StopAnimation() {
  if (!Running()) return;
  timer_->stop();
  run_.reset();
  start_->setEnabled(true);
  stop_->setEnabled(false);
  // Back to the buffer that was current before the run, whatever was on show last.
  state_->SetCurrentBuffer(buffer_before_run_);
  editor_->ShowTab(buffer_before_run_);
  editor_->RedrawCanvas();
  editor_->CloseCell();
}

void AnimationPanel::ConfirmStopOnClose() {
  if (!Running() || asking_) return;
  // The pictures hold still while the question is open.
  asking_ = true;
  const auto asked = clock_->Now();
  const ui::Answer answer = platform_->ShowMessage(
      window(), {QStringLiteral("Анимация"), QStringLiteral("Прекратить анимацию?"),
                 ui::MessageIcon::kQuestion, ui::MessageButtons::kYesNo, ui::Answer::kYes});
  asking_ = false;
  if (answer == ui::Answer::kYes) {
    StopAnimation();
  } else if (Running()) {
    run_->Postpone(clock_->Now() - asked);
    Tick();
  }
}

void AnimationPanel::Tick() {
  if (!Running() || asking_) return;
  // The timer counts whole milliseconds: it wakes shortly before the moment, and the last
  // stretch is slept, so that the picture changes on its moment rather than up to 1 ms off.
  if (run_->TimerFrom(clock_->Now()).count() == 0) {
    clock_->SleepUntil(run_->NextDue());
    if (run_->Advance(clock_->Now())) Show(run_->Picture());
  }
  WaitForNext();
}

void AnimationPanel::Show(int b) {
  editor_->ShowTab(b);
  editor_->ShowPicture(b);
  emit pictureShown(b);
}

void AnimationPanel::WaitForNext() {
  // A timer of 0 ms still lets the pending events through before the sleep.
  timer_->start(run_->TimerFrom(clock_->Now()));
}

}  // namespace lumigrid
