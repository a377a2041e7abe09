// Column maps, the column cursor and the row-cutting walk of word wrap.
#include "layout/Wrap.h"

#include "base/sjis.h"

#include <algorithm>
#include <cstring>

namespace vorn {

const TDelimiterSet& DefaultDelimiterSet() {
  static const TDelimiterSet set = [] {
    TDelimiterSet s;
    auto range = [&](int a, int b) {
      for (int c = a; c <= b; ++c) s.set(c);
    };
    range(0x00, 0x2F);
    range(0x3A, 0x40);
    range(0x5B, 0x5E);
    range(0x60, 0x60);
    range(0x7B, 0x80);
    range(0xA0, 0xA5);
    range(0xFD, 0xFF);
    return s;
  }();
  return set;
}

// Column codes by byte: `first` gives cmLead for lead bytes and the single-byte code for the
// rest; `single` gives the single-byte code of every byte (for a lead byte with no trail).
struct TByteCodes {
  char first[256];
  char single[256];
  explicit TByteCodes(const TDelimiterSet& delims) {
    for (int c = 0; c < 256; ++c) {
      single[c] = delims.test(c) ? cmDelimiter : cmSingle;
      first[c] = sjis::IsLeadByte(static_cast<unsigned char>(c)) ? cmLead : single[c];
    }
  }
};

namespace {

// memchr must not see the null pointer of an empty view.
bool Contains(std::string_view s, char c) { return !s.empty() && std::memchr(s.data(), c, s.size()) != nullptr; }

// Returns whether the text holds a tab (and so the map tab columns).
bool BuildMap(std::string_view t, int tabSpaceCount, int wrapByte, const TByteCodes& codes, std::string& map) {
  const std::size_t n = t.size();
  const unsigned char* p = reinterpret_cast<const unsigned char*>(t.data());
  if (!Contains(t, '\t')) {
    // One column per byte: fill in place, which is the hot path of every re-wrap.
    map.resize(n);
    char* out = map.data();
    std::size_t i = 0;
    while (i < n) {
      const char k = codes.first[p[i]];
      if (k != cmLead) {
        out[i++] = k;
      } else if (i + 1 < n) {
        out[i] = cmLead;
        out[i + 1] = cmTrail;
        i += 2;
      } else {
        out[i] = codes.single[p[i]];
        ++i;
      }
    }
    return false;
  }
  map.clear();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    if (codes.first[c] == cmLead && i + 1 < n) {
      map += cmLead;
      map += cmTrail;
      i += 2;
      continue;
    }
    const int j = static_cast<int>(map.size());
    map += codes.single[c];
    if (c == '\t') {
      int fill;
      if (wrapByte > 0) {
        const int inRow = j % wrapByte;
        fill = std::min(tabSpaceCount - 1 - inRow % tabSpaceCount, wrapByte - 1 - inRow);
      } else {
        fill = tabSpaceCount - 1 - j % tabSpaceCount;
      }
      map.append(static_cast<std::size_t>(fill), cmTabRest);
    }
    ++i;
  }
  return true;
}

}  // namespace

void BuildColumnMap(std::string_view t, int tabSpaceCount, int wrapByte, const TDelimiterSet& delims,
                    std::string& map) {
  BuildMap(t, tabSpaceCount, wrapByte, TByteCodes(delims), map);
}

std::string ColumnMap(std::string_view t, int tabSpaceCount, int wrapByte, const TDelimiterSet& delims) {
  std::string map;
  BuildColumnMap(t, tabSpaceCount, wrapByte, delims, map);
  return map;
}

// --- TVornEditAttributeArray ------------------------------------------------------------

TVornEditAttributeArray::TVornEditAttributeArray(std::string_view text, std::string_view mapWithEnd)
    : text_(text), map_(mapWithEnd.data()), columnCount_(static_cast<int>(mapWithEnd.size()) - 1),
      hasTabRest_(Contains(mapWithEnd, cmTabRest)) {}

