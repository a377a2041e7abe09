// The control's search on a 100 MB Shift_JIS document beside memmem and raw Oniguruma over the
// same bytes: find down without a match, replace all of a million matches and its undo, how
// soon the progress window's stop button ends a replace all (a multi-line pattern's too), find
// up along a 1 MB line of 10,000 adjacent matches, and the bracket search over a million lines
// of a C-like file type.
// Runs offscreen (the progress window is a real one).
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <oniguruma.h>

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "QtBenchMain.h"
#include "SjisCorpus.h"
#include "base/ByteBuffer.h"
#include "dialogs/FindExecForm.h"
#include "document/DocumentJournal.h"
#include "document/VornDocument.h"
#include "editcore/EditCore.h"
#include "layout/StoreWrap.h"
#include "store/FixedGeometry.h"
#include "syntax/EditParserOptions.h"
#include "syntax/EditParserStore.h"
#include "textfile/JConvStrList.h"

namespace vorn {
namespace {

constexpr std::size_t kCorpusBytes = 100u << 20;

const std::string& Corpus() {
  static const std::string text = TCorpusGenerator().Generate(kCorpusBytes);
  return text;
}

void Binding() {
  static const bool loaded = LoadRegexpBinding(VORN_BIN_DIR "/libVornRegexp.so").empty();
  if (!loaded) std::abort();
}

// A focused core on a window's worth of rows, and the find condition the benches set on it.
struct TBenchCore {
  TFixedGeometry geometry;
  std::unique_ptr<TVornEditCore> core;

  void Attach(const std::shared_ptr<TVornEditScreenStrings>& store) {
    geometry.Rows = geometry.Screen = 60;
    geometry.Cols = 160;
    core = std::make_unique<TVornEditCore>(store, geometry);
    core->SetFocused(true);
  }
  void Condition(const std::string& pattern, bool regex) {
    TVornEditKeyword& c = core->FindCondition();
    c.SetPattern(pattern);
    c.SetPlainText(!regex);
    c.SetIgnoreCase(false);
    c.Reset();
  }
};

struct TDocument : TBenchCore {
  std::shared_ptr<TVornEditScreenStrings> store = NewWrappedStore();

  // loaded: the text comes in as a file does, its rows reading the file's bytes; otherwise
  // every row owns a copy, as after pasting the whole text.
  explicit TDocument(const std::string& text, bool loaded = false) {
    if (loaded)
      store->LoadFileImage(TByteBuffer(std::string(text)));
    else
      store->ReplaceRows(0, 0, text);
    store->UndoObj().ClearAll();
    Attach(store);
  }
};

// The text read from a file, as the window reads one, with the journal of its unsaved edits
// beside it: the window's journal follows every edit, a replace all's too.
struct TJournalledDocument : TBenchCore {
  TVornDocument doc;
  std::string folder;
  std::unique_ptr<TDocumentJournal> journal;

