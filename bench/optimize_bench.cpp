// The optimizer's costs: the scan of nine pictures, the full skip list as styled text and as
// RTF, and the list put into the report view (the fixed pause before a list excluded).
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <random>

#include "bench_window.h"
#include "commands/command_numbers.h"
#include "optimize/identical_scan.h"
#include "optimize/optimize_commands.h"
#include "optimize/optimize_panel.h"
#include "optimize/report_view.h"
#include "optimize/rtf_writer.h"
#include "optimize/skip_report.h"
#include "picture/editor_state.h"

namespace {

using namespace lumigrid;

// Nine pictures that agree in about half of their bytes, in runs of varied length.
EditorState NinePictures() {
  EditorState state;
  std::mt19937 random(11);
  for (int b = 1; b <= kSourceBufferCount; ++b) state.Buffer(b).Bytes().fill(0x5A);
  for (int i = 0; i < kPictureBytes; i += 1 + static_cast<int>(random() % 6)) {
    state.Buffer(1 + static_cast<int>(random() % 9)).Bytes()[i] ^= 0xFF;
  }
  return state;
}

const std::vector<ReportSource> kSources = {{1, "C:\\pics\\a.chr"}, {2, "C:\\pics\\b.chr"}};

SourceFlags AllSources() {
  SourceFlags all;
  all.fill(true);
  return all;
}

// The skip list of all nine pictures, as the report view gets it.
StyledText FullSkipList() {
  return SkipListReport(ScanIdenticalBytes(NinePictures(), AllSources(), 4), kSources, "4");
}

void BM_ScanNineSources(benchmark::State& s) {
  const EditorState pictures = NinePictures();
  const SourceFlags all = AllSources();
  for (auto _ : s) benchmark::DoNotOptimize(ScanIdenticalBytes(pictures, all, 4));
}
BENCHMARK(BM_ScanNineSources)->Unit(benchmark::kMicrosecond);

void BM_SkipListStyledText(benchmark::State& s) {
  const PictureBytes map = ScanIdenticalBytes(NinePictures(), AllSources(), 4);
  for (auto _ : s) benchmark::DoNotOptimize(SkipListReport(map, kSources, "4"));
}
BENCHMARK(BM_SkipListStyledText)->Unit(benchmark::kMicrosecond);

void BM_SkipListRtf(benchmark::State& s) {
  const StyledText report = FullSkipList();
  size_t bytes = 0;
  for (auto _ : s) bytes = WriteRtf(report).size();
  s.counters["rtf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SkipListRtf)->Unit(benchmark::kMicrosecond);

struct Window : BenchWindow {
  Window() {
    window->Dispatch(command::kModeOptimize);
    QApplication::processEvents();
  }
};

// Setting the document and laying it out whole, as the first paint needs.
void BM_ReportViewShowsFullList(benchmark::State& s) {
  Window w;
  const StyledText report = FullSkipList();
  ReportView* view = w.window->OptimizeSidePanel()->Report();
  for (auto _ : s) {
    view->ShowReport(report);
    benchmark::DoNotOptimize(view->document()->documentLayout()->documentSize());
    view->viewport()->repaint();
  }
}
BENCHMARK(BM_ReportViewShowsFullList)->Unit(benchmark::kMillisecond);

// What the first frame needs: the document set and the visible part painted.
void BM_ReportViewFirstFrame(benchmark::State& s) {
  Window w;
  const StyledText report = FullSkipList();
  ReportView* view = w.window->OptimizeSidePanel()->Report();
  for (auto _ : s) {
    view->ShowReport(report);
    view->viewport()->repaint();
  }
}
BENCHMARK(BM_ReportViewFirstFrame)->Unit(benchmark::kMillisecond);

void BM_ReportDocumentOnly(benchmark::State& s) {
  Window w;
  const StyledText report = FullSkipList();
  ReportView* view = w.window->OptimizeSidePanel()->Report();
  for (auto _ : s) delete BuildReportDocument(report, view->font(), nullptr);
}
BENCHMARK(BM_ReportDocumentOnly)->Unit(benchmark::kMillisecond);

// The list button's whole work (the scripted platform does not pause), with the scan.
void BM_ListButton(benchmark::State& s) {
  Window w;
  for (auto _ : s) {
    w.window->Optimizer().MakeList();
    w.window->OptimizeSidePanel()->Report()->viewport()->repaint();
  }
}
BENCHMARK(BM_ListButton)->Unit(benchmark::kMillisecond);

}  // namespace
