// The frame of a side panel: thin border, a grey title strip with centred white text and,
// on most panels, a 16 x 16 close mark at the top right.
#pragma once

#include <QFrame>

class QLabel;

namespace lumigrid::ui {

class SidePanelFrame : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kWidth = 234;

  // An empty close_tooltip means the panel has no close mark.
  SidePanelFrame(const QString& title, int height, const QString& close_tooltip,
                 QWidget* parent = nullptr, int title_width = 228);

  QLabel* TitleLabel() const { return title_; }
  QLabel* CloseMark() const { return close_mark_; }

 signals:
  // A left click on the close mark.
  void closeRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* title_ = nullptr;
  QLabel* close_mark_ = nullptr;
};

}  // namespace lumigrid::ui
