// The required literal of a grep regular expression: a reader of the module's pattern syntax
// that knows where each atom ends and what may repeat it, and gives up wherever it is unsure.
//
// An anchor taken from here skips every line without it, so a wrong answer loses hits
// silently. The reader therefore only ever errs towards less text: a form it cannot place
// exactly (a brace that may or may not count repeats, an escape that may carry a payload) is
// read as the reading that keeps the least, and anything it does not know ends the search.
#include "search/GrepRequiredLiteral.h"

#include <cstring>

#include "base/sjis.h"

namespace vorn {
namespace {

// Deeper nesting than this gives up rather than recursing on.
constexpr int kMaxDepth = 200;
// The longest name between "[:" and ":]" taken for a POSIX bracket; the module's own names are
// shorter. Past it the module's reading of the bracket is not sure, so the reader gives up.
constexpr std::size_t kMaxBracketName = 8;

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
constexpr bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsWordChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }

// Bytes that stand for themselves outside a class. Punctuation that means something in some
// syntax, whitespace that an extended pattern skips, and control bytes end a run instead.
bool PlainByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 0xA1 && b <= 0xDF) return true;  // half-width katakana
  if (IsLetter(c) || IsDigit(c)) return true;
  return c != '\0' && std::strchr(" _-,:;=!@%&'\"<>/~`", c) != nullptr;
}

// Escaped punctuation that is the character itself. "\<", "\>", "\`" and "\'" are anchors in
// other syntaxes, so they are not trusted.
bool EscapedSelf(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x20 && b < 0x7F && !IsLetter(c) && !IsDigit(c) && c != '\0' && std::strchr("<>`'", c) == nullptr;
}

// The length of the character at i, or 0 where the pattern is not well-formed Shift_JIS there
// (the module refuses a lead byte without its trail byte).
std::size_t CharLenAt(std::string_view re, std::size_t i) {
  if (!sjis::IsLeadByte(re[i])) return 1;
  return i + 1 < re.size() && sjis::IsTrailByte(re[i + 1]) ? 2 : 0;
}

class TLiteralReader {
public:
  explicit TLiteralReader(std::string_view re) : re_(re) {}

  std::string Run() {
    std::string best, run;
    auto endRun = [&] {
      if (run.size() > best.size()) best = run;
      run.clear();
    };
    while (pos_ < re_.size()) {
      const TAtom atom = NextAtom(0);
      if (atom.kind == akFail || atom.kind == akAlternative || atom.kind == akEndGroup) return {};
      if (atom.kind == akNone) continue;
      const TRepeat repeat = Quantifiers();
      if (repeat == rpFail) return {};
      if (atom.kind == akLiteral && repeat != rpMaybeNever) {
        run.append(re_.substr(atom.begin, atom.end - atom.begin));
        if (repeat == rpAtLeastOnce) endRun();  // its repeats may run into the next character
      } else {
        endRun();
      }
    }
    endRun();
    return best;
  }

private:
  // akLiteral: the bytes [begin, end) stand for themselves. akOther: anything else that may
  // be repeated (a class, a group, an escape, an anchor). akNone: nothing to repeat (the start
  // of a quote). akEndGroup and akAlternative: ")" and "|" at the reader's level.
  enum TAtomKind { akLiteral, akOther, akNone, akAlternative, akEndGroup, akFail };
  struct TAtom {
    TAtomKind kind;
    std::size_t begin = 0, end = 0;
  };
  enum TRepeat { rpNone, rpAtLeastOnce, rpMaybeNever, rpFail };

  static TAtom Fail() { return {akFail}; }
  static TAtom Other() { return {akOther}; }

  std::size_t CharLen(std::size_t i) const { return CharLenAt(re_, i); }
  bool At(std::size_t i, char c) const { return i < re_.size() && re_[i] == c; }
  bool StartsAt(std::size_t i, std::string_view s) const { return re_.substr(std::min(i, re_.size()), s.size()) == s; }

  TAtom NextAtom(int depth) {
    if (quoted_) return QuotedChar();
    const char c = re_[pos_];
    if (sjis::IsLeadByte(c)) {
      const std::size_t len = CharLen(pos_);
      if (len == 0) return Fail();
      pos_ += len;
      return {akLiteral, pos_ - len, pos_};
    }
    switch (c) {
      case '\\': return Escape();
      case '[': return SkipClass() ? Other() : Fail();
      case '(': return Group(depth);
      case ')': ++pos_; return {akEndGroup};
      case '|': ++pos_; return {akAlternative};
      case '*': case '+': case '?': return Fail();  // nothing to repeat: the module refuses it
      default: break;
    }
    ++pos_;
    if (PlainByte(c)) return {akLiteral, pos_ - 1, pos_};
    return Other();  // ".", "^", "$", a brace that counts nothing, control bytes, ...
  }

