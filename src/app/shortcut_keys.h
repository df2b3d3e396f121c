// Whether a key press is a shortcut of the command data, by the key's place on the keyboard:
// Alt+S arrives as Alt+Ы while the Russian layout is active.
#pragma once

class QKeyEvent;

namespace lumigrid {

// `keys` in Qt's portable text ("Ctrl+Shift+S", "Esc").
bool PressedKeysAre(const QKeyEvent& key, const char* keys);

}  // namespace lumigrid
