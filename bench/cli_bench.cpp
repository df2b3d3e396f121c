// lumigrid-cli as a build runs it, whole process each time: a 4000 x 3000 JPEG to a listing,
// side by side with ImageMagick reducing the same file to 128 x 64 monochrome, and a .chr to a
// listing. Run through bench/cli_vs_imagemagick.sh, which installs ImageMagick first.
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#ifndef _WIN32
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace {

struct Files {
  QTemporaryDir dir;
  std::string photo;
  std::string picture;
  std::string out_dir;
};

Files& TestFiles() {
  static Files files = [] {
    Files f;
    QImage image(4000, 3000, QImage::Format_RGB32);
    std::mt19937 random(1);
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        const int noise = static_cast<int>(random() % 33) - 16;
        const auto channel = [noise](int v) { return std::clamp(v + noise, 0, 255); };
        row[x] = qRgb(channel(x * 255 / 4000), channel(y * 255 / 3000), channel((x + y) / 28));
      }
    }
    f.photo = f.dir.filePath("photo.jpg").toStdString();
    f.picture = f.dir.filePath("logo.chr").toStdString();
    f.out_dir = f.dir.path().toStdString();
    image.save(QString::fromStdString(f.photo), "jpeg", 90);
    std::string bytes(1024, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    std::ofstream(f.picture, std::ios::binary) << bytes;
    return f;
  }();
  return files;
}

#ifndef _WIN32
// Runs a program to its end; false when it cannot be started or fails.
bool RunProgram(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_CliListingFromPhoto(benchmark::State& state) {
  Files& f = TestFiles();
  for (auto _ : state) {
    if (!RunProgram({LUMIGRID_CLI_PATH, "listing", f.photo, "-o", f.out_dir + "/photo.asm"}))
      state.SkipWithError("lumigrid-cli failed");
  }
}
BENCHMARK(BM_CliListingFromPhoto)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImageMagickFromPhoto(benchmark::State& state) {
  Files& f = TestFiles();
  const char* convert = std::getenv("IMAGEMAGICK_CONVERT");
  if (convert == nullptr) {
    state.SkipWithError("set IMAGEMAGICK_CONVERT (bench/cli_vs_imagemagick.sh does)");
    return;
  }
  for (auto _ : state) {
    if (!RunProgram({convert, f.photo, "-resize", "128x64!", "-threshold", "86%",
                     f.out_dir + "/photo.xbm"}))
      state.SkipWithError("convert failed");
  }
}
BENCHMARK(BM_ImageMagickFromPhoto)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliListingFromPicture(benchmark::State& state) {
  Files& f = TestFiles();
  for (auto _ : state) {
    if (!RunProgram({LUMIGRID_CLI_PATH, "listing", f.picture, "-o", f.out_dir + "/logo.asm"}))
      state.SkipWithError("lumigrid-cli failed");
  }
}
BENCHMARK(BM_CliListingFromPicture)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
