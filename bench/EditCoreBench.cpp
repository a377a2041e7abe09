// The editor core's navigation, offsets and typing on a 100 MB Shift_JIS document loaded with
// the file reader, and on a 50 MB row without a line break; no window, no painting.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "SjisCorpus.h"
#include "editcore/EditCore.h"
#include "layout/StoreWrap.h"
#include "store/FixedGeometry.h"
#include "store/HeadlessView.h"
#include "store/Undo.h"
#include "textfile/JConvStrList.h"

namespace vorn {
namespace {

constexpr std::size_t kCorpusBytes = 100u << 20;
constexpr std::size_t kLongRowBytes = 50u << 20;

std::string TempPath(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
}

const std::string& CorpusFile() {
  static const std::string path = [] {
    std::string p = TempPath("vorn_editcore_bench_corpus.txt");
    WriteFile(p, TCorpusGenerator().Generate(kCorpusBytes));
    return p;
  }();
  return path;
}

// The corpus with its line breaks taken out, so that one row holds 50 MB; a tab every
// tabEvery bytes (0: none).
std::string LongRowFile(int tabEvery) {
  std::string text = TCorpusGenerator().Generate(kLongRowBytes);
  std::string row;
  row.reserve(text.size());
  for (char c : text)
    if (c != '\r' && c != '\n') row += c;
  if (tabEvery > 0)
    for (std::size_t i = static_cast<std::size_t>(tabEvery); i < row.size(); i += static_cast<std::size_t>(tabEvery))
      if (row[i] == ' ') row[i] = '\t';
  std::string path = TempPath(tabEvery > 0 ? "vorn_editcore_bench_longrow_tabs.txt" : "vorn_editcore_bench_longrow.txt");
  WriteFile(path, row);
  return path;
}

// A document as the window holds it: read by the reader, shown by a core of 60 x 160 cells
// that has the focus.
struct TDocument {
  TFixedGeometry geometry;
  std::shared_ptr<TVornEditScreenStrings> store;
  std::unique_ptr<TVornEditCore> core;

