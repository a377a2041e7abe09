// Benchmarks of character-code detection and conversion, each beside the system iconv in one run.
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/jconvert.h"

namespace {

using vorn::TCharCodeKind;

// One iconv conversion. Like ConvertCharCode, which returns a new string, it writes into freshly
// allocated memory (not zero-filled), so both sides pay for the pages of their output.
class TIconv {
 public:
  TIconv(const char* from, const char* to) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  }
  ~TIconv() { iconv_close(cd_); }
  std::size_t Convert(const std::string& in, char* out, std::size_t capacity) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    char* outPtr = out;
    std::size_t inLeft = in.size(), outLeft = capacity;
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
      throw std::runtime_error("iconv failed on the corpus");
    iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
    return capacity - outLeft;
  }
  std::string Convert(const std::string& in) {
    const std::size_t capacity = in.size() * 4 + 64;
    std::unique_ptr<char[]> out(new char[capacity]);
    return std::string(out.get(), Convert(in, out.get(), capacity));
  }
  // The timed form: the output is allocated fresh and dropped.
  std::size_t ConvertFresh(const std::string& in) {
    const std::size_t capacity = in.size() * 4 + 64;
    std::unique_ptr<char[]> out(new char[capacity]);
    const std::size_t n = Convert(in, out.get(), capacity);
    benchmark::DoNotOptimize(out.get());
    return n;
  }

 private:
  iconv_t cd_;
};

std::string ToSjis(const char* utf8) {
  return TIconv("UTF-8", "CP932").Convert(utf8);
}

// Realistic lines: Japanese sentences built from common phrases, and ASCII lines of prose or
// code, mostly under 200 bytes, CR LF ended. Deterministic, so every run measures the same text.
std::string GenerateSjisCorpus(std::size_t size) {
  static const char* const kPhrases[] = {
      "今日は", "天気が", "良いので", "散歩に", "出かけました", "会議の", "資料を", "作成して",
      "ください", "ファイルを", "開いて", "内容を", "確認する", "必要があります", "東京都",
      "大阪府", "新しい", "設定", "保存しました", "エラーが", "発生しました", "文字コード",
      "自動的に", "判定されます", "ウィンドウ", "メニュー", "検索結果", "置換", "日本語",
      "漢字", "ひらがな", "カタカナ", "私たちは", "いつも", "皆様の", "ご意見を", "お待ちして",
      "おります", "春夏秋冬", "山と川", "電車で", "駅まで", "約十分", "かかります", "価格は",
      "１，２００円", "です", "ＡＢＣ", "について", "説明します", "次の", "手順で", "操作を",
      "行います", "注意", "してください"};
  static const char* const kAscii[] = {
      "The quick brown fox jumps over the lazy dog.", "int main(int argc, char** argv) {",
      "    return ConvertCharCode(text, from, to);", "}", "// TODO: check the result",
      "Lorem ipsum dolor sit amet, consectetur adipiscing elit.", "#include <string>",
      "for (std::size_t i = 0; i < n; ++i) sum += values[i];", "Meeting at 10:30 in room 4B."};
  std::vector<std::string> phrases, ascii(std::begin(kAscii), std::end(kAscii));
  for (const char* p : kPhrases) phrases.push_back(ToSjis(p));
  const std::string comma = ToSjis("、"), stop = ToSjis("。");
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  auto next = [&state](std::uint64_t n) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state % n;
  };
  std::string text;
  text.reserve(size + 256);
  while (text.size() < size) {
    const std::uint64_t kind = next(10);
    if (kind < 7) {
      const std::uint64_t words = 3 + next(14);
      for (std::uint64_t w = 0; w < words; ++w) {
        text += phrases[next(phrases.size())];
        if (w + 1 < words && next(5) == 0) text += comma;
      }
      text += stop;
    } else if (kind < 9) {
      text += ascii[next(ascii.size())];
    }
    text += "\r\n";
  }
  return text;
}

constexpr std::size_t kCorpusSize = 100u << 20;

const std::string& SjisCorpus() {
  static const std::string text = GenerateSjisCorpus(kCorpusSize);
  return text;
}

const char* IconvName(TCharCodeKind kind) {
  switch (kind) {
    case vorn::ckEuc: return "EUC-JP";
    case vorn::ckJisAscii: return "ISO-2022-JP";
    case vorn::ckUnicodeLE: return "UTF-16LE";
    case vorn::ckUnicodeBE: return "UTF-16BE";
    case vorn::ckUtf8N: return "UTF-8";
    case vorn::ckUtf7: return "UTF-7";
    default: return "CP932";
  }
}

