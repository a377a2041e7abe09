// vornconv end to end as real processes, beside vim and iconv on the same 100 MB file in the
// same run (time and peak RSS, the figure /usr/bin/time -v reports, from wait4), and the
// memory a save from the store takes in codes that were once encoded whole.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "SjisCorpus.h"
#include "ProcessMemory.h"
#include "store/HeadlessView.h"
#include "textfile/JConvStrList.h"

namespace vorn {
namespace {

constexpr std::size_t kCorpusBytes = 100u << 20;

std::string TempPath(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const std::string& SjisFile() {
  static const std::string path = [] {
    std::string p = TempPath("vorn_pipeline_bench.sjis");
    WriteFile(p, TCorpusGenerator().Generate(kCorpusBytes));
    return p;
  }();
  return path;
}

std::string VornconvPath() { return VORN_BIN_DIR "/vornconv"; }

struct TRun {
  double seconds = 0;
  double cpuSeconds = 0;  // user and system time, which a loaded machine does not inflate
  double peakMb = 0;
  int status = -1;
};

// Runs argv with standard output on outPath (or /dev/null); the child's peak RSS comes from the
// kernel as /usr/bin/time reports it.
TRun RunProcess(const std::vector<std::string>& args, const std::string& outPath = "/dev/null") {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int devNull = ::open("/dev/null", O_RDWR);
    ::dup2(out, 1);
    ::dup2(devNull, 2);
    ::dup2(devNull, 0);
    std::vector<char*> argv;
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  TRun run;
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

double FileMb(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return static_cast<double>(in.tellg()) / 1048576.0;
}

// Runs the process per iteration; reports its time and peak RSS, and the peak per megabyte of
// the larger of input and output.
void BenchProcess(benchmark::State& state, const std::vector<std::string>& args,
                  const std::string& input, const std::string& outPath = "/dev/null") {
  TRun run;
  double cpu = 0;
  for (auto _ : state) {
    run = RunProcess(args, outPath);
    state.SetIterationTime(run.seconds);
    cpu += run.cpuSeconds;
  }
  state.counters["cpu_ms"] = 1000 * cpu / static_cast<double>(state.iterations());
  if (run.status != 0) state.SkipWithError("the process failed");
  const double larger = std::max(FileMb(input), outPath == "/dev/null" ? 0.0 : FileMb(outPath));
  state.counters["peak_RSS_MB"] = run.peakMb;
  state.counters["peak_per_larger_file"] = run.peakMb / larger;
}

const std::string& Utf8File() {
  static const std::string path = [] {
    std::string p = TempPath("vorn_pipeline_bench.utf8");
    RunProcess({"iconv", "-f", "CP932", "-t", "UTF-8", SjisFile()}, p);
    return p;
  }();
  return path;
}

void BM_Baseline_VimLoad(benchmark::State& state) {
  BenchProcess(state, {"vim", "-u", "NONE", "-i", "NONE", "-n", "-es", "--cmd", "set fencs=cp932",
                       "-c", "q", SjisFile()}, SjisFile());
}

void BM_Vornconv_SjisToSjis_Stdout(benchmark::State& state) {
  BenchProcess(state, {VornconvPath(), "convert", "--from=s", "--to=s", SjisFile()}, SjisFile(),
               TempPath("vorn_pipeline_out"));
}

void BM_Vornconv_SjisToSjis_File(benchmark::State& state) {
  BenchProcess(state, {VornconvPath(), "convert", "--from=s", "--to=s",
                       "--output=" + TempPath("vorn_pipeline_out"), SjisFile()}, SjisFile());
}

void BM_Baseline_Iconv_Cp932ToUtf8(benchmark::State& state) {
  BenchProcess(state, {"iconv", "-f", "CP932", "-t", "UTF-8", SjisFile()}, SjisFile(),
               TempPath("vorn_pipeline_out"));
}

void BM_Vornconv_SjisToUtf8(benchmark::State& state) {
  BenchProcess(state, {VornconvPath(), "convert", "--to=n", SjisFile()}, SjisFile(),
               TempPath("vorn_pipeline_out"));
}

void BM_Baseline_Iconv_Utf8ToCp932(benchmark::State& state) {
  BenchProcess(state, {"iconv", "-f", "UTF-8", "-t", "CP932", Utf8File()}, Utf8File(),
               TempPath("vorn_pipeline_out"));
}

void BM_Vornconv_Utf8ToSjis(benchmark::State& state) {
  BenchProcess(state, {VornconvPath(), "convert", "--to=s", Utf8File()}, Utf8File(),
               TempPath("vorn_pipeline_out"));
}

// Saves the loaded 100 MB document in the code state.range(0); the counter is how far the peak
// RSS rose above the resident size before the save (the baseline: the document itself).
void BM_SaveFromStoreMemoryGrowth(benchmark::State& state) {
  static TVornEditHeadlessView* view = [] {
    auto* v = new TVornEditHeadlessView();
    TDocumentFileSettings doc;
    ReadDocumentFile(SjisFile(), doc, v->Lines());
    return v;
  }();
  TDocumentFileSettings doc;
  doc.CharCode = static_cast<TCharCodeKind>(state.range(0));
  const std::string target = TempPath("vorn_pipeline_save");
  double growthMb = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY);
    if (fd >= 0 && ::write(fd, "5", 1) != 1) state.SkipWithError("cannot reset the peak RSS");
    if (fd >= 0) ::close(fd);
    const long before = StatusKb("VmRSS:");
    state.ResumeTiming();
    WriteDocumentFile(target, doc, view->Lines());
    growthMb = static_cast<double>(StatusKb("VmHWM:") - before) / 1024.0;
  }
  ::unlink(target.c_str());
  state.counters["growth_MB"] = growthMb;
  state.counters["document_rss_MB"] = static_cast<double>(StatusKb("VmRSS:")) / 1024.0;
}

BENCHMARK(BM_Baseline_VimLoad)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vornconv_SjisToSjis_Stdout)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vornconv_SjisToSjis_File)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_Iconv_Cp932ToUtf8)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vornconv_SjisToUtf8)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_Iconv_Utf8ToCp932)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vornconv_Utf8ToSjis)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFromStoreMemoryGrowth)
    ->Arg(ckUnicodeLE)->Arg(ckJisAscii)->Arg(ckUtf7)
    ->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn
