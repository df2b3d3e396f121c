// "Импорт с настройками…" on a 4000 x 3000 JPEG: opening the dialog (the one decoding, every fit
// and the preview, the widgets), and the preview redrawn on screen after a change of each
// control. The peak memory of opening the dialog on a 50 Mpx photo is measured in a child process
// against an idle one and reported as peak_MB_above_idle.
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "files/import_dialog.h"
#include "files/import_loading.h"
#include "image/stream_writers.h"
#include "picture/canvas_widget.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using namespace lumigrid;

struct Photos {
  QTemporaryDir dir;
  std::string jpeg = dir.filePath("photo.jpg").toStdString();
  std::string big = dir.filePath("big.jpg").toStdString();  // 8660 x 5774, 50 Mpx
  Photos() {
    if (!testing_images::WriteJpeg(jpeg, 4000, 3000, 3, 90,
                                   testing_images::PhotoLike(4000, 3000)) ||
        !testing_images::WriteJpeg(big, 8660, 5774, 3, 90, testing_images::PhotoLike(8660, 5774))) {
      std::fprintf(stderr, "cannot write the test photos\n");
    }
  }
};

Photos& TestPhotos() {
  static Photos photos;
  return photos;
}

std::unique_ptr<ImportDialog> OpenDialog(const std::string& path) {
  SessionLoad load = LoadImportSession({path}, kBufferCount);
  auto dialog = std::make_unique<ImportDialog>(std::move(load.session), ConversionOptions{}, 1);
  dialog->show();
  return dialog;
}

void BM_OpenDialogOnJpeg4000x3000(benchmark::State& state) {
  TestPhotos();  // written once, outside the timing
  for (auto _ : state) {
    auto dialog = OpenDialog(TestPhotos().jpeg);
    dialog->ResultView()->repaint();
    benchmark::DoNotOptimize(dialog.get());
  }
}
BENCHMARK(BM_OpenDialogOnJpeg4000x3000)->Unit(benchmark::kMillisecond);

// The two parts of opening: the one decoding (every fit and the preview), then the widgets.
void BM_DecodeForDialogJpeg4000x3000(benchmark::State& state) {
  TestPhotos();
  for (auto _ : state) {
    SessionLoad load = LoadImportSession({TestPhotos().jpeg}, kBufferCount);
    benchmark::DoNotOptimize(load.session.FramesKept());
  }
}
BENCHMARK(BM_DecodeForDialogJpeg4000x3000)->Unit(benchmark::kMillisecond);

void BM_DialogWidgets(benchmark::State& state) {
  for (auto _ : state) {
    ImportSession session;
    state.PauseTiming();
    session = LoadImportSession({TestPhotos().jpeg}, kBufferCount).session;
    state.ResumeTiming();
    ImportDialog dialog(std::move(session), ConversionOptions{}, 1);
    dialog.show();
    dialog.ResultView()->repaint();
  }
}
BENCHMARK(BM_DialogWidgets)->Unit(benchmark::kMillisecond);

// One control moved back and forth; each step redraws the preview on screen.
template <typename Change>
void ControlChange(benchmark::State& state, Change change) {
  static std::unique_ptr<ImportDialog> dialog = OpenDialog(TestPhotos().jpeg);
  int step = 0;
  for (auto _ : state) {
    change(*dialog, step++);
    dialog->ResultView()->repaint();
  }
}

void BM_ThresholdChange(benchmark::State& state) {
  ControlChange(state,
                [](ImportDialog& d, int step) { d.ThresholdField()->setValue(100 + step % 100); });
}
void BM_InvertChange(benchmark::State& state) {
  ControlChange(state, [](ImportDialog& d, int step) { d.InvertBox()->setChecked(step % 2); });
}
void BM_DitherChange(benchmark::State& state) {
  ControlChange(state, [](ImportDialog& d, int step) {
    d.DitherList()->setCurrentIndex(1 + step % 4);  // each of the four ditherings in turn
  });
}
void BM_BrightnessChange(benchmark::State& state) {
  ControlChange(state,
                [](ImportDialog& d, int step) { d.BrightnessField()->setValue(step % 100 - 50); });
}
void BM_ContrastChange(benchmark::State& state) {
  ControlChange(state,
                [](ImportDialog& d, int step) { d.ContrastField()->setValue(step % 100 - 50); });
}
void BM_FitChange(benchmark::State& state) {
  ControlChange(state, [](ImportDialog& d, int step) { d.FitList()->setCurrentIndex(step % 3); });
}
BENCHMARK(BM_ThresholdChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InvertChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DitherChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BrightnessChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ContrastChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FitChange)->Unit(benchmark::kMicrosecond);

#ifdef __linux__
// Peak resident size in kB of a child that opens the dialog on the file, or only starts.
long ChildPeakKb(const std::string& path) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    if (!path.empty()) {
      auto dialog = OpenDialog(path);
      dialog->ResultView()->repaint();
    }
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || status != 0) return -1;
  return usage.ru_maxrss;
}

void BM_OpenDialogOn50MpxMemory(benchmark::State& state) {
  for (auto _ : state) {
    const long idle = ChildPeakKb("");
    const long opened = ChildPeakKb(TestPhotos().big);
    if (idle < 0 || opened < 0) state.SkipWithError("child failed");
    state.counters["peak_MB_above_idle"] = double(opened - idle) / 1024.0;
  }
}
BENCHMARK(BM_OpenDialogOn50MpxMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
#endif

}  // namespace