  // Inside \Q...\E every character stands for itself; a quantifier after \E repeats the last.
  TAtom QuotedChar() {
    const std::size_t len = CharLen(pos_);
    if (len == 0) return Fail();
    const std::size_t begin = pos_;
    pos_ += len;
    if (StartsAt(pos_, "\\E")) {
      pos_ += 2;
      quoted_ = false;
    }
    // Control bytes stay out: NUL and 01 reach the module as escapes, which a quote keeps as text.
    const auto b = static_cast<unsigned char>(re_[begin]);
    if (len == 2 || (b >= 0x20 && b < 0x7F) || PlainByte(re_[begin])) return {akLiteral, begin, begin + len};
    return Other();
  }

  TAtom Escape() {
    if (pos_ + 1 >= re_.size()) return Fail();
    const char d = re_[pos_ + 1];
    if (sjis::IsLeadByte(d)) {
      const std::size_t len = CharLen(pos_ + 1);
      if (len == 0) return Fail();
      pos_ += 1 + len;
      return Other();
    }
    pos_ += 2;
    if (static_cast<unsigned char>(d) >= 0x80) return Other();
    switch (d) {
      case 'Q':
        if (StartsAt(pos_, "\\E")) {  // an empty quote is an atom of its own
          pos_ += 2;
          return Other();
        }
        quoted_ = true;
        return {akNone};
      case 'x':
        if (At(pos_, '{')) return SkipBraced([](char e) { return IsHexDigit(e) || e == ' '; }) ? Other() : Fail();
        for (int k = 0; k < 2 && pos_ < re_.size() && IsHexDigit(re_[pos_]); ++k) ++pos_;
        return Other();
      case 'o':
        if (At(pos_, '{')) return SkipBraced([](char e) { return (e >= '0' && e <= '7') || e == ' '; }) ? Other() : Fail();
        return Other();
      case 'p': case 'P':
        if (At(pos_, '{')) return SkipBraced([](char e) { return IsWordChar(e) || e == '^' || e == ' ' || e == '-'; }) ? Other() : Fail();
        return Other();
      case 'c': {
        // A control character: the next character is its payload, itself possibly escaped.
        if (pos_ >= re_.size() || re_[pos_] == '\\' || static_cast<unsigned char>(re_[pos_]) >= 0x80) return Fail();
        ++pos_;
        return Other();
      }
      case 'C': case 'M':
        return At(pos_, '-') ? Fail() : Other();
      case 'k': case 'g': case 'N':
        if (At(pos_, '<') || At(pos_, '\'') || At(pos_, '{')) SkipNamed();
        return Other();
      case 'u': case 'U':
        for (int k = 0; k < (d == 'u' ? 4 : 8) && pos_ < re_.size() && IsHexDigit(re_[pos_]); ++k) ++pos_;
        return Other();
      default: break;
    }
    if (IsDigit(d)) {  // a back reference or an octal code: every digit after it belongs to it
      while (pos_ < re_.size() && IsDigit(re_[pos_])) ++pos_;
      return Other();
    }
    if (EscapedSelf(d)) return {akLiteral, pos_ - 1, pos_};
    return Other();  // a letter: a class, an anchor, a control character
  }

  // "{...}" after an escape letter, when every byte inside is one that `allowed` takes.
  template <class TAllowed>
  bool SkipBraced(TAllowed allowed) {
    std::size_t j = pos_ + 1;
    while (j < re_.size() && allowed(re_[j])) ++j;
    if (!At(j, '}')) return false;
    pos_ = j + 1;
    return true;
  }

  // A name in <>, '' or {} after \k, \g or \N; left as text where it is not a plain name.
  void SkipNamed() {
    const char close = re_[pos_] == '<' ? '>' : re_[pos_] == '{' ? '}' : '\'';
    std::size_t j = pos_ + 1;
    while (j < re_.size() && (IsWordChar(re_[j]) || re_[j] == '-' || re_[j] == '+')) ++j;
    if (At(j, close)) pos_ = j + 1;
  }

  bool SkipClass() {
    const std::size_t end = RegexClassEnd(re_, pos_);
    if (end == std::string_view::npos) return false;
    pos_ = end;
    return true;
  }

  // A group, at "(": its kind from what follows, then its contents up to the matching ")".
  TAtom Group(int depth) {
    const char e = pos_ + 1 < re_.size() ? re_[pos_ + 1] : '\0';
    if (e == '*') return Fail();  // a callout by name
    if (e != '?') {
      ++pos_;
      return Contents(depth);
    }
    const char f = pos_ + 2 < re_.size() ? re_[pos_ + 2] : '\0';
    switch (f) {
      case '#': return SkipComment() ? Other() : Fail();
      case ':': case '=': case '!': case '>': case '~':
        pos_ += 3;
        return Contents(depth);
      case '<':
        if (!At(pos_ + 3, '=') && !At(pos_ + 3, '!')) return Fail();
        pos_ += 4;
        return Contents(depth);
      case '(':  // a condition: its "(...)" is read as a group inside
        pos_ += 2;
        return Contents(depth);
      default: break;
    }
    return Options(depth);
  }

