// A 100-picture sequence to a frame script, and the script to its table forms.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "frames/frame_budget.h"
#include "frames/frame_script.h"
#include "frames/frame_table.h"

namespace lumigrid {
namespace {

constexpr int kPictures = 100;

// Unrelated noisy pictures: almost every page changes in every frame.
std::vector<PictureBytes> NoisePictures() {
  std::mt19937 random(42);
  std::vector<PictureBytes> pictures(kPictures);
  for (auto& p : pictures) {
    for (auto& b : p) b = random() % 3 == 0 ? static_cast<uint8_t>(random()) : 0;
  }
  return pictures;
}

// An animation: a fixed background and a 16 x 16 block moving across it.
std::vector<PictureBytes> AnimationPictures() {
  std::mt19937 random(7);
  PictureBuffer background;
  for (auto& b : background.Bytes()) b = random() % 8 == 0 ? static_cast<uint8_t>(random()) : 0;
  std::vector<PictureBytes> pictures;
  for (int i = 0; i < kPictures; ++i) {
    PictureBuffer frame = background;
    const int x0 = (i * 3) % (kPictureWidth - 16);
    const int y0 = (i * 2) % (kPictureHeight - 16);
    for (int y = y0; y < y0 + 16; ++y) {
      for (int x = x0; x < x0 + 16; ++x) frame.SetPixel(x, y, true);
    }
    pictures.push_back(frame.Bytes());
  }
  return pictures;
}

void BM_MakeFrameScript(benchmark::State& state) {
  const auto pictures = state.range(0) == 0 ? NoisePictures() : AnimationPictures();
  for (auto _ : state) benchmark::DoNotOptimize(MakeFrameScript(pictures, {std::nullopt, true}));
}
BENCHMARK(BM_MakeFrameScript)->ArgName("animation")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_EncodeFrameTable(benchmark::State& state) {
  const FrameScript script = MakeFrameScript(NoisePictures(), {std::nullopt, true});
  for (auto _ : state) benchmark::DoNotOptimize(EncodeFrameTable(script));
}
BENCHMARK(BM_EncodeFrameTable)->Unit(benchmark::kMillisecond);

void BM_FrameTableAsmLines(benchmark::State& state) {
  const FrameScript script = MakeFrameScript(NoisePictures(), {std::nullopt, true});
  for (auto _ : state) benchmark::DoNotOptimize(FrameTableAsmLines(script, ListingOptions{}));
}
BENCHMARK(BM_FrameTableAsmLines)->Unit(benchmark::kMillisecond);

void BM_ComputeFrameBudget(benchmark::State& state) {
  const auto pictures = NoisePictures();
  PictureBytes map{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeFrameBudget(pictures, map, {std::nullopt, true}));
  }
}
BENCHMARK(BM_ComputeFrameBudget)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumigrid
