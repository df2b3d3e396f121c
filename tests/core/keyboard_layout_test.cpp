#include "app/keyboard_layout.h"

#include <gtest/gtest.h>

namespace lumigrid {
namespace {

TEST(UsKeyOfRussianLetter, FollowsTheKeyAcrossLayouts) {
  struct Case {
    char32_t russian;
    char32_t us;
  };
  const Case cases[] = {
      // The keys of the shortcuts, upper and lower case.
      {U'Ы', 'S'},
      {U'ы', 'S'},
      {U'Т', 'N'},
      {U'Щ', 'O'},
      {U'Ч', 'X'},
      {U'С', 'C'},
      {U'М', 'V'},
      {U'Ф', 'A'},
      {U'ф', 'A'},
      // Both ends of the alphabet and the letters off its run.
      {U'А', 'F'},
      {U'я', 'Z'},
      {U'Ё', '`'},
      {U'ё', '`'},
      {U'Х', '['},
      {U'Ж', ';'},
      // Anything that is no Russian letter has no key here.
      {U'S', 0},
      {U'1', 0},
      {U'І', 0},
      {U'Ѐ', 0},
      {0, 0},
      {0x01FFFFFF, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UsKeyOfRussianLetter(c.russian), c.us) << static_cast<int>(c.russian);
  }
}

}  // namespace
}  // namespace lumigrid
