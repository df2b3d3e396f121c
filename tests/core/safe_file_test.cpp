#include "files/safe_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "failing_writes.h"
#include "file_bytes.h"
#include "temp_folder.h"

namespace lumigrid {
namespace {

namespace fs = std::filesystem;
using testing::AsNobody;
using testing::FileSizeLimit;
using testing::LockedFolder;
using testing::ReadAll;
using testing::TempFolder;
using testing::WriteRaw;

const std::string kBinary("\x00\x1A\r\n\xFF\x80 end", 9);

std::string Utf8(const fs::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

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

// A read-only file is never replaced; a writable file in a read-only folder is written in
// place.
TEST(WriteFileSafely, ReadOnlyFileKeepsItsContentReadOnlyFolderDoesNot) {
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
    EXPECT_EQ(WriteFileSafely(Utf8(target), "new"), lock_folder) << lock_folder;
    fs::permissions(sub, fs::perms::owner_all);
    EXPECT_EQ(ReadAll(target), lock_folder ? "new" : "old") << lock_folder;
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

TEST(WriteFileSafely, NamesUpToTheLongestAllowedSave) {
  std::string cyrillic;
  for (int i = 0; i < 121; ++i) cyrillic += "ж";
  for (const std::string& name : {cyrillic + ".chr", std::string(251, 'n') + ".chr"}) {
    TempFolder folder;
    EXPECT_TRUE(WriteFileSafely(folder.File(name), kBinary)) << name.size();
    EXPECT_TRUE(WriteFileSafely(folder.File(name), "second")) << name.size();
    EXPECT_EQ(ReadFileBytes(folder.File(name), 100), "second") << name.size();
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{name});
  }
}

#ifndef _WIN32
TEST(WriteFileSafely, ThroughADanglingLinkCreatesTheFileItNames) {
  struct Case {
    const char* link;
    const char* points_to;
    const char* created;
  };
  const Case cases[] = {
      {"link.chr", "new.chr", "new.chr"},
      {"link.chr", "sub/new.chr", "sub/new.chr"},
      {"link.chr", "second.chr", "sub/new.chr"},  // second.chr -> sub/new.chr
  };
  for (const Case& c : cases) {
    TempFolder folder;
    fs::create_directory(folder.Path() / "sub");
    fs::create_symlink("sub/new.chr", folder.Path() / "second.chr");
    fs::create_symlink(c.points_to, folder.Path() / c.link);
    ASSERT_TRUE(WriteFileSafely(folder.File(c.link), kBinary)) << c.points_to;
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.Path() / c.link))) << c.points_to;
    EXPECT_EQ(ReadAll(folder.Path() / c.created), kBinary) << c.points_to;
    EXPECT_EQ(ReadAll(folder.Path() / c.link), kBinary) << c.points_to;
  }
}

TEST(WriteFileSafely, LinksIntoNothingOrInACircleFail) {
  TempFolder folder;
  fs::create_symlink("missing/new.chr", folder.Path() / "nowhere.chr");
  fs::create_symlink("b.chr", folder.Path() / "a.chr");
  fs::create_symlink("a.chr", folder.Path() / "b.chr");
  for (const char* name : {"nowhere.chr", "a.chr"}) {
    EXPECT_FALSE(WriteFileSafely(folder.File(name), "x")) << name;
  }
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.chr", "b.chr", "nowhere.chr"}));
}

TEST(WriteFileSafely, HardLinkedFileIsRewrittenInPlaceForEveryName) {
  for (const std::string& content : {std::string("short"), std::string(200000, 'L')}) {
    TempFolder folder;
    WriteRaw(folder.Path() / "a.chr", std::string(1000, 'o'));
    fs::create_hard_link(folder.Path() / "a.chr", folder.Path() / "b.chr");
    ASSERT_TRUE(WriteFileSafely(folder.File("a.chr"), content));
    EXPECT_TRUE(fs::equivalent(folder.Path() / "a.chr", folder.Path() / "b.chr"));
    EXPECT_EQ(ReadAll(folder.Path() / "b.chr"), content);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.chr", "b.chr"}));
  }
}

TEST(WriteFileSafely, FolderRefusingNewFilesIsWrittenInPlace) {
  TempFolder folder;
  const fs::path sub = folder.Path() / "sub";
  fs::create_directory(sub);
  WriteRaw(sub / "pic.chr", "a longer old content");
  LockedFolder lock(sub);
  if (!lock.Locked()) GTEST_SKIP() << "this file system cannot lock a folder against new files";
  ASSERT_TRUE(WriteFileSafely(Utf8(sub / "pic.chr"), kBinary));
  EXPECT_EQ(ReadAll(sub / "pic.chr"), kBinary);
  EXPECT_FALSE(WriteFileSafely(Utf8(sub / "other.chr"), kBinary)) << "no file can be created";
  EXPECT_EQ(std::distance(fs::directory_iterator(sub), {}), 1);
}

