#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTabBar>

#include "app/about_window.h"
#include "app/commands.h"
#include "app/drawing_tool_commands.h"
#include "app/edit_commands.h"
#include "app/file_commands.h"
#include "app/frame_commands.h"
#include "app/history_commands.h"
#include "app/import_commands.h"
#include "app/main_menus.h"
#include "app/picture_commands.h"
#include "app/shortcut_keys.h"
#include "app/texts.h"
#include "app/tool_commands.h"
#include "app/work_modes.h"
#include "binexport/bin_export_command.h"
#include "codegen/conversion_panel.h"
#include "codegen/listing_commands.h"
#include "codegen/listing_view.h"
#include "optimize/optimize_commands.h"
#include "optimize/optimize_panel.h"
#include "optimize/report_view.h"
#include "picture/buffer_tab_bar.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "tools/animation_panel.h"
#include "tools/logic_panel.h"
#include "ui/platform.h"
#include "ui/side_panel_frame.h"

namespace lumigrid {

namespace {

// Client-area layout of the main window.
constexpr QRect kTabsRect(8, 30, 540, 28);
constexpr QRect kCanvasFrameRect(8, 58, 540, 272);
constexpr QPoint kCanvasOffset(2, 2);
constexpr QRect kListingRect(4, 340, 548, 150);
constexpr QPoint kSidePanelPos(554, 32);
constexpr QPoint kConversionPanelPos(554, 340);

int PanelIndex(SidePanel panel) { return static_cast<int>(panel); }

}  // namespace

MainWindow::MainWindow(ui::Platform& platform, const Settings& settings, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      platform_(platform),
      loaded_settings_(settings) {
  state_.SetAllConversionOptions(settings.convert);
  for (int i = 1; i <= RecentFiles::kCount; ++i) {
    state_.Recent().SetEntry(i, settings.recent_files[i - 1]);
  }

  BuildClient();
  menus_ = new MainMenus(
      menuBar(), client_, [this](int n) { Dispatch(n); }, this);
  menus_->SetRecentLabels(state_.Recent());

  editor_ = new lumigrid::Editor(
      state_, platform_,
      {tabs_, canvas_frame_, canvas_, cell_panel_, menus_->HintLabel(), menus_->Popup(1)}, this);
  editor_->SetReturnToEditing([this] { SwitchWorkMode(1); });
  files_ = new FileCommands(*this);
  setAcceptDrops(true);
  connect(editor_, &Editor::currentBufferChanged, this, [this](int b) {
    UpdateTitle();
    for (int i = 1; i <= kBufferCount; ++i) Listing(i)->setVisible(i == b);
    Listing(b)->setFocus();
  });

  listing_commands_ =
      new ListingCommands(state_, platform_, *conversion_panel_, listings_, *editor_, this);
  listing_commands_->Register(commands_);
  optimize_commands_ = new OptimizeCommands(state_, platform_, *optimize_panel_, *editor_, this);
  optimize_commands_->Register(commands_);
  optimize_commands_->SetConfirmDiscard(
      [this](int b) { return files_->Prompts().ConfirmDiscard(b); });
  connect(optimize_commands_, &OptimizeCommands::skipMapWritten, this, &MainWindow::UpdateTitle);
  optimize_panel_->SetStartState(settings.count_byte, settings.auto_scan);

  RegisterCommands();
  pictures_ = new PictureCommands(*this, settings.wrap_shift);
  pictures_->Register(commands_);
  tools_ =
      new ToolCommands(*this, *static_cast<LogicPanel*>(panels_[PanelIndex(SidePanel::kLogic)]),
                       *static_cast<AnimationPanel*>(panels_[PanelIndex(SidePanel::kAnimation)]),
                       settings.anime_delay);
  drawing_ = new DrawingToolCommands(*this);
  drawing_->Register(commands_);
  imports_ = new ImportCommands(*this, settings.import);
  imports_->Register(commands_);
  frames_ = new FrameCommands(*this, settings);
  frames_->Register(commands_);
  SwitchWorkMode(1);
  SetMenuStyle(settings.style_menu);
  UpdateTitle();

  // Not resizable: the window keeps the size of its menu bar and client area.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  ui::Application::Observe(this);
}

MainWindow::~MainWindow() { ui::Application::StopObserving(this); }

void MainWindow::BuildClient() {
  client_ = new QWidget(this);
  client_->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client_);

  for (int b = 1; b <= kBufferCount; ++b) {
    auto* view = new ListingView(client_);
    view->setGeometry(kListingRect);
    view->setVisible(b == 1);
    listings_[b - 1] = view;
  }

  tabs_ = new BufferTabBar(client_);
  tabs_->setGeometry(kTabsRect);

  canvas_frame_ = new QFrame(client_);
  canvas_frame_->setGeometry(kCanvasFrameRect);
  canvas_frame_->setFrameStyle(QFrame::Box | QFrame::Plain);
  canvas_frame_->setLineWidth(1);
  canvas_ = new CanvasWidget(canvas_frame_);
  canvas_->move(kCanvasOffset);

  auto frame = [this](const char* title, int height, const char* tooltip, int title_width = 228) {
    return new ui::SidePanelFrame(QString::fromUtf8(title), height, QString::fromUtf8(tooltip),
                                  client_, title_width);
  };
  panels_[PanelIndex(SidePanel::kAnimation)] = new AnimationPanel(client_);
  cell_panel_ = new CellPanel(client_);
  panels_[PanelIndex(SidePanel::kCell)] = cell_panel_;
  conversion_panel_ = new ConversionPanel(client_);
  panels_[PanelIndex(SidePanel::kConversion)] = conversion_panel_;
  panels_[PanelIndex(SidePanel::kLogic)] = new LogicPanel(client_);
  optimize_panel_ = new OptimizePanel(client_);
  panels_[PanelIndex(SidePanel::kOptimize)] = optimize_panel_;
  panels_[PanelIndex(SidePanel::kBin)] = CreateBinExportPanel(state_, platform_, client_);
  for (int i = 0; i < static_cast<int>(panels_.size()); ++i) SetPanel(i, panels_[i]);
}

void MainWindow::SetPanel(int side_panel, ui::SidePanelFrame* panel) {
  ui::SidePanelFrame*& slot = panels_[side_panel];
  if (slot != panel) {
    delete slot;
    slot = panel;
  }
  panel->setParent(client_);
  panel->move(side_panel == PanelIndex(SidePanel::kConversion) ? kConversionPanelPos
                                                               : kSidePanelPos);
  panel->setVisible(PanelShown(static_cast<SidePanel>(side_panel), state_.WorkMode()));
  connect(panel, &ui::SidePanelFrame::closeRequested, this, [this] { SwitchWorkMode(1); });
}

void MainWindow::RegisterCommands() {
  using namespace command;
  files_->Register(commands_);
  commands_.Register(kNew, [this] {
    if (files_->Prompts().ConfirmDiscard(state_.CurrentBuffer())) NewPicture();
  });
  (new EditCommands(*this))->Register(commands_);
  history_ = new HistoryCommands(*this);
  history_->Register(commands_);
  commands_.Register(kClose, [this] { close(); });
  commands_.Register(kAbout, [this] { ShowAbout(); });
  commands_.RegisterRange(kModeEditing, kModeBin,
                          [this](int n) { SwitchWorkMode(n - kModeEditing + 1); });
  commands_.Register(kModeCycle, [this] { SwitchWorkMode(NextWorkMode(state_.WorkMode())); });
  commands_.RegisterRange(kStyleStandard, kStyleLast,
                          [this](int n) { SetMenuStyle(n - kStyleStandard); });
}

void MainWindow::NewPicture() {
  const int b = state_.CurrentBuffer();
  state_.MarkClean(b);
  state_.Buffer(b).Clear();
  // New itself can be undone; the blank picture is what a later undo compares with.
  state_.RecordEdit(b, "новый рисунок");
  state_.MarkClean(b);
  editor_->RedrawCanvas();
  state_.SetBufferFileName(b, {});
  UpdateTitle();
  editor_->CloseCell();
}

AboutWindow* MainWindow::About() const { return about_; }

void MainWindow::ShowAbout() {
  if (about_) {
    about_->BringToFront();
    return;
  }
  about_ = new AboutWindow(platform_, this);
  about_->Open();
}

void MainWindow::SwitchWorkMode(int mode) {
  if (!IsValidWorkMode(mode)) return;
  state_.SetWorkMode(mode);
  menus_->CheckWorkMode(mode);
  menus_->SetWorkModeTooltip(QString::fromUtf8(kWorkModes[mode - 1].name));
  for (int i = 0; i < static_cast<int>(panels_.size()); ++i) {
    panels_[i]->setVisible(PanelShown(static_cast<SidePanel>(i), mode));
  }
  if (ModeClosesCell(mode)) {
    editor_->ClearReadout();
    editor_->CloseCell();
  }
  emit workModeEntered(mode);
}

void MainWindow::SetMenuStyle(int style) { menus_->ApplyMenuStyle(style); }

void MainWindow::UpdateTitle() {
  setWindowTitle(QString::fromUtf8(kTitlePrefix) +
                 QString::fromStdString(state_.BufferFileName(state_.CurrentBuffer())));
}

bool MainWindow::BelongsHere(QObject* receiver) const {
  if (!receiver->isWidgetType()) return false;
  return static_cast<QWidget*>(receiver)->window() == this;
}

bool MainWindow::BeforeEvent(QObject* receiver, QEvent* event) {
  if (tools_ && tools_->RefuseDuringRun(receiver, event)) return true;
  if (drawing_ && drawing_->BeforeEvent(receiver, event)) return true;
  if (event->type() != QEvent::KeyPress || !BelongsHere(receiver)) return false;
  // The window takes its shortcuts before any text view sees the keys.
  const auto* key = static_cast<QKeyEvent*>(event);
  const auto matches = [&](const command::Shortcut& s) { return PressedKeysAre(*key, s.keys); };
  for (const command::Shortcut& s : command::kShortcuts) {
    if (matches(s)) {
      Dispatch(s.command);
      return true;
    }
  }
  for (const command::Shortcut& s : command::kHistoryShortcuts) {
    if (matches(s) && history_->KeysGoToPicture(QApplication::focusWidget())) {
      Dispatch(s.command);
      return true;
    }
  }
  return false;
}

void MainWindow::AfterEvent(QObject* receiver, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      break;
    default:
      return;
  }
  if (!BelongsHere(receiver)) return;
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    // The listing area's pop-up menu, edges excluded.
    const QPoint p = client_->mapFromGlobal(platform_.PointerPosition());
    if (p.x() > 4 && p.x() < 550 && p.y() > 340 && p.y() < 490) {
      menus_->Popup(2)->popup(platform_.PointerPosition());
    } else if (state_.WorkMode() == 4 &&
               optimize_panel_->Report()->Contains(platform_.PointerPosition())) {
      menus_->Popup(3)->popup(platform_.PointerPosition());
    }
  }
  editor_->RunPolls();
  if (drawing_) drawing_->AfterEvent();
  if (history_) history_->UpdateMenu();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!files_->Prompts().ConfirmQuit()) event->ignore();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> names;
  for (const QUrl& url : event->mimeData()->urls())
    names.push_back(url.toLocalFile().toStdString());
  event->acceptProposedAction();
  // Opened once the drop is over: a question asked inside it would hold up the program the
  // file was dragged from. With Shift held, every dropped image goes to the import dialog.
  if (event->modifiers() & Qt::ShiftModifier) {
    QMetaObject::invokeMethod(
        imports_, [imports = imports_, names] { imports->OpenDialog(names); },
        Qt::QueuedConnection);
    return;
  }
  QMetaObject::invokeMethod(
      files_, [files = files_, names] { files->OpenDropped(names); }, Qt::QueuedConnection);
}

}  // namespace lumigrid
