// Building the block of ten images, and inserting a block at the start of a large file next to
// a plain copy of the same file on the same disk.
//   build/release/bench/binexport_bench
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "binexport/bin_block.h"
#include "binexport/bin_placement.h"
#include "core/test_pictures.h"

namespace lumigrid {
namespace {

using testing::RandomPicture;

namespace fs = std::filesystem;

void BM_BuildBinBlock(benchmark::State& state) {
  EditorState buffers;
  for (int b = 1; b <= kBufferCount; ++b) buffers.Buffer(b).Bytes() = RandomPicture(b);
  const BinSlots slots{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const int grouping = static_cast<int>(state.range(0));
  BinImage image{};
  auto block = std::make_unique<BinBlockArea>();
  for (auto _ : state) {
    benchmark::DoNotOptimize(BuildBinBlock(buffers, slots, grouping, image, *block));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BuildBinBlock)->Arg(0)->Arg(1);

// A file of `mib` MiB in a fresh folder beside the system's temporary files.
class BigFile {
 public:
  explicit BigFile(std::int64_t mib) {
    folder_ =
        fs::temp_directory_path() / ("lumigrid-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    std::ofstream out(folder_ / "firmware.bin", std::ios::binary);
    std::string chunk(1 << 20, '\0');
    std::mt19937 random(7);
    for (char& c : chunk) c = static_cast<char>(random());
    for (std::int64_t i = 0; i < mib; ++i)
      out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
  }
  ~BigFile() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  fs::path Path() const { return folder_ / "firmware.bin"; }
  fs::path Folder() const { return folder_; }

 private:
  fs::path folder_;
};

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_InsertAtStart(benchmark::State& state) {
  const BigFile file(state.range(0));
  const std::string path = file.Path().string();
  const std::string block(kMaxBinBlockBytes, '\x5A');
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(block.data()),
                                            block.size());
  const long rss_before = PeakRssKiB();
  for (auto _ : state) {
    if (PlaceBinBlock(path, bytes, {BinWrite::kInsert, 0}).status != BinPlaceStatus::kWritten) {
      state.SkipWithError("placement failed");
      break;
    }
  }
  state.counters["peak_rss_growth_KiB"] = static_cast<double>(PeakRssKiB() - rss_before);
  state.SetBytesProcessed(state.iterations() * state.range(0) * (1 << 20));
}
BENCHMARK(BM_InsertAtStart)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the user would compare with: cp of the same file on the same disk.
void BM_PlainCp(benchmark::State& state) {
  const BigFile file(state.range(0));
  const std::string command =
      "cp '" + file.Path().string() + "' '" + (file.Folder() / "copy.bin").string() + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("cp failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * (1 << 20));
}
BENCHMARK(BM_PlainCp)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lumigrid

BENCHMARK_MAIN();
