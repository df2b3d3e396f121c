// "О программе": a small child window that fades in and out.
#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPropertyAnimation;

namespace lumigrid {

namespace ui {
class Platform;
}

// What the window links to: the README (the picture and the web link) and the folder of the
// other documents (the contact link). Both empty when the documents are nowhere to be found.
struct AboutLinks {
  QUrl readme;
  QUrl folder;

  // The installed documents, else those of the source tree the program was built from.
  static AboutLinks Find();
};

class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kFadeInMs = 500;
  static constexpr int kFadeOutMs = 1000;

  AboutWindow(ui::Platform& platform, QWidget* parent,
              const AboutLinks& links = AboutLinks::Find());

  // Shows the window centred on its parent and fades it in.
  void Open();
  // Fades the window out and closes it ("Ok", the close box and Escape).
  void FadeOut();
  // Brings the open window to the front; one that is fading out fades back in and stays.
  void BringToFront();

  QLabel* Picture() const { return picture_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fade(double from, double to, int milliseconds);
  QLabel* AddLabel(const QString& text, QColor colour, const QRect& geometry);

  ui::Platform& platform_;
  AboutLinks links_;
  QLabel* picture_ = nullptr;
  QPropertyAnimation* fade_ = nullptr;
  bool closing_ = false;
  QMetaObject::Connection close_when_faded_;
};

}  // namespace lumigrid
