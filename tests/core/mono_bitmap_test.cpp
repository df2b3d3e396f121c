#include "edit/mono_bitmap.h"

#include <gtest/gtest.h>

#include <random>

#include "core/test_pictures.h"

namespace lumigrid {
namespace {

MonoBitmap RandomBitmap(int width, int height, std::mt19937& random) {
  MonoBitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.Set(x, y, random() % 2 == 0);
  }
  return bitmap;
}

TEST(MonoBitmap, ReadsOutsideAreUnlitAndWritesOutsideAreIgnored) {
  MonoBitmap bitmap(3, 2);
  EXPECT_EQ(bitmap.LitCount(), 0);
  for (const auto& [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {1 << 30, 1}}) {
    bitmap.Set(x, y);
    EXPECT_FALSE(bitmap.Get(x, y)) << x << "," << y;
  }
  EXPECT_EQ(bitmap.LitCount(), 0);
  bitmap.Set(2, 1);
  bitmap.Set(0, 0);
  bitmap.Set(0, 0, false);
  EXPECT_TRUE(bitmap.Get(2, 1));
  EXPECT_EQ(bitmap.LitCount(), 1);

  EXPECT_TRUE(MonoBitmap(-2, 5).Empty());
  EXPECT_EQ(MonoBitmap(4, 0), MonoBitmap());
}

// Oracle: each bitmap pixel written through PictureBuffer, which drops pixels off the picture.
PictureBytes StampedByOracle(const PictureBytes& picture, const MonoBitmap& bitmap, int x, int y,
                             StampMode mode) {
  PictureBuffer buffer;
  buffer.Bytes() = picture;
  for (int by = 0; by < bitmap.Height(); ++by) {
    for (int bx = 0; bx < bitmap.Width(); ++bx) {
      const bool lit = bitmap.Get(bx, by);
      if (lit || mode == StampMode::kOpaque) buffer.SetPixel(x + bx, y + by, lit);
    }
  }
  return buffer.Bytes();
}

TEST(StampBitmap, MatchesTheOracleAtEveryPositionOnAndAroundThePicture) {
  std::mt19937 random(1807);
  const PictureBytes picture = testing::RandomPicture(18);
  for (const auto& [width, height] : {std::pair{7, 5}, {1, 1}, {9, 11}}) {
    const MonoBitmap bitmap = RandomBitmap(width, height, random);
    for (StampMode mode : {StampMode::kLitOnly, StampMode::kOpaque}) {
      int wrong = 0;
      for (int y = -height - 1; y <= kPictureHeight + 1; ++y) {
        for (int x = -width - 1; x <= kPictureWidth + 1; ++x) {
          PictureBytes stamped = picture;
          StampBitmap(stamped, bitmap, x, y, mode);
          if (stamped != StampedByOracle(picture, bitmap, x, y, mode) && ++wrong <= 3) {
            ADD_FAILURE() << width << "x" << height << " at " << x << "," << y
                          << (mode == StampMode::kOpaque ? " opaque" : " lit only");
          }
        }
      }
    }
  }
}

TEST(StampBitmap, BitmapsLargerThanThePictureAndFarPositionsAreClipped) {
  std::mt19937 random(64);
  const MonoBitmap huge = RandomBitmap(300, 150, random);
  const PictureBytes picture = testing::RandomPicture(3);
  for (const auto& [x, y] : {std::pair{-100, -40}, {-299, -149}, {5, 3}, {127, 63}}) {
    PictureBytes stamped = picture;
    StampBitmap(stamped, huge, x, y, StampMode::kOpaque);
    EXPECT_EQ(stamped, StampedByOracle(picture, huge, x, y, StampMode::kOpaque)) << x << "," << y;
  }
  const int kFar = 2'000'000'000;
  for (const auto& [x, y] : {std::pair{kFar, 0}, {-kFar, 0}, {0, kFar}, {0, -kFar}}) {
    PictureBytes stamped = picture;
    StampBitmap(stamped, huge, x, y, StampMode::kOpaque);
    EXPECT_EQ(stamped, picture) << x << "," << y;
  }
}

TEST(CopyFromPicture, ReadsThePicturesPixelsAndUnlitBeyondIt) {
  PictureBuffer buffer;
  buffer.Bytes() = testing::RandomPicture(77);
  for (const auto& [x, y, width, height] :
       {std::array{0, 0, 128, 64}, {-3, -2, 10, 6}, {120, 60, 12, 9}, {40, 17, 1, 1}}) {
    const MonoBitmap copy = CopyFromPicture(buffer.Bytes(), x, y, width, height);
    ASSERT_EQ(copy.Width(), width);
    ASSERT_EQ(copy.Height(), height);
    int wrong = 0;
    for (int by = 0; by < height; ++by) {
      for (int bx = 0; bx < width; ++bx) wrong += copy.Get(bx, by) != buffer.Pixel(x + bx, y + by);
    }
    EXPECT_EQ(wrong, 0) << x << "," << y << " " << width << "x" << height;
  }
  // Lifted and put back in place opaquely, a region leaves the picture as it was.
  PictureBytes restored = buffer.Bytes();
  const MonoBitmap lifted = CopyFromPicture(restored, 30, 10, 50, 40);
  StampBitmap(restored, MonoBitmap(50, 40), 30, 10, StampMode::kOpaque);
  EXPECT_NE(restored, buffer.Bytes());
  StampBitmap(restored, lifted, 30, 10, StampMode::kOpaque);
  EXPECT_EQ(restored, buffer.Bytes());
}

}  // namespace
}  // namespace lumigrid
