// The main window: owns the editor state, the command table and every gadget of the window.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>

#include "app/settings.h"
#include "commands/command_table.h"
#include "picture/editor_state.h"
#include "ui/application.h"

class QFrame;
class QLabel;
class QTabBar;

namespace lumigrid {

namespace ui {
class Platform;
class SidePanelFrame;
}  // namespace ui
class AboutWindow;
class CanvasWidget;
class CellPanel;
class ConversionPanel;
class Editor;
class FileCommands;
class HistoryCommands;
class ListingCommands;
class ListingView;
class MainMenus;
class ToolCommands;
class OptimizeCommands;
class OptimizePanel;
class PictureCommands;

class MainWindow : public QMainWindow, public ui::EventObserver {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 794;
  static constexpr int kClientHeight = 518;

  MainWindow(ui::Platform& platform, const Settings& settings, QWidget* parent = nullptr);
  ~MainWindow() override;

  EditorState& State() { return state_; }
  CommandTable& Commands() { return commands_; }
  ui::Platform& Platform() { return platform_; }
  // Runs a command by number, as a menu item, button or shortcut would.
  bool Dispatch(int number) { return commands_.Dispatch(number); }

  MainMenus& Menus() { return *menus_; }
  FileCommands& Files() { return *files_; }
  lumigrid::Editor& Editor() { return *editor_; }
  QWidget* Client() const { return client_; }
  QTabBar* Tabs() const { return tabs_; }
  QFrame* CanvasFrame() const { return canvas_frame_; }
  CanvasWidget* Canvas() const { return canvas_; }
  CellPanel* CellSidePanel() const { return cell_panel_; }
  ConversionPanel* ConversionSidePanel() const { return conversion_panel_; }
  ListingCommands& Listings() { return *listing_commands_; }
  ToolCommands& Tools() { return *tools_; }
  HistoryCommands& History() { return *history_; }
  PictureCommands& Pictures() { return *pictures_; }
  OptimizePanel* OptimizeSidePanel() const { return optimize_panel_; }
  OptimizeCommands& Optimizer() { return *optimize_commands_; }
  ListingView* Listing(int b) const { return listings_[IsValidBuffer(b) ? b - 1 : 0]; }
  ListingView* CurrentListing() const { return Listing(state_.CurrentBuffer()); }
  ui::SidePanelFrame* Panel(int side_panel) const { return panels_[side_panel]; }
  AboutWindow* About() const;

  // Sets WorkMode to `mode` and shows its panels.
  void SwitchWorkMode(int mode);
  void SetMenuStyle(int style);
  void UpdateTitle();

  // The value of every settings key from its control, for writing at the end.
  Settings CollectSettings() const;

  // A side panel joins the window at its place (later subsystems bring their own panels).
  void SetPanel(int side_panel, ui::SidePanelFrame* panel);

 signals:
  // After the panels of a work mode are shown.
  void workModeEntered(int mode);

 protected:
  bool BeforeEvent(QObject* receiver, QEvent* event) override;
  void AfterEvent(QObject* receiver, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildClient();
  void RegisterCommands();
  void NewPicture();
  void ShowAbout();
  bool BelongsHere(QObject* receiver) const;

  EditorState state_;
  ui::Platform& platform_;
  CommandTable commands_;
  QWidget* client_ = nullptr;
  MainMenus* menus_ = nullptr;
  FileCommands* files_ = nullptr;
  lumigrid::Editor* editor_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QFrame* canvas_frame_ = nullptr;
  CanvasWidget* canvas_ = nullptr;
  CellPanel* cell_panel_ = nullptr;
  ConversionPanel* conversion_panel_ = nullptr;
  ListingCommands* listing_commands_ = nullptr;
  ToolCommands* tools_ = nullptr;
  HistoryCommands* history_ = nullptr;
  PictureCommands* pictures_ = nullptr;
  OptimizePanel* optimize_panel_ = nullptr;
  OptimizeCommands* optimize_commands_ = nullptr;
  std::array<ListingView*, kBufferCount> listings_{};
  std::array<ui::SidePanelFrame*, 6> panels_{};
  QPointer<AboutWindow> about_;
  Settings loaded_settings_;  // what was read at start, for keys without a control yet
};

}  // namespace lumigrid
