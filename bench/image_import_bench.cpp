// Import of photos: decoding, scaling and conversion together, for 4000 x 3000 JPEG and PNG
// and an 8000 x 6000 JPEG, with Qt's plain decoding and the core scaling alone for comparison.
// The peak memory of the 8000 x 6000 import is measured in a child process against an idle
// one and reported as the counter peak_MB_above_idle.
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "files/image_import_qt.h"
#include "files/mono_convert.h"
#include "image/stream_writers.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using lumigrid::testing_images::PhotoLike;
using lumigrid::testing_images::RowFiller;

struct Photos {
  QTemporaryDir dir;
  std::string jpeg;
  std::string png;
  std::string big_jpeg;
};

Photos& TestPhotos() {
  static Photos photos = [] {
    Photos p;
    p.jpeg = p.dir.filePath("photo.jpg").toStdString();
    p.png = p.dir.filePath("photo.png").toStdString();
    p.big_jpeg = p.dir.filePath("big.jpg").toStdString();
    namespace ti = lumigrid::testing_images;
    if (!ti::WriteJpeg(p.jpeg, 4000, 3000, 3, 90, PhotoLike(4000, 3000)) ||
        !ti::WritePng(p.png, 4000, 3000, 3, PhotoLike(4000, 3000)) ||
        !ti::WriteJpeg(p.big_jpeg, 8000, 6000, 3, 90, PhotoLike(8000, 6000))) {
      std::fprintf(stderr, "cannot write the test photos into %s\n", qPrintable(p.dir.path()));
    }
    return p;
  }();
  return photos;
}

void Import(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    const lumigrid::ImageDecodeResult result = lumigrid::DecodeImageFile(path);
    if (result.status != lumigrid::ImageDecodeStatus::kOk) state.SkipWithError("import failed");
    benchmark::DoNotOptimize(result.bytes.data());
  }
}

void BM_ImportJpeg4000x3000(benchmark::State& state) { Import(state, TestPhotos().jpeg); }
void BM_ImportPng4000x3000(benchmark::State& state) { Import(state, TestPhotos().png); }

#ifdef __linux__
// Peak resident size in kB of a child that imports the file, or does nothing if it is empty.
long ChildPeakKb(const std::string& path) {
  const pid_t child = fork();
  if (child == 0) {
    if (!path.empty()) {
      _exit(lumigrid::DecodeImageFile(path).status == lumigrid::ImageDecodeStatus::kOk ? 0 : 1);
    }
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || status != 0) return -1;
  return usage.ru_maxrss;
}
#endif

void BM_ImportJpeg8000x6000(benchmark::State& state) {
  Import(state, TestPhotos().big_jpeg);
#ifdef __linux__
  const long idle = ChildPeakKb("");
  const long importing = ChildPeakKb(TestPhotos().big_jpeg);
  if (idle >= 0 && importing >= 0) {
    state.counters["peak_MB_above_idle"] = double(importing - idle) / 1024.0;
  }
#endif
}

// Qt decoding the full image, nothing else: what the import is measured against.
void QtDecode(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    QImage image = QImageReader(QString::fromStdString(path)).read();
    benchmark::DoNotOptimize(image.constBits());
  }
}
void BM_QtFullDecodeJpeg4000x3000(benchmark::State& state) { QtDecode(state, TestPhotos().jpeg); }
void BM_QtFullDecodePng4000x3000(benchmark::State& state) { QtDecode(state, TestPhotos().png); }

// The scaling and conversion alone, from rows already in memory.
void BM_CoreScale4000x3000(benchmark::State& state) {
  const int width = 4000;
  const int height = 3000;
  std::vector<lumigrid::PackedRgb> pixels(std::size_t{width} * height);
  std::vector<uint8_t> row(std::size_t{width} * 3);
  const RowFiller fill = PhotoLike(width, height);
  for (int y = 0; y < height; ++y) {
    fill(y, row.data());
    for (int x = 0; x < width; ++x) {
      pixels[static_cast<std::size_t>(y) * width + x] =
          lumigrid::MakeRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    }
  }
  lumigrid::ImageSource source;
  source.width = width;
  source.height = height;
  source.rows = [&](int y) { return pixels.data() + static_cast<std::size_t>(y) * width; };
  for (auto _ : state) {
    const lumigrid::PictureBytes bytes = lumigrid::ImageToPicture(source);
    benchmark::DoNotOptimize(bytes.data());
  }
}

BENCHMARK(BM_ImportJpeg4000x3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPng4000x3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportJpeg8000x6000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtFullDecodeJpeg4000x3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtFullDecodePng4000x3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoreScale4000x3000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TestPhotos();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
