// The menu bar, the four pop-up menus and the toolbar, built from the command data. Every
// item raises its command number through the dispatch callback.
#pragma once

#include <QList>
#include <QObject>
#include <functional>
#include <span>

#include "app/commands.h"
#include "ui/menu_theme.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QToolBar;
class QToolButton;
class QWidget;

namespace lumigrid {

class RecentFiles;

class MainMenus : public QObject {
  Q_OBJECT

 public:
  using DispatchFn = std::function<void(int)>;

  // Builds the menus into `bar` and the toolbar as a child of `client`.
  MainMenus(QMenuBar* bar, QWidget* client, DispatchFn dispatch, QObject* parent = nullptr);

  QMenuBar* MenuBar() const { return bar_; }
  QToolBar* ToolBar() const { return toolbar_; }
  QLabel* HintLabel() const { return hint_; }
  QToolButton* OpenButton() const { return open_button_; }

  // Pop-up menus 1..4.
  QMenu* Popup(int number) const;
  QMenu* TopMenu(int index) const { return top_menus_.value(index); }

  // Every menu item (menu bar and pop-ups) carrying this command, in building order.
  QList<QAction*> MenuActions(int command) const;
  // The toolbar button of this command (4, 1, 2, 28 or 8), or nullptr.
  QAction* ToolAction(int command) const;

  void SetRecentLabels(const RecentFiles& recent);
  void CheckWorkMode(int mode);
  void SetWorkModeTooltip(const QString& name);
  // Check mark, themes and item pictures for menu style 0..5.
  void ApplyMenuStyle(int style);
  int MenuStyle() const { return style_; }
  const ui::MenuThemer& Themer() const { return themer_; }

  // Places the hint label 8 pixels after the toolbar's last button.
  void PlaceHintLabel();

 private:
  QMenu* BuildMenu(QMenu* menu, std::span<const command::MenuItem> items);
  QAction* AddCommand(QMenu* menu, int number, const QString& text);
  void BuildToolBar(QWidget* client);
  QList<QMenu*> AllMenus() const;

  QMenuBar* bar_;
  DispatchFn dispatch_;
  QList<QMenu*> top_menus_;
  QList<QMenu*> submenus_;
  QList<QMenu*> popups_;  // 1..4
  QList<QAction*> actions_;
  QList<QAction*> tool_actions_;
  QToolBar* toolbar_ = nullptr;
  QToolButton* open_button_ = nullptr;
  QLabel* hint_ = nullptr;
  ui::MenuThemer themer_;
  int style_ = ui::kMenuStyleStandard;
};

}  // namespace lumigrid