  TJournalledDocument(const std::string& text, bool) {
    char name[] = "/tmp/vorn-find-bench-XXXXXX";
    if (!mkdtemp(name)) std::abort();
    folder = name;
    const std::string file = folder + "/text.txt";
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) std::abort();
    TDocumentFileSettings settings;
    ReadDocumentFile(file, settings, doc.Lines());
    doc.FileSettings() = settings;
    doc.SetFileName(file);
    doc.TakeStamp();
    doc.MarkSaved();
    doc.Store().UndoObj().ClearAll();
    journal = std::make_unique<TDocumentJournal>(doc, folder + "/journal/", "bench");
    Attach(doc.SharedStore());
  }
  ~TJournalledDocument() {
    core.reset();
    journal.reset();
    std::filesystem::remove_all(folder);
  }
};

TDocument& CorpusDocument() {
  Binding();
  static TDocument* doc = new TDocument(Corpus(), true);
  return *doc;
}

TDocument& PastedCorpusDocument() {
  Binding();
  static TDocument* doc = new TDocument(Corpus());
  return *doc;
}

double Seconds(const std::function<void()>& f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

long PeakRssBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

// --- find down without a match ---------------------------------------------------------------------

void BM_FindDownPlainNoMatch(benchmark::State& state) {
  TDocument& doc = CorpusDocument();
  doc.Condition("zqx#never", false);
  for (auto _ : state) {
    doc.core->SetCaretPos(0, 0);
    benchmark::DoNotOptimize(doc.core->FindDown());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(Corpus().size()));
}
BENCHMARK(BM_FindDownPlainNoMatch)->Unit(benchmark::kMillisecond);

void BM_MemmemSameBytes(benchmark::State& state) {
  const std::string& text = Corpus();
  const std::string needle = "zqx#never";
  for (auto _ : state) benchmark::DoNotOptimize(memmem(text.data(), text.size(), needle.data(), needle.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_MemmemSameBytes)->Unit(benchmark::kMillisecond);

constexpr const char* kNoMatchRegex = "zq[0-9]+x";

void BM_FindDownRegexNoMatch(benchmark::State& state) {
  TDocument& doc = CorpusDocument();
  doc.Condition(kNoMatchRegex, true);
  for (auto _ : state) {
    doc.core->SetCaretPos(0, 0);
    benchmark::DoNotOptimize(doc.core->FindDown());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(Corpus().size()));
}
BENCHMARK(BM_FindDownRegexNoMatch)->Unit(benchmark::kMillisecond);

// The same text with every row owning its bytes: scanned through copies of about 1 MB.
void BM_FindDownRegexNoMatchPastedText(benchmark::State& state) {
  TDocument& doc = PastedCorpusDocument();
  doc.Condition(kNoMatchRegex, true);
  for (auto _ : state) {
    doc.core->SetCaretPos(0, 0);
    benchmark::DoNotOptimize(doc.core->FindDown());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(Corpus().size()));
}
BENCHMARK(BM_FindDownRegexNoMatchPastedText)->Unit(benchmark::kMillisecond);

void BM_RawOnigSameBytes(benchmark::State& state) {
  CorpusDocument();  // the module sets Oniguruma up as in the editor
  const std::string& text = Corpus();
  OnigRegex regex = nullptr;
  OnigErrorInfo info;
  const auto* pat = reinterpret_cast<const OnigUChar*>(kNoMatchRegex);
  if (onig_new(&regex, pat, pat + std::strlen(kNoMatchRegex), ONIG_OPTION_WORD_IS_ASCII, ONIG_ENCODING_SJIS,
               ONIG_SYNTAX_PERL, &info) != ONIG_NORMAL) {
    state.SkipWithError("pattern does not compile");
    return;
  }
  OnigRegion* region = onig_region_new();
  const auto* b = reinterpret_cast<const OnigUChar*>(text.data());
  const auto* e = b + text.size();
  for (auto _ : state) benchmark::DoNotOptimize(onig_search(regex, b, e, b, e, region, ONIG_OPTION_NONE));
  onig_region_free(region, 1);
  onig_free(regex);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_RawOnigSameBytes)->Unit(benchmark::kMillisecond);

// --- replace all of a million matches --------------------------------------------------------------

// 100 MB of corpus lines, a million of them with one "MATCH" in them.
std::string MatchText() {
  const std::string& corpus = Corpus();
  std::string text;
  text.reserve(corpus.size() + (8u << 20));
  std::size_t start = 0;
  int matches = 0;
  while (start < corpus.size()) {
    std::size_t end = corpus.find("\r\n", start);
    if (end == std::string::npos) end = corpus.size();
    text.append(corpus, start, end - start);
    if (matches < 1000000) {
      text += " MATCH";
      ++matches;
    }
    text += "\r\n";
    start = end + 2;
  }
  return text;
}

void ReplaceAllMillionMatches(benchmark::State& state, const std::string& pattern, bool regex,
                              const std::string& replacement) {
  Binding();
  const std::string text = MatchText();
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<TDocument>(text);
    doc->Condition(pattern, regex);
    doc->core->FindCondition().SetReplaceText(replacement);
    doc->core->FindCondition().SetReplaceMode(true);
    doc->core->FindCondition().Reset();
    const long rssBefore = PeakRssBytes();
    state.ResumeTiming();
    const int made = doc->core->ReplaceAll();
    state.PauseTiming();
    state.counters["replaced"] = made;
    state.counters["peak_rss_growth_per_text"] =
        static_cast<double>(PeakRssBytes() - rssBefore) / static_cast<double>(text.size());
    state.counters["undo_s"] = Seconds([&] { doc->core->Undo(); });
    doc.reset();
    state.ResumeTiming();
  }
}
void BM_ReplaceAllMillionMatches(benchmark::State& state) { ReplaceAllMillionMatches(state, "MATCH", false, "HIT!"); }
// Across line ends: the whole text in one piece, written while it is searched.
void BM_ReplaceAllMultiLineMillionMatches(benchmark::State& state) {
  ReplaceAllMillionMatches(state, "H\\n", true, "HIT!\\n");
}
BENCHMARK(BM_ReplaceAllMillionMatches)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReplaceAllMultiLineMillionMatches)->Unit(benchmark::kMillisecond)->Iterations(1);

// --- stopping a replace all ----------------------------------------------------------------------------

// The corpus lines with "MATCH" on every `every`th of them.
std::string SparseMatchText(int every) {
  const std::string& corpus = Corpus();
  std::string text;
  text.reserve(corpus.size() + (1u << 20));
  std::size_t start = 0;
  for (int line = 0; start < corpus.size(); ++line) {
    std::size_t end = corpus.find("\r\n", start);
    if (end == std::string::npos) end = corpus.size();
    text.append(corpus, start, end - start);
    if (line % every == 0) text += " MATCH";
    text += "\r\n";
    start = end + 2;
  }
  return text;
}

// From the stop button's click reaching the window's queue to ReplaceAll returning, with the
// run in full swing: the window only sees the click when the replace lets it breathe.
template <class Document = TDocument>
void ReplaceAllCancelLatency(benchmark::State& state, const std::string& text, const std::string& pattern = "MATCH",
                             bool regex = false, int clickAfterMs = 300, const std::string& replacement = "HIT!") {
  Binding();
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<Document>(text, true);
    state.ResumeTiming();
    doc->Condition(pattern, regex);
    doc->core->FindCondition().SetReplaceText(replacement);
    doc->core->FindCondition().SetReplaceMode(true);
    doc->core->FindCondition().Reset();
    TFindExecForm form;
    form.SetTotalLength(static_cast<long long>(text.size()));
    std::atomic<std::int64_t> clickedAt{0};
    std::thread user([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(clickAfterMs));
      clickedAt = std::chrono::steady_clock::now().time_since_epoch().count();
      QMetaObject::invokeMethod(form.StopButton(), "click", Qt::QueuedConnection);
    });
    const int made = doc->core->ReplaceAll(0, [&form](int kind, int count, int position) {
      return form.Progress(kind, count, position);
    });
    const auto end = std::chrono::steady_clock::now().time_since_epoch().count();
    user.join();
    const double latency = std::chrono::duration<double>(std::chrono::steady_clock::duration(end - clickedAt)).count();
    state.SetIterationTime(latency);
    state.counters["replaced"] = made;
    state.counters["cancelled"] = form.Cancelled() ? 1 : 0;
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
}
void BM_ReplaceAllCancelLatencyMillionMatches(benchmark::State& state) { ReplaceAllCancelLatency(state, MatchText()); }
void BM_ReplaceAllCancelLatencySparseMatches(benchmark::State& state) {
  // Only the lines with a match are written, so the whole run takes about 200 ms.
  ReplaceAllCancelLatency(state, SparseMatchText(3000), "MATCH", false, 80);
}
// A pattern across a line end sees the whole text at once, and here finds three matches in it.
void BM_ReplaceAllCancelLatencyMultiLinePattern(benchmark::State& state) {
  ReplaceAllCancelLatency(state, SparseMatchText(300000), "MATCH\\n", true);
}
// The same across line ends with a match on each of the first million lines, each line kept:
// what was replaced before the stop is written back after it.
void BM_ReplaceAllCancelLatencyMultiLineManyMatches(benchmark::State& state) {
  ReplaceAllCancelLatency(state, MatchText(), "H\\n", true, 450, "HIT!\\n");
}
// The same two with the journal the window keeps: it takes the writes as they are made.
void BM_ReplaceAllCancelLatencyMillionMatchesJournalled(benchmark::State& state) {
  ReplaceAllCancelLatency<TJournalledDocument>(state, MatchText());
}
void BM_ReplaceAllCancelLatencyMultiLineManyMatchesJournalled(benchmark::State& state) {
  ReplaceAllCancelLatency<TJournalledDocument>(state, MatchText(), "H\\n", true, 450, "HIT!\\n");
}
BENCHMARK(BM_ReplaceAllCancelLatencyMillionMatches)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ReplaceAllCancelLatencySparseMatches)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ReplaceAllCancelLatencyMultiLinePattern)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ReplaceAllCancelLatencyMultiLineManyMatches)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ReplaceAllCancelLatencyMillionMatchesJournalled)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ReplaceAllCancelLatencyMultiLineManyMatchesJournalled)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

