#include "app/startup_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "app/texts.h"
#include "ui/fonts.h"

namespace lumigrid {

StartupWindow::StartupWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setFixedSize(440, 40);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(217, 175, 212));
  setPalette(p);

  const QFont font = ui::SansSerifFont(12, true);

  auto* first = new QLabel(QStringLiteral("Инициализация программы"), this);
  first->setGeometry(10, 10, 240, 24);
  first->setFont(font);
  auto* second = new QLabel(QString::fromUtf8(kTitlePrefix), this);
  second->setGeometry(250, 10, 180, 24);
  second->setFont(font);
  QPalette red = second->palette();
  red.setColor(QPalette::WindowText, QColor(154, 0, 0));
  second->setPalette(red);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
}

}  // namespace lumigrid
