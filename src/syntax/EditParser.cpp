// The syntax tokenizer: owner-driven tokens (brackets, links, comments, quotations), then character classes.
#include "syntax/EditParser.h"

#include "base/sjis.h"

#include <array>
#include <cstring>

namespace vorn {

namespace {

// Run groups of double-byte characters: a token starts in one group and runs on over its members.
enum TWideGroup : std::uint8_t {
  wgSymbol,      // lead 81: one character per token
  wgDigits,      // full-width digits, with the full-width comma and full stop inside
  wgLatin,       // full-width Latin letters
  wgHiragana,    // hiragana, with the long-vowel mark and the full-width hyphen
  wgKatakana,    // katakana, likewise
  wgGreek,       // lead 83 after katakana: Greek letters
  wgCyrillic,    // lead 84
  wgVendor,      // leads 85..87
  wgUnassigned,  // codes no character set assigns
  wgKanji,
  wgLoneUnassigned,  // an unassigned code under leads 82/83: one character
};

constexpr TTokenKind kWideKind[] = {tkWideSymbol, tkWideDigits, tkWideLatin, tkHiragana,   tkKatakana,  tkWideSymbol,
                                    tkWideSymbol, tkVendor,     tkUnassigned, tkKanji,     tkUnassigned};

bool IsKanaMark(unsigned l, unsigned t) { return l == 0x81 && (t == 0x5B || t == 0x7C); }

TWideGroup StartGroup(unsigned l, unsigned t) {
  if (l == 0x81) return wgSymbol;
  if (l == 0x82) {
    if (t >= 0x4F && t <= 0x58) return wgDigits;
    if (t >= 0x60 && t <= 0x9A) return wgLatin;
    if (t >= 0x9F && t <= 0xF1) return wgHiragana;
    return wgLoneUnassigned;
  }
  if (l == 0x83) {
    if (t >= 0x40 && t <= 0x96) return wgKatakana;
    if (t >= 0x9F && t <= 0xF0) return wgGreek;
    return wgLoneUnassigned;
  }
  if (l == 0x84) return wgCyrillic;
  if (l >= 0x85 && l <= 0x87) return wgVendor;
  if ((l == 0x88 && t >= 0x40 && t <= 0x9E) || l >= 0xEB) return wgUnassigned;
  return wgKanji;
}

bool InGroup(TWideGroup g, unsigned l, unsigned t) {
  switch (g) {
    case wgDigits:
      return (l == 0x82 && t >= 0x4F && t <= 0x58) || (l == 0x81 && (t == 0x43 || t == 0x44));
    case wgLatin:
      return l == 0x82 && t >= 0x60 && t <= 0x9A;
    case wgHiragana:
      return (l == 0x82 && t >= 0x9F && t <= 0xF1) || IsKanaMark(l, t);
    case wgKatakana:
      return (l == 0x83 && t >= 0x40 && t <= 0x96) || IsKanaMark(l, t);
    case wgGreek:
      return l == 0x83 && t >= 0x9F && t <= 0xF0;
    case wgCyrillic:
      return l == 0x84;
    case wgVendor:
      return l >= 0x85 && l <= 0x87;
    case wgUnassigned:
      return (l == 0x88 && t >= 0x40 && t <= 0x9E) || l >= 0xEB;
    case wgKanji:
      return (l >= 0x89 && l <= 0x9F) || (l >= 0xE0 && l <= 0xEA) || (l == 0x88 && t >= 0x9F);
    default:
      return false;
  }
}

// Single-byte classes. The values double as token kinds; digits and letters are resolved by their scanners.
constexpr std::uint8_t kcDigit = 100;
constexpr std::uint8_t kcLetter = 101;
constexpr std::uint8_t kcLead = 102;

constexpr std::array<std::uint8_t, 256> MakeByteClass() {
  std::array<std::uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    std::uint8_t k = tkSymbol;
    if ((c >= 0x01 && c <= 0x08) || c == 0x0B || c == 0x0C || (c >= 0x0E && c <= 0x1F) || c == 0x7F) k = tkControl;
    else if (c == 0x09) k = tkTab;
    else if (c == 0x20) k = tkSpaces;
    else if (c >= '0' && c <= '9') k = kcDigit;
    else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') k = kcLetter;
    else if (c >= 0xA1 && c <= 0xA5) k = tkHalfPunct;
    else if (c >= 0xA6 && c <= 0xDF) k = tkHalfKana;
    else if (sjis::IsLeadByte(c)) k = kcLead;
    t[c] = k;
  }
  return t;
}
constexpr std::array<std::uint8_t, 256> kByteClass = MakeByteClass();

constexpr std::array<bool, 256> MakeSet(const char* members) {
  std::array<bool, 256> t{};
  for (const char* p = members; *p; ++p) t[static_cast<unsigned char>(*p)] = true;
  for (int c = '0'; c <= '9'; ++c) t[c] = true;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) t[c] = true;
  return t;
}
constexpr std::array<bool, 256> kMailChars = MakeSet("!$%&*,-./;=?@[]^_~");
constexpr std::array<bool, 256> kUrlChars = MakeSet("!#$%&'()*+,-./:;=?@\\_~");

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsWordByte(unsigned char c) { return kByteClass[c] == kcDigit || kByteClass[c] == kcLetter; }

}  // namespace

