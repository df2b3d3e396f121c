// GIF frames: a long animation decoded as lumigrid-cli does (every frame) and as the import dialog
// does (ten frames kept with every fit), the hostile files the import refuses, and saving an
// animation. The refusals are what "refused within 1 s" is measured by.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/gif_encode.h"
#include "files/image_frames.h"
#include "image/gif_writer.h"

namespace {

using namespace lumigrid;
using namespace lumigrid::testing_images;

std::string WriteTemp(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("lumigrid-" + name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

// 100 frames of 320 x 240, each changing a band of the previous one.
const std::string& Animation() {
  static const std::string path = [] {
    std::vector<GifTestFrame> frames;
    for (int i = 0; i < 100; ++i) {
      GifTestFrame f;
      f.width = 320;
      f.height = 240;
      for (int p = 0; p < 320 * 240; ++p) {
        f.indices.push_back(static_cast<uint8_t>((p % 320 + p / 320 + 3 * i) / 16 % 2));
      }
      frames.push_back(std::move(f));
    }
    return WriteTemp("animation.gif", GifBytes(320, 240, WhiteBlack(), frames));
  }();
  return path;
}

// `accepted`: whether the file is to be decoded or refused.
void Decode(benchmark::State& state, const std::string& path, const FramesRequest& request,
            bool accepted) {
  for (auto _ : state) {
    const DecodedFrames decoded = DecodeImageFrames(path, request);
    if ((decoded.status == ImageDecodeStatus::kOk) != accepted) {
      state.SkipWithError("unexpected outcome");
    }
    benchmark::DoNotOptimize(decoded.pictures.data());
  }
}

FramesRequest AsTheDialog() {
  FramesRequest request;
  request.keep_frames = true;
  request.preview_width = 256;
  request.preview_height = 192;
  request.max_frames = kBufferCount;
  return request;
}

void BM_AnimationEveryFrame(benchmark::State& state) { Decode(state, Animation(), {}, true); }
void BM_AnimationAsTheDialog(benchmark::State& state) {
  Decode(state, Animation(), AsTheDialog(), true);
}
BENCHMARK(BM_AnimationEveryFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimationAsTheDialog)->Unit(benchmark::kMillisecond);

struct Hostile {
  const char* name;
  std::string bytes;
};

const std::vector<Hostile>& HostileFiles() {
  static const std::vector<Hostile> files = [] {
    std::vector<Hostile> list;
    const std::string pixel = GifFrameChunk(UniformFrame(1, 1));
    list.push_back({"huge-screen", GifHeader(65535, 65535) + pixel + ";"});
    list.push_back(
        {"frame-beyond-screen",
         GifHeader(64, 64) + GifImageDescriptor(0, 0, 60000, 60000) + pixel.substr(18) + ";"});
    list.push_back({"screen-too-large", GifHeader(2048, 2048) + pixel + ";"});
    std::string expanding = GifHeader(1500, 1500);
    const std::string frame = GifFrameChunk(UniformFrame(1500, 1500));
    for (int i = 0; i < 300; ++i) expanding += frame;
    list.push_back({"expanding-frames", expanding + ";"});
    std::string endless = GifHeader(64, 64);
    for (int i = 0; i <= kMaxGifFrames; ++i) endless += pixel;
    list.push_back({"endless-frames", endless + ";"});
    const std::string cut = GifFrameChunk(UniformFrame(1024, 1024));
    list.push_back({"cut-short", GifHeader(1024, 1024) + cut.substr(0, cut.size() * 2 / 3)});

    return list;
  }();
  return files;
}

void BM_Hostile(benchmark::State& state) {
  const Hostile& file = HostileFiles()[static_cast<std::size_t>(state.range(0))];
  const bool dialog = state.range(1) != 0;
  state.SetLabel(std::string(file.name) + (dialog ? ", as the dialog" : ", every frame"));
  const std::string path = WriteTemp(std::string(file.name) + ".gif", file.bytes);
  // The dialog keeps ten frames of the expanding file, within the work allowed.
  const bool allowed = std::string(file.name) == "expanding-frames" && dialog;
  Decode(state, path, dialog ? AsTheDialog() : FramesRequest{}, allowed);
}
BENCHMARK(BM_Hostile)->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_SaveAnimationCanvasLook(benchmark::State& state) {
  std::vector<PictureBytes> pictures(10);
  for (int i = 0; i < 10; ++i) {
    for (int k = 0; k < kPictureBytes; ++k) pictures[i][k] = static_cast<uint8_t>(k * (i + 3));
  }
  for (auto _ : state) {
    const auto bytes = EncodeGifAnimation(pictures, RenderLook::kCanvas, 1, 200);
    benchmark::DoNotOptimize(bytes->data());
  }
}
BENCHMARK(BM_SaveAnimationCanvasLook)->Unit(benchmark::kMillisecond);

}  // namespace
