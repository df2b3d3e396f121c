#include "edit/text_render_qt.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStringList>
#include <algorithm>

#include "edit/text_layout.h"

namespace lumigrid {
namespace {

QStringList TextLines(const QString& text) {
  QString kept;
  kept.reserve(text.size());
  for (const QChar c : text) {
    if (c == u'\n' || (c.category() != QChar::Other_Control && c != QChar::SoftHyphen)) {
      kept.append(c);
    }
  }
  return kept.split(u'\n');
}

}  // namespace

QFont SystemTextFont(const QString& family, int pixel_size) {
  QFont font(family);
  font.setPixelSize(std::clamp(pixel_size, kSystemFontMinPixelSize, kSystemFontMaxPixelSize));
  font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

MonoBitmap RenderSystemFontText(const QString& family, int pixel_size, const QString& text) {
  const QFont font = SystemTextFont(family, pixel_size);
  const QFontMetrics metrics(font);
  const QStringList lines = TextLines(text);
  const int pitch = metrics.lineSpacing();

  // The layout box: each line's advance, one line spacing apart.
  QRect box;
  for (int i = 0; i < lines.size(); ++i) {
    const int advance = metrics.horizontalAdvance(lines[i]);
    if (advance > 0) box |= QRect(0, i * pitch, advance, metrics.height());
  }
  if (box.isEmpty()) return {};
  box |= QRect(0, 0, 1, 1);
  box.setWidth(std::min(box.width(), kMaxTextBitmapSide));
  box.setHeight(std::min(box.height(), kMaxTextBitmapSide));

  // Drawn with a margin wide enough for any overhang, then cut to the box and the ink.
  const int margin = font.pixelSize();
  QImage image(box.size().grownBy(QMargins(margin, margin, margin, margin)), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < lines.size() && i * pitch < box.height(); ++i) {
      painter.drawText(QPoint(margin, margin + i * pitch + metrics.ascent()), lines[i]);
    }
  }
  const auto lit = [&image](int x, int y) {
    return qGray(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]) < 128;
  };
  QRect area = box.translated(margin, margin);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (lit(x, y)) area |= QRect(x, y, 1, 1);
    }
  }
  area.setWidth(std::min(area.width(), kMaxTextBitmapSide));
  area.setHeight(std::min(area.height(), kMaxTextBitmapSide));

  MonoBitmap bitmap(area.width(), area.height());
  for (int y = 0; y < area.height(); ++y) {
    for (int x = 0; x < area.width(); ++x) {
      if (lit(area.left() + x, area.top() + y)) bitmap.Set(x, y);
    }
  }
  return bitmap;
}

}  // namespace lumigrid
