#include "app/main_menus.h"

#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "picture/recent_files.h"
#include "ui/icons.h"

namespace lumigrid {

using namespace command;

namespace {

constexpr int kToolBarHeight = 28;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

MainMenus::MainMenus(QMenuBar* bar, QWidget* client, DispatchFn dispatch, QObject* parent)
    : QObject(parent), bar_(bar), dispatch_(std::move(dispatch)) {
  for (const MenuBarEntry& top : kMenuBar) {
    top_menus_.append(BuildMenu(bar_->addMenu(Text(top.title)), top.items));
  }
  for (const auto& items :
       {std::span<const MenuItem>(kCellPopup), std::span<const MenuItem>(kListingPopup),
        std::span<const MenuItem>(kReportPopup)}) {
    popups_.append(BuildMenu(new QMenu(client), items));
  }
  auto* recent_popup = new QMenu(client);
  for (int n = kRecentFirst; n <= kRecentLast; ++n) AddCommand(recent_popup, n, QString());
  popups_.append(recent_popup);

  // Work modes and menu styles each carry one check mark, set by CheckWorkMode and
  // ApplyMenuStyle. No exclusive action group: ordinary menus would draw it as a radio bullet.
  for (int n = kModeEditing; n <= kModeBin; ++n) {
    for (QAction* a : MenuActions(n)) a->setCheckable(true);
  }
  for (int n = kStyleStandard; n <= kStyleLast; ++n) {
    for (QAction* a : MenuActions(n)) a->setCheckable(true);
  }
  CheckWorkMode(1);
  BuildToolBar(client);
  ApplyMenuStyle(ui::kMenuStyleStandard);
}

QAction* MainMenus::AddCommand(QMenu* menu, int number, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setData(number);
  connect(action, &QAction::triggered, this, [this, number] { dispatch_(number); });
  actions_.append(action);
  return action;
}

QMenu* MainMenus::BuildMenu(QMenu* menu, std::span<const MenuItem> items) {
  for (const MenuItem& item : items) {
    if (item.command == kSeparator) {
      menu->addSeparator();
    } else if (item.command == kRecentSubmenu) {
      QMenu* sub = menu->addMenu(Text(item.text));
      for (int n = kRecentFirst; n <= kRecentLast; ++n) AddCommand(sub, n, QString());
      submenus_.append(sub);
    } else if (item.command == kStyleSubmenu) {
      submenus_.append(BuildMenu(menu->addMenu(Text(item.text)), kStyleMenu));
    } else if (item.command == kToolSubmenu) {
      submenus_.append(BuildMenu(menu->addMenu(Text(item.text)), kToolMenu));
    } else {
      AddCommand(menu, item.command, Text(item.text));
    }
  }
  return menu;
}

void MainMenus::BuildToolBar(QWidget* client) {
  toolbar_ = new QToolBar(client);
  toolbar_->setMovable(false);
  toolbar_->setFloatable(false);
  toolbar_->setIconSize(QSize(16, 16));
  toolbar_->setGeometry(0, 0, client->width(), kToolBarHeight);

  auto add_tool = [this](int number, QIcon icon, const QString& tooltip) {
    QAction* action = toolbar_->addAction(icon, QString());
    action->setData(number);
    action->setToolTip(tooltip);
    connect(action, &QAction::triggered, this, [this, number] { dispatch_(number); });
    tool_actions_.append(action);
    return action;
  };

  toolbar_->addSeparator();
  add_tool(kNew, ui::EmbeddedIcon(ui::image::kNewFile),
           QStringLiteral("Создать новый файл с очисткой текущего поля"));
  QAction* open =
      add_tool(kOpen, ui::EmbeddedIcon(ui::image::kOpenFile), QStringLiteral("Открыть файл"));
  open->setMenu(Popup(4));
  open_button_ = qobject_cast<QToolButton*>(toolbar_->widgetForAction(open));
  if (open_button_) open_button_->setPopupMode(QToolButton::MenuButtonPopup);
  add_tool(kSave, ui::EmbeddedIcon(ui::image::kSave), QStringLiteral("Сохранить файл"));
  toolbar_->addSeparator();
  add_tool(kModeCycle, ui::EmbeddedIcon(ui::image::kWorkMode), QStringLiteral("Редактирование"));
  toolbar_->addSeparator();
  add_tool(kAbout, toolbar_->style()->standardIcon(QStyle::SP_DialogHelpButton), QString());

  hint_ = new QLabel(toolbar_);
  hint_->resize(240, 15);
  PlaceHintLabel();
}

void MainMenus::PlaceHintLabel() {
  toolbar_->ensurePolished();
  if (toolbar_->layout()) toolbar_->layout()->activate();
  int right = 0;
  for (QAction* a : tool_actions_) {
    if (QWidget* w = toolbar_->widgetForAction(a)) right = std::max(right, w->geometry().right());
  }
  hint_->move(right + 1 + 8, 4);
  hint_->raise();
}

QMenu* MainMenus::Popup(int number) const { return popups_.value(number - 1); }

QList<QAction*> MainMenus::MenuActions(int command) const {
  QList<QAction*> found;
  for (QAction* a : actions_) {
    if (a->data().toInt() == command) found.append(a);
  }
  return found;
}

QAction* MainMenus::ToolAction(int command) const {
  for (QAction* a : tool_actions_) {
    if (a->data().toInt() == command) return a;
  }
  return nullptr;
}

void MainMenus::SetRecentLabels(const RecentFiles& recent) {
  for (int i = 1; i <= RecentFiles::kCount; ++i) {
    for (QAction* a : MenuActions(kRecentFirst + i - 1)) {
      a->setText(QString::fromStdString(recent.Label(i)));
    }
  }
}

void MainMenus::CheckWorkMode(int mode) {
  for (int n = kModeEditing; n <= kModeBin; ++n) {
    for (QAction* a : MenuActions(n)) a->setChecked(n == mode + kModeEditing - 1);
  }
}

void MainMenus::SetWorkModeTooltip(const QString& name) {
  if (QAction* a = ToolAction(kModeCycle)) a->setToolTip(name);
}

QList<QMenu*> MainMenus::AllMenus() const { return top_menus_ + submenus_ + popups_; }

void MainMenus::ApplyMenuStyle(int style) {
  style_ = style;
  for (int n = kStyleStandard; n <= kStyleLast; ++n) {
    for (QAction* a : MenuActions(n)) a->setChecked(n - kStyleStandard == style);
  }
  themer_.Apply(style, bar_, AllMenus());
  // Item pictures belong to the themes; ordinary menus have none.
  const bool themed = themer_.Current() != nullptr;
  for (const ItemPicture& p : kItemPictures) {
    for (QAction* a : MenuActions(p.command)) {
      a->setIcon(themed ? ui::EmbeddedIcon(p.image) : QIcon());
    }
  }
}

}  // namespace lumigrid
