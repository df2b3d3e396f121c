// The five work modes and the side panels each one shows.
#pragma once

#include <array>

#include "picture/editor_state.h"

namespace lumigrid {

enum class SidePanel { kCell, kAnimation, kLogic, kOptimize, kBin, kConversion };

struct WorkModeInfo {
  int mode;
  const char* name;  // toolbar tooltip of the work-mode button
};

inline constexpr std::array kWorkModes{
    WorkModeInfo{1, "Редактирование"},
    WorkModeInfo{2, "Анимация"},
    WorkModeInfo{3, "Логические операции"},
    WorkModeInfo{4, "Оптимизация кода"},
    WorkModeInfo{5, "Преобразование кода в BIN формат"},
};

constexpr bool IsValidWorkMode(int mode) { return mode >= kFirstWorkMode && mode <= kLastWorkMode; }

// The mode after `mode` for the toolbar button: 1 follows 5.
constexpr int NextWorkMode(int mode) { return mode >= kLastWorkMode ? kFirstWorkMode : mode + 1; }

constexpr bool PanelShown(SidePanel panel, int mode) {
  switch (panel) {
    case SidePanel::kCell:
      return mode == 1;
    case SidePanel::kAnimation:
      return mode == 2;
    case SidePanel::kLogic:
      return mode == 3;
    case SidePanel::kOptimize:
      return mode == 4;
    case SidePanel::kBin:
      return mode == 5;
    case SidePanel::kConversion:
      return mode == 1 || mode == 3;
  }
  return false;
}

// Leaving editing closes the open cell and clears the readout.
constexpr bool ModeClosesCell(int mode) { return mode >= 2 && mode <= 5; }

// Entering the logic, optimization or BIN mode loses the undo of the last logic operation.
constexpr bool ModeForfeitsLogicUndo(int mode) { return mode >= 3 && mode <= 5; }

}  // namespace lumigrid
