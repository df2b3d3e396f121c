#include "ui/menu_theme.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionMenuItem>

namespace lumigrid::ui {

namespace {

constexpr int kGutterWidth = 24;
constexpr int kItemHeight = 22;
constexpr int kSeparatorHeight = 7;

MenuColours ThemeColours(int theme) {
  switch (theme) {
    case 0:  // Офис 2000: grey, flat, navy selection
      return {QColor(212, 208, 200),
              QColor(212, 208, 200),
              Qt::black,
              QColor(128, 128, 128),
              QColor(212, 208, 200),
              QColor(212, 208, 200),
              QColor(10, 36, 106),
              QColor(10, 36, 106),
              Qt::white,
              QColor(128, 128, 128),
              Qt::black,
              QColor(128, 128, 128)};
    case 1:  // Офис XP: white with a grey picture column, pale blue selection
      return {QColor(252, 252, 249),
              QColor(236, 233, 216),
              Qt::black,
              QColor(141, 141, 141),
              QColor(219, 216, 209),
              QColor(236, 233, 216),
              QColor(182, 189, 210),
              QColor(10, 36, 106),
              Qt::black,
              QColor(166, 166, 166),
              Qt::black,
              QColor(138, 134, 122)};
    case 2:  // Офис 2003: blue picture column, orange selection
      return {QColor(246, 246, 246),
              QColor(195, 218, 249),
              Qt::black,
              QColor(141, 141, 141),
              QColor(227, 239, 255),
              QColor(135, 173, 228),
              QColor(255, 238, 194),
              QColor(0, 0, 128),
              Qt::black,
              QColor(106, 140, 203),
              Qt::black,
              QColor(0, 45, 150)};
    case 3:  // Фиолетовый
      return {QColor(243, 236, 250), QColor(214, 196, 234), QColor(40, 0, 60),
              QColor(150, 130, 170), QColor(214, 196, 234), QColor(170, 130, 210),
              QColor(221, 190, 245), QColor(90, 30, 140),   QColor(40, 0, 60),
              QColor(170, 130, 210), QColor(90, 30, 140),   QColor(110, 60, 160)};
    default:  // Чёрный
      return {QColor(38, 38, 38), QColor(20, 20, 20), QColor(235, 235, 235), QColor(120, 120, 120),
              QColor(20, 20, 20), QColor(60, 60, 60), QColor(80, 80, 80),    QColor(160, 160, 160),
              Qt::white,          QColor(90, 90, 90), QColor(235, 235, 235), QColor(0, 0, 0)};
  }
}

void DrawCheckMark(QPainter* painter, const QRect& box, const QColor& colour) {
  QPainterPath path;
  const QPointF c = QRectF(box).center();
  path.moveTo(c.x() - 4, c.y());
  path.lineTo(c.x() - 1, c.y() + 3);
  path.lineTo(c.x() + 4, c.y() - 3);
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setPen(QPen(colour, 2));
  painter->drawPath(path);
  painter->restore();
}

}  // namespace

MenuColours MenuStyleColours(int style) {
  MenuColours colours = ThemeColours(style - 1);
  if (style >= 2) colours.check = QColor(194, 2, 19);
  colours.highlight_border = QColor(100, 10, 110);
  return colours;
}

MenuThemeStyle::MenuThemeStyle(const MenuColours& colours) : colours_(colours) {}

void MenuThemeStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
  switch (element) {
    case CE_MenuItem:
      DrawMenuItem(option, painter);
      return;
    case CE_MenuBarItem:
      DrawMenuBarItem(option, painter);
      return;
    case CE_MenuBarEmptyArea:
    case CE_MenuEmptyArea:
      painter->fillRect(option->rect,
                        element == CE_MenuBarEmptyArea ? colours_.bar : colours_.background);
      return;
    default:
      QProxyStyle::drawControl(element, option, painter, widget);
  }
}

void MenuThemeStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
  switch (element) {
    case PE_PanelMenu:
    case PE_FrameMenu:
      painter->fillRect(option->rect, colours_.background);
      painter->setPen(colours_.frame);
      painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
      return;
    case PE_PanelMenuBar:
      painter->fillRect(option->rect, colours_.bar);
      return;
    default:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
}

void MenuThemeStyle::DrawMenuItem(const QStyleOption* option, QPainter* painter) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (!item) return;
  const QRect r = item->rect;
  painter->fillRect(r, colours_.background);
  QLinearGradient gutter(r.left(), 0, r.left() + kGutterWidth, 0);
  gutter.setColorAt(0, colours_.gutter);
  gutter.setColorAt(1, colours_.gutter_end);
  painter->fillRect(QRect(r.left(), r.top(), kGutterWidth, r.height()), gutter);

  if (item->menuItemType == QStyleOptionMenuItem::Separator) {
    painter->setPen(colours_.separator);
    const int y = r.center().y();
    painter->drawLine(r.left() + kGutterWidth + 4, y, r.right() - 2, y);
    return;
  }

  const bool enabled = item->state & State_Enabled;
  const bool selected = enabled && (item->state & State_Selected);
  if (selected) {
    const QRect h = r.adjusted(1, 1, -2, -2);
    painter->fillRect(h, colours_.highlight);
    painter->setPen(colours_.highlight_border);
    painter->drawRect(h);
  }

  const QRect gutter_box(r.left() + 2, r.top() + (r.height() - 20) / 2, 20, 20);
  if (item->checked) {
    painter->setPen(colours_.check);
    painter->drawRect(gutter_box.adjusted(0, 0, -1, -1));
  }
  if (!item->icon.isNull()) {
    const QPixmap pixmap =
        item->icon.pixmap(QSize(16, 16), enabled ? QIcon::Normal : QIcon::Disabled);
    painter->drawPixmap(gutter_box.left() + 2, gutter_box.top() + 2, pixmap);
  } else if (item->checked) {
    DrawCheckMark(painter, gutter_box, colours_.check);
  }

  const QColor text_colour =
      !enabled ? colours_.disabled_text : (selected ? colours_.highlight_text : colours_.text);
  painter->setPen(text_colour);
  painter->setFont(item->font);
  QString text = item->text;
  QString shortcut;
  if (const int tab = text.indexOf('\t'); tab >= 0) {
    shortcut = text.mid(tab + 1);
    text = text.left(tab);
  }
  const QRect text_rect = r.adjusted(kGutterWidth + 8, 0, -20, 0);
  painter->drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
  if (!shortcut.isEmpty()) {
    painter->drawText(text_rect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, shortcut);
  }
  if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
    const int x = r.right() - 10;
    const int y = r.center().y();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(text_colour);
    painter->drawPolygon(QPolygon({QPoint(x, y - 4), QPoint(x + 4, y), QPoint(x, y + 4)}));
    painter->restore();
  }
}

void MenuThemeStyle::DrawMenuBarItem(const QStyleOption* option, QPainter* painter) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (!item) return;
  painter->fillRect(item->rect, colours_.bar);
  const bool active =
      (item->state & State_Enabled) && (item->state & (State_Selected | State_Sunken));
  if (active) {
    const QRect h = item->rect.adjusted(0, 1, -1, -2);
    painter->fillRect(h, colours_.highlight);
    painter->setPen(colours_.highlight_border);
    painter->drawRect(h);
  }
  painter->setPen(active ? colours_.highlight_text : colours_.text);
  painter->setFont(item->font);
  painter->drawText(item->rect, Qt::AlignCenter | Qt::TextShowMnemonic, item->text);
}

QSize MenuThemeStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                       const QSize& size, const QWidget* widget) const {
  QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
  if (type == CT_MenuItem) {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (item && item->menuItemType == QStyleOptionMenuItem::Separator) {
      s.setHeight(kSeparatorHeight);
    } else {
      s.setHeight(kItemHeight);
      s.setWidth(s.width() + kGutterWidth);
    }
  }
  return s;
}

int MenuThemeStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                const QWidget* widget) const {
  switch (metric) {
    case PM_MenuPanelWidth:
      return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      return 1;
    case PM_SmallIconSize:
      return 16;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

void MenuThemer::Apply(int style, QMenuBar* bar, const QList<QMenu*>& menus) {
  std::unique_ptr<MenuThemeStyle> next;
  if (style >= 1 && style < kMenuStyleCount) {
    next = std::make_unique<MenuThemeStyle>(MenuStyleColours(style));
  }
  QStyle* target = next ? static_cast<QStyle*>(next.get()) : nullptr;
  if (bar) {
    bar->setStyle(target);
    bar->update();
  }
  for (QMenu* menu : menus) menu->setStyle(target);
  style_ = std::move(next);  // the old style lives until no widget uses it
}

}  // namespace lumigrid::ui
