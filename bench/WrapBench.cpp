// Benchmarks of word wrap: whole-text wrapping at several widths and option sets.
#include "WrapBenchCorpus.h"
#include "text/Wrap.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace vorn {
namespace {

const std::string& Corpus() {
  static const std::string text = bench::MakeCorpus(100u << 20);
  return text;
}

// Same-run baseline: touching every byte once.
void BM_MemcpyBaseline(benchmark::State& state) {
  const std::string& text = Corpus();
  std::string copy(text.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), text.data(), text.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
}
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);

void BM_TextToRows(benchmark::State& state) {
  const std::string& text = Corpus();
  TVornEditWrapOption o;
  o.SetWrapByte(static_cast<int>(state.range(0)));
  const bool all = state.range(1) != 0;
  o.SetFollowPunctuation(all);
  o.SetLeading(all);
  o.SetWordBreak(all);
  TWordWrapper w(o);
  std::vector<TWrapRow> rows;
  rows.reserve(8u << 20);
  for (auto _ : state) {
    w.TextToRows(text, true, rows);
    benchmark::DoNotOptimize(rows.data());
  }
  state.counters["rows"] = static_cast<double>(rows.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
}
BENCHMARK(BM_TextToRows)->Args({80, 0})->Args({80, 1})->Args({20, 0})->Args({20, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn
