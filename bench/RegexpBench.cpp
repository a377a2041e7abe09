// Regex benchmarks on a 100 MB Shift_JIS corpus: the binding's paths beside raw onig_search.
#include <benchmark/benchmark.h>
#include <oniguruma.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "regex/BregexpUtil.h"

namespace vorn {
namespace {

const char* const kWords[] = {
    "\x93\x8C\x8B\x9E",  // 東京,
    "\x93\xFA\x96\x7B\x8C\xEA",  // 日本語,
    "\x83\x65\x83\x4C\x83\x58\x83\x67",  // テキスト,
    "\x83\x47\x83\x66\x83\x42\x83\x5E",  // エディタ,
    "\x8C\x9F\x8D\xF5",  // 検索,
    "\x92\x75\x8A\xB7",  // 置換,
    "\x83\x74\x83\x40\x83\x43\x83\x8B",  // ファイル,
    "\x82\xC5\x82\xB7",  // です,
    "\x82\xDC\x82\xB7",  // ます,
    "\x81\x42",  // 。,
    "\x81\x41",  // 、,
    "\x82\xCC",  // の,
    "\x82\xCD",  // は,
    "\x82\xF0",  // を,
    "\x82\xC9",  // に,
    "\x82\xAA",  // が,
    "\x83\x4A\x83\x5E\x83\x4A\x83\x69",  // カタカナ,
    "\xB6\xC0\xB6\xC5",  // ｶﾀｶﾅ,
    "\x82\x50\x82\x51\x82\x52",  // １２３,
    "\x95\x5C\x8E\xA6",  // 表示,
    "\x83\x5C\x83\x74\x83\x67",  // ソフト,
    "\x8B\x40\x94\x5C",  // 機能,
    "\x97\x5C\x92\xE8",  // 予定,
    "\x83\x5C\x81\x5B\x83\x58",  // ソース,
    "\x95\x5C",  // 表,
    "\x90\xDD\x92\xE8",  // 設定,
    "\x95\xB6\x8E\x9A\x97\xF1",  // 文字列,
    "\x8D\x73",  // 行,
    "\x91\x53\x8A\x70",  // 全角,
    "\x94\xBC\x8A\x70",  // 半角,
    "\x82\xD0\x82\xE7\x82\xAA\x82\xC8",  // ひらがな,
    "\x8A\xBF\x8E\x9A",  // 漢字,
    "\x95\xDB\x91\xB6",  // 保存,
    "\x8A\x4A\x82\xAD",  // 開く,
    "\x95\xC2\x82\xB6\x82\xE9",  // 閉じる,
    "\x89\xFC\x8D\x73",  // 改行,
    "\x95\xD2\x8F\x57",  // 編集,
    "\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45",  // ウィンドウ,
    "\x82\xC5",  // で,
    "\x82\xB5\x82\xC4",  // して,
    "\x82\xA2\x82\xE9",  // いる,
    "\x82\xA0\x82\xE9",  // ある,
    "\x82\xB1\x82\xC6",  // こと,
    "\x82\xE0\x82\xCC",  // もの,
    "\x82\xB1\x82\xEA",  // これ,
    "\x82\xBB\x82\xEA",  // それ,
    "\x81\x75",  // 「,
    "\x81\x76",  // 」,
    "\x81\x69",  // （,
    "\x81\x6A",  // ）,
    "\x81\x5B",  // ー,
    "\x81\x60",  // ～,
    "\x93\x8C\x8B\x9E\x93\x73",  // 東京都
};

const char* const kAsciiLines[] = {
    "int main(int argc, char** argv) { return Run(argc, argv); }",
    "for (i = 0; i < count; ++i) total += values[i];",
    "The quick brown fox jumps over the lazy dog.",
    "  // TODO: handle the error path when the file cannot be opened",
    "Search and replace: 42 files, 1024 lines, 7 matches",
    "",
    "#include <stdio.h>",
    "http://example.com/index.html user@example.com",
};

// Deterministic corpus of CR LF lines, mostly under 200 bytes: about three quarters Japanese
// sentences built from a word list, the rest ASCII code and prose.
const std::string& Corpus() {
  static const std::string corpus = [] {
    constexpr std::size_t kSize = 100u << 20;
    std::string text;
    text.reserve(kSize + 256);
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&state] {
      state = state * 6364136223846793005ull + 1442695040888963407ull;
      return static_cast<std::uint32_t>(state >> 33);
    };
    const std::size_t wordCount = sizeof kWords / sizeof kWords[0];
    const std::size_t asciiCount = sizeof kAsciiLines / sizeof kAsciiLines[0];
    while (text.size() < kSize) {
      if (next() % 4 == 0) {
        text += kAsciiLines[next() % asciiCount];
      } else {
        std::size_t words = 4 + next() % 28;
        for (std::size_t w = 0; w < words; ++w) text += kWords[next() % wordCount];
        if (next() % 3 == 0) text += std::to_string(next() % 1000);
      }
      text += "\r\n";
    }
    return text;
  }();
  return corpus;
}

TBregexp& Engine() {
  static TBregexp engine(VORN_BIN_DIR "/libVornRegexp.so");
  return engine;
}

// Counts every match of obj over the corpus with FindInBuffer, as find-next would.
void RunBinding(benchmark::State& state, TBregexpObj& obj) {
  const std::string& text = Corpus();
  const char* begin = text.data();
  const char* end = begin + text.size();
  std::int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    int pos = 0, len = 0;
    while (obj.FindInBuffer(begin, end, len, pos)) {
      ++found;
      pos += len > 0 ? len : 1;
    }
    benchmark::DoNotOptimize(found);
  }
  state.counters["matches"] = static_cast<double>(found);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

// The same count with Oniguruma alone, compiled as the module compiles a "k" command.
void RunRawOnig(benchmark::State& state, const std::string& pattern) {
  const std::string& text = Corpus();
  Engine();  // the module initialises Oniguruma and its limits as in the editor
  OnigRegex regex = nullptr;
  OnigErrorInfo info;
  const auto* pat = reinterpret_cast<const OnigUChar*>(pattern.data());
  if (onig_new(&regex, pat, pat + pattern.size(), ONIG_OPTION_WORD_IS_ASCII, ONIG_ENCODING_SJIS, ONIG_SYNTAX_PERL,
               &info) != ONIG_NORMAL) {
    state.SkipWithError("pattern does not compile");
    return;
  }
  OnigRegion* region = onig_region_new();
  const auto* b = reinterpret_cast<const OnigUChar*>(text.data());
  const auto* e = b + text.size();
  std::int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    const OnigUChar* s = b;
    while (s <= e) {
      int r = onig_search(regex, b, e, s, e, region, ONIG_OPTION_NONE);
      if (r < 0) break;
      ++found;
      int len = region->end[0] - region->beg[0];
      s = b + r + (len > 0 ? len : 1);
    }
    benchmark::DoNotOptimize(found);
  }
  onig_region_free(region, 1);
  onig_free(regex);
  state.counters["matches"] = static_cast<double>(found);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

// The pattern between the delimiters of obj's match command, for the raw baseline.
std::string CommandPattern(TBregexpObj& obj) {
  obj.BuildCommand(false);
  const std::string& cmd = obj.MatchCommand();
  return cmd.substr(2, cmd.size() - 4);
}

const std::string kLiteral = "\x93\x8C\x8B\x9E\x93\x73";                          // "東京都"
const std::string kClassAlternation = "[0-9]+(?:\x8C\xC2|\x8C\x8F)|(?:\x8C\x9F\x8D\xF5|\x92\x75\x8A\xB7)[0-9]";  // [0-9]+(?:個|件)|(?:検索|置換)[0-9]
const std::string kFuzzy = "\xB6\xC0\xB6\xC5";                                  // "ｶﾀｶﾅ"

void BM_SimplePathLiteral(benchmark::State& state) {
  TBregexpObj obj(&Engine());
  obj.SetPattern(kLiteral);
  obj.SetPlainText(true);
  RunBinding(state, obj);
}

void BM_RawOnigLiteral(benchmark::State& state) { RunRawOnig(state, kLiteral); }

void BM_LibraryPathLiteral(benchmark::State& state) {
  TBregexpObj obj(&Engine());
  obj.SetPattern(kLiteral);
  RunBinding(state, obj);
}

void BM_LibraryPathClassAlternation(benchmark::State& state) {
  TBregexpObj obj(&Engine());
  obj.SetPattern(kClassAlternation);
  RunBinding(state, obj);
}

void BM_RawOnigClassAlternation(benchmark::State& state) { RunRawOnig(state, kClassAlternation); }

void BM_LibraryPathFuzzy(benchmark::State& state) {
  TBregexpObj obj(&Engine());
  obj.SetPattern(kFuzzy);
  obj.SetFuzzy(true);
  RunBinding(state, obj);
}

void BM_RawOnigFuzzy(benchmark::State& state) {
  TBregexpObj obj(nullptr);
  obj.SetPattern(kFuzzy);
  obj.SetFuzzy(true);
  RunRawOnig(state, CommandPattern(obj));
}

// Global substitution of every line break (about a million over 100 MB).
void BM_GlobalSubstitution(benchmark::State& state) {
  TBregexpObj obj(&Engine());
  obj.SetPattern("\\r\\n");
  obj.SetReplaceText("\\n");
  obj.SetReplaceMode(true);
  obj.SetGlobalReplace(true);
  int replaced = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::string text = Corpus();
    state.ResumeTiming();
    replaced = obj.ReplaceIn(text, 0, [](int, int, int) { return 1; });
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["replacements"] = replaced;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(Corpus().size()));
}

