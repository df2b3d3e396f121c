#include "app/about_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QPushButton>

#include "app/documentation.h"
#include "app/texts.h"
#include "ui/icons.h"
#include "ui/platform.h"

namespace lumigrid {

namespace {

#ifndef LUMIGRID_SOURCE_DIR
#define LUMIGRID_SOURCE_DIR ""
#endif

QUrl LocalUrl(const std::string& utf8_path) {
  return QUrl::fromLocalFile(QString::fromStdString(utf8_path));
}

}  // namespace

AboutLinks AboutLinks::Find() {
  const std::optional<Documentation> docs =
      FindDocumentation(QCoreApplication::applicationDirPath().toStdString(), LUMIGRID_SOURCE_DIR);
  if (!docs) return {};
  return {LocalUrl(docs->readme), LocalUrl(docs->folder)};
}

AboutWindow::AboutWindow(ui::Platform& platform, QWidget* parent, const AboutLinks& links)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform),
      links_(links) {
  setWindowTitle(QStringLiteral("О программе"));
  setFixedSize(234, 264);
  setAttribute(Qt::WA_DeleteOnClose);
  fade_ = new QPropertyAnimation(this, "windowOpacity", this);

  AddLabel(QString::fromUtf8(kTitlePrefix) +
               QStringLiteral(" графический редактор для индикаторов на основе контроллеров "
                              "KS0107 или KS0108"),
           QColor(146, 7, 109), QRect(8, 4, 218, 42));

  picture_ = new QLabel(this);
  picture_->setGeometry(67, 48, 100, 100);
  picture_->setPixmap(ui::AboutPicture());
  picture_->installEventFilter(this);
  // Without documents nothing is a link: no address that leads nowhere.
  const bool linked = !links_.readme.isEmpty();
  if (linked) {
    picture_->setToolTip(links_.readme.toLocalFile());
    picture_->setCursor(Qt::PointingHandCursor);
  }
  const auto link = [linked](const QUrl& url, const QString& text) {
    return linked
               ? QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toString(QUrl::FullyEncoded), text)
               : QString();
  };

  AddLabel(QStringLiteral("Автор: проект Lumigrid<br>") +
               link(links_.folder, QStringLiteral("Документация")),
           palette().color(QPalette::WindowText), QRect(8, 150, 218, 28));
  AddLabel(QStringLiteral("Более подробно о работе программы можно прочитать на страничке"),
           QColor(151, 6, 64), QRect(8, 178, 218, 28));
  AddLabel(link(links_.readme, QStringLiteral("README.md")), palette().color(QPalette::WindowText),
           QRect(8, 206, 218, 15));

  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setGeometry(82, 234, 70, 24);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &AboutWindow::FadeOut);
}

QLabel* AboutWindow::AddLabel(const QString& text, QColor colour, const QRect& geometry) {
  auto* label = new QLabel(text, this);
  label->setGeometry(geometry);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, colour);
  p.setColor(QPalette::Link, Qt::blue);
  label->setPalette(p);
  if (text.contains(QLatin1String("<a "))) {
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(label, &QLabel::linkActivated, this,
            [this](const QString& link) { platform_.OpenLink(QUrl(link)); });
  }
  return label;
}

void AboutWindow::Open() {
  if (QWidget* p = parentWidget()) move(p->geometry().center() - rect().center());
  setWindowOpacity(0.0);
  show();
  Fade(0.0, 1.0, kFadeInMs);
}

void AboutWindow::FadeOut() {
  if (closing_) return;
  closing_ = true;
  close_when_faded_ = connect(fade_, &QPropertyAnimation::finished, this, &QWidget::close);
  Fade(windowOpacity(), 0.0, kFadeOutMs);
}

void AboutWindow::BringToFront() {
  if (closing_) {
    closing_ = false;
    disconnect(close_when_faded_);
    Fade(windowOpacity(), 1.0, kFadeInMs);
  }
  raise();
  activateWindow();
}

void AboutWindow::reject() {
  // Escape fades out like "Ok"; the final close comes back here through closeEvent.
  if (closing_) {
    QDialog::reject();
  } else {
    FadeOut();
  }
}

void AboutWindow::Fade(double from, double to, int milliseconds) {
  fade_->stop();
  fade_->setDuration(milliseconds);
  fade_->setStartValue(from);
  fade_->setEndValue(to);
  fade_->start();
}

void AboutWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    // The close box fades out first; the window closes when the fade ends.
    event->ignore();
    FadeOut();
    return;
  }
  QDialog::closeEvent(event);
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture_ && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (!links_.readme.isEmpty()) platform_.OpenLink(links_.readme);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace lumigrid
