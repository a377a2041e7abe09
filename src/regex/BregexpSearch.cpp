// BregexpUtil: the searches of TBregexpObj (built-in literal scanner and library path) and back references.
#include <algorithm>
#include <cstring>

#include "base/sjis.h"
#include "regex/BregexpGroups.h"
#include "regex/BregexpUtil.h"

namespace vorn {
namespace {

bool IsWordByte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// True when p starts a character, given that `known` (<= p) does. Lead-range bytes right before p
// pair up from the last byte that can only end a character; an odd count puts p on a trail byte.
bool StartsChar(const char* known, const char* p) {
  const char* q = p;
  while (q > known && sjis::IsLeadByte(q[-1])) --q;
  return (p - q) % 2 == 0;
}

int CharLenAt(const char* p, const char* end) { return (sjis::IsLeadByte(*p) && p + 1 < end) ? 2 : 1; }

// A pattern whose last byte is a lone lead byte would end a match inside a double-byte character
// of the text; such a match can only stand at the very end of the text.
bool EndsInLoneLead(const std::string& pat) {
  std::size_t i = 0, last = 0;
  while (i < pat.size()) {
    last = i;
    i += sjis::CharLen(pat, i);
  }
  return !pat.empty() && i - last == 1 && sjis::IsLeadByte(pat[last]);
}

}  // namespace

bool TBregexpObj::IsWordBoundary(const char* base, int offset, int length) {
  if (offset <= 0 || offset >= length) return true;
  unsigned char before = static_cast<unsigned char>(base[offset - 1]);
  unsigned char at = static_cast<unsigned char>(base[offset]);
  if (before == '\r' || before == '\n' || at == '\0' || at == '\r' || at == '\n') return true;
  bool beforeWord = IsWordByte(before) && StartsChar(base, base + offset - 1);
  return beforeWord != IsWordByte(at);
}

// Compares the pattern at p with ASCII letters of the text folded, as if the text had been
// folded to upper case first; trail bytes are compared as they are.
bool TBregexpObj::SameAtFolded(const char* p, const char* end) const {
  const std::string& pat = upperPattern_;
  if (static_cast<std::size_t>(end - p) < pat.size()) return false;
  for (std::size_t j = 0; j < pat.size();) {
    if (sjis::CharLen(pat, j) == 2) {
      if (p[j] != pat[j] || p[j + 1] != pat[j + 1]) return false;
      j += 2;
    } else {
      if (sjis::UpperAscii(p[j]) != pat[j]) return false;
      ++j;
    }
  }
  return true;
}

bool TBregexpObj::SimpleFind(const char* base, int length, int& pos, int& len) const {
  const std::string& pat = upperPattern_;
  const char* end = base + length;
  const int patLen = static_cast<int>(pat.size());
  // without letters in the pattern, folding the text changes nothing that could match
  const bool folded = ignoreCase_ && !upperTarget_ &&
                      std::any_of(pat.begin(), pat.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  const bool letterFirst = folded && pat[0] >= 'A' && pat[0] <= 'Z';
  const bool loneLead = EndsInLoneLead(pat);
  const char* known = base + pos;
  if (!StartsChar(base, known)) ++known;
  const char* p = known;
  while (p < end && end - p >= patLen) {
    const char* candidate;
    if (letterFirst) {
      candidate = p;  // both cases can start a match: step character by character
      if (!SameAtFolded(candidate, end)) {
        p += CharLenAt(p, end);
        continue;
      }
    } else {
      // folded text can differ from the pattern after the first byte: find that byte only
      candidate = folded ? static_cast<const char*>(std::memchr(p, pat[0], end - p))
                         : static_cast<const char*>(memmem(p, end - p, pat.data(), pat.size()));
      if (!candidate) return false;
      if (!StartsChar(known, candidate)) {
        p = candidate + 1;
        continue;
      }
      if (folded && !SameAtFolded(candidate, end)) {
        p = candidate + CharLenAt(candidate, end);
        continue;
      }
    }
    int offset = static_cast<int>(candidate - base);
    if (loneLead && offset + patLen != length) {
      p = candidate + CharLenAt(candidate, end);
      known = p;
      continue;
    }
    if (!wholeWord_ || (IsWordBoundary(base, offset, length) && IsWordBoundary(base, offset + patLen, length))) {
      pos = offset;
      len = patLen;
      return true;
    }
    p = candidate + CharLenAt(candidate, end);
    known = p;
  }
  return false;
}

bool TBregexpObj::SimpleMatchAt(const char* base, int length, int pos, int& len) const {
  const std::string& pat = upperPattern_;
  const int patLen = static_cast<int>(pat.size());
  if (!StartsChar(base, base + pos)) return false;
  if (wholeWord_ && !IsWordBoundary(base, pos, length)) return false;
  if (length - pos < patLen) return false;
  if (EndsInLoneLead(pat) && pos + patLen != length) return false;
  bool same = (ignoreCase_ && !upperTarget_) ? SameAtFolded(base + pos, base + length)
                                             : std::memcmp(base + pos, pat.data(), pat.size()) == 0;
  if (!same) return false;
  if (wholeWord_ && !IsWordBoundary(base, pos + patLen, length)) return false;
  len = patLen;
  return true;
}

// Library path: one BMatch, and the groups into Matches.
bool TBregexpObj::Search(const char* base, const char* end, int& pos, int& len, bool anchored) {
  matches_.Clear();
  char message[kBregexpMessageSize] = {};
  int r = engine_->BMatch(matchCommand_.c_str(), base, base + pos, end, anchored ? 1 : 0, &matchRecord_, message);
  if (r <= 0 || !matchRecord_) return false;
  const char* start0 = matchRecord_->startp[0];
  const char* end0 = matchRecord_->endp[0];
  if (!start0 || (anchored && start0 != base + pos)) return false;
  pos = static_cast<int>(start0 - base);
  len = static_cast<int>(end0 - start0);
  for (int i = 0; i <= matchRecord_->nparens; ++i) {
    const char* s = matchRecord_->startp[i];
    const char* e = matchRecord_->endp[i];
    if (s && e)
      matches_.AddMatch(std::string(s, e), static_cast<int>(s - base), static_cast<int>(e - s));
    else  // a group that took no part: empty, at the match's start
      matches_.AddMatch(std::string(), pos, 0);
  }
  return true;
}

bool TBregexpObj::FindInBuffer(const char* start, const char* end, int& len, int& pos) {
  if (!start || !end || end <= start || pattern_.empty() || !Usable()) return false;
  if (!compiled_ && !Compile()) return false;
  const int length = static_cast<int>(end - start);
  if (pos < 0 || pos > length) return false;
  if (simpleSearch_) return pos < length && SimpleFind(start, length, pos, len);
  return Search(start, end, pos, len, false);
}

bool TBregexpObj::FindIn(const std::string& s, int& pos, int& len) {
  return FindInBuffer(s.data(), s.data() + s.size(), len, pos);
}

bool TBregexpObj::MatchAtBuffer(const char* start, const char* end, int& len, int pos) {
  if (!start || !end || end <= start || pattern_.empty() || !Usable()) return false;
  if (!compiled_ && !Compile()) return false;
  const int length = static_cast<int>(end - start);
  if (pos < 0 || pos > length) return false;
  if (simpleSearch_) return SimpleMatchAt(start, length, pos, len);
  int at = pos;
  return Search(start, end, at, len, true);
}

bool TBregexpObj::MatchAt(const std::string& s, int pos, int& len) {
  return MatchAtBuffer(s.data(), s.data() + s.size(), len, pos);
}

// ---- TBackRefRegObj ----

namespace {

// "()[]<>{}【】「」『』＜＞［］（）｛｝" and, at the same places, their mirrors.
const char* const kBrackets = "()[]<>{}\x81\x79\x81\x7A\x81\x75\x81\x76\x81\x77\x81\x78\x81\x83\x81\x84\x81\x6D"
                              "\x81\x6E\x81\x69\x81\x6A\x81\x6F\x81\x70";
const char* const kMirrors = ")(][><}{\x81\x7A\x81\x79\x81\x76\x81\x75\x81\x78\x81\x77\x81\x84\x81\x83\x81\x6E"
                             "\x81\x6D\x81\x6A\x81\x69\x81\x70\x81\x6F";

std::string MirrorBracket(const std::string& text) {
  std::string_view from(kBrackets), to(kMirrors);
  if (text.empty() || sjis::CharLen(text, 0) != text.size()) return text;
  for (std::size_t i = 0; i < from.size();) {
    std::size_t n = sjis::CharLen(from, i);
    if (from.substr(i, n) == text) return std::string(to.substr(i, n));
    i += n;
  }
  return text;
}

bool PatternHasBackRef(const std::string& p) {
  for (std::size_t i = 0; i < p.size();) {
    if (p[i] == '\\') {
      i += 2;
    } else if (p[i] == '$') {
      if (i + 1 < p.size()) return true;
      ++i;
    } else {
      i += sjis::CharLen(p, i);
    }
  }
  return false;
}

}  // namespace

bool TBackRefRegObj::HasBackRef() {
  if (!Compiled()) hasBackRef_ = !PlainText() && PatternHasBackRef(Pattern());
  return hasBackRef_;
}

void TBackRefRegObj::BuildCommand(bool forSubst) {
  TBregexpObj::BuildCommand(forSubst);
  hasBackRef_ = !PlainText() && PatternHasBackRef(Pattern());
  if (!hasBackRef_ || matchCommand_.size() < 3) return;
  const std::string& cmd = matchCommand_;
  const char delimiter = cmd[1];
  const std::size_t stop = cmd.size() - 1;
  std::string out = cmd.substr(0, 2);
  std::size_t i = 2;
  while (i < stop) {
    const std::size_t len = sjis::CharLen(cmd, i);
    if (len == 2 || cmd[i] != '$' || cmd[i + 1] == delimiter) {
      std::size_t take = len;
      if (len == 1 && cmd[i] == '\\') take += sjis::CharLen(cmd, i + 1);
      out.append(cmd, i, take);
      i += take;
      continue;
    }
    std::size_t j = i + 1;
    bool mirror = cmd[j] == 'r';
    if (mirror) ++j;
    long number = -1;
    while (j < cmd.size() && cmd[j] >= '0' && cmd[j] <= '9') {
      number = std::min<long>((number < 0 ? 0 : number) * 10 + (cmd[j] - '0'), 1 << 20);
      ++j;
    }
    std::string text = (number >= 0 && number < Matches().Count()) ? Matches().Strings(static_cast<int>(number)) : "";
    if (mirror) text = MirrorBracket(text);
    out += EscapeChars(text, kRegexMetaChars);
    i = j;
  }
  if (i < cmd.size()) out.append(cmd, i, std::string::npos);
  matchCommand_ = std::move(out);
}

}  // namespace vorn