// What root's rights hide: an ordinary user saving a writable file in a folder that refuses
// new files, or another user's file in a shared folder with the sticky bit, like /tmp.
TEST(WriteFileSafely, WritableFileSavesWhereTheFolderRefusesTheRename) {
  using fs::perms;
  struct Case {
    const char* name;
    perms folder;
    perms file;
    bool saves;
  };
  const perms open_file = perms::owner_read | perms::owner_write | perms::group_read |
                          perms::group_write | perms::others_read | perms::others_write;
  const perms read_only_folder = perms::owner_all | perms::group_read | perms::group_exec |
                                 perms::others_read | perms::others_exec;
  const Case cases[] = {
      {"read-only folder", read_only_folder, open_file, true},
      {"sticky folder", perms::all | perms::sticky_bit, open_file, true},
      {"read-only file", perms::all, perms::owner_read | perms::others_read, false},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const fs::path sub = folder.Path() / "shared";
    const fs::path path = sub / "pic.chr";
    fs::create_directory(sub);
    WriteRaw(path, "old content");
    if (geteuid() == 0) {
      ASSERT_EQ(chown(path.c_str(), 4321, 4321), 0);
    }
    fs::permissions(path, c.file);
    fs::permissions(sub, c.folder);
    const std::optional<bool> saved =
        AsNobody([&] { return WriteFileSafely(Utf8(path), kBinary); });
    if (!saved) GTEST_SKIP() << "only root can act as another user";
    EXPECT_EQ(*saved, c.saves) << c.name;
    EXPECT_EQ(ReadAll(path), c.saves ? kBinary : "old content") << c.name;
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u) << c.name << ": the owner stays";
    EXPECT_EQ(std::distance(fs::directory_iterator(sub), {}), 1) << c.name << ": nothing left";
  }
}

// A write that fails half-way, in each way of writing, leaves every name of the old file with
// its old content and nothing else in the folder.
TEST(WriteFileSafely, FailedWriteKeepsTheOldContent) {
  enum class Way { kRename, kHardLink, kLockedFolder };
  for (const Way way : {Way::kRename, Way::kHardLink, Way::kLockedFolder}) {
    TempFolder folder;
    const fs::path sub = folder.Path() / "sub";
    fs::create_directory(sub);
    const std::string old = "old content";
    WriteRaw(sub / "pic.chr", old);
    if (way == Way::kHardLink) fs::create_hard_link(sub / "pic.chr", sub / "same.chr");
    LockedFolder lock(way == Way::kLockedFolder ? sub : folder.Path() / "none");
    if (way == Way::kLockedFolder && !lock.Locked()) continue;
    bool written = true;
    {
      FileSizeLimit limit(64);
      written = WriteFileSafely(Utf8(sub / "pic.chr"), std::string(5000, 'n'));
    }
    EXPECT_FALSE(written) << static_cast<int>(way);
    EXPECT_EQ(ReadAll(sub / "pic.chr"), old) << static_cast<int>(way);
    const auto entries = std::distance(fs::directory_iterator(sub), {});
    EXPECT_EQ(entries, way == Way::kHardLink ? 2 : 1) << static_cast<int>(way);
  }
}

TEST(WriteFileSafely, KeepsOwnerAndModeInEveryWayOfWriting) {
  if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another owner";
  for (const bool hard_linked : {false, true}) {
    TempFolder folder;
    const fs::path path = folder.Path() / "pic.chr";
    WriteRaw(path, "old");
    if (hard_linked) fs::create_hard_link(path, folder.Path() / "same.chr");
    ASSERT_EQ(chown(path.c_str(), 4321, 4322), 0);
    ASSERT_EQ(chmod(path.c_str(), 02640), 0);
    ASSERT_TRUE(WriteFileSafely(Utf8(path), kBinary)) << hard_linked;
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u) << hard_linked;
    EXPECT_EQ(info.st_gid, 4322u) << hard_linked;
    EXPECT_EQ(info.st_mode & 07777, 02640u) << hard_linked;
    EXPECT_EQ(ReadAll(path), kBinary) << hard_linked;
  }
}

// Callers copy kept parts of the old file while streaming the new one.
TEST(SafeFileWriter, OldContentStaysReadableUntilCommit) {
  for (const bool hard_linked : {false, true}) {
    for (const bool commit : {false, true}) {
      TempFolder folder;
      const fs::path path = folder.Path() / "data.bin";
      WriteRaw(path, "0123456789");
      if (hard_linked) fs::create_hard_link(path, folder.Path() / "same.bin");
      {
        SafeFileWriter writer(Utf8(path));
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.Write("ab"));
        EXPECT_EQ(ReadAll(path), "0123456789") << hard_linked;
        ASSERT_TRUE(writer.Write(ReadAll(path).substr(5)));
        if (commit) {
          EXPECT_TRUE(writer.Commit());
        }
      }
      EXPECT_EQ(ReadAll(path), commit ? "ab56789" : "0123456789") << hard_linked << commit;
      EXPECT_EQ(folder.Entries().size(), hard_linked ? 2u : 1u) << hard_linked << commit;
    }
  }
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

#ifndef _WIN32
TEST(ReadFileBytes, OnlyRegularFilesAndWithoutBlocking) {
  TempFolder folder;
  ASSERT_EQ(mkfifo(folder.File("pipe.chr").c_str(), 0644), 0);
  fs::create_symlink("pipe.chr", folder.Path() / "to-pipe.chr");
  WriteRaw(folder.Path() / "real.chr", kBinary);
  fs::create_symlink("real.chr", folder.Path() / "to-real.chr");
  struct Case {
    std::string path;
    std::optional<std::string> expected;
  };
  const Case cases[] = {{folder.File("pipe.chr"), std::nullopt},
                        {folder.File("to-pipe.chr"), std::nullopt},
                        {"/dev/zero", std::nullopt},
                        {folder.File("to-real.chr"), kBinary}};
  for (const Case& c : cases) EXPECT_EQ(ReadFileBytes(c.path, 1024), c.expected) << c.path;
}
#endif

}  // namespace
}  // namespace lumigrid