// The same substitution written directly over Oniguruma.
void BM_RawOnigGlobalSubstitution(benchmark::State& state) {
  const std::string& corpus = Corpus();
  Engine();
  OnigRegex regex = nullptr;
  OnigErrorInfo info;
  const OnigUChar pat[] = "\\r\\n";
  onig_new(&regex, pat, pat + 4, ONIG_OPTION_WORD_IS_ASCII, ONIG_ENCODING_SJIS, ONIG_SYNTAX_PERL, &info);
  OnigRegion* region = onig_region_new();
  int replaced = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::string text = corpus;
    state.ResumeTiming();
    const auto* b = reinterpret_cast<const OnigUChar*>(text.data());
    const auto* e = b + text.size();
    std::string out;
    out.reserve(text.size());
    const OnigUChar* s = b;
    const OnigUChar* copy = b;
    replaced = 0;
    while (s <= e && onig_search(regex, b, e, s, e, region, ONIG_OPTION_NONE) >= 0) {
      out.append(reinterpret_cast<const char*>(copy), reinterpret_cast<const char*>(b + region->beg[0]));
      out += '\n';
      copy = s = b + region->end[0];
      ++replaced;
    }
    out.append(reinterpret_cast<const char*>(copy), reinterpret_cast<const char*>(e));
    text = std::move(out);
    benchmark::DoNotOptimize(text.data());
  }
  onig_region_free(region, 1);
  onig_free(regex);
  state.counters["replacements"] = replaced;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(corpus.size()));
}

