// Benchmarks of word wrap and undo: whole-text wrapping, re-wrap of a 100 MB store at several
// widths and option sets, a keystroke with its incremental wrap in a wrapped 2 M-row document,
// its undo and redo, and the undo of a 100,000-row deletion.
#include "WrapBenchCorpus.h"
#include "base/ByteBuffer.h"
#include "text/HeadlessView.h"
#include "text/ScreenStrings.h"
#include "text/Undo.h"
#include "text/Wrap.h"
#include "text/WrapOption.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace vorn {
namespace {

const std::string& Corpus() {
  static const std::string text = bench::MakeCorpus(100u << 20);
  return text;
}

TVornEditWrapOption Options(int width, bool kinsoku) {
  TVornEditWrapOption o;
  o.SetWrapByte(width);
  o.SetFollowPunctuation(kinsoku);
  o.SetLeading(kinsoku);
  o.SetWordBreak(kinsoku);
  o.SetFollowRetMark(kinsoku);
  return o;
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

// Cutting the whole text into rows, without a store.
void BM_TextToRows(benchmark::State& state) {
  const std::string& text = Corpus();
  TWordWrapper w(Options(static_cast<int>(state.range(0)), state.range(1) != 0));
  std::vector<TWrapRow> rows;
  rows.reserve(8u << 20);
  for (auto _ : state) {
    w.TextToRows(text, true, rows);
    benchmark::DoNotOptimize(rows.data());
  }
  state.counters["rows"] = static_cast<double>(rows.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
}
BENCHMARK(BM_TextToRows)->Args({80, 0})->Args({80, 1})->Args({20, 0})->Args({20, 1})->Unit(benchmark::kMillisecond);

// Switching word wrap on for the loaded 100 MB document (RewrapAll from one row per line).
void BM_RewrapAll(benchmark::State& state) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  s.WrapOption().Assign(Options(static_cast<int>(state.range(0)), state.range(1) != 0));
  view.Lines().SetTextBuffer(TByteBuffer(std::string(Corpus())));
  for (auto _ : state) {
    s.SetWordWrap(true);
    state.PauseTiming();
    state.counters["rows"] = s.Count();
    s.SetWordWrap(false);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * Corpus().size());
}
BENCHMARK(BM_RewrapAll)->Args({80, 0})->Args({80, 1})->Args({20, 0})->Args({20, 1})
    ->Unit(benchmark::kMillisecond)->Iterations(2);

// The wrapped document the keystroke benchmarks share: about 2 M rows at width 80.
TVornEditHeadlessView& WrappedDocument() {
  static std::unique_ptr<TVornEditHeadlessView> view = [] {
    auto v = std::make_unique<TVornEditHeadlessView>();
    TVornEditScreenStrings& s = *v->Store();
    s.WrapOption().Assign(Options(80, true));
    s.SetWordWrap(true);
    v->Lines().SetTextBuffer(TByteBuffer(std::string(Corpus())));
    return v;
  }();
  return *view;
}

// Types one character into the middle of the middle row, as the editing operations do.
void TypeInMiddle(TVornEditScreenStrings& s, int row) {
  std::string text(s.Row(row));
  text.insert(text.size() / 2 & ~std::size_t{1}, "x");
  if (s.RowEnd(row) == reLineEnd) text += "\r\n";
  s.ReplaceRows(row, 1, text);
}

int MiddleRow(TVornEditScreenStrings& s) {
  int row = s.Count() / 2;
  while (s.Row(row).empty()) ++row;
  return row;
}

void BM_KeystrokeInWrappedDocument(benchmark::State& state) {
  TVornEditScreenStrings& s = *WrappedDocument().Store();
  const int row = MiddleRow(s);
  state.counters["rows"] = s.Count();
  for (auto _ : state) TypeInMiddle(s, row);
  s.UndoObj().ClearAll();
}
BENCHMARK(BM_KeystrokeInWrappedDocument)->Unit(benchmark::kMicrosecond);

void BM_UndoKeystroke(benchmark::State& state) {
  TVornEditScreenStrings& s = *WrappedDocument().Store();
  const int row = MiddleRow(s);
  for (auto _ : state) {
    state.PauseTiming();
    TypeInMiddle(s, row);
    state.ResumeTiming();
    s.UndoEdit();
  }
  s.UndoObj().ClearAll();
}
BENCHMARK(BM_UndoKeystroke)->Unit(benchmark::kMicrosecond);

void BM_RedoKeystroke(benchmark::State& state) {
  TVornEditScreenStrings& s = *WrappedDocument().Store();
  const int row = MiddleRow(s);
  for (auto _ : state) {
    state.PauseTiming();
    TypeInMiddle(s, row);
    s.UndoEdit();
    state.ResumeTiming();
    s.RedoEdit();
  }
  s.UndoObj().ClearAll();
}
BENCHMARK(BM_RedoKeystroke)->Unit(benchmark::kMicrosecond);

// Deleting 100,000 rows of whole lines and timing the undo that puts them back.
void BM_UndoDeletionOf100kRows(benchmark::State& state) {
  TVornEditScreenStrings& s = *WrappedDocument().Store();
  const int first = s.FirstRowOfLine(s.Count() / 3);
  const int last = s.LastRowOfLine(first + 100000 - 1);
  for (auto _ : state) {
    state.PauseTiming();
    s.ReplaceRows(first, last - first + 1, "");
    state.ResumeTiming();
    s.UndoEdit();
  }
  state.counters["rows"] = last - first + 1;
  s.UndoObj().ClearAll();
}
BENCHMARK(BM_UndoDeletionOf100kRows)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace vorn