  TDocument(const std::string& file, int wrapByte) {
    geometry.Rows = geometry.Screen = 60;
    geometry.Cols = 160;
    auto reader = std::make_unique<TVornEditHeadlessView>(NewWrappedStore());
    store = reader->SharedStore();
    if (wrapByte > 0) {
      WrapOptionOf(*store).SetWrapByte(wrapByte);
      store->SetWordWrap(true);
    }
    TDocumentFileSettings settings;
    ReadDocumentFile(file, settings, reader->Lines());
    reader.reset();
    core = std::make_unique<TVornEditCore>(store, geometry);
    core->SetFocused(true);
  }
};

TDocument& Plain() {
  static TDocument* doc = new TDocument(CorpusFile(), 0);
  return *doc;
}

TDocument& Wrapped() {
  static TDocument* doc = new TDocument(CorpusFile(), 80);
  return *doc;
}

template <class F>
double Seconds(F&& f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// What the status bar asks after every move: the caret's line and column.
void StatusBarQuery(const TVornEditCore& core) {
  benchmark::DoNotOptimize(core.RowToLine(core.CaretRow()));
  benchmark::DoNotOptimize(core.TopLineNo());
}

void BM_PageDown(benchmark::State& state) {
  TVornEditCore& core = *Plain().core;
  core.GoToPosition(core.RowCount() / 2, 0);
  for (auto _ : state) {
    core.NavigationKey(nkPageDown, false, false);
    StatusBarQuery(core);
  }
  state.counters["rows"] = core.RowCount();
}

void BM_CtrlEnd(benchmark::State& state) {
  TVornEditCore& core = *Plain().core;
  for (auto _ : state) {
    core.NavigationKey(nkHome, false, true);
    state.SetIterationTime(Seconds([&] {
      core.NavigationKey(nkEnd, false, true);
      StatusBarQuery(core);
    }));
  }
}

// Alternates between line 10 and line 1,000,000 and times the far jump.
void JumpToLine(benchmark::State& state, TDocument& doc) {
  TVornEditCore& core = *doc.core;
  // The sums, once after loading (counted apart).
  state.counters["first_us"] = 1e6 * Seconds([&] { core.GoToPosition(core.LineToRow(999999), 0); });
  for (auto _ : state) {
    core.GoToPosition(core.LineToRow(9), 0);
    state.SetIterationTime(Seconds([&] {
      core.GoToPosition(core.LineToRow(999999), 0);
      StatusBarQuery(core);
    }));
  }
  state.counters["row"] = core.CaretRow();
}

void BM_JumpToLine1000000(benchmark::State& state) { JumpToLine(state, Plain()); }
void BM_JumpToLine1000000Wrapped(benchmark::State& state) { JumpToLine(state, Wrapped()); }

void BM_GetCaretOffsetDeep(benchmark::State& state) {
  TVornEditCore& core = *Plain().core;
  core.GoToPosition(core.RowCount() - 100, 10);
  // The first deep question after loading adds up every block once (counted apart); the
  // timed ones follow.
  state.counters["first_us"] = 1e6 * Seconds([&] { benchmark::DoNotOptimize(core.GetCaretOffset()); });
  for (auto _ : state) benchmark::DoNotOptimize(core.GetCaretOffset());
}

void BM_SetCaretOffsetDeep(benchmark::State& state) {
  TVornEditCore& core = *Plain().core;
  const int end = core.TextLength();
  int offset = end - 5000000;
  for (auto _ : state) {
    core.SetCaretOffset(offset);
    offset = offset + 7919 < end ? offset + 7919 : end - 5000000;
  }
}

// An edit in the middle forgets the offset sums below it; the next deep offset pays for that.
void BM_GetCaretOffsetDeepAfterMiddleEdit(benchmark::State& state) {
  TDocument& doc = Plain();
  TVornEditCore& core = *doc.core;
  const int middle = core.RowCount() / 2;
  const std::string original = doc.store->Strings(middle) + "\r\n";
  const std::string typed = doc.store->Strings(middle) + "x\r\n";
  bool flip = false;
  for (auto _ : state) {
    doc.store->ReplaceRows(middle, 1, (flip = !flip) ? typed : original);
    core.GoToPosition(core.RowCount() - 100, 10);
    state.SetIterationTime(Seconds([&] { benchmark::DoNotOptimize(core.GetCaretOffset()); }));
  }
  doc.store->UndoObj().ClearAll();
}

// One character typed into the middle row of the wrapped document and taken out again, with
// what the core does around the edit: settling, repaint bookkeeping, caret and status bar.
void BM_TypeCharMiddleWrapped(benchmark::State& state) {
  TDocument& doc = Wrapped();
  TVornEditCore& core = *doc.core;
  const int row = core.RowCount() / 2;
  core.GoToPosition(row, 0);
  const std::string text = doc.store->Strings(row);
  const std::string end = doc.store->RowEnd(row) == reLineEnd ? "\r\n" : "";
  const std::string original = text + end;
  const std::string typed = "x" + text + end;
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    doc.store->ReplaceRows(row, 1, flip ? typed : original);
    core.SetCaretPos(row, flip ? 1 : 0);
    StatusBarQuery(core);
    benchmark::DoNotOptimize(core.TakeDirty());
  }
  doc.store->UndoObj().ClearAll();
  state.counters["rows"] = core.RowCount();
}

// --- a 50 MB row without a line break ----------------------------------------------------------

void FirstScreenOfLongRow(benchmark::State& state, int tabEvery) {
  const std::string file = LongRowFile(tabEvery);
  for (auto _ : state) {
    auto reader = std::make_unique<TVornEditHeadlessView>(NewWrappedStore());
    TDocumentFileSettings settings;
    ReadDocumentFile(file, settings, reader->Lines());
    TFixedGeometry geometry;
    geometry.Rows = geometry.Screen = 60;
    geometry.Cols = 160;
    // The core part of showing it: a core on the store, the caret placed, the scroll range.
    state.SetIterationTime(Seconds([&] {
      TVornEditCore core(reader->SharedStore(), geometry);
      core.SetFocused(true);
      core.SetCaretPos(0, 0);
      benchmark::DoNotOptimize(core.RowWidth(0));
      StatusBarQuery(core);
    }));
  }
}

void BM_LongRowFirstScreen(benchmark::State& state) { FirstScreenOfLongRow(state, 0); }
void BM_LongRowWithTabsFirstScreen(benchmark::State& state) { FirstScreenOfLongRow(state, 997); }

TDocument& LongRow(int tabEvery) {
  static TDocument* plain = nullptr;
  static TDocument* tabs = nullptr;
  TDocument*& doc = tabEvery > 0 ? tabs : plain;
  if (!doc) doc = new TDocument(LongRowFile(tabEvery), 0);
  return *doc;
}

void LongRowEnd(benchmark::State& state, int tabEvery) {
  TVornEditCore& core = *LongRow(tabEvery).core;
  for (auto _ : state) {
    core.NavigationKey(nkHome, false, false);
    state.SetIterationTime(Seconds([&] {
      core.NavigationKey(nkEnd, false, false);
      StatusBarQuery(core);
    }));
  }
  state.counters["col"] = core.CaretCol();
}

void BM_LongRowEnd(benchmark::State& state) { LongRowEnd(state, 0); }
void BM_LongRowWithTabsEnd(benchmark::State& state) { LongRowEnd(state, 997); }

// Left and Right in turn at the end of the row.
void BM_LongRowMoveAtEnd(benchmark::State& state) {
  TVornEditCore& core = *LongRow(0).core;
  core.NavigationKey(nkEnd, false, false);
  bool left = false;
  for (auto _ : state) {
    core.NavigationKey((left = !left) ? nkLeft : nkRight, false, false);
    StatusBarQuery(core);
  }
}

// Types one character at the end through ReplaceRows of the whole row, the way the editing
// code typed before it edited rows in place, then the caret after it. Undo records of 50 MB each are dropped between rounds.
void BM_LongRowTypeAtEnd(benchmark::State& state) {
  TDocument& doc = LongRow(0);
  TVornEditCore& core = *doc.core;
  for (auto _ : state) {
    const double seconds = Seconds([&] {
      const std::string_view row = doc.store->Row(0);
      std::string text;
      text.reserve(row.size() + 1);
      text.append(row).append(1, 'x');
      doc.store->ReplaceRows(0, 1, text);
      core.SetCaretPos(0, core.RowWidth(0));
      StatusBarQuery(core);
      benchmark::DoNotOptimize(core.TakeDirty());
    });
    state.SetIterationTime(seconds);
    doc.store->UndoObj().ClearAll();
  }
  state.counters["col"] = core.CaretCol();
}

// Types one character at the end through the core, as a key press does: TypeText, then the
// status bar's questions and the repaint bookkeeping.
void BM_LongRowTypeTextAtEnd(benchmark::State& state) {
  TDocument& doc = LongRow(0);
  TVornEditCore& core = *doc.core;
  core.NavigationKey(nkEnd, false, false);
  for (auto _ : state) {
    state.SetIterationTime(Seconds([&] {
      core.TypeText("x");
      StatusBarQuery(core);
      benchmark::DoNotOptimize(core.TakeDirty());
    }));
    if (state.iterations() % 16 == 0) doc.store->UndoObj().ClearAll();
  }
  doc.store->UndoObj().ClearAll();
  state.counters["col"] = core.CaretCol();
}

// The same keystroke at the row's true end through the store's in-row edit, which is what the
// core's typing uses: the row grows into its spare room.
void BM_LongRowInRowEditAtEnd(benchmark::State& state) {
  TDocument& doc = LongRow(0);
  TVornEditCore& core = *doc.core;
  for (auto _ : state) {
    state.SetIterationTime(Seconds([&] {
      doc.store->ReplaceInRow(0, doc.store->Row(0).size(), 0, "x", core.Caret());
      core.SetCaretPos(0, core.RowWidth(0));
      StatusBarQuery(core);
      benchmark::DoNotOptimize(core.TakeDirty());
    }));
  }
  doc.store->UndoObj().ClearAll();
}

// The undo history that state.range(0) keystrokes at the end of the long row leave behind.
void BM_LongRowUndoBytes(benchmark::State& state) {
  TDocument& doc = LongRow(0);
  TVornEditCore& core = *doc.core;
  TVornEditUndoObj& undo = doc.store->UndoObj();
  undo.SetLimit(256);
  const auto keys = static_cast<int>(state.range(0));
  double bytes = 0;
  for (auto _ : state) {
    undo.ClearAll();
    core.NavigationKey(nkEnd, false, false);
    for (int i = 0; i < keys; ++i) core.TypeText("x");
    bytes = 0;
    for (int i = 0; i < undo.UndoList().Count(); ++i) bytes += static_cast<double>(undo.UndoList().Items(i).OldText.size());
    undo.ClearAll();
  }
  state.counters["undo_MB"] = bytes / (1 << 20);
  state.counters["undo_bytes_per_key"] = bytes / keys;
}

BENCHMARK(BM_PageDown)->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_CtrlEnd)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_JumpToLine1000000)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_JumpToLine1000000Wrapped)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_GetCaretOffsetDeep)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_SetCaretOffsetDeep)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_GetCaretOffsetDeepAfterMiddleEdit)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_TypeCharMiddleWrapped)->Unit(benchmark::kMicrosecond)->Iterations(400);
BENCHMARK(BM_LongRowFirstScreen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_LongRowWithTabsFirstScreen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_LongRowEnd)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_LongRowWithTabsEnd)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_LongRowMoveAtEnd)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LongRowTypeAtEnd)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_LongRowInRowEditAtEnd)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(50);
BENCHMARK(BM_LongRowTypeTextAtEnd)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(50);
BENCHMARK(BM_LongRowUndoBytes)->Unit(benchmark::kMillisecond)->Arg(4)->Arg(100)->Iterations(1);

}  // namespace
}  // namespace vorn
