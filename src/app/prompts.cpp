#include "app/prompts.h"

#include "app/file_commands.h"
#include "app/file_rules.h"
#include "app/main_window.h"
#include "picture/editor.h"

namespace lumigrid {

Prompts::Prompts(MainWindow& window, FileCommands& files) : window_(window), files_(files) {}

ui::Answer Prompts::Ask(int b, const char* caption) {
  const ui::Message question{
      QString::fromUtf8(caption),
      QString::fromStdString(UnsavedQuestion(window_.State().BufferFileName(b))),
      ui::MessageIcon::kQuestion, ui::MessageButtons::kYesNoCancel, ui::Answer::kYes};
  return window_.Platform().ShowMessage(&window_, question);
}

bool Prompts::Save(int b) { return files_.SaveFromPrompt(b) == FileCommands::PromptSave::kSaved; }

bool Prompts::ConfirmDiscard(int b) {
  if (!window_.State().BufferModified(b)) return true;
  switch (Ask(b, kDiscardCaption)) {
    case ui::Answer::kYes:
      return Save(b);
    case ui::Answer::kNo:
      return true;
    default:
      return false;
  }
}

bool Prompts::ConfirmQuit() {
  EditorState& state = window_.State();
  for (int b = 1; b <= kBufferCount; ++b) {
    if (!state.BufferModified(b)) continue;
    // Shown without making b current: nothing else follows the tab.
    window_.Editor().ShowTab(b);
    window_.Editor().ShowPicture(b);
    const ui::Answer answer = Ask(b, kQuitCaption);
    if (answer == ui::Answer::kNo) continue;
    if (answer == ui::Answer::kYes && Save(b)) continue;
    ShowCurrentBuffer();
    return false;
  }
  return true;
}

void Prompts::ShowCurrentBuffer() {
  const EditorState& state = window_.State();
  lumigrid::Editor& editor = window_.Editor();
  editor.ShowTab(state.CurrentBuffer());
  editor.RedrawCanvas();
  if (state.SelectedCell() != kNoCell) editor.RedrawCell(state.SelectedCell(), CellLook::kOpen);
}

}  // namespace lumigrid
