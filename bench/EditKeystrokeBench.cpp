// The editor core's keystrokes beside the store's bare replace in the same run: typing and
// BackSpace in the middle of a wrapped 2 M-row document, and in a 50 MB row without a break as
// far right as the caret reaches.
#include "WrapBenchCorpus.h"
#include "base/ByteBuffer.h"
#include "editcore/EditCore.h"
#include "store/FixedGeometry.h"
#include "layout/StoreWrap.h"
#include "store/Undo.h"
#include "store/VornEditStrings.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace vorn {
namespace {

struct TBenchDocument {
  TFixedGeometry geometry;
  std::shared_ptr<TVornEditScreenStrings> store = NewWrappedStore();
  std::unique_ptr<TVornEditCore> core;

  TBenchDocument(std::string text, int wrap) {
    geometry.Rows = 60;
    geometry.Cols = 160;
    core = std::make_unique<TVornEditCore>(store, geometry);
    if (wrap > 0) {
      WrapOptionOf(*store).SetWrapByte(wrap);
      store->SetWordWrap(true);
    }
    store->LoadText(TByteBuffer(std::move(text)));
    core->SetFocused(true);
  }
  // The middle row of the text, one long enough to type into.
  int MiddleRow() const {
    int row = store->Count() / 2;
    while (store->Row(row).size() < 20) ++row;
    return row;
  }
};

TBenchDocument& Wrapped() {
  static TBenchDocument doc(bench::MakeCorpus(100u << 20), 80);
  return doc;
}

TBenchDocument& OneLongRow() {
  static TBenchDocument doc(std::string(50u << 20, 'a'), 0);
  return doc;
}

// Baseline: what the store alone spends on the same two edits of the same row.
void StoreKeystrokes(benchmark::State& state, TBenchDocument& doc, int row, std::size_t at) {
  TVornEditScreenStrings& s = *doc.store;
  for (auto _ : state) {
    std::string text(s.Row(row));
    text.insert(at, 1, 'x');
    if (s.RowEnd(row) == reLineEnd) text += "\r\n";
    s.ReplaceRows(row, 1, text);
    text.erase(at, 1);
    s.ReplaceRows(row, 1, text);
  }
  s.UndoObj().ClearAll();
  state.counters["per_keystroke"] =
      benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void CoreKeystrokes(benchmark::State& state, TBenchDocument& doc, int row, int col) {
  TVornEditCore& core = *doc.core;
  core.SetCaretPos(row, col);
  for (auto _ : state) {
    core.TypeText("x");
    core.BackSpace();
    benchmark::DoNotOptimize(core.TakeDirty());
  }
  doc.store->UndoObj().ClearAll();
  state.counters["per_keystroke"] =
      benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Baseline_StoreKeystrokeInWrappedDocument(benchmark::State& state) {
  TBenchDocument& doc = Wrapped();
  const int row = doc.MiddleRow();
  StoreKeystrokes(state, doc, row, doc.store->Row(row).size() / 2 & ~std::size_t{1});
}
BENCHMARK(BM_Baseline_StoreKeystrokeInWrappedDocument)->Unit(benchmark::kMicrosecond);

void BM_CoreKeystrokeInWrappedDocument(benchmark::State& state) {
  TBenchDocument& doc = Wrapped();
  const int row = doc.MiddleRow();
  CoreKeystrokes(state, doc, row, static_cast<int>(doc.store->Row(row).size() / 2));
}
BENCHMARK(BM_CoreKeystrokeInWrappedDocument)->Unit(benchmark::kMicrosecond);

constexpr int kFarColumn = MaxColumns - 1;

void BM_Baseline_StoreKeystrokeIn50MBRow(benchmark::State& state) {
  StoreKeystrokes(state, OneLongRow(), 0, kFarColumn);
}
BENCHMARK(BM_Baseline_StoreKeystrokeIn50MBRow)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CoreKeystrokeIn50MBRow(benchmark::State& state) {
  CoreKeystrokes(state, OneLongRow(), 0, kFarColumn);
}
BENCHMARK(BM_CoreKeystrokeIn50MBRow)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace vorn
