// Grep's line search: exact per-line hit counting, with a whole-piece scan to find candidate lines.
#include "search/GrepLineSearch.h"

#include <algorithm>
#include <cstring>

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

bool RegexPrefilterSafe(std::string_view re) {
  int depth = 0;
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
      if (depth == 0 && std::strchr("AzZGKyY", d) && d != '\0') return false;
      i += 1 + (sjis::IsLeadByte(d) ? 2 : 1);
      afterQuantifier = false;
      continue;
    }
    if (c == '[') ++depth;
    else if (c == ']' && depth > 0) --depth;
    else if (depth == 0) {
      if (c == '^' || c == '$') return false;
      if (c == '(' && i + 1 < re.size() && re[i + 1] == '?' && !PlainGroupAt(re, i)) return false;
      if (c == '+' && afterQuantifier) return false;
      afterQuantifier = c == '*' || c == '+' || c == '?' || c == '}';
      ++i;
      continue;
    }
    afterQuantifier = false;
    ++i;
  }
  return depth == 0;
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
  return true;
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

std::size_t TGrepLineSearcher::SearchPiece(std::string_view text, std::int64_t firstLine, std::size_t keepTail,
                                           const TGrepLineHit& onHit, const std::atomic<bool>& cancel,
                                           std::atomic<std::int64_t>& currentLine) {
  SplitLines(text);
  const std::size_t stop = lines_.size() > keepTail ? lines_.size() - keepTail : 0;
  bool prefilter = prefilter_;
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

}  // namespace vorn
