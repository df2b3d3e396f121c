// The pictures built into the program, by image number.
#pragma once

#include <QIcon>
#include <QImage>
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

// The sizes the program's icon is drawn in, for the window and the desktop's icon theme.
// Multiples of 16, so every pixel of the picture stays a square of whole pixels.
inline constexpr int kProgramIconSizes[] = {16, 32, 48, 64, 128, 256};

// The program's icon, size x size: its 16 x 16 pixel picture enlarged without smoothing.
QImage ProgramIconImage(int size);
// Every size above in one icon.
QIcon ProgramIcon();

}  // namespace lumigrid::ui
