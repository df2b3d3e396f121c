// Keys by their place on the keyboard: the shortcuts are named by the US layout's letters and
// must work the same while the Russian layout is active.
#pragma once

namespace lumigrid {

// The US layout's character (letters in upper case) on the key that carries `letter` in the
// Russian layout, upper or lower case: U+042B "Ы" gives 'S'. 0 for any other character.
char32_t UsKeyOfRussianLetter(char32_t letter);

}  // namespace lumigrid
