// A main window on the scripted platform, and ways to drive it as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <memory>

#include "app/main_window.h"
#include "picture/canvas_geometry.h"
#include "ui/scripted_platform.h"

#include <ostream>

// Readable QString and QStringList values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os) {
  *os << '{';
  for (const QString& s : list) *os << "\n  \"" << s.toStdString() << '"';
  *os << '}';
}

namespace lumigrid::testing_support {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  MainWindow& Window() { return *window_; }
  EditorState& State() { return window_->State(); }
  ui::ScriptedPlatform& Platform() { return platform_; }

  // Places the pointer over `widget` at `local` with these buttons held, and sends the mouse
  // move the window system would, so the pointer polls run.
  void MovePointer(QWidget* widget, QPoint local, Qt::MouseButtons buttons = Qt::NoButton);
  // The centre of canvas cell c, in canvas coordinates.
  static QPoint CellCentre(int c);
  void ClickCell(int c, Qt::MouseButton button = Qt::LeftButton);
  void DoubleClickCell(int c);
  // Pointer over square n of the enlarged view at offset (dx, dy), buttons held.
  void PointAtSquare(int n, int dx, int dy, Qt::MouseButtons buttons);

  // What the canvas shows on screen.
  QImage CanvasShot();
  QImage ZoomShot();

  Settings settings_;

 private:
  ui::ScriptedPlatform platform_;
  std::unique_ptr<MainWindow> window_;
};

QColor At(const QImage& image, int x, int y);
inline QColor Colour(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace lumigrid::testing_support