// The corpus in each code, produced by iconv (with a signature for UTF-16, as files carry one).
const std::string& Corpus(TCharCodeKind kind) {
  static std::map<TCharCodeKind, std::string> cache;
  auto it = cache.find(kind);
  if (it != cache.end()) return it->second;
  std::string text;
  if (kind == vorn::ckSjis) {
    text = SjisCorpus();
  } else {
    const std::string out = TIconv("CP932", IconvName(kind)).Convert(SjisCorpus());
    if (kind == vorn::ckUnicodeLE) text = "\xFF\xFE";
    if (kind == vorn::ckUnicodeBE) text = "\xFE\xFF";
    text += out;
  }
  return cache.emplace(kind, std::move(text)).first->second;
}

// The thread's CPU time (page faults included): on a shared machine, wall time mostly measures
// how often the other processes ran.
double CpuSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t m = values.size() / 2;
  return values.size() % 2 ? values[m] : (values[m - 1] + values[m]) / 2;
}

// Times our conversion (the benchmark's own time) and iconv's on the same input in each
// iteration, so that the machine's noise falls on both alike. The ratio is the median of the
// iterations' ratios: a burst of other work during one conversion then moves it by one rank
// instead of weighing on a sum.
void RunBeside(benchmark::State& state, TCharCodeKind from, TCharCodeKind to) {
  const std::string& in = Corpus(from);
  std::string iconvIn = in;
  if (from == vorn::ckUnicodeLE || from == vorn::ckUnicodeBE) iconvIn.erase(0, 2);
  TIconv reference(IconvName(from), IconvName(to));
  std::vector<double> ours, theirs, ratios;
  for (auto _ : state) {
    const double t0 = CpuSeconds();
    std::string out = vorn::ConvertCharCode(in, from, to);
    const double t1 = CpuSeconds();
    benchmark::DoNotOptimize(out.data());
    out = std::string();
    const double t2 = CpuSeconds();
    benchmark::DoNotOptimize(reference.ConvertFresh(iconvIn));
    const double t3 = CpuSeconds();
    state.SetIterationTime(t1 - t0);
    ours.push_back(t1 - t0);
    theirs.push_back(t3 - t2);
    ratios.push_back((t3 - t2) / (t1 - t0));
  }
  const double mb = static_cast<double>(in.size()) / 1e6;
  state.counters["ours_MBps"] = mb / Median(ours);
  state.counters["iconv_MBps"] = mb / Median(theirs);
  state.counters["x_iconv"] = Median(ratios);
  state.SetBytesProcessed(static_cast<std::int64_t>(in.size()) * state.iterations());
}

void BM_ToSjis(benchmark::State& state) {
  RunBeside(state, static_cast<TCharCodeKind>(state.range(0)), vorn::ckSjis);
}

void BM_FromSjis(benchmark::State& state) {
  RunBeside(state, vorn::ckSjis, static_cast<TCharCodeKind>(state.range(0)));
}

void CodeArgs(benchmark::internal::Benchmark* b) {
  for (TCharCodeKind k : {vorn::ckEuc, vorn::ckJisAscii, vorn::ckUnicodeLE, vorn::ckUnicodeBE,
                          vorn::ckUtf8N, vorn::ckUtf7})
    b->Arg(k);
  b->ArgName("kind")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
}

BENCHMARK(BM_ToSjis)->Apply(CodeArgs);
BENCHMARK(BM_FromSjis)->Apply(CodeArgs);

// Detection of the first mebibyte (the most it ever examines) of the corpus in each code.
void BM_Detect1MiB(benchmark::State& state) {
  const TCharCodeKind kind = static_cast<TCharCodeKind>(state.range(0));
  // Detection looks at the first mebibyte of a large file (the byte after it may complete a
  // character). iconv closes UTF-7 sections implicitly, which the detection does not count, so
  // that corpus is written by ConvertCharCode.
  const std::string utf7 =
      kind == vorn::ckUtf7
          ? vorn::ConvertCharCode(SjisCorpus().substr(0, 2 * vorn::DetectLimit), vorn::ckSjis, kind)
          : std::string();
  const std::string_view prefix = kind == vorn::ckUtf7 ? std::string_view(utf7) : std::string_view(Corpus(kind));
  TCharCodeKind result = vorn::ckAscii;
  for (auto _ : state) benchmark::DoNotOptimize(result = vorn::DetectCharCode(prefix));
  if (result != kind) state.SkipWithError("detected a different code");
}

BENCHMARK(BM_Detect1MiB)
    ->ArgName("kind")
    ->Arg(vorn::ckSjis)->Arg(vorn::ckEuc)->Arg(vorn::ckJisAscii)->Arg(vorn::ckUnicodeLE)
    ->Arg(vorn::ckUtf8N)->Arg(vorn::ckUtf7)
    ->Unit(benchmark::kMillisecond);

}  // namespace
