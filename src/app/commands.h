// The menus, pop-up menus and shortcuts as data. Menus, the toolbar, shortcuts and tests all
// reach a command through its number.
#pragma once

#include <array>
#include <span>

#include "commands/command_numbers.h"

namespace lumigrid::command {

constexpr int kSeparator = 0;
constexpr int kRecentSubmenu = -1;  // the "Недавние файлы" submenu
constexpr int kStyleSubmenu = -2;   // the "Стиль меню" submenu

struct MenuItem {
  int command;  // kSeparator, a submenu marker or a command number
  const char* text;
};

inline constexpr std::array kFileMenu{
    MenuItem{kNew, "Новый\tCtrl+N"},
    MenuItem{kOpen, "Открыть\tCtrl+O"},
    MenuItem{kSave, "Сохранить\tCtrl+S"},
    MenuItem{kSaveAs, "Сохранить как...\tCtrl+Shift+S"},
    MenuItem{kSeparator, ""},
    MenuItem{kRecentSubmenu, "Недавние файлы"},
    MenuItem{kSeparator, ""},
    MenuItem{kClose, "Закрыть"},
};

inline constexpr std::array kModeMenu{
    MenuItem{kModeEditing, "Редактирование\tCtrl+1"},
    MenuItem{kModeAnimation, "Анимация\tCtrl+2"},
    MenuItem{kModeLogic, "Лог. операции\tCtrl+3"},
    MenuItem{kModeOptimize, "Оптимизация кода\tCtrl+4"},
    MenuItem{kModeBin, "Преобразование в BIN\tCtrl+5"},
    MenuItem{kSeparator, ""},
    MenuItem{kStyleSubmenu, "Стиль меню"},
};

inline constexpr std::array kStyleMenu{
    MenuItem{90, "Стандартный"}, MenuItem{91, "Офис 2000"},  MenuItem{92, "Офис XP"},
    MenuItem{93, "Офис 2003"},   MenuItem{94, "Фиолетовый"}, MenuItem{95, "Чёрный"},
};

inline constexpr std::array kHelpMenu{MenuItem{kAbout, "О программе"}};

// Everything beyond the Parts' menus lives here. The history items show the step they would
// take after the word: "Отменить: линия".
inline constexpr const char* kUndoText = "Отменить\tCtrl+Z";
inline constexpr const char* kRedoText = "Повторить\tCtrl+Y";
inline constexpr std::array kPictureMenu{
    MenuItem{kUndo, kUndoText},
    MenuItem{kRedo, kRedoText},
    MenuItem{kSeparator, ""},
    // Transforms of the current picture, whole-buffer commands and the system clipboard.
    MenuItem{kInvert, "Инвертировать"},
    MenuItem{kFlipHorizontal, "Отразить по горизонтали"},
    MenuItem{kFlipVertical, "Отразить по вертикали"},
    MenuItem{kRotate180, "Повернуть на 180°"},
    MenuItem{kSeparator, ""},
    MenuItem{kShiftLeft, "Сдвинуть на 1 пиксель влево"},
    MenuItem{kShiftRight, "Сдвинуть на 1 пиксель вправо"},
    MenuItem{kShiftUp, "Сдвинуть на 1 пиксель вверх"},
    MenuItem{kShiftDown, "Сдвинуть на 1 пиксель вниз"},
    MenuItem{kShiftWrap, "Сдвиг по кругу"},
    MenuItem{kSeparator, ""},
    MenuItem{kClearBuffer, "Очистить буфер"},
    MenuItem{kCopyBuffer, "Копировать буфер…"},
    MenuItem{kSeparator, ""},
    MenuItem{kCopyPicture, "Копировать рисунок"},
    MenuItem{kPastePicture, "Вставить рисунок"},
};

struct MenuBarEntry {
  const char* title;
  std::span<const MenuItem> items;
};

inline constexpr std::array kMenuBar{
    MenuBarEntry{"Файл", kFileMenu},
    MenuBarEntry{"Режим", kModeMenu},
    MenuBarEntry{"Рисунок", kPictureMenu},
    MenuBarEntry{"Справка", kHelpMenu},
};

// Pop-up menu 1: a canvas cell; 2: the listing view; 3: the optimization report.
// Pop-up 4, the open button's drop-down, holds the recent files.
inline constexpr std::array kCellPopup{
    MenuItem{kCellCut, "Вырезать\tCtrl+X"},   MenuItem{kCellCopy, "Копировать\tCtrl+C"},
    MenuItem{kCellPaste, "Вставить\tCtrl+V"}, MenuItem{kSeparator, ""},
    MenuItem{kCellClear, "Очистить"},
};

inline constexpr std::array kListingPopup{
    MenuItem{kListingSelectAll, "Выделить всё\tCtrl+A"},
    MenuItem{kListingCopy, "Копировать\tCtrl+C"},
    MenuItem{kSeparator, ""},
    MenuItem{kListingSave, "Сохранить в файле\tAlt+S"},
};

inline constexpr std::array kReportPopup{
    MenuItem{kReportSelectAll, "Выделить всё\tCtrl+A"},
    MenuItem{kReportCopy, "Копировать\tCtrl+C"},
    MenuItem{kSeparator, ""},
    MenuItem{kReportSave, "Сохранить в файле\tAlt+S"},
};

// Items that carry a picture while a menu theme is in force, with the image number.
struct ItemPicture {
  int command;
  int image;
};

inline constexpr std::array kItemPictures{
    ItemPicture{kNew, 16},        ItemPicture{kOpen, 1},        ItemPicture{kSave, 2},
    ItemPicture{kCellCut, 7},     ItemPicture{kCellCopy, 4},    ItemPicture{kCellPaste, 5},
    ItemPicture{kListingCopy, 4}, ItemPicture{kListingSave, 2}, ItemPicture{kReportCopy, 4},
    ItemPicture{kReportSave, 2},
};

// Keyboard shortcuts of the main window, in Qt's portable key text.
struct Shortcut {
  const char* keys;
  int command;
};

inline constexpr std::array kShortcuts{
    Shortcut{"Ctrl+N", kNew},
    Shortcut{"Ctrl+O", kOpen},
    Shortcut{"Ctrl+S", kSave},
    Shortcut{"Ctrl+Shift+S", kSaveAs},
    Shortcut{"Ctrl+1", kModeEditing},
    Shortcut{"Ctrl+2", kModeAnimation},
    Shortcut{"Ctrl+3", kModeLogic},
    Shortcut{"Ctrl+4", kModeOptimize},
    Shortcut{"Ctrl+5", kModeBin},
    Shortcut{"Ctrl+X", kShortcutCut},
    Shortcut{"Ctrl+C", kShortcutCopy},
    Shortcut{"Ctrl+V", kShortcutPaste},
    Shortcut{"Ctrl+A", kShortcutSelectAll},
    Shortcut{"Alt+S", kShortcutSave},
};

// Keys of the picture's history. With the pointer over the canvas or the enlarged view they act
// on the picture whatever holds the keyboard focus; elsewhere a text field with the focus keeps
// them for its own undo.
inline constexpr std::array kHistoryShortcuts{
    Shortcut{"Ctrl+Z", kUndo},
    Shortcut{"Ctrl+Y", kRedo},
    Shortcut{"Ctrl+Shift+Z", kRedo},
};

}  // namespace lumigrid::command
