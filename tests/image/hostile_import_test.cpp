// Damaged and hostile image files: every one must be refused, and neither the memory nor the
// time of the refusal may follow what the file declares. Each import runs in a child process
// whose address space and processor time are capped by the system, so an allocation for the
// declared size fails and a loop over it is killed; the whole program also runs under a CTest
// timeout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/image_import.h"
#include "image/stream_writers.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lumigrid {
namespace {

namespace fs = std::filesystem;

// What the child reports through its exit code.
enum Outcome {
  kRefused = 0,
  kImportedAllBlack = 1,
  kImportedOther = 2,
  kUnreadable = 3,
  kImportedBlank = 4
};

int Classify(const ImageDecodeResult& result) {
  if (result.status == ImageDecodeStatus::kUnreadable) return kUnreadable;
  if (result.status != ImageDecodeStatus::kOk) {
    // A refusal leaves the picture clear.
    return std::all_of(result.bytes.begin(), result.bytes.end(), [](uint8_t b) { return b == 0; })
               ? kRefused
               : kImportedOther;
  }
  const auto all = [&result](uint8_t value) {
    return std::all_of(result.bytes.begin(), result.bytes.end(),
                       [value](uint8_t b) { return b == value; });
  };
  return all(0xFF) ? kImportedAllBlack : all(0) ? kImportedBlank : kImportedOther;
}

#ifdef __linux__
#ifndef __SANITIZE_ADDRESS__
// The address space in use now, to which the child may add kHeadroom.
rlim_t AddressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  rlim_t pages = 0;
  statm >> pages;
  return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// 64 MB for the import itself; a decoder that sizes anything by the declared image fails.
constexpr rlim_t kHeadroom = rlim_t{64} << 20;
#endif
constexpr rlim_t kCpuSeconds = 3;

// The outcome, or a description of how the child died.
std::string ImportBounded(const std::string& path) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
#ifndef __SANITIZE_ADDRESS__  // its shadow memory needs terabytes of address space
    const rlimit memory{AddressSpaceInUse() + kHeadroom, AddressSpaceInUse() + kHeadroom};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit cpu{kCpuSeconds, kCpuSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
    _exit(Classify(DecodeImageFile(path)));
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return "no child process";
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "outcome " + std::to_string(WEXITSTATUS(status));
}
#else
std::string ImportBounded(const std::string& path) {
  return "outcome " + std::to_string(Classify(DecodeImageFile(path)));
}
#endif

const std::string kRefusedText = "outcome " + std::to_string(kRefused);

TEST(HostileImages, EveryFileOfTheFolderIsRefusedWithinBounds) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(LUMIGRID_HOSTILE_DIR)) {
    if (entry.path().extension() != ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 10u);
  for (const fs::path& file : files) {
    EXPECT_EQ(ImportBounded(file.string()), kRefusedText) << file.filename();
  }
}

class GeneratedImages : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  void TearDown() override { fs::remove_all(dir_); }

  // Cuts a file down to the given share of its length.
  void Cut(const std::string& from, const std::string& to, double share) {
    const auto size = static_cast<uintmax_t>(static_cast<double>(fs::file_size(from)) * share);
    fs::copy_file(from, to);
    fs::resize_file(to, size);
  }

  fs::path dir_ = [] {
    const fs::path dir =
        fs::temp_directory_path() /
        ("lumigrid-hostile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + std::to_string(reinterpret_cast<uintptr_t>(&dir)));
    fs::create_directories(dir);
    return dir;
  }();
};

TEST_F(GeneratedImages, LargePhotosImportInBoundedMemoryAndCutOnesAreRefused) {
  // 51 Mpx: more than the import once took. Black, so the whole picture must be lit.
  const auto black = [](int, uint8_t* row) { std::fill_n(row, 8000, uint8_t{0}); };
  ASSERT_TRUE(testing_images::WritePng(PathOf("black.png"), 8000, 6400, 1, black));
  EXPECT_EQ(ImportBounded(PathOf("black.png")), "outcome " + std::to_string(kImportedAllBlack));
  ASSERT_TRUE(testing_images::WriteJpeg(PathOf("black.jpg"), 8000, 6400, 1, 75, black));
  EXPECT_EQ(ImportBounded(PathOf("black.jpg")), "outcome " + std::to_string(kImportedAllBlack));

  for (const double share : {0.1, 0.5, 0.95}) {
    SCOPED_TRACE(share);
    Cut(PathOf("black.png"), PathOf("cut.png"), share);
    EXPECT_EQ(ImportBounded(PathOf("cut.png")), kRefusedText);
    Cut(PathOf("black.jpg"), PathOf("cut.jpg"), share);
    EXPECT_EQ(ImportBounded(PathOf("cut.jpg")), kRefusedText);
    fs::remove(PathOf("cut.png"));
    fs::remove(PathOf("cut.jpg"));
  }
}

TEST_F(GeneratedImages, RunLengthJumpOverAGigapixelCostsOneRowPerTargetRow) {
  // A run-length bitmap of 32768 x 32767 in 1 KB: one black pixel, then the end mark, which
  // leaves every other pixel at palette entry 0 (white). Valid, and all clear once scaled.
  std::string file = "BM";
  const auto put = [&file](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  const uint32_t offset = 14 + 40 + 256 * 4;
  put(offset + 6, 4);
  put(0, 4);
  put(offset, 4);
  put(40, 4);
  put(32768, 4);
  put(32767, 4);
  put(1, 2);
  put(8, 2);
  put(1, 4);  // 8-bit run-length coding
  for (int i = 0; i < 5; ++i) put(0, 4);
  put(0xFFFFFF, 4);  // entry 0 white, the rest black
  for (int i = 1; i < 256; ++i) put(0, 4);
  file += std::string("\x01\x01\x00\x00\x00\x01", 6);
  std::ofstream(PathOf("jump.bmp"), std::ios::binary) << file;
  EXPECT_EQ(ImportBounded(PathOf("jump.bmp")), "outcome " + std::to_string(kImportedBlank));
}

}  // namespace
}  // namespace lumigrid
