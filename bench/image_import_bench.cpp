// Import of a 4000 x 3000 photo, JPEG and PNG: decoding, scaling and conversion together,
// with Qt's plain decoding and the core scaling alone for comparison.
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "files/image_import.h"
#include "files/mono_convert.h"

namespace {

struct Photo {
  QImage image;
  QString jpeg;
  QString png;
};

// Gradients in each channel with noise on top, like a camera picture.
QImage PhotoLike(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  std::mt19937 random(1);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int noise = static_cast<int>(random() % 33) - 16;
      const auto channel = [noise](int v) { return std::clamp(v + noise, 0, 255); };
      row[x] = qRgb(channel(x * 255 / width), channel(y * 255 / height),
                    channel((x + y) * 255 / (width + height)));
    }
  }
  return image;
}

Photo& TestPhoto() {
  static QTemporaryDir dir;
  static Photo photo = [] {
    Photo p;
    p.image = PhotoLike(4000, 3000);
    p.jpeg = dir.filePath("photo.jpg");
    p.png = dir.filePath("photo.png");
    if (!p.image.save(p.jpeg, "jpeg", 90) || !p.image.save(p.png, "png")) {
      std::fprintf(stderr, "cannot write the test photo into %s\n", qPrintable(dir.path()));
    }
    return p;
  }();
  return photo;
}

void Import(benchmark::State& state, const QString& path) {
  for (auto _ : state) {
    const lumigrid::ImageDecodeResult result = lumigrid::DecodeImageToPicture(path);
    if (result.status != lumigrid::ImageDecodeStatus::kOk) state.SkipWithError("import failed");
    benchmark::DoNotOptimize(result.bytes.data());
  }
}

void BM_ImportJpeg4000x3000(benchmark::State& state) { Import(state, TestPhoto().jpeg); }
void BM_ImportPng4000x3000(benchmark::State& state) { Import(state, TestPhoto().png); }

// Qt decoding the full image, nothing else: what the fast paths are measured against.
void QtDecode(benchmark::State& state, const QString& path) {
  for (auto _ : state) {
    QImage image = QImageReader(path).read();
    benchmark::DoNotOptimize(image.constBits());
  }
}
void BM_QtFullDecodeJpeg(benchmark::State& state) { QtDecode(state, TestPhoto().jpeg); }
void BM_QtFullDecodePng(benchmark::State& state) { QtDecode(state, TestPhoto().png); }

void BM_CoreScale4000x3000(benchmark::State& state) {
  const QImage& image = TestPhoto().image;
  lumigrid::ImageSource source;
  source.width = image.width();
  source.height = image.height();
  source.rows = [&image](int y) {
    return reinterpret_cast<const lumigrid::Rgb*>(image.constScanLine(y));
  };
  for (auto _ : state) {
    const lumigrid::PictureBytes bytes = lumigrid::ImageToPicture(source);
    benchmark::DoNotOptimize(bytes.data());
  }
}

BENCHMARK(BM_ImportJpeg4000x3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPng4000x3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtFullDecodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtFullDecodePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoreScale4000x3000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TestPhoto();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