TVornEditAttributeArray::TVornEditAttributeArray(std::string_view text, std::string_view mapWithEnd,
                                                 bool hasTabRest)
    : text_(text), map_(mapWithEnd.data()), columnCount_(static_cast<int>(mapWithEnd.size()) - 1),
      hasTabRest_(hasTabRest) {}

void TVornEditAttributeArray::MoveTo(int c) {
  if (!hasTabRest_) {
    // Without tabs every column is one byte, so the cursor can jump.
    col_ = std::clamp(c, 1, columnCount_ + 1);
    byte_ = col_;
    return;
  }
  while (col_ < c && !OnEnd()) Next();
  while (col_ > c && col_ > 1) Prev();
}

std::string_view TVornEditAttributeArray::Current() const {
  switch (Code()) {
    case cmEnd:
      return {};
    case cmLead:
      return text_.substr(byte_ - 1, 2);
    case cmTrail:
      return text_.substr(byte_ - 2, 2);
    default:
      return text_.substr(byte_ - 1, 1);
  }
}

std::string_view TVornEditAttributeArray::PeekNext() {
  if (OnEnd()) return {};
  Next();
  std::string_view c = Current();
  Prev();
  return c;
}

bool InCharSet(std::string_view c, std::string_view set) {
  if (c.empty()) return false;
  for (std::size_t i = 0; i < set.size();) {
    std::size_t len = sjis::CharLen(set, i);
    if (set.substr(i, len) == c) return true;
    i += len;
  }
  return false;
}

// --- TWordWrapper -----------------------------------------------------------------------

void TWordWrapper::TCharSet::Build(std::string_view s) {
  single.reset();
  dbl.assign(65536, false);
  for (std::size_t i = 0; i < s.size();) {
    std::size_t len = sjis::CharLen(s, i);
    if (len == 1)
      single.set(static_cast<unsigned char>(s[i]));
    else
      dbl[static_cast<unsigned char>(s[i]) << 8 | static_cast<unsigned char>(s[i + 1])] = true;
    i += len;
  }
}

bool TWordWrapper::TCharSet::Has(std::string_view c) const {
  if (c.size() == 1) return single.test(static_cast<unsigned char>(c[0]));
  if (c.size() == 2) return dbl[static_cast<unsigned char>(c[0]) << 8 | static_cast<unsigned char>(c[1])];
  return false;
}

TWordWrapper::TWordWrapper() : TWordWrapper(TVornEditWrapOption()) {}

TWordWrapper::TWordWrapper(const TVornEditWrapOption& option, int tabSpaceCount,
                           const TDelimiterSet& delims) {
  Configure(option, tabSpaceCount, delims);
}

void TWordWrapper::Configure(const TVornEditWrapOption& option, int tabSpaceCount,
                             const TDelimiterSet& delims) {
  w_ = option.WrapByte();
  tabSpaceCount_ = tabSpaceCount;
  followRetMark_ = option.FollowRetMark();
  followPunctuation_ = option.FollowPunctuation();
  leading_ = option.Leading();
  wordBreak_ = option.WordBreak();
  punctuation_.Build(option.PunctuationStr());
  lead_.Build(option.LeadStr());
  follow_.Build(option.FollowStr());
  codes_ = std::make_shared<TByteCodes>(delims);
}

bool TWordWrapper::FitsOneRow(std::string_view line) {
  // Without a tab the width is the byte count, and the line need not be mapped at all.
  if (!Contains(line, '\t'))
    return line.size() < static_cast<std::size_t>(w_);
  return LineWidth(line) < w_;
}

int TWordWrapper::LineWidth(std::string_view line) {
  BuildMap(line, tabSpaceCount_, w_, *codes_, map_);
  return static_cast<int>(map_.size());
}

