#include "files/safe_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "temp_folder.h"

namespace lumigrid {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteRaw(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

const std::string kBinary("\x00\x1A\r\n\xFF\x80 end", 9);

TEST(WriteFileSafely, CreatesAndReplacesWithExactBytes) {
  TempFolder folder;
  const std::string path = folder.File("pic.chr");
  ASSERT_TRUE(WriteFileSafely(path, "a much longer first content"));
  ASSERT_TRUE(WriteFileSafely(path, kBinary));
  EXPECT_EQ(ReadAll(PathFromUtf8(path)), kBinary);
  EXPECT_EQ(FileSize(path), kBinary.size());
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pic.chr"});
}

TEST(WriteFileSafely, CyrillicNames) {
  TempFolder folder;
  const std::string path = folder.File("мой рисунок.chr");
  ASSERT_TRUE(WriteFileSafely(path, kBinary));
  EXPECT_EQ(ReadFileBytes(path, 100), kBinary);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"мой рисунок.chr"});
}

TEST(WriteFileSafely, MissingFolderFailsAndCreatesNothing) {
  TempFolder folder;
  EXPECT_FALSE(WriteFileSafely(folder.File("no such folder/pic.chr"), "x"));
  EXPECT_FALSE(WriteFileSafely(folder.File(""), "x"));
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(WriteFileSafely, FolderAtTheTargetIsNeverReplaced) {
  TempFolder folder;
  fs::create_directory(folder.Path() / "pic.chr");
  WriteRaw(folder.Path() / "pic.chr" / "inside.txt", "kept");
  EXPECT_FALSE(WriteFileSafely(folder.File("pic.chr"), "x"));
  EXPECT_TRUE(fs::is_directory(folder.Path() / "pic.chr"));
  EXPECT_EQ(ReadAll(folder.Path() / "pic.chr" / "inside.txt"), "kept");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pic.chr"});
}

TEST(WriteFileSafely, ReadOnlyFileOrFolderKeepsTheOldContent) {
  const auto read_only = fs::perms::owner_read | fs::perms::owner_exec;
  for (const bool lock_folder : {false, true}) {
    TempFolder folder;
    const fs::path sub = folder.Path() / "sub";
    fs::create_directory(sub);
    const fs::path target = sub / "locked.chr";
    WriteRaw(target, "old");
    fs::permissions(lock_folder ? sub : target, read_only);
    if (std::ofstream(lock_folder ? sub / "probe" : target, std::ios::app)) {
      GTEST_SKIP() << "this account may write where permissions say it may not";
    }
    const std::u8string name = target.u8string();
    EXPECT_FALSE(WriteFileSafely(std::string(name.begin(), name.end()), "new")) << lock_folder;
    fs::permissions(sub, fs::perms::owner_all);
    EXPECT_EQ(ReadAll(target), "old") << lock_folder;
    EXPECT_EQ(std::distance(fs::directory_iterator(sub), {}), 1) << lock_folder;
  }
}

#ifndef _WIN32
TEST(WriteFileSafely, KeepsPermissionsAndLinks) {
  TempFolder folder;
  const fs::path real = folder.Path() / "real.chr";
  WriteRaw(real, "old");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(real, mode);
  fs::create_symlink(real, folder.Path() / "link.chr");

  ASSERT_TRUE(WriteFileSafely(folder.File("link.chr"), "new"));
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "link.chr"));
  EXPECT_EQ(ReadAll(real), "new");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, mode);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"link.chr", "real.chr"}));
}
#endif

TEST(ReadFileBytes, ReadsAtMostTheLimit) {
  TempFolder folder;
  const std::string path = folder.File("data");
  WriteRaw(PathFromUtf8(path), kBinary);
  struct Case {
    std::size_t limit;
    std::string expected;
  };
  const Case cases[] = {{0, ""}, {3, kBinary.substr(0, 3)}, {9, kBinary}, {1 << 20, kBinary}};
  for (const Case& c : cases) EXPECT_EQ(ReadFileBytes(path, c.limit), c.expected) << c.limit;
}

TEST(ReadFileBytes, EmptyFileIsReadableMissingOrFolderIsNot) {
  TempFolder folder;
  WriteRaw(folder.Path() / "empty", "");
  EXPECT_EQ(ReadFileBytes(folder.File("empty"), 10), "");
  EXPECT_EQ(FileSize(folder.File("empty")), 0u);
  for (const std::string& path : {folder.File("missing"), folder.File("")}) {
    EXPECT_EQ(ReadFileBytes(path, 10), std::nullopt) << path;
    EXPECT_EQ(FileSize(path), std::nullopt) << path;
  }
}

}  // namespace
}  // namespace lumigrid
