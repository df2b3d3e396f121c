#include "files/picture_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "file_bytes.h"
#include "files/safe_file.h"
#include "temp_folder.h"

namespace lumigrid {
namespace {

using testing::ReadAll;
using testing::TempFolder;

TEST(PictureFile, OnePixelLandsAtItsDisplayByte) {
  struct Case {
    int x;
    int y;
    std::size_t offset;
    char value;
  };
  const Case cases[] = {{0, 0, 0, 0x01},    {127, 63, 1023, char(0x80)}, {64, 0, 64, 0x01},
                        {0, 8, 128, 0x01},  {63, 7, 63, char(0x80)},     {9, 3, 9, 0x08},
                        {127, 0, 127, 0x01}};
  TempFolder folder;
  const std::string path = folder.File("pixel.chr");
  for (const Case& c : cases) {
    PictureBuffer picture;
    picture.SetPixel(c.x, c.y, true);
    ASSERT_TRUE(WritePictureFile(path, picture.Bytes()));
    std::string expected(kPictureBytes, '\0');
    expected[c.offset] = c.value;
    EXPECT_EQ(ReadAll(path), expected) << "pixel (" << c.x << ", " << c.y << ")";
  }
}

TEST(PictureFile, ReadsTheFirst1024BytesAndClearsTheRest) {
  struct Case {
    std::size_t file_size;
    std::size_t bytes_used;
  };
  // 10 bytes: cell 1 and bytes 1..2 of cell 2.
  const Case cases[] = {{0, 0}, {1, 1}, {10, 10}, {1023, 1023}, {1024, 1024}, {5000, 1024}};
  TempFolder folder;
  const std::string path = folder.File("sized.chr");
  for (const Case& c : cases) {
    std::string content(c.file_size, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = char(0x41 + i % 7);
    ASSERT_TRUE(WriteFileSafely(path, content));
    const std::optional<PictureBytes> picture = ReadPictureFile(path);
    ASSERT_TRUE(picture.has_value()) << c.file_size;
    for (std::size_t i = 0; i < kPictureBytes; ++i) {
      const uint8_t expected = i < c.bytes_used ? uint8_t(0x41 + i % 7) : 0;
      ASSERT_EQ((*picture)[i], expected) << "file of " << c.file_size << " bytes, offset " << i;
    }
  }
}

TEST(PictureFile, SaveThenLoadGivesBackTheBytes) {
  TempFolder folder;
  const std::string path = folder.File("рисунок.chr");
  std::mt19937 random(7);
  for (int round = 0; round < 5; ++round) {
    PictureBytes picture;
    for (uint8_t& b : picture) b = static_cast<uint8_t>(random());
    ASSERT_TRUE(WritePictureFile(path, picture));
    EXPECT_EQ(ReadPictureFile(path), picture) << "round " << round;
  }
  EXPECT_EQ(FileSize(path), uintmax_t{kPictureBytes});
}

TEST(PictureFile, UnreadableOrUnwritablePaths) {
  TempFolder folder;
  EXPECT_EQ(ReadPictureFile(folder.File("missing.chr")), std::nullopt);
  std::filesystem::create_directory(folder.Path() / "folder.chr");
  EXPECT_EQ(ReadPictureFile(folder.File("folder.chr")), std::nullopt);
  EXPECT_FALSE(WritePictureFile(folder.File("folder.chr"), PictureBytes{}));
  EXPECT_FALSE(WritePictureFile(folder.File("missing/pic.chr"), PictureBytes{}));
}

}  // namespace
}  // namespace lumigrid
