// Line store and file pipeline benchmarks on a generated 100 MB Shift_JIS document.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/FileBytes.h"
#include "ProcessMemory.h"
#include "layout/StoreWrap.h"
#include "store/HeadlessView.h"
#include "base/sjis.h"
#include "textfile/JConvStrList.h"
#include "SjisCorpus.h"

namespace vorn {
namespace {

constexpr std::size_t kCorpusBytes = 100u << 20;

// The corpus lives in a file beside the benchmark's working folder, made once per run.
const std::string& CorpusFile() {
  static std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    std::string p = std::string(dir && *dir ? dir : "/tmp") + "/vorn_store_bench_corpus.txt";
    std::string text = TCorpusGenerator().Generate(kCorpusBytes);
    std::ofstream(p, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    return p;
  }();
  return path;
}

void BM_Baseline_ReadFileAndCountLines(benchmark::State& state) {
  const std::string& file = CorpusFile();
  for (auto _ : state) {
    TByteBuffer bytes = ReadFileBytes(file);
    std::size_t lines = 0;
    const char* p = bytes.Data();
    const char* end = p + bytes.Size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
      ++lines;
      ++p;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kCorpusBytes));
}

void BM_Baseline_MallocAndMemcpy100MB(benchmark::State& state) {
  TByteBuffer source = ReadFileBytes(CorpusFile());
  for (auto _ : state) {
    std::unique_ptr<char[]> copy(new char[source.Size()]);
    std::memcpy(copy.get(), source.Data(), source.Size());
    benchmark::DoNotOptimize(copy.get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.Size()));
}

void BM_ReadDocumentFile100MB(benchmark::State& state) {
  const std::string& file = CorpusFile();
  double peakGrowthMb = 0;
  int rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    long before = StatusKb("VmRSS:");
    ResetPeakRss();
    auto view = std::make_unique<TVornEditHeadlessView>(NewWrappedStore());
    state.ResumeTiming();
    TDocumentFileSettings doc;
    ReadDocumentFile(file, doc, view->Lines());
    state.PauseTiming();
    rows = view->Store()->Count();
    peakGrowthMb = static_cast<double>(StatusKb("VmHWM:") - before) / 1024.0;
    view.reset();
    state.ResumeTiming();
  }
  state.counters["rows"] = rows;
  state.counters["peak_growth_MB"] = peakGrowthMb;
  state.counters["peak_per_file_size"] = peakGrowthMb / (kCorpusBytes / 1048576.0);
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  // The process-wide peak; it also covers generating the corpus when the kernel cannot reset it.
  state.counters["ru_maxrss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kCorpusBytes));
}

// One loaded document shared by the benchmarks that work on a store.
TVornEditHeadlessView& LoadedView() {
  static TVornEditHeadlessView* view = [] {
    auto* v = new TVornEditHeadlessView(NewWrappedStore());
    TDocumentFileSettings doc;
    ReadDocumentFile(CorpusFile(), doc, v->Lines());
    return v;
  }();
  return *view;
}

void BM_GetTextStr100MB(benchmark::State& state) {
  TVornEditHeadlessView& view = LoadedView();
  for (auto _ : state) {
    std::string text = view.Lines().GetTextStr();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kCorpusBytes));
}

void BM_WriteDocumentFile100MB(benchmark::State& state) {
  TVornEditHeadlessView& view = LoadedView();
  std::string target = CorpusFile() + ".out";
  TDocumentFileSettings doc;
  for (auto _ : state) WriteDocumentFile(target, doc, view.Lines());
  ::unlink(target.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kCorpusBytes));
}

void BM_Baseline_WriteAndFsync100MB(benchmark::State& state) {
  TByteBuffer source = ReadFileBytes(CorpusFile());
  std::string target = CorpusFile() + ".raw";
  for (auto _ : state) {
    int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (std::size_t done = 0; done < source.Size();) {
      ssize_t n = ::write(fd, source.Data() + done, std::min<std::size_t>(1 << 20, source.Size() - done));
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::fsync(fd);
    ::close(fd);
  }
  ::unlink(target.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.Size()));
}

// Types one character into the middle row, then takes it out again: two ReplaceRows per round.
void BM_ReplaceRowsTypeCharMiddle(benchmark::State& state) {
  TVornEditScreenStrings& store = *LoadedView().Store();
  int row = store.Count() / 2;
  std::string original = store.Strings(row) + "\r\n";
  std::string typed = store.Strings(row) + "x\r\n";
  for (auto _ : state) {
    store.ReplaceRows(row, 1, typed);
    store.ReplaceRows(row, 1, original);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 2));
  state.counters["rows"] = store.Count();
}

// Splits the middle row in two (Enter) or joins it with the next (Delete at its end); each
// benchmark times only its own direction.
void LineBreakRound(benchmark::State& state, bool timeInsert) {
  TVornEditScreenStrings& store = *LoadedView().Store();
  int row = store.Count() / 2;
  std::string line = store.Strings(row);
  std::size_t cut = line.size() / 2;
  while (cut > 0 && !sjis::IsCharBoundary(line, cut)) --cut;
  std::string split = line.substr(0, cut) + "\r\n" + line.substr(cut) + "\r\n";
  std::string joined = line + "\r\n";
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    store.ReplaceRows(row, 1, split);
    auto t1 = std::chrono::steady_clock::now();
    store.ReplaceRows(row, 2, joined);
    auto t2 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(timeInsert ? t1 - t0 : t2 - t1).count());
  }
  state.counters["rows"] = store.Count();
}

void BM_ReplaceRowsInsertLineBreakMiddle(benchmark::State& state) { LineBreakRound(state, true); }
void BM_ReplaceRowsDeleteLineBreakMiddle(benchmark::State& state) { LineBreakRound(state, false); }

BENCHMARK(BM_Baseline_ReadFileAndCountLines)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Baseline_MallocAndMemcpy100MB)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadDocumentFile100MB)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GetTextStr100MB)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Baseline_WriteAndFsync100MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteDocumentFile100MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReplaceRowsTypeCharMiddle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplaceRowsInsertLineBreakMiddle)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_ReplaceRowsDeleteLineBreakMiddle)->Unit(benchmark::kMicrosecond)->UseManualTime();

}  // namespace
}  // namespace vorn
