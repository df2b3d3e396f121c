// Hostile GIF files: a huge screen, endless frames, frames larger than any screen, data that
// expands a thousandfold, data cut short. Each is decoded in a child process whose address
// space may grow by 64 MB and whose processor time is capped, as the import promises; every one
// must be refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/image_frames.h"
#include "image/gif_writer.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lumigrid {
namespace {

namespace fs = std::filesystem;
using testing_images::GifTestFrame;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The checkers, in an unoptimised build, slow the decoding down some twentyfold; the bound that
// matters is the optimised one.
constexpr rlim_t kCpuSeconds = 30;
#else
constexpr rlim_t kCpuSeconds = 1;
#endif

enum Outcome { kRefused = 0, kDecoded = 1 };

Outcome Classify(const DecodedFrames& decoded) {
  return decoded.status == ImageDecodeStatus::kOk ? kDecoded : kRefused;
}

// "outcome N", or how the child died. `every_fit` decodes as the import dialog does.
std::string DecodeBounded(const std::string& path, bool every_fit) {
  FramesRequest request;
  if (every_fit) {
    request.keep_frames = true;
    request.preview_width = 256;
    request.preview_height = 192;
    request.max_frames = kBufferCount;
  }
#ifdef __linux__
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
#ifndef __SANITIZE_ADDRESS__
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    const rlim_t limit = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{64} << 20);
    const rlimit memory{limit, limit};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit cpu{kCpuSeconds, kCpuSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
    _exit(Classify(DecodeImageFrames(path, request)));
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return "no child process";
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "outcome " + std::to_string(WEXITSTATUS(status));
#else
  return "outcome " + std::to_string(Classify(DecodeImageFrames(path, request)));
#endif
}

using testing_images::GifFrameChunk;
using testing_images::GifHeader;
using testing_images::GifImageDescriptor;
using testing_images::UniformFrame;

class GifHostileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_ = [] {
    const fs::path dir =
        fs::temp_directory_path() / ("lumigrid-gif-hostile-" + std::to_string(getpid()));
    fs::create_directories(dir);
    return dir;
  }();
};

const std::string kRefusedText = "outcome " + std::to_string(kRefused);

TEST_F(GifHostileTest, EveryHostileFileIsRefusedWithinBounds) {
  struct Case {
    std::string name;
    std::string bytes;
  };
  const std::string pixel = GifFrameChunk(UniformFrame(1, 1));
  const std::string pixel_data = pixel.substr(18);  // after the control block and descriptor
  std::vector<Case> cases;
  // A screen of 65535 x 65535 (4 G pixels) holding one pixel.
  cases.push_back({"huge-screen", GifHeader(65535, 65535) + pixel + ";"});
  // A screen too large to keep, though each side is modest.
  cases.push_back({"screen-too-large", GifHeader(2048, 2048) + pixel + ";"});
  // A small screen and a frame of 60000 x 60000.
  cases.push_back({"frame-beyond-screen",
                   GifHeader(64, 64) + GifImageDescriptor(0, 0, 60000, 60000) + pixel_data + ";"});
  // Frames without end: one pixel each, past the frame limit.
  {
    std::string gif = GifHeader(64, 64);
    for (int i = 0; i <= kMaxGifFrames; ++i) gif += pixel;
    cases.push_back({"endless-frames", gif + ";"});
  }
  // A frame cut off inside its data.
  {
    const std::string frame = GifFrameChunk(UniformFrame(1024, 1024));
    cases.push_back({"cut-short", GifHeader(1024, 1024) + frame.substr(0, frame.size() * 2 / 3)});
  }
  for (const Case& c : cases) {
    const std::string path = Write(c.name + ".gif", c.bytes);
    for (const bool every_fit : {false, true}) {
      EXPECT_EQ(DecodeBounded(path, every_fit), kRefusedText)
          << c.name << (every_fit ? " as the dialog decodes" : "");
    }
  }
}

TEST_F(GifHostileTest, ExpandingFramesOfTheLargestScreenStayWithinBounds) {
  // 300 frames of the largest screen, each filled by a few kilobytes. Every frame converted is
  // past the work allowed long before the file ends; the ten the dialog keeps are within it.
  std::string gif = GifHeader(1500, 1500);
  const std::string frame = GifFrameChunk(UniformFrame(1500, 1500));
  for (int i = 0; i < 300; ++i) gif += frame;
  const std::string path = Write("expanding.gif", gif + ";");
  EXPECT_EQ(DecodeBounded(path, false), kRefusedText);
  EXPECT_EQ(DecodeBounded(path, true), "outcome " + std::to_string(kDecoded));
}

}  // namespace
}  // namespace lumigrid