bool IsMailChar(unsigned char c) { return kMailChars[c]; }
bool IsUrlChar(unsigned char c) { return kUrlChars[c]; }

TVornEditParser::TVornEditParser(const TVornEditViewInfo* owner, std::string_view text, bool plain, int state)
    : owner_(owner), state_(state), start_(text.data()), length_(static_cast<int>(text.size())), plain_(plain) {
  NextToken();
}

TVornEditParser::TVornEditParser(const TVornEditViewInfo* owner, std::string_view text, bool plain, int state,
                                 int offset)
    : owner_(owner), state_(state), start_(text.data()), length_(static_cast<int>(text.size())), plain_(plain) {
  ResumeAt(offset, state);
}

bool TVornEditParser::Matches(TBregexpObj& pattern, int p, int& len) const {
  len = 0;
  // Literal patterns are tried at every token start and every byte of a bracket body: a first-byte test
  // turns away nearly all of those calls before the pattern object is asked.
  if (pattern.PlainText() && !pattern.Fuzzy()) {
    const std::string& text = pattern.Pattern();
    if (text.empty()) return false;
    const char c = start_[p];
    if (c != text[0] && !(pattern.IgnoreCase() && sjis::UpperAscii(c) == sjis::UpperAscii(text[0]))) return false;
  }
  return pattern.MatchAtBuffer(start_, start_ + length_, len, p);
}

TTokenKind TVornEditParser::NextToken() {
  const int p = tokenEnd_;
  tokenStart_ = p;
  if (AtLineEnd(p)) {
    kind_ = tkEndOfLine;
    return kind_;
  }
  if (owner_ && TryOwnerToken(p)) return kind_;
  TTokenKind kind = tkSymbol;
  tokenEnd_ = ScanCharClass(p, kind);
  kind_ = kind;
  fresh_ = false;
  return kind_;
}

TTokenKind TVornEditParser::ResumeAt(int offset, int state) {
  tokenEnd_ = offset < 0 ? 0 : (offset > length_ ? length_ : offset);
  state_ = state;
  fresh_ = tokenEnd_ == 0;
  return NextToken();
}

bool TVornEditParser::TryOwnerToken(int p) {
  const TVornEditViewInfo& o = *owner_;
  auto take = [this](int end, TTokenKind kind) {
    tokenEnd_ = end;
    kind_ = kind;
    return true;
  };
  if (!plain_ && state_ >= 0) {
    if (state_ < o.Brackets().Count()) {
      bracketIndex_ = state_;
      return take(ScanBracketBody(p, o.Brackets().Items(state_)), tkBracket);
    }
    // A state left over from a longer bracket collection: nothing can close it, so start outside.
    state_ = BracketStateOutside;
  }
  const unsigned char c = At(p);
  const bool mayOpen = !plain_ && o.MayStartBracketOrComment(c);
  if (mayOpen && state_ == BracketStateOutside && TryBracketStart(p)) return true;
  int e;
  if (o.FileObj() && c == 'f' && (e = ScanFileName(p)) > p) return take(e, tkFileName);
  if (o.MailId() && sjis::UpperAscii(static_cast<char>(c)) == 'M' && (e = ScanMailId(p)) > p) return take(e, tkMailId);
  if (o.Mail() && IsMailChar(c) && (e = ScanMailAddress(p)) > p) return take(e, tkMailAddress);
  if (o.Url() && (e = ScanUrl(p)) > p) return take(e, tkUrl);
  if (plain_) return false;
  int len;
  if (mayOpen && Matches(o.Commenter1(), p, len)) {
    e = p;
    while (!AtLineEnd(e)) ++e;
    return take(e, tkComment);
  }
  const std::size_t q = o.Quotation().find(static_cast<char>(c));
  if (q != std::string::npos) return take(ScanQuotation(p, q), tkQuotation);
  return false;
}

