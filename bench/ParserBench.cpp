// Tokenizer and bracket-state benchmarks on generated Shift_JIS documents, beside a memchr baseline.
#include "regex/BregexpUtil.h"
#include "syntax/EditParserStore.h"
#include "layout/StoreWrap.h"
#include "store/HeadlessView.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace vorn {
namespace {

const char* const kJapanese[] = {
    "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\x8f\xcd\x82\xc5\x82\xb7\x81\x42",
    "\x83\x4a\x83\x5e\x83\x4a\x83\x69\x81\x5b\x95\x5c\x8b\x4c\x82\xc6\x81\x41\x82\xd0\x82\xe7\x82\xaa\x82\xc8\x81\x42",
    "\x91\x53\x8a\x70\x90\x94\x8e\x9a\x82\x50\x82\x51\x82\x52\x81\x43\x82\x53\x82\x54\x82\x55\x81\x44\x82\x56\x82\x57",
    "\x82\x60\x82\x61\x82\x62\x83\x41\x83\x8b\x83\x74\x83\x40\x83\x78\x83\x62\x83\x67",
    "\x94\xbc\x8a\x70\xb6\xc0\xb6\xc5\xa2\xb6\xb7\xde\xa3",
    "\x8a\xbf\x8e\x9a\x89\xbc\x96\xbc\x8c\xf0\x82\xb6\x82\xe8\x95\xb6\x82\xcc\x97\xe1\x82\xc5\x82\xb7",
    "\x81\x75\x88\xf8\x97\x70\x81\x76\x82\xc6\x81\x77\x93\xf1\x8f\x64\x88\xf8\x97\x70\x81\x78",
    "\x87\x40\x87\x41\x87\x42\x82\xcc\x8b\x40\x8e\xed\x88\xcb\x91\xb6\x95\xb6\x8e\x9a",
    "\x83\x52\x83\x81\x83\x93\x83\x67\x81\x46\x82\xb1\x82\xb1\x82\xcd\x90\xe0\x96\xbe\x82\xc5\x82\xb7",
    "\x93\x8c\x8b\x9e\x93\x73\x90\xe7\x91\xe3\x93\x63\x8b\xe6\x82\x50\x81\x7c\x82\x51\x81\x7c\x82\x52",
};
const char* const kAscii[] = {
    "int count = 0;", "for (int i = 0; i < n; ++i) {", "x = y * 2.5e-3 + z;", "return value; // done",
    "printf(\"%d items\\n\", n);", "/* a short note */ call(a, b);", "if (name == 'q') break;",
    "see http://example.jp/a?b=1", "mail: taro@example.co.jp", "    }",
};

// Lines mostly under 200 bytes: code, prose and mixed lines, with a block comment now and then.
std::string MakeDocument(std::size_t bytes, std::size_t* lineCount) {
  std::mt19937 rng(7);
  std::string doc;
  doc.reserve(bytes + 256);
  std::size_t lines = 0;
  while (doc.size() < bytes) {
    const unsigned kind = rng() % 10;
    const int pieces = 1 + static_cast<int>(rng() % 5);
    for (int i = 0; i < pieces; ++i) {
      if (kind < 4) doc += kAscii[rng() % 10];
      else if (kind < 8) doc += kJapanese[rng() % 10];
      else {
        doc += kAscii[rng() % 10];
        doc += ' ';
        doc += kJapanese[rng() % 10];
      }
      if (i + 1 < pieces) doc += ' ';
    }
    if (rng() % 50 == 0) doc += " /* open";
    if (rng() % 50 == 0) doc += " close */";
    doc += "\r\n";
    ++lines;
  }
  if (lineCount) *lineCount = lines;
  return doc;
}

const std::string& Document() {
  static const std::string doc = MakeDocument(100u << 20, nullptr);
  return doc;
}

void EnsureBinding() {
  static const bool loaded = [] { return LoadRegexpBinding("").empty(); }();
  if (!loaded) std::abort();
}

void ConfigureView(TVornEditViewInfo& view) {
  auto add = [&view](const char* left, const char* right) {
    TVornEditBracketItem& item = view.Brackets().Add();
    item.LeftBracket().SetPlainText(true);
    item.LeftBracket().SetPattern(left);
    item.RightBracket().SetPlainText(true);
    item.RightBracket().SetPattern(right);
  };
  add("/*", "*/");
  add("\"", "\"");
  view.Commenter1().SetPlainText(true);
  view.Commenter1().SetPattern("//");
  view.SetQuotation("'");
}

// Baseline: finding the line ends of the same text with memchr.
void BM_Baseline_MemchrLines(benchmark::State& state) {
  const std::string& doc = Document();
  for (auto _ : state) {
    std::size_t lines = 0;
    for (const char* p = doc.data(); (p = static_cast<const char*>(std::memchr(p, '\n', doc.data() + doc.size() - p)));
         ++p)
      ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_Baseline_MemchrLines)->Unit(benchmark::kMillisecond);

// Row by row, carrying the bracket state, as the renderer and the state walk do.
void BM_TokenizeDocument(benchmark::State& state) {
  EnsureBinding();
  TVornEditViewInfo view;
  ConfigureView(view);
  const std::string& doc = Document();
  for (auto _ : state) {
    int bracketState = -1;
    std::size_t tokens = 0;
    const char* p = doc.data();
    const char* end = p + doc.size();
    while (p < end) {
      const char* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
      const char* rowEnd = lf ? lf - 1 : end;
      TVornEditParser parser(&view, std::string_view(p, rowEnd - p), false, bracketState);
      while (parser.Kind() != tkEndOfLine) {
        ++tokens;
        parser.NextToken();
      }
      bracketState = parser.State();
      p = lf ? lf + 1 : end;
    }
    benchmark::DoNotOptimize(tokens);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_TokenizeDocument)->Unit(benchmark::kMillisecond);

// A 2 M-row document in the row store with a block-comment bracket.
struct TBindingLoaded {
  TBindingLoaded() { EnsureBinding(); }
};

struct TStoreFixture : TBindingLoaded {
  TVornEditViewInfo view;
  TVornEditHeadlessView editor{NewWrappedStore()};
  TStoreFixture() {
    // A 1024-pixel screen of 16-pixel rows, as the window has.
    editor.FixedGeometry().Screen = 64;
    TVornEditBracketItem& item = view.Brackets().Add();
    item.LeftBracket().SetPlainText(true);
    item.LeftBracket().SetPattern("/*");
    item.RightBracket().SetPlainText(true);
    item.RightBracket().SetPattern("*/");
    editor.Store()->SetBrackets(std::make_unique<TParserBracketStateUpdater>(view));
    std::string text;
    std::mt19937 rng(3);
    for (int i = 0; i < 2000000; ++i) {
      text += (rng() % 2) ? kAscii[rng() % 4] : kJapanese[rng() % 10];
      text += "\r\n";
    }
    editor.Lines().SetTextStr(text);
  }
};

TStoreFixture& Store() {
  static TStoreFixture fixture;
  return fixture;
}

void BM_RecomputeBracketStates_2MRows(benchmark::State& state) {
  TVornEditScreenStrings& store = *Store().editor.Store();
  for (auto _ : state) store.RecomputeBracketStates();
  state.counters["rows"] = store.Count();
}
BENCHMARK(BM_RecomputeBracketStates_2MRows)->Unit(benchmark::kMicrosecond);

// One keystroke that opens (then, next iteration, removes) a block comment in the first row.
void BM_KeystrokeOpensBlockComment_2MRows(benchmark::State& state) {
  TVornEditScreenStrings& store = *Store().editor.Store();
  store.RecomputeBracketStates();
  const std::string plain = store.Strings(0) + "\r\n";
  const std::string opened = "/*" + plain;
  bool open = false;
  for (auto _ : state) {
    open = !open;
    store.ReplaceRows(0, 1, open ? opened : plain);
  }
  if (open) store.ReplaceRows(0, 1, plain);
}
BENCHMARK(BM_KeystrokeOpensBlockComment_2MRows)->Unit(benchmark::kMicrosecond);

// The state walk alone after that keystroke (the row was replaced, so its state is unknown).
void BM_UpdateBracketStates_2MRows(benchmark::State& state) {
  TVornEditScreenStrings& store = *Store().editor.Store();
  store.RecomputeBracketStates();
  const std::string plain = store.Strings(0);
  const std::string opened = "/*" + plain;
  bool open = false;
  int changed = 0;
  for (auto _ : state) {
    open = !open;
    store.Put(0, open ? opened : plain);
    store.SetBracketState(0, BracketStateUnknown);
    changed += store.UpdateBracketStates(0, true);
  }
  state.counters["rows_changed"] = benchmark::Counter(changed, benchmark::Counter::kAvgIterations);
  store.Put(0, plain);  // the next run must start from the same text
}
BENCHMARK(BM_UpdateBracketStates_2MRows)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorn
