// The small borderless window shown while the program starts.
#pragma once

#include <QWidget>

namespace lumigrid {

class StartupWindow : public QWidget {
  Q_OBJECT

 public:
  explicit StartupWindow(QWidget* parent = nullptr);
};

}  // namespace lumigrid