void PrepareRightBracket(TVornEditBracketItem& item) {
  TBackRefRegObj& right = item.RightBracket();
  if (!right.HasBackRef()) return;
  right.Matches().Assign(item.LeftBracket().Matches());
  right.Compile();
}

bool TVornEditParser::TryBracketStart(int p) {
  const TVornEditBracketCollection& brackets = owner_->Brackets();
  for (int i = 0; i < brackets.Count(); ++i) {
    TVornEditBracketItem& item = brackets.Items(i);
    int len;
    if (!Matches(item.LeftBracket(), p, len)) continue;
    PrepareRightBracket(item);
    state_ = bracketIndex_ = i;
    int e = ScanBracketBody(p + len, item);
    // An empty left match closed at once would leave the parser where it stood and loop for ever.
    if (e == p) e = p + CharLenAt(p);
    tokenEnd_ = e;
    kind_ = tkBracket;
    return true;
  }
  return false;
}

int TVornEditParser::ScanBracketBody(int p, const TVornEditBracketItem& item) {
  int remaining = item.RightBracketCount() < 1 ? 1 : item.RightBracketCount();
  const bool hasEscape = !item.RightBracketEscapeChar().empty();
  const unsigned char escape = hasEscape ? static_cast<unsigned char>(item.RightBracketEscapeChar()[0]) : 0;
  TBackRefRegObj& right = item.RightBracket();
  while (!AtLineEnd(p)) {
    const int n = CharLenAt(p);
    if (hasEscape && n == 1 && At(p) == escape) {
      ++p;
      if (!AtLineEnd(p)) p += CharLenAt(p);
      continue;
    }
    int len;
    if (Matches(right, p, len)) {
      p += len;
      if (--remaining == 0) {
        state_ = BracketStateOutside;
        break;
      }
      if (!AtLineEnd(p)) p += CharLenAt(p);
      continue;
    }
    p += n;
  }
  if (item.LineOnly()) state_ = BracketStateOutside;
  return p;
}

int TVornEditParser::ScanQuotation(int p, std::size_t quoteIndex) const {
  const unsigned char q = static_cast<unsigned char>(owner_->Quotation()[quoteIndex]);
  const std::string& cancelers = owner_->QuotationCanceler();
  const bool hasCanceler = quoteIndex < cancelers.size();
  const unsigned char c = hasCanceler ? static_cast<unsigned char>(cancelers[quoteIndex]) : 0;
  ++p;
  while (!AtLineEnd(p)) {
    const int n = CharLenAt(p);
    const unsigned char b = At(p);
    if (n == 2) {
      p += 2;
    } else if (hasCanceler && b == c && c != q) {
      ++p;
      if (AtLineEnd(p)) break;
      p += CharLenAt(p);
    } else if (b == q) {
      ++p;
      if (p < length_ && At(p) == q) {
        ++p;  // a doubled quote stands for itself
        continue;
      }
      break;
    } else {
      ++p;
    }
  }
  return p;
}

int TVornEditParser::ScanFileName(int p) const {
  if (length_ - p < 5 || std::memcmp(start_ + p, "file:", 5) != 0) return p;
  p += 5;
  if (length_ - p >= 2 && At(p) == '/' && At(p + 1) == '/') p += 2;
  if (p < length_ && (At(p) == '"' || At(p) == '\'')) {
    ++p;
    while (!AtLineEnd(p)) {
      const unsigned char b = At(p);
      p += CharLenAt(p);
      if (b == '"' || b == '\'') break;
    }
    return p;
  }
  while (!AtLineEnd(p) && At(p) != ' ') p += CharLenAt(p);
  return p;
}

