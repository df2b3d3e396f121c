// Selection moves against a pixel-by-pixel reference: after lifting rectangle R off picture P
// and dropping it at offset d, a pixel shows P at p - d inside the moved rectangle, unlit in
// the rest of R, and P elsewhere.
#include "edit/selection.h"

#include <gtest/gtest.h>

#include <random>

#include "core/test_pictures.h"

namespace lumigrid {
namespace {

bool PixelOf(const PictureBytes& bytes, int x, int y) {
  PictureBuffer picture;
  picture.Bytes() = bytes;
  return picture.Pixel(x, y);
}

PictureBytes ReferenceMove(const PictureBytes& original, const PixelRect& r, int dx, int dy) {
  PictureBuffer moved;
  moved.Bytes() = original;
  const PixelRect to{r.x + dx, r.y + dy, r.width, r.height};
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      if (to.Contains({x, y})) {
        moved.SetPixel(x, y, PixelOf(original, x - dx, y - dy));
      } else if (r.Contains({x, y})) {
        moved.SetPixel(x, y, false);
      }
    }
  }
  return moved.Bytes();
}

PixelRect RandomRect(std::mt19937& random) {
  const PixelPoint a{static_cast<int>(random() % 128), static_cast<int>(random() % 64)};
  const PixelPoint b{static_cast<int>(random() % 128), static_cast<int>(random() % 64)};
  return RectBetween(a, b);
}

TEST(PictureSelection, MovesAreLiftedAndDroppedLikeTheReference) {
  std::mt19937 random(5);
  for (int run = 0; run < 300; ++run) {
    const PictureBytes original = testing::RandomPicture(run);
    const PixelRect r = RandomRect(random);
    PictureSelection selection;
    selection.Select(r);
    ASSERT_EQ(selection.Rect(), r);
    ASSERT_EQ(selection.Content(original), CopyFromPicture(original, r.x, r.y, r.width, r.height));
    // Through a few places, partly off the picture too: only the last one counts, since the
    // floating pixels never cover what they pass over.
    PictureBytes shown = original;
    int dx = 0, dy = 0;
    for (int step = 0; step < 3; ++step) {
      dx = static_cast<int>(random() % 200) - 100;
      dy = static_cast<int>(random() % 100) - 50;
      shown = selection.MoveTo(shown, {r.x + dx, r.y + dy});
    }
    ASSERT_EQ(shown, ReferenceMove(original, r, dx, dy)) << "run " << run;
    ASSERT_TRUE(selection.Floating());
    ASSERT_EQ(selection.Picture(), shown);
    // Back home the picture is whole again, and removing the floating pixels leaves the hole.
    ASSERT_EQ(selection.MoveTo(shown, {r.x, r.y}), original) << "run " << run;
    ASSERT_EQ(selection.Remove(original), ReferenceMove(original, r, 1000, 1000));
    ASSERT_FALSE(selection.Active());
  }
}

TEST(PictureSelection, PastedPixelsFloatOverThePictureUntilRemovedOrCleared) {
  const PictureBytes original = testing::RandomPicture(77);
  MonoBitmap pasted(5, 3);
  pasted.Set(0, 0);
  pasted.Set(4, 2);
  PictureSelection selection;
  selection.Select(RectBetween({0, 0}, {9, 9}));
  const PictureBytes with_paste = selection.Float(original, pasted, {125, 62});
  EXPECT_EQ(selection.Rect(), (PixelRect{125, 62, 5, 3}));
  PictureBytes expected = original;
  StampBitmap(expected, pasted, 125, 62, StampMode::kOpaque);
  EXPECT_EQ(with_paste, expected);
  // Moved, it uncovers what it lay on; its part off the picture comes back with it.
  EXPECT_EQ(selection.MoveTo(with_paste, {10, 10}), [&] {
    PictureBytes moved = original;
    StampBitmap(moved, pasted, 10, 10, StampMode::kOpaque);
    return moved;
  }());
  EXPECT_EQ(selection.Content(with_paste), pasted);
  EXPECT_EQ(selection.Remove(with_paste), original);

  // A selection that does not float removes to unlit pixels; Clear leaves the picture.
  selection.Select({-5, 60, 20, 20});
  EXPECT_EQ(selection.Rect(), (PixelRect{0, 60, 15, 4})) << "held to the picture";
  EXPECT_EQ(selection.Remove(original), ReferenceMove(original, {0, 60, 15, 4}, 1000, 1000));
  selection.Select({130, 0, 4, 4});
  EXPECT_FALSE(selection.Active()) << "nothing of it on the picture";
  EXPECT_EQ(selection.Float(original, MonoBitmap(), {3, 3}), original);
  EXPECT_FALSE(selection.Active());
}

}  // namespace
}  // namespace lumigrid
