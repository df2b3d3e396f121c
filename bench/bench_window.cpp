#include "bench_window.h"

#include <QApplication>

#include "app/startup.h"

namespace lumigrid {

BenchWindow::BenchWindow(const std::function<void(EditorState&)>& prepare)
    : window(CreateMainWindow(platform, Settings{})) {
  if (prepare) prepare(window->State());
  window->show();
  QApplication::processEvents();
}

}  // namespace lumigrid