// --- find up along a long line ------------------------------------------------------------------------

void FindUpAlongLine(benchmark::State& state, bool regex) {
  Binding();
  // 10,000 matches of 100 bytes each, one after another: a 1 MB line.
  std::string unit = "\x83\x41M" + std::string(97, 'a');
  std::string line;
  for (int i = 0; i < 10000; ++i) line += unit;
  TDocument doc(line);
  // Wrapped, as such a line is read: unwrapped, the caret stops at the control's column limit
  // and most of the line would be out of reach.
  WrapOptionOf(*doc.store).SetWrapByte(160);
  doc.store->SetWordWrap(true);
  doc.Condition(regex ? "\x83\x41Ma+" : unit, regex);
  int found = 0;
  for (auto _ : state) {
    doc.core->MoveFileEnd();
    found = 0;
    while (doc.core->FindUp() & TVornEditCore::frFound) ++found;
  }
  state.counters["matches"] = found;
}
void BM_FindUpTenThousandAdjacentMatches(benchmark::State& state) { FindUpAlongLine(state, false); }
void BM_FindUpTenThousandAdjacentRegexMatches(benchmark::State& state) { FindUpAlongLine(state, true); }
BENCHMARK(BM_FindUpTenThousandAdjacentMatches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindUpTenThousandAdjacentRegexMatches)->Unit(benchmark::kMillisecond);

