// The questions asked before unsaved changes are lost: before the current buffer is replaced
// (New, Open, a recent file, a dropped file) and, buffer by buffer, before the program ends.
#pragma once

#include "ui/platform.h"

namespace lumigrid {

class FileCommands;
class MainWindow;

class Prompts {
 public:
  Prompts(MainWindow& window, FileCommands& files);

  // True when buffer b may be replaced: it is not modified, the user gave its changes up, or
  // they were saved. A cancelled question, a cancelled save dialog or a failed save stop the
  // replacing operation. The modified flag is left to the caller.
  bool ConfirmDiscard(int b);

  // True when the program may end. Asks about every modified buffer in order, showing its tab
  // and picture meanwhile. Cancel, a cancelled save dialog or a failed save keep the program
  // open (and show the current buffer again).
  bool ConfirmQuit();

 private:
  ui::Answer Ask(int b, const char* caption);
  // The Yes answer: true once buffer b has been written.
  bool Save(int b);
  void ShowCurrentBuffer();

  MainWindow& window_;
  FileCommands& files_;
};

}  // namespace lumigrid