// Raw and binding searches alternated inside one benchmark and timed on this thread's CPU
// clock, so that the load of a shared machine falls on both alike; "ratio" is the binding's
// throughput over raw Oniguruma's.
double ThreadCpuSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

std::int64_t CountBinding(TBregexpObj& obj) {
  const std::string& text = Corpus();
  std::int64_t found = 0;
  int pos = 0, len = 0;
  while (obj.FindInBuffer(text.data(), text.data() + text.size(), len, pos)) {
    ++found;
    pos += len > 0 ? len : 1;
  }
  return found;
}

std::int64_t CountRaw(OnigRegex regex, OnigRegion* region) {
  const std::string& text = Corpus();
  const auto* b = reinterpret_cast<const OnigUChar*>(text.data());
  const auto* e = b + text.size();
  std::int64_t found = 0;
  for (const OnigUChar* s = b; s <= e;) {
    int r = onig_search(regex, b, e, s, e, region, ONIG_OPTION_NONE);
    if (r < 0) break;
    ++found;
    int len = region->end[0] - region->beg[0];
    s = b + r + (len > 0 ? len : 1);
  }
  return found;
}

void RunPaired(benchmark::State& state, TBregexpObj& obj) {
  Corpus();
  std::string pattern = CommandPattern(obj);
  OnigRegex regex = nullptr;
  OnigErrorInfo info;
  const auto* pat = reinterpret_cast<const OnigUChar*>(pattern.data());
  if (onig_new(&regex, pat, pat + pattern.size(), ONIG_OPTION_WORD_IS_ASCII, ONIG_ENCODING_SJIS, ONIG_SYNTAX_PERL,
               &info) != ONIG_NORMAL) {
    state.SkipWithError("pattern does not compile");
    return;
  }
  OnigRegion* region = onig_region_new();
  double rawSeconds = 0, bindingSeconds = 0;
  for (auto _ : state) {
    double t0 = ThreadCpuSeconds();
    std::int64_t raw = CountRaw(regex, region);
    double t1 = ThreadCpuSeconds();
    std::int64_t bound = CountBinding(obj);
    double t2 = ThreadCpuSeconds();
    if (raw != bound) state.SkipWithError("binding and raw Oniguruma disagree");
    rawSeconds += t1 - t0;
    bindingSeconds += t2 - t1;
  }
  onig_region_free(region, 1);
  onig_free(regex);
  const double bytes = static_cast<double>(Corpus().size()) * static_cast<double>(state.iterations());
  state.counters["raw_MBps"] = bytes / rawSeconds / 1e6;
  state.counters["binding_MBps"] = bytes / bindingSeconds / 1e6;
  state.counters["ratio"] = rawSeconds / bindingSeconds;
}

void BM_PairedLiteral(benchmark::State& state) {
  TBregexpObj obj(&Engine());
  obj.SetPattern(kLiteral);
  RunPaired(state, obj);
}

void BM_PairedClassAlternation(benchmark::State& state) {
  TBregexpObj obj(&Engine());
  obj.SetPattern(kClassAlternation);
  RunPaired(state, obj);
}

void BM_PairedFuzzy(benchmark::State& state) {
  TBregexpObj obj(&Engine());
  obj.SetPattern(kFuzzy);
  obj.SetFuzzy(true);
  RunPaired(state, obj);
}

BENCHMARK(BM_SimplePathLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawOnigLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryPathLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawOnigClassAlternation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryPathClassAlternation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawOnigFuzzy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryPathFuzzy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawOnigGlobalSubstitution)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlobalSubstitution)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PairedLiteral)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PairedClassAlternation)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PairedFuzzy)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace vorn
