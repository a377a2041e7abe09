// Splitting a window over a 100 MB document and closing the second pane again, beside a full
// repaint of the single pane (what any resize of the window costs anyway).
#include "QtBenchMain.h"
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "SjisCorpus.h"
#include "editor/VornEdit.h"
#include "shell/Main.h"

namespace vorn {
namespace {

const std::string& HundredMegabyteFile() {
  static const std::string path = [] {
    const std::string p = "/tmp/vorn-panes-bench-100mb.txt";
    const std::string bytes = TCorpusGenerator().Generate(100u << 20);
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
  }();
  return path;
}

// Kept to process end on purpose: a widget must not outlive the QApplication in main.
TVornEditMain& Window() {
  static TVornEditMain* window = [] {
    auto* w = new TVornEditMain();
    w->Services().prompts = TWindowServices::TPrompts{[](const QString&) { return daNo; }, [](const QString&) { return QString(); },
                   [](const QString&) {}};
    w->SetHandOffEnabled(false);
    w->resize(900, 700);
    w->show();
    QApplication::processEvents();
    w->LoadDocument(HundredMegabyteFile(), false);
    TVornEditCore& core = w->Editor()->Core();
    core.SetCaretPos(core.RowCount() / 2, 0);
    w->Editor()->Flush();
    QApplication::processEvents();
    return w;
  }();
  return *window;
}

void BM_Baseline_RepaintSinglePane100MB(benchmark::State& state) {
  TVornEditMain& w = Window();
  for (auto _ : state) {
    w.Editor()->RepaintAll();
    w.Editor()->viewport()->repaint();
  }
}
BENCHMARK(BM_Baseline_RepaintSinglePane100MB)->Unit(benchmark::kMillisecond);

void BM_Split100MB(benchmark::State& state) {
  TVornEditMain& w = Window();
  for (auto _ : state) {
    if (!w.SplitPanes()) state.SkipWithError("the window refused to split");
    QApplication::processEvents();
    state.PauseTiming();
    w.UnsplitPanes();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Split100MB)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_Unsplit100MB(benchmark::State& state) {
  TVornEditMain& w = Window();
  for (auto _ : state) {
    state.PauseTiming();
    w.SplitPanes();
    QApplication::processEvents();
    w.MakePaneCurrent(w.Pane(1));
    state.ResumeTiming();
    w.UnsplitPanes();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_Unsplit100MB)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) {
  const int result = RunQtBenchmarks(argc, argv);
  std::remove("/tmp/vorn-panes-bench-100mb.txt");
  return result;
}
