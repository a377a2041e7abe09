// Paragraph formatting, the clean-up before saving and a selection drag on large texts, each
// timed with its undo: a 10,000-line Japanese paragraph refilled, 1 M lines with trailing
// blanks cleaned, 10 MB moved within a 100 MB document.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "SjisCorpus.h"
#include "editcore/EditCore.h"
#include "layout/StoreWrap.h"
#include "regex/BregexpUtil.h"
#include "store/FixedGeometry.h"
#include "store/Undo.h"

namespace vorn {
namespace {

template <class F>
double Seconds(F&& f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

struct TDocument {
  TFixedGeometry geometry;
  std::shared_ptr<TVornEditScreenStrings> store = NewWrappedStore();
  std::unique_ptr<TVornEditCore> core;

  explicit TDocument(const std::string& text) {
    geometry.Rows = geometry.Screen = 60;
    geometry.Cols = 160;
    store->ReplaceRows(0, store->Count(), text);
    store->UndoObj().ClearAll();
    core = std::make_unique<TVornEditCore>(store, geometry);
    core->SetFocused(true);
  }
};

// Lines of 35 double-byte characters (70 columns) in a cycle of kana and kanji, with a comma
// now and then, so the kinsoku rules have work at the line ends.
std::string JapaneseParagraph(int lines) {
  std::string text;
  unsigned seed = 7;
  for (int i = 0; i < lines; ++i) {
    for (int k = 0; k < 35; ++k) {
      seed = seed * 1103515245u + 12345u;
      if (k > 0 && seed % 23 == 0) {
        text += "\x81\x41";
      } else {
        text += static_cast<char>(0x88 + (seed >> 8) % 8);
        text += static_cast<char>(0x9F + (seed >> 16) % 90);
      }
    }
    text += "\r\n";
  }
  return text;
}

void BM_RefillParagraph10kLines(benchmark::State& state) {
  if (!RegexpBinding()) LoadRegexpBinding(VORN_BIN_DIR "/libVornRegexp.so");
  TDocument doc(JapaneseParagraph(10000));
  TVornEditCore& core = *doc.core;
  core.SeikeiOption().SetWrapCount(68);  // within 6 of the lines' 70 columns: one paragraph
  core.SeikeiOption().SetInsertSpace(false);
  for (auto _ : state) {
    core.SetCaretPos(0, 0);
    state.SetIterationTime(Seconds([&] { core.Seikei(false); }));
    state.counters["rows_after"] = core.RowCount();
    state.counters["undo_steps"] = doc.store->UndoObj().UndoList().Count();
    state.counters["undo_s"] = Seconds([&] { core.Undo(); });
  }
}

void BM_CleanUpBeforeSave1MLines(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 1000000; ++i) text += "a line with trailing blanks \t  \r\n";
  TDocument doc(text);
  TVornEditCore& core = *doc.core;
  core.SaveCleanUp = {.TrimRight = true};
  for (auto _ : state) {
    state.SetIterationTime(Seconds([&] { core.CleanUpBeforeSave(); }));
    state.counters["undo_steps"] = doc.store->UndoObj().UndoList().Count();
    state.counters["undo_s"] = Seconds([&] { core.Undo(); });
  }
}

void BM_DragMove10MBIn100MB(benchmark::State& state) {
  TDocument doc(TCorpusGenerator().Generate(100u << 20));
  TVornEditCore& core = *doc.core;
  const int rows = core.RowCount();
  for (auto _ : state) {
    const TRowCol from = core.OffsetToPos(40 << 20), to = core.OffsetToPos(50 << 20);
    core.ClearSelection();
    core.SetCaretPos(from.Row, from.Col);
    core.StartSelection();
    core.SetCaretPos(to.Row, to.Col);
    core.ExtendSelection();
    state.counters["moved_bytes"] = core.GetSelLength();
    const TRowCol drop{rows - 100, 3};
    state.SetIterationTime(Seconds([&] { core.DropSelectionAt(drop, false); }));
    state.counters["undo_s"] = Seconds([&] { core.Undo(); });
  }
  state.counters["rows"] = rows;
}

BENCHMARK(BM_RefillParagraph10kLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CleanUpBeforeSave1MLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_DragMove10MBIn100MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace vorn
