#include "edit/text_render_qt.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "edit/text_layout.h"

namespace lumigrid {
namespace {

QString AnyFamily() {
  const QStringList families = QFontDatabase::families();
  return families.contains(QStringLiteral("DejaVu Sans")) || families.isEmpty()
             ? QStringLiteral("DejaVu Sans")
             : families.first();
}

// Rows holding ink: {top, bottom}, or {-1, -1}.
std::pair<int, int> InkRows(const MonoBitmap& bitmap) {
  int top = -1, bottom = -1;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (!bitmap.Get(x, y)) continue;
      if (top < 0) top = y;
      bottom = y;
    }
  }
  return {top, bottom};
}

TEST(SystemFontText, TheFontDrawsWithoutAntiAliasing) {
  for (int size : {6, 11, 32}) {
    const QFont font = SystemTextFont(AnyFamily(), size);
    EXPECT_EQ(font.pixelSize(), size);
    QImage image(400, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(2, 40), QStringLiteral("Съешь же Quick %&@ jy"));
    painter.end();
    int ink = 0, grey = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const int g = qGray(image.pixel(x, y));
        ink += g == 0;
        grey += g != 0 && g != 255;
      }
    }
    EXPECT_GT(ink, 0) << size;
    EXPECT_EQ(grey, 0) << size;
  }
}

TEST(SystemFontText, HonoursThePixelSize) {
  int last_height = 0;
  for (int size = kSystemFontMinPixelSize; size <= kSystemFontMaxPixelSize; ++size) {
    const MonoBitmap text = RenderSystemFontText(AnyFamily(), size, QStringLiteral("H"));
    const QFontMetrics metrics(SystemTextFont(AnyFamily(), size));
    EXPECT_EQ(text.Height(), metrics.height()) << size;
    const auto [top, bottom] = InkRows(text);
    ASSERT_GE(top, 0) << size;
    const int cap_height = bottom - top + 1;
    EXPECT_LE(cap_height, size) << size;
    EXPECT_GE(cap_height * 2, size) << size;
    EXPECT_GE(cap_height, last_height) << size;
    last_height = cap_height;
  }
  // Sizes outside 6..32 are held to it.
  EXPECT_EQ(RenderSystemFontText(AnyFamily(), 1, QStringLiteral("Ab")),
            RenderSystemFontText(AnyFamily(), 6, QStringLiteral("Ab")));
  EXPECT_EQ(RenderSystemFontText(AnyFamily(), 200, QStringLiteral("Ab")),
            RenderSystemFontText(AnyFamily(), 32, QStringLiteral("Ab")));
}

TEST(SystemFontText, LinesStackOneLineSpacingApart) {
  const QString family = AnyFamily();
  const int pitch = QFontMetrics(SystemTextFont(family, 14)).lineSpacing();
  const MonoBitmap one = RenderSystemFontText(family, 14, QStringLiteral("Жук"));
  const MonoBitmap two = RenderSystemFontText(family, 14, QStringLiteral("Жук\r\nЖук"));
  ASSERT_FALSE(one.Empty());
  EXPECT_EQ(two.Width(), one.Width());
  EXPECT_EQ(two.Height(), pitch + one.Height());
  int wrong = 0;
  for (int y = 0; y < one.Height(); ++y) {
    for (int x = 0; x < one.Width(); ++x) {
      wrong += two.Get(x, y) != one.Get(x, y);
      wrong += two.Get(x, y + pitch) != one.Get(x, y);
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_TRUE(RenderSystemFontText(family, 14, QString()).Empty());
  EXPECT_TRUE(RenderSystemFontText(family, 14, QStringLiteral("\n\r\n")).Empty());
  EXPECT_EQ(InkRows(RenderSystemFontText(family, 14, QStringLiteral("   "))), std::pair(-1, -1));
}

}  // namespace
}  // namespace lumigrid
