// Owner-drawn menu themes: "Офис 2000", "Офис XP", "Офис 2003", "Фиолетовый", "Чёрный".
// Menu style 0 is the ordinary drawing; styles 1..5 select theme style - 1.
#pragma once

#include <QColor>
#include <QList>
#include <QProxyStyle>
#include <memory>

class QMenu;
class QMenuBar;

namespace lumigrid::ui {

constexpr int kMenuStyleStandard = 0;
constexpr int kMenuStyleCount = 6;

struct MenuColours {
  QColor background;
  QColor bar;
  QColor text;
  QColor disabled_text;
  QColor gutter;
  QColor gutter_end;  // the gutter shades from gutter to gutter_end
  QColor highlight;
  QColor highlight_border;
  QColor highlight_text;
  QColor separator;
  QColor check;
  QColor frame;
};

// The colour set of a theme as drawn, with the program's two colours applied: the frame of
// the highlighted item takes RGB(100, 10, 110) in every theme and, from style 2 on, the check
// mark RGB(194, 2, 19).
MenuColours MenuStyleColours(int style);

class MenuThemeStyle : public QProxyStyle {
  Q_OBJECT

 public:
  explicit MenuThemeStyle(const MenuColours& colours);

  const MenuColours& Colours() const { return colours_; }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override;

 private:
  void DrawMenuItem(const QStyleOption* option, QPainter* painter) const;
  void DrawMenuBarItem(const QStyleOption* option, QPainter* painter) const;

  MenuColours colours_;
};

// Hands the menus to the theme of `style`, or back to ordinary drawing for style 0 (or any
// value outside 1..5).
class MenuThemer {
 public:
  void Apply(int style, QMenuBar* bar, const QList<QMenu*>& menus);
  const MenuThemeStyle* Current() const { return style_.get(); }

 private:
  std::unique_ptr<MenuThemeStyle> style_;
};

}  // namespace lumigrid::ui