int TVornEditParser::ScanMailId(int p) const {
  static constexpr char kPrefix[] = "MAILID:<";
  if (length_ - p < 8) return p;
  for (int i = 0; i < 8; ++i)
    if (sjis::UpperAscii(start_[p + i]) != kPrefix[i]) return p;
  int q = p + 8;
  while (!AtLineEnd(q)) {
    const unsigned char b = At(q);
    q += CharLenAt(q);
    if (b == '>') break;
  }
  return q;
}

int TVornEditParser::ScanMailAddress(int p) const {
  bool seenAt = false, seenDot = false;
  int q = p + 1;
  for (; q < length_ && IsMailChar(At(q)); ++q) {
    if (At(q) == '@') seenAt = true;
    else if (At(q) == '.' && seenAt) seenDot = true;
  }
  return (seenAt && seenDot) ? q : p;
}

int TVornEditParser::ScanUrl(int p) const {
  auto prefixed = [this, p](const char* prefix) {
    const int n = static_cast<int>(std::strlen(prefix));
    return (length_ - p >= n && std::memcmp(start_ + p, prefix, n) == 0) ? n : 0;
  };
  int n = 0;
  switch (At(p)) {
    case 'f': n = prefixed("ftp:"); break;
    case 'h': n = prefixed("http:"); if (!n) n = prefixed("https:"); break;
    case 'w': n = prefixed("www."); break;
    default: break;
  }
  if (!n) return p;
  int q = p + n;
  while (q < length_ && IsUrlChar(At(q))) ++q;
  return q;
}

int TVornEditParser::ScanNumber(int p, TTokenKind& kind) const {
  auto byteAt = [this](int i) -> unsigned char { return i < length_ ? At(i) : 0; };
  auto exponent = [&](int q) {  // q stands on the "e" or "E"
    ++q;
    if (byteAt(q) == '+' || byteAt(q) == '-') ++q;
    while (IsDigit(byteAt(q))) ++q;
    return q;
  };
  int q = p;
  while (IsDigit(byteAt(q))) ++q;
  kind = tkInteger;
  const unsigned char next = byteAt(q);
  if (next == '.') {
    kind = tkReal;
    const unsigned char after = byteAt(q + 1);
    if (IsDigit(after)) {
      q += 1;
      while (IsDigit(byteAt(q))) ++q;
      if (byteAt(q) == 'e' || byteAt(q) == 'E') q = exponent(q);
    } else if (after == 'e' || after == 'E') {
      q = exponent(q + 1);
    }
  } else if (next == 'e' || next == 'E') {
    kind = tkReal;
    q = exponent(q);
  }
  return q;
}

int TVornEditParser::ScanCharClass(int p, TTokenKind& kind) const {
  const unsigned char c = At(p);
  const std::uint8_t cls = kByteClass[c];
  int q = p + 1;
  switch (cls) {
    case kcDigit:
      return ScanNumber(p, kind);
    case kcLetter:
      kind = tkIdentifier;
      while (q < length_ && IsWordByte(At(q))) ++q;
      return q;
    case tkControl:
    case tkSpaces:
    case tkHalfKana:
      kind = static_cast<TTokenKind>(cls);
      while (q < length_ && kByteClass[At(q)] == cls) ++q;
      return q;
    case kcLead:
      break;
    default:
      kind = static_cast<TTokenKind>(cls);
      return q;
  }
  if (CharLenAt(p) == 1) {  // a lead byte without its partner
    kind = tkSymbol;
    return q;
  }
  const TWideGroup g = StartGroup(c, At(p + 1));
  kind = kWideKind[g];
  q = p + 2;
  while (q < length_ && CharLenAt(q) == 2 && InGroup(g, At(q), At(q + 1))) q += 2;
  return q;
}

TParserFactory DefaultParserFactory() {
  return [](const TVornEditViewInfo* owner, std::string_view text, bool plain, int state) {
    return std::make_unique<TVornEditParser>(owner, text, plain, state);
  };
}

}  // namespace vorn
