// The command numbers. Every menu item, toolbar button and shortcut carries one; panels
// register handlers under them without knowing the menus.
#pragma once

namespace lumigrid::command {

enum Number : int {
  kOpen = 1,
  kSave = 2,
  kSaveAs = 3,
  kNew = 4,
  kClose = 5,
  kAbout = 8,
  kModeEditing = 16,  // 16..20: work modes 1..5
  kModeAnimation = 17,
  kModeLogic = 18,
  kModeOptimize = 19,
  kModeBin = 20,
  kModeCycle = 28,    // toolbar work-mode button
  kRecentFirst = 30,  // 30..39: recent files 1..10
  kRecentLast = 39,
  kCellCut = 40,
  kCellCopy = 41,
  kCellPaste = 42,
  kCellClear = 43,
  kListingSelectAll = 50,
  kListingCopy = 51,
  kListingSave = 52,
  kReportSelectAll = 70,
  kReportCopy = 71,
  kReportSave = 72,
  kShortcutCut = 85,  // 85..89: edit shortcuts, routed by the pointer's position
  kShortcutCopy = 86,
  kShortcutPaste = 87,
  kShortcutSelectAll = 88,
  kShortcutSave = 89,
  kStyleStandard = 90,  // 90..95: menu styles 0..5
  kStyleLast = 95,
  // Beyond the Parts: the menu "Рисунок" (100..199).
  kUndo = 100,
  kRedo = 101,
  // 110..119 drawing tools, 120..139 transforms and whole-buffer commands, 140..149 the system
  // clipboard, 150..159 import with settings and the frame tables.
  kInvert = 120,
  kFlipHorizontal = 121,
  kFlipVertical = 122,
  kRotate180 = 123,
  kShiftLeft = 124,  // 124..127: one pixel left, right, up, down
  kShiftRight = 125,
  kShiftUp = 126,
  kShiftDown = 127,
  kShiftWrap = 128,  // "Сдвиг по кругу", a check mark
  kClearBuffer = 129,
  kCopyBuffer = 130,
  kCopyPicture = 140,
  kPastePicture = 141,
};

}  // namespace lumigrid::command
