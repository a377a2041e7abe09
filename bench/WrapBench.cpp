// Benchmarks of word wrap and undo: whole-text wrapping, re-wrap of a 100 MB store at several
// widths and option sets, a keystroke with its incremental wrap in a wrapped 2 M-row document,
// its undo and redo, and the undo of a 100,000-row deletion.
#include "WrapBenchCorpus.h"
#include "base/ByteBuffer.h"
#include "layout/StoreWrap.h"
#include "store/HeadlessView.h"
#include "store/ScreenStrings.h"
#include "store/Undo.h"
#include "layout/Wrap.h"
#include "layout/WrapOption.h"

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
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  WrapOptionOf(s).Assign(Options(static_cast<int>(state.range(0)), state.range(1) != 0));
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


int MiddleRow(TVornEditScreenStrings& s);

// The wrapped document the keystroke benchmarks share: about 2 M rows at width 80.
TVornEditHeadlessView& WrappedDocument() {
  static std::unique_ptr<TVornEditHeadlessView> view = [] {
    auto v = std::make_unique<TVornEditHeadlessView>(NewWrappedStore());
    TVornEditScreenStrings& s = *v->Store();
    WrapOptionOf(s).Assign(Options(80, true));
    s.SetWordWrap(true);
    v->Lines().SetTextBuffer(TByteBuffer(std::string(Corpus())));
    return v;
  }();
  return *view;
}

// Types one character into the middle of a row, as the editing operations do; Backspace
// takes it out again, so that repeated keystrokes leave the line as it was.
void TypeInRow(TVornEditScreenStrings& s, int row, bool backspace) {
  std::string text(s.Row(row));
  const std::size_t at = text.size() / 2 & ~std::size_t{1};
  if (backspace)
    text.erase(at, 1);
  else
    text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), 'x');
  if (s.RowEnd(row) == reLineEnd) text += "\r\n";
  s.ReplaceRows(row, 1, text);
}

int MiddleRow(TVornEditScreenStrings& s) {
  int row = s.Count() / 2;
  while (s.Row(row).size() < 20) ++row;
  return row;
}

// Time per keystroke: each iteration types a character and deletes it again.
void BM_KeystrokeInWrappedDocument(benchmark::State& state) {
  TVornEditScreenStrings& s = *WrappedDocument().Store();
  const int row = MiddleRow(s);
  s.UndoObj().ClearSavedMarks();
  for (auto _ : state) {
    TypeInRow(s, row, false);
    TypeInRow(s, row, true);
  }
  state.counters["rows"] = s.Count();
  state.counters["per_keystroke"] =
      benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  s.UndoObj().ClearAll();
}
BENCHMARK(BM_KeystrokeInWrappedDocument)->Unit(benchmark::kMicrosecond);

// Undo of a keystroke in a document modified since its last save (the usual case); with
// atSaved the undo returns to the saved state and clears every row's modified mark.
void BM_UndoKeystroke(benchmark::State& state) {
  TVornEditScreenStrings& s = *WrappedDocument().Store();
  const int row = MiddleRow(s);
  const bool atSaved = state.range(0) != 0;
  if (atSaved)
    s.UndoObj().MarkSaved();
  else
    s.UndoObj().ClearSavedMarks();
  for (auto _ : state) {
    state.PauseTiming();
    TypeInRow(s, row, false);
    state.ResumeTiming();
    s.UndoEdit();
  }
  s.UndoObj().ClearAll();
}
BENCHMARK(BM_UndoKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Redo of a keystroke; with atSaved the document was saved just after the keystroke, so the
// redo returns to the saved state and clears the modified marks.
void BM_RedoKeystroke(benchmark::State& state) {
  TVornEditScreenStrings& s = *WrappedDocument().Store();
  const int row = MiddleRow(s);
  const bool atSaved = state.range(0) != 0;
  s.UndoObj().ClearSavedMarks();
  for (auto _ : state) {
    state.PauseTiming();
    TypeInRow(s, row, false);
    if (atSaved) s.UndoObj().MarkSaved();
    s.UndoEdit();
    state.ResumeTiming();
    s.RedoEdit();
    state.PauseTiming();
    TypeInRow(s, row, true);  // keep the line from growing
    state.ResumeTiming();
  }
  s.UndoObj().ClearAll();
}
BENCHMARK(BM_RedoKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Deleting 100,000 rows of whole lines and timing the undo that puts them back.
void BM_UndoDeletionOf100kRows(benchmark::State& state) {
  TVornEditHeadlessView& view = WrappedDocument();
  TVornEditScreenStrings& s = *view.Store();
  const int first = s.FirstRowOfLine(s.Count() / 3);
  const int last = s.LastRowOfLine(first + 100000 - 1);
  s.UndoObj().ClearSavedMarks();
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
