// Damaged and hostile image files: every one must be refused, and neither the memory nor the
// time of the refusal may follow what the file declares. Each import runs in a child process
// whose address space and processor time are capped by the system, so an allocation for the
// declared size fails and a loop over it is killed; the whole program also runs under a CTest
// timeout. Where a decoder survives a failed allocation, the cap is loosened and the child's
// peak resident memory is what counts.
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
  kImportedBlank = 4,
  kTookTooMuchMemory = 5
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

// 64 MB for the import itself; a decoder that sizes anything by the declared image fails.
constexpr uint64_t kHeadroom = uint64_t{64} << 20;

#ifdef __linux__
// Field `field` of /proc/self/statm (0 size, 1 resident) in bytes.
uint64_t MemoryInUse(int field) {
  std::ifstream statm("/proc/self/statm");
  uint64_t pages = 0;
  for (int i = 0; i <= field; ++i) statm >> pages;
  return pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

constexpr rlim_t kCpuSeconds = 3;

// The outcome, or a description of how the child died. The child may map `address_headroom`
// more bytes, but its resident memory may not grow by more than kHeadroom.
std::string ImportBounded(const std::string& path, uint64_t address_headroom = kHeadroom) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
#ifndef __SANITIZE_ADDRESS__  // its shadow memory needs terabytes of address space
    const rlim_t limit = MemoryInUse(0) + address_headroom;
    const rlimit memory{limit, limit};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit cpu{kCpuSeconds, kCpuSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
    const uint64_t resident = MemoryInUse(1);
    const int outcome = Classify(DecodeImageFile(path));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto peak = static_cast<uint64_t>(usage.ru_maxrss) * 1024;
    _exit(peak > resident + kHeadroom ? kTookTooMuchMemory : outcome);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return "no child process";
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "outcome " + std::to_string(WEXITSTATUS(status));
}
#else
std::string ImportBounded(const std::string& path, uint64_t = kHeadroom) {
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

TEST_F(GeneratedImages, OverLongAncillaryPngChunksCostNothing) {
  // A valid start and one chunk declaring 1 GB or 2^31 - 1 bytes, of which 16 follow: 57 bytes.
  // libpng would allocate the declared length before finding the file short; a refused
  // allocation it only warns about, so the address space is left loose here and the resident
  // memory is what is held to 64 MB.
  const std::string start =
      testing_images::GreyPngFile(16, 16, [](int, int) { return uint8_t{0}; }).substr(0, 33);
  for (const char* type : {"tEXt", "zTXt", "iTXt", "pCAL", "sPLT", "iCCP", "eXIf", "prVt"}) {
    for (const uint32_t length : {uint32_t{1} << 30, uint32_t{0x7FFFFFFF}}) {
      SCOPED_TRACE(testing::Message() << type << " of " << length);
      std::string file = start;
      for (int shift = 24; shift >= 0; shift -= 8) file += static_cast<char>(length >> shift);
      file += type + std::string(16, 'x');
      ASSERT_EQ(file.size(), 57u);
      std::ofstream(PathOf("long.png"), std::ios::binary) << file;
      EXPECT_EQ(ImportBounded(PathOf("long.png"), uint64_t{3} << 30), kRefusedText);
    }
  }
}

}  // namespace
}  // namespace lumigrid
