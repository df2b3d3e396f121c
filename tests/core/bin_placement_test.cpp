#include "binexport/bin_placement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "failing_writes.h"
#include "file_bytes.h"
#include "files/safe_file.h"
#include "temp_folder.h"

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace lumigrid {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::TempFolder;
using testing::WriteRaw;

// Bytes that differ from their neighbours, so a shifted or dropped byte shows.
std::string Pattern(std::size_t length, int seed) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 13 + seed + i / 251);
  return bytes;
}

std::span<const std::uint8_t> AsBytes(const std::string& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

constexpr std::size_t kBig = (1 << 20) * 2 + 1000;  // crosses the copying chunks

// A piece of the expected file: bytes [from, to) of the old file, or the whole block.
struct Piece {
  bool block = false;
  std::size_t from = 0;
  std::size_t to = 0;
};
constexpr Piece Old(std::size_t from, std::size_t to) { return {false, from, to}; }
constexpr Piece kBlock{true};

struct PlacementCase {
  const char* name;
  std::optional<std::size_t> old_length;  // nullopt: no file
  std::size_t block_length;
  BinWrite write;
  std::optional<std::uint64_t> address;
  BinPlaceStatus status;
  std::vector<Piece> expected;  // the file afterwards; empty with no old file means none
};

const PlacementCase kCases[] = {
    {"new file", std::nullopt, 1024, BinWrite::kNewFile, {}, BinPlaceStatus::kWritten, {kBlock}},
    {"new file replaces", 5000, 2048, BinWrite::kNewFile, {}, BinPlaceStatus::kWritten, {kBlock}},
    {"append to empty", 0, 1024, BinWrite::kAppend, {}, BinPlaceStatus::kWritten, {kBlock}},
    {"append", 3000, 1024, BinWrite::kAppend, {}, BinPlaceStatus::kWritten, {Old(0, 3000), kBlock}},
    {"append to missing",
     std::nullopt,
     1024,
     BinWrite::kAppend,
     {},
     BinPlaceStatus::kOpenFailed,
     {}},
    {"insert at 0",
     3000,
     2048,
     BinWrite::kInsert,
     0,
     BinPlaceStatus::kWritten,
     {kBlock, Old(0, 3000)}},
    {"insert inside",
     3000,
     1024,
     BinWrite::kInsert,
     1500,
     BinPlaceStatus::kWritten,
     {Old(0, 1500), kBlock, Old(1500, 3000)}},
    {"insert at end",
     3000,
     1024,
     BinWrite::kInsert,
     3000,
     BinPlaceStatus::kWritten,
     {Old(0, 3000), kBlock}},
    {"insert beyond end",
     3000,
     1024,
     BinWrite::kInsert,
     3001,
     BinPlaceStatus::kAddressBeyondEnd,
     {Old(0, 3000)}},
    {"insert without address",
     3000,
     1024,
     BinWrite::kInsert,
     {},
     BinPlaceStatus::kNoAddress,
     {Old(0, 3000)}},
    {"insert inside a big file",
     kBig,
     10240,
     BinWrite::kInsert,
     (1 << 20) - 5,
     BinPlaceStatus::kWritten,
     {Old(0, (1 << 20) - 5), kBlock, Old((1 << 20) - 5, kBig)}},
    {"replace inside",
     5000,
     1024,
     BinWrite::kReplace,
     100,
     BinPlaceStatus::kWritten,
     {Old(0, 100), kBlock, Old(1124, 5000)}},
    {"replace across the end",
     5000,
     1024,
     BinWrite::kReplace,
     4500,
     BinPlaceStatus::kWritten,
     {Old(0, 4500), kBlock}},
    {"replace at end",
     5000,
     1024,
     BinWrite::kReplace,
     5000,
     BinPlaceStatus::kWritten,
     {Old(0, 5000), kBlock}},
    {"replace beyond end appends without gap",
     5000,
     1024,
     BinWrite::kReplace,
     99999,
     BinPlaceStatus::kWritten,
     {Old(0, 5000), kBlock}},
    {"replace in empty", 0, 1024, BinWrite::kReplace, 7, BinPlaceStatus::kWritten, {kBlock}},
    {"replace without address",
     5000,
     1024,
     BinWrite::kReplace,
     {},
     BinPlaceStatus::kNoAddress,
     {Old(0, 5000)}},
    {"replace inside a big file",
     kBig,
     10240,
     BinWrite::kReplace,
     (1 << 20) + 3,
     BinPlaceStatus::kWritten,
     {Old(0, (1 << 20) + 3), kBlock, Old((1 << 20) + 3 + 10240, kBig)}},
};

class Placement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, FileHoldsExactlyTheExpectedBytes) {
  const PlacementCase& c = GetParam();
  TempFolder folder;
  const std::string path = folder.File("pic.bin");
  const std::string old = Pattern(c.old_length.value_or(0), 1);
  if (c.old_length) WriteRaw(path, old);
  const std::string block = Pattern(c.block_length, 77);

  const BinPlaceResult result = PlaceBinBlock(path, AsBytes(block), {c.write, c.address});

  EXPECT_EQ(result.status, c.status);
  std::string expected;
  for (const Piece& piece : c.expected) {
    expected += piece.block ? block : old.substr(piece.from, piece.to - piece.from);
  }
  if (!c.old_length && c.status != BinPlaceStatus::kWritten) {
    EXPECT_FALSE(fs::exists(path));
  } else {
    EXPECT_TRUE(ReadAll(path) == expected)
        << "length " << ReadAll(path).size() << ", expected " << expected.size();
  }
  if (c.status == BinPlaceStatus::kWritten) {
    EXPECT_EQ(result.new_length, expected.size());
  }
  if (c.old_length && c.write != BinWrite::kNewFile) {
    EXPECT_EQ(result.old_length, *c.old_length);
  }
  const std::vector<std::string> entries = folder.Entries();
  EXPECT_EQ(entries.size(), fs::exists(path) ? 1u : 0u) << "a temporary file was left";
}

INSTANTIATE_TEST_SUITE_P(EveryRow, Placement, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
});

TEST(PlaceBinBlock, FolderAtThePathIsNeitherReplacedNorWrittenInto) {
  TempFolder folder;
  fs::create_directory(folder.Path() / "pic.bin");
  const std::string block = Pattern(1024, 3);
  for (BinWrite write : {BinWrite::kNewFile, BinWrite::kAppend, BinWrite::kInsert}) {
    EXPECT_EQ(PlaceBinBlock(folder.File("pic.bin"), AsBytes(block), {write, 0}).status,
              BinPlaceStatus::kOpenFailed);
  }
  EXPECT_TRUE(fs::is_directory(folder.Path() / "pic.bin"));
  EXPECT_TRUE(fs::is_empty(folder.Path() / "pic.bin"));
}

TEST(PlaceBinBlock, LinkKeepsPointingAtItsFileWhichGetsTheContent) {
  TempFolder folder;
  fs::create_directory(folder.Path() / "real");
  const fs::path real = folder.Path() / "real" / "firmware.bin";
  WriteRaw(real, "HEADtail");
  fs::create_symlink(real, folder.Path() / "link.bin");
  ASSERT_EQ(PlaceBinBlock(folder.File("link.bin"), AsBytes("1234"), {BinWrite::kInsert, 4}).status,
            BinPlaceStatus::kWritten);
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "link.bin"));
  EXPECT_EQ(ReadAll(real), "HEAD1234tail");
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"link.bin", "real"}));
}

TEST(PlaceBinBlock, KeepsThePermissionsOfTheFile) {
  TempFolder folder;
  const fs::path path = folder.Path() / "pic.bin";
  WriteRaw(path, "old");
  const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, mode);
  ASSERT_EQ(PlaceBinBlock(folder.File("pic.bin"), AsBytes("new"), {BinWrite::kAppend, {}}).status,
            BinPlaceStatus::kWritten);
  EXPECT_EQ(fs::status(path).permissions(), mode);
  EXPECT_EQ(ReadAll(path), "oldnew");
}

const BinPlacement kEveryPlacementAnywhere[] = {
    {BinWrite::kNewFile, {}},  {BinWrite::kAppend, {}},   {BinWrite::kInsert, 0},
    {BinWrite::kInsert, 3000}, {BinWrite::kReplace, 100}, {BinWrite::kReplace, 99999}};

#ifndef _WIN32
// Where the file cannot simply be replaced (other hard links, a folder that refuses new
// files), it is rewritten in place; a write failing there must still leave every byte.
TEST(PlaceBinBlock, FailedWriteInPlaceLeavesEveryPlacementsTargetAsItWas) {
  enum class Way { kHardLink, kLockedFolder };
  for (const Way way : {Way::kHardLink, Way::kLockedFolder}) {
    TempFolder folder;
    const fs::path sub = folder.Path() / "sub";
    fs::create_directory(sub);
    const std::string old = Pattern(6000, 5);
    const std::string path = (sub / "pic.bin").string();
    WriteRaw(path, old);
    if (way == Way::kHardLink) fs::create_hard_link(path, sub / "same.bin");
    testing::LockedFolder lock(way == Way::kLockedFolder ? sub : folder.Path() / "none");
    if (way == Way::kLockedFolder && !lock.Locked()) continue;
    const std::string block = Pattern(10240, 9);
    for (const BinPlacement& placement : kEveryPlacementAnywhere) {
      BinPlaceResult result;
      {
        testing::FileSizeLimit limit(8000);
        result = PlaceBinBlock(path, AsBytes(block), placement);
      }
      const std::string trace = "way " + std::to_string(static_cast<int>(way)) + ", write " +
                                std::to_string(static_cast<int>(placement.write));
      EXPECT_EQ(result.status, BinPlaceStatus::kWriteFailed) << trace;
      EXPECT_TRUE(ReadAll(path) == old) << trace;
      if (way == Way::kHardLink) {
        EXPECT_TRUE(ReadAll(sub / "same.bin") == old) << trace;
      }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(sub), fs::directory_iterator()),
              way == Way::kHardLink ? 2 : 1);
  }
}
#endif

#ifdef __linux__
// A tmpfs of a few pages, so writes fail for real even for root.
class SmallVolume : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::mount("tmpfs", folder_.Path().c_str(), "tmpfs", 0, "size=64k") != 0) {
      GTEST_SKIP() << "cannot mount a small tmpfs here (needs root and mount rights)";
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) ::umount(folder_.Path().c_str());
  }
  void MakeReadOnly() {
    ASSERT_EQ(::mount(nullptr, folder_.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k"),
              0);
  }
  TempFolder folder_;
  bool mounted_ = false;
};

const BinPlacement kEveryPlacement[] = {{BinWrite::kNewFile, {}},  {BinWrite::kAppend, {}},
                                        {BinWrite::kInsert, 0},    {BinWrite::kInsert, 30000},
                                        {BinWrite::kReplace, 100}, {BinWrite::kReplace, 99999}};

TEST_F(SmallVolume, FullDiskLeavesEveryPlacementsTargetAsItWas) {
  // 56 KiB of 64: no room for a second copy of the file, nor for a new file of 10 KiB.
  const std::string old = Pattern(56 * 1024, 5);
  const std::string path = folder_.File("pic.bin");
  WriteRaw(path, old);
  ASSERT_EQ(ReadAll(path), old);
  const std::string block = Pattern(10240, 9);
  for (const BinPlacement& placement : kEveryPlacement) {
    const BinPlaceResult result = PlaceBinBlock(path, AsBytes(block), placement);
    EXPECT_EQ(result.status, BinPlaceStatus::kWriteFailed)
        << "write " << static_cast<int>(placement.write);
    EXPECT_TRUE(ReadAll(path) == old) << "write " << static_cast<int>(placement.write);
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"pic.bin"});
  }
}

TEST_F(SmallVolume, ReadOnlyFolderRefusesEveryPlacementAtOpening) {
  const std::string old = Pattern(4000, 5);
  const std::string path = folder_.File("pic.bin");
  WriteRaw(path, old);
  MakeReadOnly();
  const std::string block = Pattern(1024, 9);
  for (const BinPlacement& placement : kEveryPlacement) {
    EXPECT_EQ(PlaceBinBlock(path, AsBytes(block), placement).status, BinPlaceStatus::kOpenFailed)
        << "write " << static_cast<int>(placement.write);
    EXPECT_TRUE(ReadAll(path) == old);
  }
  EXPECT_EQ(PlaceBinBlock(folder_.File("new.bin"), AsBytes(block), {BinWrite::kNewFile, {}}).status,
            BinPlaceStatus::kOpenFailed);
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"pic.bin"});
}
#endif

TEST(ParseStartAddress, ReadsLeadingDecimalNumber) {
  struct Case {
    const char* text;
    std::optional<std::uint64_t> address;
  };
  const Case cases[] = {
      {"", std::nullopt}, {"0", 0},  {"007", 7},  {"99999", 99999},
      {" \t12", 12},      {"+5", 5}, {"-5", 0},   {"12ab3", 12},
      {"abc", 0},         {" ", 0},  {"0x10", 0}, {"99999999999999999999999", UINT64_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseStartAddress(c.text), c.address) << c.text;
}

}  // namespace
}  // namespace lumigrid
