// Files of a gigabyte in an editor window: opening Shift_JIS and UTF-8 to the first screen with
// the peak memory it takes, beside a plain read of the same file, and a keystroke in the middle.
#include "QtBenchMain.h"
#include "ProcessMemory.h"
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "SjisCorpus.h"
#include "editor/VornEdit.h"
#include "encoding/jconvert.h"
#include "platform/FileBytes.h"
#include "shell/Main.h"

namespace vorn {
namespace {

constexpr std::size_t kChunkBytes = std::size_t{64} << 20;
constexpr int kChunks = 16;  // 1 GiB of Shift_JIS

// The files live in $TMPDIR for the run only: a gigabyte each must not stay on a shared disk.
struct TBigFiles {
  std::string sjis;
  std::string utf8;
  TBigFiles() {
    const char* dir = std::getenv("TMPDIR");
    const std::string base = std::string(dir && *dir ? dir : "/tmp") + "/vorn-bigfile-bench-" + std::to_string(::getpid());
    sjis = base + "-sjis.txt";
    utf8 = base + "-utf8.txt";
    // One chunk repeated: generating a gigabyte of corpus would take longer than the benches.
    const std::string chunk = TCorpusGenerator().Generate(kChunkBytes);
    const std::string utf8Chunk = ConvertCharCode(chunk, ckSjis, ckUtf8N);
    std::ofstream s(sjis, std::ios::binary);
    std::ofstream u(utf8, std::ios::binary);
    for (int k = 0; k < kChunks; ++k) {
      s.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      // The UTF-8 file holds the same text, so it is larger than 1 GiB by what UTF-8 adds.
      u.write(utf8Chunk.data(), static_cast<std::streamsize>(utf8Chunk.size()));
    }
  }
  ~TBigFiles() {
    std::remove(sjis.c_str());
    std::remove(utf8.c_str());
  }
};

TBigFiles& Files() {
  static TBigFiles files;
  return files;
}

double FileMb(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return static_cast<double>(in.tellg()) / 1048576.0;
}

// Peak growth over the open, and how it compares with the target's allowance: the file's size
// times `share` plus 60 MB (at most 1 means within the target).
void ReportPeak(benchmark::State& state, const std::string& path, double peakGrowthMb, double share) {
  const double fileMb = FileMb(path);
  state.counters["file_MB"] = fileMb;
  state.counters["peak_growth_MB"] = peakGrowthMb;
  state.counters["peak_per_file"] = peakGrowthMb / fileMb;
  state.counters["peak_vs_allowance"] = peakGrowthMb / (share * fileMb + 60.0);
}

// What the machine charges for memory touched the first time: on a virtual machine
// whose host backs guest memory only when it is first used, this alone can take longer than
// reading a file of that size from the page cache; memory the process used and gave back is
// backed already. Run first, it shows how much of the open times below is that charge.
// Two GiB, more than any open below takes at its peak.
void BM_FreshMemoryFirstTouch_2GiB(benchmark::State& state) {
  for (auto _ : state) {
    TByteBuffer memory(std::size_t{2} << 30);
    std::memset(memory.Data(), 1, memory.Size());
    benchmark::DoNotOptimize(memory.Data());
  }
}

// The baseline: the file read into one buffer, nothing else.
void BM_Open1GB_Baseline_PlainRead(benchmark::State& state) {
  const std::string& path = Files().sjis;
  double peakMb = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const long before = StatusKb("VmRSS:");
    ResetPeakRss();
    state.ResumeTiming();
    TByteBuffer bytes = ReadFileBytes(path);
    benchmark::DoNotOptimize(bytes.Data());
    state.PauseTiming();
    peakMb = static_cast<double>(StatusKb("VmHWM:") - before) / 1024.0;
    { TByteBuffer gone = std::move(bytes); }
    state.ResumeTiming();
  }
  ReportPeak(state, path, peakMb, 1.0);
}

std::unique_ptr<TVornEditMain> NewWindow() {
  auto window = std::make_unique<TVornEditMain>();
  window->Services().prompts = TWindowServices::TPrompts{[](const QString&) { return daNo; },
                                                          [](const QString&) { return QString(); }, [](const QString&) {}};
  window->show();
  QApplication::processEvents();
  return window;
}

void OpenToFirstScreen(benchmark::State& state, const std::string& path, double share) {
  double peakMb = 0;
  int rows = 0;
  double fastest = 1e9;
  for (auto _ : state) {
    state.PauseTiming();
    auto window = NewWindow();
    const long before = StatusKb("VmRSS:");
    ResetPeakRss();
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    window->LoadDocument(path, false);
    window->Editor()->viewport()->repaint();
    benchmark::DoNotOptimize(window->Editor()->BackingImage().constBits());
    fastest = std::min(fastest, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    state.PauseTiming();
    peakMb = static_cast<double>(StatusKb("VmHWM:") - before) / 1024.0;
    rows = window->Editor()->Core().RowCount();
    window.reset();
    state.ResumeTiming();
  }
  state.counters["rows"] = rows;
  state.counters["fastest_s"] = fastest;
  ReportPeak(state, path, peakMb, share);
}

void BM_Open1GB_Sjis_InWindowWithFirstScreen(benchmark::State& state) { OpenToFirstScreen(state, Files().sjis, 1.1); }
void BM_Open1GB_Utf8_InWindowWithFirstScreen(benchmark::State& state) { OpenToFirstScreen(state, Files().utf8, 1.2); }

void Key(TVornEdit& edit, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, {}, text);
  QApplication::sendEvent(&edit, &press);
}

// A character typed and erased in turn halfway down the file, each until its row is painted.
void BM_Keystroke1GB_MiddleToRepaintedImage(benchmark::State& state) {
  auto window = NewWindow();
  window->LoadDocument(Files().sjis, false);
  TVornEdit& edit = *window->Editor();
  edit.Core().GoToPosition(edit.Core().RowCount() / 2, 0);
  edit.Core().SetFocused(true);
  edit.Flush();
  bool erase = false;
  for (auto _ : state) {
    if (erase)
      Key(edit, Qt::Key_Backspace);
    else
      Key(edit, Qt::Key_A, QStringLiteral("a"));
    edit.Flush();
    benchmark::DoNotOptimize(edit.BackingImage().constBits());
    erase = !erase;
  }
  state.counters["rows"] = edit.Core().RowCount();
}

// Word wrap turned on in an open gigabyte: the time to the first wrapped screen, the longest
// step the window runs between events while the rest is cut, and the time until all is cut.
void BM_WordWrapOn1GB_FirstScreenAndSteps(benchmark::State& state) {
  auto window = NewWindow();
  window->LoadDocument(Files().sjis, false);
  TVornEdit& edit = *window->Editor();
  TVornEditScreenStrings& store = edit.Core().Store();
  double longestStepMs = 0;
  double allCutMs = 0;
  for (auto _ : state) {
    store.SetWordWrap(true);
    edit.Flush();
    edit.viewport()->repaint();
    benchmark::DoNotOptimize(edit.BackingImage().constBits());
    state.PauseTiming();
    const auto start = std::chrono::steady_clock::now();
    for (auto before = start; store.RewrapStep(4096);) {
      const auto now = std::chrono::steady_clock::now();
      longestStepMs = std::max(longestStepMs, std::chrono::duration<double, std::milli>(now - before).count());
      before = now;
    }
    allCutMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    store.SetWordWrap(false);
    state.ResumeTiming();
  }
  state.counters["longest_step_ms"] = longestStepMs;
  state.counters["all_cut_ms"] = allCutMs;
  state.counters["rows"] = store.Count();
}

BENCHMARK(BM_FreshMemoryFirstTouch_2GiB)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FreshMemoryFirstTouch_2GiB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Open1GB_Baseline_PlainRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Open1GB_Sjis_InWindowWithFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Open1GB_Utf8_InWindowWithFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Keystroke1GB_MiddleToRepaintedImage)->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_WordWrapOn1GB_FirstScreenAndSteps)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) {
  const int result = RunQtBenchmarks(argc, argv);
  return result;
}
