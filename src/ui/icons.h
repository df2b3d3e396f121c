// The pictures built into the program, by image number.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace lumigrid::ui {

namespace image {
constexpr int kNewFile = 16;
constexpr int kOpenFile = 1;
constexpr int kSave = 2;
constexpr int kWorkMode = 3;
constexpr int kCut = 7;
constexpr int kCopy = 4;
constexpr int kPaste = 5;
constexpr int kCloseMark = 8;
constexpr int kScanDirection = 370;
}  // namespace image

// The embedded picture of that number; a null pixmap for an unknown number.
QPixmap EmbeddedImage(int number);
QIcon EmbeddedIcon(int number);

// The About window's picture, 100 x 100.
QPixmap AboutPicture();

}  // namespace lumigrid::ui
