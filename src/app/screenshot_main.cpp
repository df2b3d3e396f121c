// Renders the main window offscreen into PNG files, one per state worth looking at:
//   lumigrid_screenshot <folder>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QToolBar>
#include <cstdio>

#include "app/about_window.h"
#include "app/commands.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "app/tool_commands.h"
#include "app/work_modes.h"
#include "binexport/bin_panel.h"
#include "codegen/listing_commands.h"
#include "files/import_dialog.h"
#include "files/import_loading.h"
#include "frames/frame_budget_dialog.h"
#include "optimize/optimize_commands.h"
#include "picture/editor.h"
#include "tools/animation_panel.h"
#include "tools/logic_panel.h"
#include "ui/application.h"
#include "ui/scripted_platform.h"

namespace {

using lumigrid::MainWindow;

void Save(QWidget* widget, const QDir& dir, const QString& name) {
  QApplication::processEvents();
  const QString path = dir.filePath(name + ".png");
  if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// A frame, a diagonal and a few filled cells, so the canvas has something to show.
void DrawSample(lumigrid::PictureBuffer& picture) {
  for (int x = 0; x < 128; ++x) {
    picture.SetPixel(x, 0, true);
    picture.SetPixel(x, 63, true);
  }
  for (int y = 0; y < 64; ++y) {
    picture.SetPixel(0, y, true);
    picture.SetPixel(127, y, true);
    picture.SetPixel(y * 2, y, true);
  }
  for (int k = 1; k <= 8; ++k) picture.SetByte(40, k, 0xFF);
  picture.SetCell(42, {0x3C, 0x42, 0x81, 0x81, 0x81, 0x42, 0x3C, 0x00});
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  lumigrid::ui::Application app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: lumigrid_screenshot <folder>\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(dir.path())) return 1;

  lumigrid::ui::ScriptedPlatform platform;
  auto window = lumigrid::CreateMainWindow(platform, lumigrid::Settings{});
  window->show();
  Save(window.get(), dir, "start");

  DrawSample(window->State().Buffer(1));
  window->Editor().RedrawCanvas();
  window->Listings().Convert();
  window->Editor().OpenCell(42);
  Save(window.get(), dir, "open_cell");
  // The toolbar enlarged, to look at its pictures.
  window->Menus()
      .ToolBar()
      ->grab()
      .scaled(window->Menus().ToolBar()->size() * 3)
      .save(dir.filePath("toolbar_x3.png"));

  for (int mode = 1; mode <= 5; ++mode) {
    window->Dispatch(lumigrid::command::kModeEditing + mode - 1);
    Save(window.get(), dir, QStringLiteral("mode%1").arg(mode));
  }
  // The BIN panel with an existing file and a start address chosen.
  window->Dispatch(lumigrid::command::kModeBin);
  if (auto* bin = qobject_cast<lumigrid::BinPanel*>(
          window->Panel(static_cast<int>(lumigrid::SidePanel::kBin)))) {
    bin->Slot(2)->setCurrentIndex(3);
    bin->DestinationList()->setCurrentIndex(1);
    bin->PlacementList()->setCurrentIndex(1);
    bin->AddressField()->setText(QStringLiteral("1024"));
    Save(window.get(), dir, "mode5_existing");
    Save(bin, dir, "bin_panel");
  }

  // Mode 3 after an operation (undo available), and mode 2 during a run showing buffer 2.
  window->Dispatch(lumigrid::command::kModeLogic);
  for (int x = 0; x < 128; ++x) {
    for (int y = 16; y < 48; ++y) window->State().Buffer(2).SetPixel(x, y, (x / 8 + y / 8) % 2);
  }
  lumigrid::LogicPanel& logic = window->Tools().Logic();
  logic.OperationButton(lumigrid::LogicOp::kXor)->setChecked(true);
  logic.ResultList()->setCurrentIndex(0);
  logic.ApplyLogicOp();
  Save(window.get(), dir, "mode3_after_operation");
  window->Dispatch(lumigrid::command::kModeAnimation);
  lumigrid::AnimationPanel& animation = window->Tools().Animation();
  animation.PictureList(1)->setCurrentIndex(2);
  animation.PictureList(2)->setCurrentIndex(1);
  animation.StartAnimation();
  Save(window.get(), dir, "mode2_running");
  animation.StopAnimation();
  // The optimization mode after a scan of two pictures, a cell's skips, and the full list.
  DrawSample(window->State().Buffer(2));
  window->State().Buffer(2).SetCell(42, {});
  window->Dispatch(lumigrid::command::kModeOptimize);
  window->Optimizer().Scan();
  window->Optimizer().ShowCellSkips(42);
  Save(window.get(), dir, "optimize_scan");
  window->Optimizer().BuildSkipList();
  Save(window.get(), dir, "optimize_list");
  window->Dispatch(lumigrid::command::kModeEditing);

  // The file menu and the cell pop-up in every menu style.
  for (int style = 0; style <= 5; ++style) {
    window->Dispatch(lumigrid::command::kStyleStandard + style);
    for (auto [menu, name] : {std::pair{window->Menus().TopMenu(0), "file"},
                              std::pair{window->Menus().TopMenu(1), "mode"},
                              std::pair{window->Menus().TopMenu(2), "picture"},
                              std::pair{window->Menus().Popup(1), "cell_popup"}}) {
      menu->popup(window->mapToGlobal(QPoint(40, 40)));
      Save(menu, dir, QStringLiteral("menu_%1_style%2").arg(name).arg(style));
      menu->hide();
    }
    Save(window->menuBar(), dir, QStringLiteral("menubar_style%1").arg(style));
  }
  window->Dispatch(lumigrid::command::kStyleStandard);

  // The import dialog on a gradient with text, and the update budget of three pictures.
  {
    QImage gradient(400, 200, QImage::Format_RGB32);
    for (int y = 0; y < gradient.height(); ++y) {
      for (int x = 0; x < gradient.width(); ++x) {
        gradient.setPixel(x, y, qRgb(x * 255 / 400, 128 + y / 2, 255 - x * 255 / 400));
      }
    }
    QPainter painter(&gradient);
    painter.setPen(Qt::red);
    painter.setFont(QFont("DejaVu Sans", 48, QFont::Bold));
    painter.drawText(gradient.rect(), Qt::AlignCenter, "PIC 16");
    painter.end();
    const QString path = dir.filePath("gradient.png");
    gradient.save(path);
    lumigrid::SessionLoad load = lumigrid::LoadImportSession({path.toStdString()}, 10);
    lumigrid::ConversionOptions options;
    options.dither = lumigrid::Dither::kFloydSteinberg;
    lumigrid::ImportDialog dialog(std::move(load.session), options, 2, window.get());
    dialog.show();
    Save(&dialog, dir, "import_dialog");
  }
  {
    std::vector<lumigrid::PictureBytes> pictures(3, window->State().Buffer(1).Bytes());
    for (int i = 1; i < 3; ++i) {
      lumigrid::PictureBuffer moved;
      moved.Bytes() = pictures[0];
      for (int x = 0; x < 16; ++x) moved.SetPixel(40 + 10 * i + x, 20, true);
      pictures[i] = moved.Bytes();
    }
    lumigrid::FrameBudgetDialog budget(pictures, {1, 2, 3}, lumigrid::PictureBytes{}, 1, 1000,
                                       window.get());
    budget.show();
    Save(&budget, dir, "budget_dialog");
  }
  window->Dispatch(lumigrid::command::kAbout);
  QApplication::processEvents();
  if (auto* about = window->About()) Save(about, dir, "about");
  return 0;
}