// The walk over one line that is at least W columns wide. The sink hears each row as a
// 1-based inclusive byte range, and LastRowEndsLine when the line break joins the last row.
template <class Sink>
void TWordWrapper::Walk(std::string_view s, Sink& sink) {
  const bool hasTab = BuildMap(s, tabSpaceCount_, w_, *codes_, map_);
  map_ += cmEnd;
  TVornEditAttributeArray a(s, map_, hasTab);
  const int W = w_;
  const int width = a.ColumnCount();
  const int keep = W / 5 * 4;  // push-out never shrinks a row to this or less
  int f = 1, from = 1;
  auto rowLen = [&] { return a.Column() - f + 1; };
  a.MoveTo(f + W - 1);
  for (;;) {
    if (a.OnEnd()) {
      if (f < a.Column())
        sink.Row(from, static_cast<int>(s.size()), false);
      else if (!followRetMark_)
        sink.Row(static_cast<int>(s.size()) + 1, static_cast<int>(s.size()), false);
      else
        sink.LastRowEndsLine();
      return;
    }
    if (a.Code() == cmLead) {
      a.Prev();
    } else if (wordBreak_ && width - f + 1 > W) {
      auto breaksAfter = [&] {
        return a.Code() == cmDelimiter || a.Code() == cmTabRest || a.Code() == cmTrail;
      };
      const int full = a.Column();
      while (!breaksAfter() && rowLen() > W / 3) a.BackOneChar();
      // A word too long to leave two thirds of the row is cut at the full width rather
      // than at a third of it.
      if (!breaksAfter() || rowLen() <= W / 3) a.MoveTo(full);
    }
    if (followPunctuation_) {
      while (rowLen() < W + 2 && punctuation_.Has(a.PeekNext())) {
        a.Next();
        if (a.Code() == cmLead) a.Next();
      }
    }
    if (leading_ && a.Column() != width) {
      while (rowLen() > keep && lead_.Has(a.Current())) a.BackOneChar();
      if (width - a.Column() >= 2) {
        std::string_view n = a.PeekNext();
        std::string_view c = a.Current();
        if (follow_.Has(n)) {
          while (rowLen() > keep && (lead_.Has(c) || follow_.Has(n))) {
            a.BackOneChar();
            n = c;
            c = a.Current();
          }
        }
      }
    }
    sink.Row(from, a.ByteIndex(), true);
    a.Next();
    while (a.Code() == cmTabRest) a.Next();
    from = a.ByteIndex();
    f = a.Column();
    a.MoveTo(f + W - 1);
  }
}

namespace {
struct TRowSink {
  std::vector<TWrapRow>& rows;
  uint32_t base;
  void Row(int from, int to, bool wrapped) {
    rows.push_back({base + static_cast<uint32_t>(from - 1), static_cast<uint32_t>(to - from + 1),
                    wrapped ? reWrapped : reLineEnd});
  }
  void LastRowEndsLine() { rows.back().End = reLineEnd; }
};
struct TCountSink {
  int count = 0;
  void Row(int, int, bool) { ++count; }
  void LastRowEndsLine() {}
};
}  // namespace

void TWordWrapper::WrapLine(std::string_view line, uint32_t base, std::vector<TWrapRow>& rows) {
  if (FitsOneRow(line)) {
    rows.push_back({base, static_cast<uint32_t>(line.size()), reLineEnd});
    return;
  }
  TRowSink sink{rows, base};
  Walk(line, sink);
}

int TWordWrapper::CountRowsOfLine(std::string_view line) {
  if (FitsOneRow(line)) return 1;
  TCountSink sink;
  Walk(line, sink);
  return sink.count;
}

void TWordWrapper::TextToRows(std::string_view text, bool wordWrap, std::vector<TWrapRow>& rows) {
  rows.clear();
  text = text.substr(0, text.find('\0'));
  if (text.empty()) {
    rows.push_back({0, 0, reLineEnd});
    return;
  }
  const char* p = text.data();
  const std::size_t n = text.size();
  std::size_t pos = 0;
  while (pos < n) {
    std::size_t e = pos;
    while (e < n && p[e] != '\r' && p[e] != '\n') ++e;
    std::string_view line(p + pos, e - pos);
    if (wordWrap)
      WrapLine(line, static_cast<uint32_t>(pos), rows);
    else
      rows.push_back({static_cast<uint32_t>(pos), static_cast<uint32_t>(e - pos), reLineEnd});
    if (e < n && p[e] == '\r' && e + 1 < n && p[e + 1] == '\n') ++e;
    pos = e + 1;
  }
}

}  // namespace vorn
