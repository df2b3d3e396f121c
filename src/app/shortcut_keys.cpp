#include "app/shortcut_keys.h"

#include <QKeyEvent>
#include <QKeySequence>

#include "app/keyboard_layout.h"

namespace lumigrid {

bool PressedKeysAre(const QKeyEvent& key, const char* keys) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  const int physical = static_cast<int>(UsKeyOfRussianLetter(static_cast<char32_t>(key.key())));
  const QKeySequence wanted(QString::fromLatin1(keys), QKeySequence::PortableText);
  for (const int code : {key.key(), physical}) {
    if (code != 0 && QKeySequence(QKeyCombination(modifiers, Qt::Key(code))) == wanted) return true;
  }
  return false;
}

}  // namespace lumigrid
