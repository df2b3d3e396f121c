// The listing of the current buffer: "Преобразовать", the per-buffer options of the
// conversion panel, and the commands of the listing view's pop-up menu.
#pragma once

#include <QObject>
#include <array>

#include "picture/editor_state.h"

class QWidget;

namespace lumigrid {

namespace ui {
class Platform;
}
class CommandTable;
class ConversionPanel;
class Editor;
class ListingView;

class ListingCommands : public QObject {
  Q_OBJECT

 public:
  using Views = std::array<ListingView*, kBufferCount>;

  ListingCommands(EditorState& state, ui::Platform& platform, ConversionPanel& panel,
                  const Views& views, Editor& editor, QWidget* dialog_parent);

  // Commands 50..52 of the listing view's pop-up menu.
  void Register(CommandTable& commands);

  // Generates the current buffer's listing with the panel's options into its view.
  void Convert();
  // Writes the current view's text to a file the user chooses.
  void SaveListing();

 private:
  ListingView* CurrentView() const { return views_[state_.CurrentBuffer() - 1]; }
  void SwapOptions(int from, int to);

  EditorState& state_;
  ui::Platform& platform_;
  ConversionPanel& panel_;
  Views views_;
  QWidget* dialog_parent_;
};

}  // namespace lumigrid
