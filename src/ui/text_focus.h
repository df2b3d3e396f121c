// Whether keys belong to a text field: typing into an editable text keeps its letters.
#pragma once

class QWidget;

namespace lumigrid::ui {

// An editable line, text or spin field: it wants letters and its own undo keys.
bool EditsText(const QWidget* widget);

}  // namespace lumigrid::ui
