#include "app/keyboard_layout.h"

#include <string_view>

namespace lumigrid {

char32_t UsKeyOfRussianLetter(char32_t letter) {
  // The standard Russian layout over the US one, key by key.
  static constexpr std::u32string_view kRussian = U"ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮЁ";
  static constexpr std::u32string_view kUs = U"QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,.`";
  static_assert(kRussian.size() == kUs.size());
  if (letter >= U'а' && letter <= U'я') letter -= U'а' - U'А';
  if (letter == U'ё') letter = U'Ё';
  const std::size_t at = kRussian.find(letter);
  return at == std::u32string_view::npos ? 0 : kUs[at];
}

}  // namespace lumigrid