// --- bracket search -------------------------------------------------------------------------------------

// A C-like file type: "/*" "*/" regions, "//" comments and quotations, so the search reads the
// tokens as the pane colours them. The lines hold brackets in strings and comments that must
// not count, and one region spans lines.
std::unique_ptr<TVornEditViewInfo> CLikeView() {
  auto view = std::make_unique<TVornEditViewInfo>(RegexpBinding());
  view->SetQuotation("\"");
  TVornEditBracketItem& b = view->Brackets().Add();
  b.LeftBracket().SetPlainText(true);
  b.LeftBracket().SetPattern("/*");
  b.RightBracket().SetPlainText(true);
  b.RightBracket().SetPattern("*/");
  view->Commenter1().SetPlainText(true);
  view->Commenter1().SetPattern("//");
  return view;
}

void BM_SearchBracketMillionLines(benchmark::State& state) {
  Binding();
  std::string text = "begin (\r\n";
  for (int i = 0; i < 1000000; ++i) {
    switch (i % 8) {
      case 5: text += "  s = \")\"; // )\r\n"; break;
      case 6: text += "  /* ) (\r\n"; break;
      case 7: text += "  ) */ z;\r\n"; break;
      default: text += "  x := y + 1;\r\n"; break;
    }
  }
  text += ") end\r\n";
  const std::unique_ptr<TVornEditViewInfo> view = CLikeView();
  TDocument doc(text);
  doc.store->SetBrackets(std::make_unique<TParserBracketStateUpdater>(*view));
  doc.store->RecomputeBracketStates();
  doc.core->SetViewInfo(view.get());
  for (auto _ : state) {
    doc.core->SetCaretPos(0, 6);
    benchmark::DoNotOptimize(doc.core->SearchBracket());
  }
  state.counters["row"] = doc.core->CaretRow();
}
BENCHMARK(BM_SearchBracketMillionLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
