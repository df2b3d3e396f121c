// "Анимация": shows the chosen buffers on the canvas in turn, each for the chosen delay,
// until stopped. The run is driven by a timer from the main event loop; while it lasts the
// window refuses every other command (see Running()).
#pragma once

#include <QPointer>
#include <array>
#include <memory>
#include <optional>

#include "picture/editor_state.h"
#include "tools/animation.h"
#include "ui/side_panel_frame.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace lumigrid {

namespace ui {
class Platform;
}
class Editor;

class AnimationPanel : public ui::SidePanelFrame {
  Q_OBJECT

 public:
  explicit AnimationPanel(QWidget* parent = nullptr);
  ~AnimationPanel() override;

  // What a run draws on and asks through; the buttons act only once attached. `clock` (kept,
  // not owned) replaces the steady clock, for tests.
  void Attach(EditorState& state, Editor& editor, ui::Platform& platform,
              AnimationClock* clock = nullptr);

  // The delay list's selected index (-1 when none), as stored between runs; an index outside
  // the list selects nothing, which runs at 200 ms.
  int DelayIndex() const;
  void SetDelayIndex(int index);

  // The buffer numbers chosen in the ten picture lists, 0 for "Нет".
  std::array<int, kAnimationLists> Choices() const;

  // "Анимация": refuses with a message below two pictures, else starts the run.
  void StartAnimation();
  void StopAnimation();
  bool Running() const { return run_.has_value(); }
  // Closing the window during a run: asks whether to stop; the window stays open either way.
  void ConfirmStopOnClose();
  // Shows the next picture when it is due by the clock (sleeping the last moment up to it),
  // then waits for the one after. The timer calls it; tests call it after moving their clock.
  void Tick();

  QComboBox* PictureList(int k) const { return lists_[k - 1]; }  // k 1..10
  QComboBox* DelayList() const { return delay_; }
  QLabel* DirectionMark() const { return direction_; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* StopButton() const { return stop_; }

 signals:
  // A picture of buffer b was drawn by the run.
  void pictureShown(int b);

 private:
  void Show(int b);
  void WaitForNext();

  EditorState* state_ = nullptr;
  Editor* editor_ = nullptr;
  ui::Platform* platform_ = nullptr;
  SteadyAnimationClock steady_clock_;
  AnimationClock* clock_ = &steady_clock_;
  QTimer* timer_ = nullptr;
  std::optional<AnimationRun> run_;
  int buffer_before_run_ = 1;
  bool asking_ = false;

  std::array<QComboBox*, kAnimationLists> lists_{};
  QLabel* direction_ = nullptr;
  QComboBox* delay_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
};

}  // namespace lumigrid
