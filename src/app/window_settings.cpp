// The main window's side of the settings: each key's value read from its control at the end.
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/picture_commands.h"
#include "app/tool_commands.h"
#include "codegen/conversion_panel.h"
#include "optimize/optimize_panel.h"
#include "tools/animation_panel.h"

namespace lumigrid {

Settings MainWindow::CollectSettings() const {
  Settings s = loaded_settings_;
  // The frame's position, the same one move() placed at start.
  s.window_x = pos().x();
  s.window_y = pos().y();
  // The panel shows the current buffer's options.
  s.convert = conversion_panel_->Options();
  s.style_menu = menus_->MenuStyle();
  // A delay list with nothing chosen keeps the stored entry.
  if (const int delay = tools_->Animation().DelayIndex(); delay >= 0) s.anime_delay = delay;
  s.count_byte = optimize_panel_->RunValue();
  s.auto_scan = optimize_panel_->AutoScan();
  for (int i = 1; i <= RecentFiles::kCount; ++i) s.recent_files[i - 1] = state_.Recent().Entry(i);
  s.wrap_shift = pictures_->WrapShift();
  return s;
}

}  // namespace lumigrid
