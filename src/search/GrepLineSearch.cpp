// Grep's line search: exact per-line hit counting, with a whole-piece scan to find candidate lines.
#include "search/GrepLineSearch.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/sjis.h"
#include "encoding/LineSplit.h"

namespace vorn {
namespace {

bool EndsInLoneLead(std::string_view pat) {
  std::size_t i = 0, last = 0;
  while (i < pat.size()) {
    last = i;
    i += sjis::CharLen(pat, i);
  }
  return !pat.empty() && i - last == 1 && sjis::IsLeadByte(pat[last]);
}

// The regular expression inside a match command "m\x01<regex>\x01<flags>".
std::string_view RegexOfCommand(std::string_view command) {
  std::size_t first = command.find('\x01');
  std::size_t last = command.rfind('\x01');
  if (first == std::string_view::npos || last <= first) return {};
  return command.substr(first + 1, last - first - 1);
}

// True for "(?:" and a named group "(?<name>"; every other "(?" construct may look around.
bool PlainGroupAt(std::string_view re, std::size_t i) {
  if (i + 2 >= re.size()) return false;
  char c = re[i + 2];
  if (c == ':') return true;
  if (c != '<' || i + 3 >= re.size()) return false;
  char d = re[i + 3];
  return (d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z') || d == '_';
}


}  // namespace

namespace {

std::size_t BreakLength(std::string_view text, std::size_t at) {
  return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

// Where the line holding offset `at` starts, knowing a line starts at `from` <= at.
std::size_t LineStartOf(std::string_view text, std::size_t from, std::size_t at) {
  std::size_t q = at;
  if (q < text.size() && text[q] == '\n' && q > from && text[q - 1] == '\r') --q;
  while (q > from) {
    const char c = text[q - 1];
    if (c == '\r' || c == '\n') return q;
    --q;
  }
  return from;
}

}  // namespace

THitLineWalk::TLine THitLineWalk::LineOf(std::size_t at) {
  const char* base = text_.data();
  const std::size_t begin = LineStartOf(text_, start_, at);
  index_ += static_cast<std::int64_t>(CountLineBreaks(base + start_, base + begin));
  start_ = begin;
  return {begin, static_cast<std::size_t>(FindLineByte(base + begin, base + text_.size(), false) - base)};
}

std::size_t THitLineWalk::Next(const TLine& line) {
  const std::size_t from = line.End == text_.size() ? line.End : line.End + BreakLength(text_, line.End);
  if (from < text_.size()) {
    start_ = from;
    ++index_;
  }
  return from;
}

std::size_t THitLineWalk::LineCount() const {
  const bool openLast = !text_.empty() && text_.back() != '\r' && text_.back() != '\n';
  return static_cast<std::size_t>(index_) + CountLineBreaks(text_.data() + start_, text_.data() + text_.size()) +
         (openLast && start_ < text_.size() ? 1 : 0);
}

// The number of line breaks (CR LF, CR or LF) in [p, end), which must not split a CR LF.
// Vertical byte counters: each lane adds one per CR or LF and takes one back when a CR is
// followed by an LF, so a block costs a handful of instructions whatever it holds.
std::size_t CountLineBreaks(const char* p, const char* end) {
  std::size_t n = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p >= 17) {
    __m128i acc = _mm_setzero_si128();
    for (int round = 0; round < 255 && end - p >= 17; ++round, p += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
      const __m128i crs = _mm_cmpeq_epi8(v, cr);
      acc = _mm_sub_epi8(acc, crs);
      acc = _mm_sub_epi8(acc, _mm_cmpeq_epi8(v, lf));
      acc = _mm_add_epi8(acc, _mm_and_si128(crs, _mm_cmpeq_epi8(next, lf)));
    }
    const __m128i sums = _mm_sad_epu8(acc, _mm_setzero_si128());
    n += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) + static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
  }
#endif
  // A CR LF split by the end of the vector part already had its pair taken back there, so its
  // LF still adds its own one here.
  bool prevCr = false;
  for (; p < end; ++p) {
    if (*p == '\n' && !prevCr) ++n;
    if (*p == '\r') ++n;
    prevCr = *p == '\r';
  }
  return n;
}

bool RegexPrefilterSafe(std::string_view re) {
  bool afterQuantifier = false;
  for (std::size_t i = 0; i < re.size();) {
    const char c = re[i];
    if (sjis::IsLeadByte(c)) {
      i += 2;
      afterQuantifier = false;
      continue;
    }
    if (c == '\\') {
      if (i + 1 >= re.size()) return false;
      const char d = re[i + 1];
      // "\O" is any character, line breaks included: after a failed attempt the module skips
      // the rest of a text it could run over, so the lines after a break go unsearched. A
      // quote "\Q" could hide an anchor from this scan.
      if (std::strchr("AzZGKyYOQ", d) && d != '\0') return false;
      i += 1 + (sjis::IsLeadByte(d) ? 2 : 1);
      afterQuantifier = false;
      continue;
    }
    if (c == '[') {
      // Only where the class really ends do anchors stand outside it again.
      i = RegexClassEnd(re, i);
      if (i == std::string_view::npos) return false;
      afterQuantifier = false;
      continue;
    }
    if (c == '^' || c == '$') return false;
    if (c == '(' && i + 1 < re.size() && re[i + 1] == '?' && !PlainGroupAt(re, i)) return false;
    if (c == '(' && i + 1 < re.size() && re[i + 1] == '*') return false;  // a callout
    if (c == '+' && afterQuantifier) return false;
    afterQuantifier = c == '*' || c == '+' || c == '?' || c == '}';
    ++i;
  }
  return true;
}

TGrepLineSearcher::TGrepLineSearcher(const TBregexpObj& pattern)
    : pattern_(std::make_unique<TBregexpObj>(pattern.Engine())) {
  pattern_->Assign(pattern);
}

TGrepLineSearcher::~TGrepLineSearcher() {
  if (scanRecord_ && pattern_->Engine()) pattern_->Engine()->BRegfree(scanRecord_);
}

bool TGrepLineSearcher::Compile(std::string& message) {
  if (!pattern_->Engine() || !pattern_->Engine()->Loaded()) return false;
  if (!pattern_->Compile()) {
    message = pattern_->ErrorMessage();
    return false;
  }
  lineBreaks_ = pattern_->LineBreakCount();
  if (lineBreaks_ > 0) prefilter_ = false;
  else if (pattern_->SimpleSearch()) prefilter_ = !EndsInLoneLead(pattern_->UpperPattern());
  else prefilter_ = RegexPrefilterSafe(RegexOfCommand(pattern_->MatchCommand()));
  // A literal every match must contain finds the candidate lines far faster than the regular
  // expression scanning the whole text; the expression then runs on those lines alone.
  // A fuzzy pattern ignores the case flag: its rows name every form a character may take.
  // A plain pattern folded by ASCII case only is found by a folding anchor, far faster than
  // the plain search steps through the text a character at a time.
  required_.clear();
  const bool plain = pattern_->SimpleSearch() && !EndsInLoneLead(pattern_->Pattern());
  foldCase_ = lineBreaks_ == 0 && plain && pattern_->IgnoreCase();
  if (lineBreaks_ == 0 && !pattern_->SimpleSearch() && (pattern_->Fuzzy() || !pattern_->IgnoreCase()))
    required_ = RequiredAlternatives(*pattern_);
  if (foldCase_) required_ = {{pattern_->Pattern()}};
  certain_ = required_;
  if (lineBreaks_ == 0 && plain && !pattern_->IgnoreCase()) certain_ = {{pattern_->Pattern()}};
  occurrences_.assign(required_.size(), 0);
  sampled_ = 0;
  anchor_ = required_.empty() ? TAnyOfFinder() : TAnyOfFinder(required_.front(), foldCase_);
  return true;
}

// Re-picks the anchor while the text seen is short of a sample that says which is rarest.
void TGrepLineSearcher::ChooseAnchor(std::string_view text) {
  constexpr std::size_t kSampleBytes = 16 << 10;
  if (required_.size() < 2 || sampled_ >= kSampleBytes) return;
  const std::string_view sample = text.substr(0, kSampleBytes - sampled_);
  sampled_ += sample.size();
  std::size_t best = 0;
  for (std::size_t c = 0; c < required_.size(); ++c) {
    occurrences_[c] += CountOccurrences(required_[c], sample, foldCase_);
    if (occurrences_[c] < occurrences_[best]) best = c;
  }
  anchor_ = TAnyOfFinder(required_[best], foldCase_);
}

int TGrepLineSearcher::CountHits(const char* begin, const char* end, std::size_t limit) {
  int hits = 0;
  int pos = 0, len = 0;
  while (pattern_->FindInBuffer(begin, end, len, pos) && static_cast<std::size_t>(pos) < limit) {
    ++hits;
    pos += std::max(len, 1);
    if (begin + pos > end) break;
  }
  return hits;
}

void TGrepLineSearcher::SplitLines(std::string_view text) {
  lines_.clear();
  const char* base = text.data();
  ForEachLine(base, base + text.size(), false, [&](const char* b, const char* e) {
    lines_.push_back({static_cast<std::size_t>(b - base), static_cast<std::size_t>(e - base)});
  });
}

// T is the line itself, or with a multi-line pattern the line and the next lineBreaks_ lines
// joined by CR LF; only matches starting on the line itself (or its CR LF) count.
void TGrepLineSearcher::SearchLine(std::string_view text, std::size_t i, std::int64_t number,
                                   const TGrepLineHit& onHit) {
  const TLine& line = lines_[i];
  std::string_view t = text.substr(line.begin, line.end - line.begin);
  const std::size_t limit = t.size() + 2;
  if (lineBreaks_ > 0) {
    joined_.assign(t);
    for (std::size_t k = i + 1; k <= i + static_cast<std::size_t>(lineBreaks_) && k < lines_.size(); ++k)
      joined_.append("\r\n").append(text.substr(lines_[k].begin, lines_[k].end - lines_[k].begin));
    t = joined_;
  }
  if (t.empty()) return;
  const int hits = CountHits(t.data(), t.data() + t.size(), limit);
  if (hits > 0) onHit(number, t, hits);
}

// One scan of [begin, end) from pos; failed when the engine gave up (a back-tracking limit),
// which must not pass for "no match".
bool TGrepLineSearcher::ScanFrom(const char* begin, const char* end, std::size_t& pos, std::size_t& len, bool& failed) {
  failed = false;
  if (pattern_->SimpleSearch()) {
    int p = 0, l = 0;
    if (!pattern_->FindInBuffer(begin, end, l, p)) return false;
    pos = static_cast<std::size_t>(p);
    len = static_cast<std::size_t>(l);
    return true;
  }
  char message[kBregexpMessageSize] = {};
  int r = pattern_->Engine()->BMatch(pattern_->MatchCommand().c_str(), begin, begin, end, 0, &scanRecord_, message);
  if (r <= 0 || !scanRecord_ || !scanRecord_->startp[0]) {
    failed = r < 0 || message[0] != '\0';
    return false;
  }
  pos = static_cast<std::size_t>(scanRecord_->startp[0] - begin);
  len = static_cast<std::size_t>(scanRecord_->endp[0] - scanRecord_->startp[0]);
  return true;
}

// The next line at or after `from` (and before `stop`) that the whole-text scan says may match.
TGrepLineSearcher::TCandidate TGrepLineSearcher::NextCandidate(std::string_view text, std::size_t from,
                                                                std::size_t stop, std::size_t& line) {
  const char* begin = text.data() + lines_[from].begin;
  const char* end = text.data() + lines_[stop - 1].end;
  if (end <= begin) {
    line = from;
    return caFallBack;
  }
  std::size_t pos = 0, len = 0;
  bool failed = false;
  if (!ScanFrom(begin, end, pos, len, failed)) {
    line = from;
    return failed ? caFallBack : caNone;
  }
  const std::size_t at = lines_[from].begin + pos;
  auto it = std::upper_bound(lines_.begin() + static_cast<std::ptrdiff_t>(from),
                             lines_.begin() + static_cast<std::ptrdiff_t>(stop), at,
                             [](std::size_t v, const TLine& l) { return v < l.begin; });
  line = static_cast<std::size_t>(it - lines_.begin()) - 1;
  // A match running past its line's end was found across lines: from here on, line by line,
  // so that such scans cannot repeat over the rest of the piece.
  return at + len > lines_[line].end ? caFallBack : caLine;
}

// Lines split one by one; used when the pattern may span lines or a whole-text scan misled.
std::size_t TGrepLineSearcher::SearchLines(std::string_view text, std::int64_t firstLine, std::size_t keepTail,
                                           bool prefilter, const TGrepLineHit& onHit,
                                           const std::atomic<bool>& cancel, std::atomic<std::int64_t>& currentLine) {
  SplitLines(text);
  const std::size_t stop = lines_.size() > keepTail ? lines_.size() - keepTail : 0;
  linesDone_ = stop;
  for (std::size_t i = 0; i < stop;) {
    if (cancel.load(std::memory_order_relaxed)) return text.size();
    if (prefilter) {
      std::size_t line = i;
      TCandidate c = NextCandidate(text, i, stop, line);
      if (c == caNone) break;
      if (c == caFallBack) prefilter = false;
      i = line;
    }
    currentLine.store(firstLine + static_cast<std::int64_t>(i), std::memory_order_relaxed);
    SearchLine(text, i, firstLine + static_cast<std::int64_t>(i), onHit);
    ++i;
  }
  return stop < lines_.size() ? lines_[stop].begin : text.size();
}

// The piece is scanned as a whole and only a hit's own line is located: its start by looking
// back for a break, its number by counting the breaks since the previous hit. Splitting every
// line first cost more than the scan itself on files with few hits.
std::size_t TGrepLineSearcher::SearchLazily(std::string_view text, std::int64_t firstLine, const TGrepLineHit& onHit,
                                            const std::atomic<bool>& cancel, std::atomic<std::int64_t>& currentLine) {
  const char* base = text.data();
  const char* end = base + text.size();
  THitLineWalk walk(text);
  std::size_t from = 0;
  while (from < text.size()) {
    if (cancel.load(std::memory_order_relaxed)) return text.size();
    std::size_t pos = 0, len = 0;
    bool failed = false;
    if (!anchor_.Empty()) {
      const std::size_t hit = anchor_.Find(from);
      if (hit == std::string_view::npos) break;
      pos = hit - from;
    } else if (!ScanFrom(base + from, end, pos, len, failed)) {
      if (!failed) break;
      return FallBackFrom(text, walk.LineStart(), firstLine, walk.Index(), onHit, cancel, currentLine);
    }
    const std::size_t at = from + pos;
    const THitLineWalk::TLine line = walk.LineOf(at);
    // A match across a break: the scan may have skipped a line's own match, so line by line.
    if (at + len > line.End) return FallBackFrom(text, line.Begin, firstLine, walk.Index(), onHit, cancel, currentLine);
    currentLine.store(firstLine + walk.Index(), std::memory_order_relaxed);
    const std::string_view lineText = text.substr(line.Begin, line.End - line.Begin);
    if (!lineText.empty()) {
      const int hits = CountHits(lineText.data(), lineText.data() + lineText.size(), lineText.size() + 2);
      if (hits > 0) onHit(firstLine + walk.Index(), lineText, hits);
    }
    from = walk.Next(line);
  }
  linesDone_ = walk.LineCount();
  return text.size();
}

std::size_t TGrepLineSearcher::FallBackFrom(std::string_view text, std::size_t lineStart, std::int64_t firstLine,
                                            std::int64_t index, const TGrepLineHit& onHit,
                                            const std::atomic<bool>& cancel, std::atomic<std::int64_t>& currentLine) {
  SearchLines(text.substr(lineStart), firstLine + index, 0, false, onHit, cancel, currentLine);
  linesDone_ += static_cast<std::size_t>(index);
  return text.size();
}

std::size_t TGrepLineSearcher::SearchPiece(std::string_view text, std::int64_t firstLine, std::size_t keepTail,
                                           const TGrepLineHit& onHit, const std::atomic<bool>& cancel,
                                           std::atomic<std::int64_t>& currentLine) {
  if (!anchor_.Empty() && keepTail == 0) {
    ChooseAnchor(text);
    anchor_.Reset(text);
    return SearchLazily(text, firstLine, onHit, cancel, currentLine);
  }
  if (prefilter_ && keepTail == 0) return SearchLazily(text, firstLine, onHit, cancel, currentLine);
  return SearchLines(text, firstLine, keepTail, prefilter_, onHit, cancel, currentLine);
}

}  // namespace vorn
