// The comparison and the pipe against the outside programs alone on the same data: a diff of
// two 100,000-line texts with 1,000 scattered changes read into the marks of both sides, and
// 10 MB of Japanese text through cat and back with its conversions.
#include "base/ByteBuffer.h"
#include "platform/ChildRun.h"
#include "platform/TempFile.h"
#include "shellcore/DiffMarks.h"
#include "shellcore/DiffRun.h"
#include "shellcore/PipeText.h"
#include "store/ScreenStrings.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>

namespace vorn {
namespace {

struct TDiffPair {
  std::string Old, New;
};

const TDiffPair& Pair() {
  static const TDiffPair pair = [] {
    TDiffPair p;
    std::mt19937 random(29);
    for (int i = 0; i < 100000; ++i) {
      const std::string line = "line " + std::to_string(i) + " \x93\xfa\x96\x7b\x8c\xea text\r\n";
      p.Old += line;
      if (random() % 100 == 0) {
        switch (random() % 3) {
          case 0: p.New += "changed " + line; break;
          case 1: break;  // deleted
          default: p.New += line + "added\r\n"; break;
        }
      } else {
        p.New += line;
      }
    }
    return p;
  }();
  return pair;
}

void RunToEnd(TChildRun& run) {
  while (!run.Pump(50)) {
  }
}

// What the window does after "実行": both sides to files, the run, the marks on both stores.
void BM_DiffIntoMarksOfBothSides(benchmark::State& state) {
  const TDiffPair& pair = Pair();
  const std::string program = FindDiffProgram({});
  for (auto _ : state) {
    state.PauseTiming();
    TVornEditScreenStrings oldStore, newStore;
    oldStore.LoadText(TByteBuffer(std::string(pair.Old)));
    newStore.LoadText(TByteBuffer(std::string(pair.New)));
    state.ResumeTiming();
    TDiffJob job;
    std::string error;
    job.Prepare(error);
    job.OwnFile().Write(pair.New);
    job.OtherFile().Write(pair.Old);
    job.Start(program, TDiffOptions{}, true, error);
    WaitForDiff(job, 60000);
    const std::string output = job.TakeOutput();
    TDiffEndMarker oldEnd, newEnd;
    const int hunks = ApplyDiffMarks(newStore, ParseDiffOutput(output, TDiffSide::dsNew), 0, newEnd);
    ApplyDiffMarks(oldStore, ParseDiffOutput(output, TDiffSide::dsOld), 0, oldEnd);
    state.counters["hunks"] = hunks;
  }
}
BENCHMARK(BM_DiffIntoMarksOfBothSides)->Unit(benchmark::kMillisecond)->Iterations(5);

// The program alone from the shell on the same two files, its output thrown away.
void BM_DiffFromTheShell(benchmark::State& state) {
  const TDiffPair& pair = Pair();
  TTempFile a, b;
  a.Create();
  b.Create();
  a.Write(pair.Old);
  b.Write(pair.New);
  const std::string command = "diff '" + a.Path() + "' '" + b.Path() + "' > /dev/null";
  for (auto _ : state) {
    TChildRun run;
    std::string error;
    run.Start("/bin/sh", {"-c", command}, {}, {}, &error, false, false);
    RunToEnd(run);
  }
}
BENCHMARK(BM_DiffFromTheShell)->Unit(benchmark::kMillisecond)->Iterations(5);

const std::string& TenMegabytes() {
  static const std::string text = [] {
    std::string t;
    for (int i = 0; t.size() < 10u << 20; ++i)
      t += "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\x8f\xcd " + std::to_string(i) + " abc\r\n";
    return t;
  }();
  return text;
}

// A 10 MB selection of an EUC-JP document through cat and back, conversions included.
void BM_PipeThroughCat(benchmark::State& state) {
  const std::string& text = TenMegabytes();
  for (auto _ : state) {
    std::size_t lost = 0;
    TChildRun run;
    std::string error;
    run.Start("cat", {}, PipeInputBytes(text, ckEuc, lbLF, lost), {}, &error);
    RunToEnd(run);
    const TPipeOutput out = PipeOutputText(run.Output());
    benchmark::DoNotOptimize(out.Text.size());
  }
}
BENCHMARK(BM_PipeThroughCat)->Unit(benchmark::kMillisecond)->Iterations(5);

// cat alone from the shell on the same bytes.
void BM_CatFromTheShell(benchmark::State& state) {
  std::size_t lost = 0;
  TTempFile in;
  in.Create();
  in.Write(PipeInputBytes(TenMegabytes(), ckEuc, lbLF, lost));
  const std::string command = "cat '" + in.Path() + "' > /dev/null";
  for (auto _ : state) {
    TChildRun run;
    std::string error;
    run.Start("/bin/sh", {"-c", command}, {}, {}, &error, false, false);
    RunToEnd(run);
  }
}
BENCHMARK(BM_CatFromTheShell)->Unit(benchmark::kMillisecond)->Iterations(5);

// The two conversions alone: out to EUC-JP and LF, back through detection.
void BM_PipeConversionsOnly(benchmark::State& state) {
  const std::string& text = TenMegabytes();
  for (auto _ : state) {
    std::size_t lost = 0;
    const TPipeOutput out = PipeOutputText(PipeInputBytes(text, ckEuc, lbLF, lost));
    benchmark::DoNotOptimize(out.Text.size());
  }
}
BENCHMARK(BM_PipeConversionsOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace vorn
