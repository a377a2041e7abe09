// Grep over a generated tree of Shift_JIS and UTF-8 files against `LC_ALL=C grep -rn` on the same
// bytes in the same run: literal, regular expression and fuzzy searches, and the time to cancel.
// The tree size is VORN_GREP_BENCH_MB (default 100 MB in 1,000 files: the 500 MB / 5,000-file
// tree scaled down so that a run stays under a minute on a shared machine).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "regex/BregexpUtil.h"
#include "search/GrepEngine.h"
#include "encoding/jconvert.h"

namespace {

using namespace vorn;

struct TTree {
  std::string root;
  TTree() {
    const char* mb = std::getenv("VORN_GREP_BENCH_MB");
    const std::size_t total = std::size_t(mb ? std::atoi(mb) : 100) << 20;
    const int files = static_cast<int>(total / (100 << 10));
    std::string tmpl = (std::filesystem::temp_directory_path() / "vorngrepbenchXXXXXX").string();
    root = ::mkdtemp(tmpl.data());
    std::mt19937 rng(7);
    const char* words[] = {"static", "int", "return", "value", "\x93\xfa\x96\x7b\x8c\xea", "\x83\x65\x83\x4c\x83\x58\x83\x67",
                           "buffer", "(x)", "=", ";", "{", "}", "\x82\xa0\x82\xa2\x82\xa4", "count"};
    for (int f = 0; f < files; ++f) {
      std::string text;
      while (text.size() < (100 << 10)) {
        int n = 3 + static_cast<int>(rng() % 10);
        for (int i = 0; i < n; ++i) text += std::string(words[rng() % std::size(words)]) + " ";
        if (rng() % 5000 == 0) text += "needle_x1";
        text += "\r\n";
      }
      std::string dir = root + "/d" + std::to_string(f % 50);
      std::filesystem::create_directories(dir);
      std::ofstream(dir + "/f" + std::to_string(f) + ".txt", std::ios::binary)
          << (f % 2 ? ConvertCharCode(text, ckSjis, ckUtf8N) : text);
    }
  }
  ~TTree() { std::filesystem::remove_all(root); }
};

TTree& Tree() {
  static TTree tree;
  if (!RegexpBinding()) LoadRegexpBinding(VORN_BIN_DIR "/libVornRegexp.so");
  return tree;
}

class TCountSink : public TGrepSink {
public:
  void AddLine(const TGrepResultLine&) override { ++lines; }
  std::int64_t lines = 0;
};

// Formats the three labels as the progress window does, so that the cost of reporting shows.
class TLabelSink : public TCountSink {
public:
  void Progress(const TGrepProgress& p) override {
    labels = p.FileName + std::to_string(p.LineNumber) + "\xe8\xa1\x8c\xe7\x9b\xae" + std::to_string(p.HitCount);
    ++reports;
  }
  std::string labels;
  int reports = 0;
};

void RunOurs(benchmark::State& state, const char* text, bool regex, bool fuzzy, int progressMs = 250,
             bool ignoreCase = false) {
  TTree& tree = Tree();
  TBregexpObj p;
  p.SetPattern(text);
  p.SetPlainText(!regex);
  p.SetFuzzy(fuzzy);
  p.SetIgnoreCase(ignoreCase);
  TGrepOptions o;
  o.BaseFolder = tree.root;
  o.SubFolders = true;
  o.ProgressIntervalMs = progressMs;
  int reports = 0;
  for (auto _ : state) {
    TGrepEngine engine(p, o);
    std::string message;
    engine.Prepare(message);
    TLabelSink sink;
    benchmark::DoNotOptimize(engine.Run(sink).HitCount);
    reports += sink.reports;
  }
  state.counters["reports"] = benchmark::Counter(reports, benchmark::Counter::kAvgIterations);
}

void RunGnuGrep(benchmark::State& state, const char* options, const char* pattern) {
  TTree& tree = Tree();
  // Through a pipe: GNU grep stops at a file's first match when its output is /dev/null.
  const std::string cmd = std::string("LC_ALL=C grep -rn ") + options + " '" + pattern + "' " + tree.root + " | cat > /dev/null";
  for (auto _ : state) benchmark::DoNotOptimize(std::system(cmd.c_str()));
}

void BM_GnuGrepLiteral(benchmark::State& s) { RunGnuGrep(s, "-F", "needle_x1"); }
void BM_GrepLiteral(benchmark::State& s) { RunOurs(s, "needle_x1", false, false); }
void BM_GnuGrepRegex(benchmark::State& s) { RunGnuGrep(s, "-E", "need[a-z]+_x[0-9]"); }
void BM_GrepRegex(benchmark::State& s) { RunOurs(s, "need[a-z]+_x[0-9]", true, false); }
// The progress window's rate (every 100 ms) against reports so rare that none comes in a run.
void BM_GrepLiteralProgress100ms(benchmark::State& s) { RunOurs(s, "needle_x1", false, false, 100); }
void BM_GrepLiteralNoProgress(benchmark::State& s) { RunOurs(s, "needle_x1", false, false, 1 << 30); }
void BM_GnuGrepLiteralIgnoringCase(benchmark::State& s) { RunGnuGrep(s, "-F -i", "needle_x1"); }
void BM_GrepLiteralIgnoringCase(benchmark::State& s) { RunOurs(s, "needle_x1", false, false, 250, true); }
// A word on most lines: nearly every line is a hit and is converted on its own.
void BM_GnuGrepLiteralOnMostLines(benchmark::State& s) { RunGnuGrep(s, "-F", "count"); }
void BM_GrepLiteralOnMostLines(benchmark::State& s) { RunOurs(s, "count", false, false); }
// A regular expression the engine folds, with no literal every match must hold.
void BM_GnuGrepRegexIgnoringCase(benchmark::State& s) { RunGnuGrep(s, "-E -i", "(nee|ned)[a-z]+_x[0-9]"); }
void BM_GrepRegexIgnoringCase(benchmark::State& s) { RunOurs(s, "(nee|ned)[a-z]+_x[0-9]", true, false, 250, true); }
void BM_GrepFuzzy(benchmark::State& s) { RunOurs(s, "\x83\x65\x83\x4c\x83\x58\x83\x67needle", false, true); }

// From Cancel to Run returning, with the run in full swing.
void BM_GrepCancelLatency(benchmark::State& state) {
  TTree& tree = Tree();
  TBregexpObj p;
  p.SetPattern("e");
  p.SetPlainText(true);
  TGrepOptions o;
  o.BaseFolder = tree.root;
  o.SubFolders = true;
  for (auto _ : state) {
    TGrepEngine engine(p, o);
    std::string message;
    engine.Prepare(message);
    TCountSink sink;
    std::chrono::steady_clock::time_point cancelAt;
    std::thread canceller([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      cancelAt = std::chrono::steady_clock::now();
      engine.Cancel();
    });
    engine.Run(sink);
    auto end = std::chrono::steady_clock::now();
    canceller.join();
    state.SetIterationTime(std::chrono::duration<double>(end - cancelAt).count());
  }
}

BENCHMARK(BM_GnuGrepLiteral)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GrepLiteral)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GrepLiteralNoProgress)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GrepLiteralProgress100ms)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GnuGrepLiteralIgnoringCase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GrepLiteralIgnoringCase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GnuGrepRegex)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GrepRegex)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GnuGrepLiteralOnMostLines)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GrepLiteralOnMostLines)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GnuGrepRegexIgnoringCase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GrepRegexIgnoringCase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GrepFuzzy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GrepCancelLatency)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