  // "(?ims-ims)" or "(?ims-ims:...)". An extended option changes how everything after it is
  // read, and a case option over the top level lets the text occur in either case: both give
  // up, as does any other letter.
  TAtom Options(int depth) {
    std::size_t j = pos_ + 2;
    bool off = false, caseOn = false;
    for (; j < re_.size() && (IsLetter(re_[j]) || re_[j] == '-'); ++j) {
      const char o = re_[j];
      if (o == '-') off = true;
      else if (o == 'i') caseOn |= !off;
      else if (o != 'm' && o != 's') return Fail();
    }
    if (j == pos_ + 2 || j >= re_.size()) return Fail();
    if (re_[j] == ':') {
      pos_ = j + 1;
      return Contents(depth);
    }
    if (re_[j] != ')' || (caseOn && depth == 0)) return Fail();
    pos_ = j + 1;
    return Other();
  }

  // The contents of a group up to its ")", read for their structure alone.
  TAtom Contents(int depth) {
    if (depth + 1 > kMaxDepth) return Fail();
    while (pos_ < re_.size()) {
      const TAtom atom = NextAtom(depth + 1);
      if (atom.kind == akFail) return Fail();
      if (atom.kind == akEndGroup) return Other();
      if (atom.kind == akAlternative || atom.kind == akNone) continue;
      if (Quantifiers() == rpFail) return Fail();
    }
    return Fail();  // never closed
  }

  // "(?#...)", at "(": a backslash takes the character after it, the first other ")" ends it.
  bool SkipComment() {
    std::size_t i = pos_ + 3;
    while (i < re_.size()) {
      if (re_[i] == ')') {
        pos_ = i + 1;
        return true;
      }
      if (re_[i] == '\\') ++i;
      if (i >= re_.size()) break;
      const std::size_t len = CharLen(i);
      if (len == 0) return false;
      i += len;
    }
    return false;
  }

  // A brace that may count repeats: digits and commas only. One the module takes as text
  // instead ("{,3}", "{1,2,3}") is read as a count too, which keeps less: the atom before it
  // is then required only when the count's lower bound is above zero.
  bool IntervalAt(std::size_t i, std::size_t& end, bool& mayBeNever) const {
    std::size_t j = i + 1;
    unsigned long low = 0;
    bool lowDigits = false;
    for (; j < re_.size() && IsDigit(re_[j]); ++j) {
      lowDigits = true;
      low = std::min(low * 10 + static_cast<unsigned long>(re_[j] - '0'), 1000000ul);
    }
    while (j < re_.size() && (IsDigit(re_[j]) || re_[j] == ',')) ++j;
    if (!At(j, '}')) return false;
    end = j + 1;
    mayBeNever = !lowDigits || low == 0;
    return true;
  }

  // The quantifiers after an atom, comments between them skipped: a repeat of a repeat is
  // allowed, and a lazy "?" is counted as optional.
  TRepeat Quantifiers() {
    if (quoted_) return rpNone;
    TRepeat repeat = rpNone;
    while (pos_ < re_.size()) {
      if (StartsAt(pos_, "(?#")) {
        if (!SkipComment()) return rpFail;
        continue;
      }
      const char c = re_[pos_];
      std::size_t end = 0;
      bool mayBeNever = false;
      if (c == '*' || c == '?') {
        repeat = rpMaybeNever;
        ++pos_;
      } else if (c == '+') {
        if (repeat == rpNone) repeat = rpAtLeastOnce;
        ++pos_;
      } else if (c == '{' && IntervalAt(pos_, end, mayBeNever)) {
        if (mayBeNever) repeat = rpMaybeNever;
        else if (repeat == rpNone) repeat = rpAtLeastOnce;
        pos_ = end;
      } else {
        break;
      }
    }
    return repeat;
  }

  std::string_view re_;
  std::size_t pos_ = 0;
  bool quoted_ = false;
};

}  // namespace

std::size_t RegexClassEnd(std::string_view re, std::size_t at) {
  constexpr std::size_t npos = std::string_view::npos;
  std::size_t i = at + 1;
  if (i < re.size() && re[i] == '^') ++i;
  if (i < re.size() && re[i] == ']') ++i;
  while (i < re.size()) {
    const char c = re[i];
    if (c == ']') return i + 1;
    if (c == '\\') {
      if (i + 1 >= re.size()) return npos;
      const std::size_t len = CharLenAt(re, i + 1);
      if (len == 0) return npos;
      i += 1 + len;
      continue;
    }
    if (c == '[' && i + 1 < re.size() && re[i + 1] == ':') {
      std::size_t j = i + 2, chars = 0;
      while (j < re.size() && re[j] != ':' && re[j] != ']') {
        const std::size_t len = CharLenAt(re, j);
        if (len == 0 || ++chars > kMaxBracketName) return npos;
        j += len;
      }
      i = j + 1 < re.size() && re[j] == ':' && re[j + 1] == ']' ? j + 2 : i + 1;
      continue;
    }
    const std::size_t len = CharLenAt(re, i);
    if (len == 0) return npos;
    i += len;
  }
  return npos;
}

std::string RequiredLiteral(std::string_view regex) { return TLiteralReader(regex).Run(); }

}  // namespace vorn
