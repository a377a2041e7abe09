// TRowColorer: token colours, marks, keyword and find matches for the visible cells of a row.
#include "editcore/RowColoring.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/sjis.h"

namespace vorn {
namespace {

// Checkpoints keep a walk into a long line within a few kilobytes of tokenising.
constexpr int kCheckpointGap = 2048;
// Bytes beyond the visible cells a keyword or find match may start before or run on into.
constexpr int kMatchSlack = 64;

constexpr std::uint8_t kfTokenStart = 1;
constexpr std::uint8_t kfRegion = 2;
constexpr std::uint8_t kfBlank = 4;

bool IsRegion(TTokenKind k) { return k == tkQuotation || k == tkBracket || k == tkComment; }

// Any byte outside the lead range ends a character, so whether pos starts one follows from the
// parity of the lead-range run before it (segmentStart being a character start).
bool CharStartAt(std::string_view text, int segmentStart, int pos) {
  int run = 0;
  while (pos - run - 1 >= segmentStart && sjis::IsLeadByte(text[static_cast<std::size_t>(pos - run - 1)])) ++run;
  return run % 2 == 0;
}

int TabCells(int col, int tab, int wrap) {
  const int t = std::max(1, tab);
  int width = t - col % t;
  if (wrap > 0) width = std::min(width, wrap - col % wrap);
  return std::max(1, width);
}

}  // namespace

void TRowColorer::SetSetup(const TColoringSetup& setup) {
  setup_ = setup;
  checkpoints_.clear();
}

std::uint8_t TRowColorer::StyleOf(int entry) const {
  const TVornEditViewInfo* v = setup_.View;
  if (!v || entry < 0 || entry >= v->Colors().Count()) return 0;
  return v->Colors()[entry].Style();
}

int TRowColorer::EntryOfToken(const TToken& t) const {
  switch (t.Kind) {
    case tkSymbol: return ce::Symbol;
    case tkQuotation: return ce::Quotation;
    case tkInteger:
    case tkReal: return ce::Number;
    case tkBracket: {
      const TVornEditViewInfo* v = setup_.View;
      if (!v || t.Bracket < 0 || t.Bracket >= v->Brackets().Count()) return ce::Normal;
      const int entry = v->Brackets().Items(t.Bracket).ColorIndex();
      return entry >= 0 && entry < v->Colors().Count() ? entry : ce::Normal;
    }
    case tkComment: return ce::Comment;
    case tkIdentifier: return ce::Half;
    case tkWideSymbol:
    case tkWideDigits:
    case tkWideLatin:
    case tkHiragana:
    case tkKatakana:
    case tkKanji: return ce::Wide;
    case tkHalfPunct:
    case tkHalfKana:
    case tkVendor:
    case tkUnassigned: return ce::Vendor;
    case tkUrl: return ce::Url;
    case tkMailAddress: return ce::Mail;
    case tkFileName: return ce::FileName;
    case tkMailId: return ce::MailId;
    case tkControl: return ce::Control;
    default: return ce::Normal;
  }
}

void TRowColorer::CollectCells(const TRowSpan& span, TRowPaint& out) {
  out.Cells.clear();
  out.EndCol = -1;
  out.RowBack = out.TailBack = -1;
  out.EndSelected = false;
  const std::string_view line = span.Line;
  int b = span.StartByte;
  int col = span.StartCol;
  while (b < span.RowEnd && col < span.LastCol) {
    TPaintCell c;
    c.Byte = b - span.RowBegin;
    c.Col = col;
    const auto byte = static_cast<unsigned char>(line[static_cast<std::size_t>(b)]);
    int len = 1;
    if (sjis::IsLeadByte(byte) && b + 1 < span.RowEnd) {
      len = 2;
      c.Cells = 2;
      c.Bytes = 2;
    } else if (byte == '\t') {
      c.Cells = static_cast<std::uint16_t>(TabCells(col - 0, setup_.TabWidth, setup_.WrapWidth));
    }
    col += c.Cells;
    b += len;
    out.Cells.push_back(c);
  }
  if (b >= span.RowEnd) out.EndCol = col;
  cellFlags_.assign(out.Cells.size(), 0);
}

// Colours the cells the token covers; the marks of blanks and control characters take the
// token's colours inside a region, their own entries elsewhere.
void TRowColorer::ColorToken(const TToken& t, const TRowSpan& span, TRowPaint& out) {
  const int entry = EntryOfToken(t);
  const bool region = IsRegion(t.Kind);
  const std::uint8_t style = StyleOf(entry);
  const TVornEditMarksValues& marks = setup_.Marks;
  const std::string_view line = span.Line;
  auto first = std::lower_bound(out.Cells.begin(), out.Cells.end(), t.Start - span.RowBegin,
                                [](const TPaintCell& c, int byte) { return c.Byte < byte; });
  for (auto it = first; it != out.Cells.end() && it->Byte + span.RowBegin < t.End; ++it) {
    TPaintCell& c = *it;
    const auto ci = static_cast<std::size_t>(it - out.Cells.begin());
    const int at = c.Byte + span.RowBegin;
    const auto byte = static_cast<unsigned char>(line[static_cast<std::size_t>(at)]);
    int own = entry;
    TCellMark mark = cmNone;
    if (byte == '\t') {
      if (marks.TabMark) {
        mark = cmTab;
        own = ce::TabMark;
      }
    } else if (byte == ' ') {
      if (marks.SpaceMark) {
        mark = cmSpace;
        own = ce::SpaceMark;
      }
    } else if (byte == 0x81 && c.Bytes == 2 && line[static_cast<std::size_t>(at) + 1] == '\x40') {
      if (marks.DBSpaceMark) {
        mark = cmWideSpace;
        own = ce::WideSpace;
      }
    } else if ((byte < 0x20 || byte == 0x7F) && c.Bytes == 1) {
      mark = cmControl;
      own = ce::Control;
    }
    if (region) own = entry;
    if (!region && mark == cmNone && (t.Kind == tkTab || t.Kind == tkSpaces)) own = ce::Normal;
    c.Color = c.Back = static_cast<std::uint8_t>(own);
    c.Style = own == entry ? style : StyleOf(own);
    c.Mark = mark;
    c.Region = region;
    std::uint8_t f = region ? kfRegion : 0;
    if (at == t.Start) f |= kfTokenStart;
    if (t.Kind == tkTab || t.Kind == tkSpaces) f |= kfBlank;
    cellFlags_[ci] = f;
  }
}

void TRowColorer::NoteCheckpoint(int lineKey, const TToken& t) {
  std::vector<TToken>& list = checkpoints_[lineKey];
  if (!list.empty() && t.Start <= list.back().Start) return;
  if (!list.empty() && t.Start < list.back().Start + kCheckpointGap && t.End - t.Start < kCheckpointGap) return;
  list.push_back(t);
}

const TRowColorer::TToken* TRowColorer::CheckpointBefore(int lineKey, int offset) const {
  const auto found = checkpoints_.find(lineKey);
  if (found == checkpoints_.end()) return nullptr;
  const std::vector<TToken>& list = found->second;
  auto it = std::upper_bound(list.begin(), list.end(), offset, [](int o, const TToken& t) { return o < t.Start; });
  return it == list.begin() ? nullptr : &*(it - 1);
}

// Tokenises from the nearest known token boundary before the visible part to its right end:
// the rest of a long line is never read.
void TRowColorer::ColorTokens(const TRowSpan& span, TRowPaint& out) {
  const int visEnd = out.Cells.empty() ? span.StartByte : out.Cells.back().Byte + span.RowBegin + 1;
  const TToken* cp = CheckpointBefore(span.LineKey, span.StartByte);
  int offset = 0;
  int state = span.LineState;
  TToken last;
  bool any = false;
  if (cp) {
    const TToken known = *cp;
    if (known.End > span.StartByte) {
      ColorToken(known, span, out);
      last = known;
      any = true;
    }
    offset = known.End;
    state = known.StateAfter;
  }
  TVornEditParser parser(setup_.View, span.Line, false, state, offset);
  while (parser.Kind() != tkEndOfLine) {
    TToken t{parser.TokenOffset(), parser.TokenEnd(), parser.Kind(), static_cast<std::int8_t>(parser.BracketIndex()),
             static_cast<std::int8_t>(parser.State())};
    NoteCheckpoint(span.LineKey, t);
    if (t.Start >= visEnd || t.Start >= span.RowEnd) break;
    if (t.End > span.StartByte) {
      ColorToken(t, span, out);
      last = t;
      any = true;
    }
    parser.NextToken();
  }
  if (out.EndCol < 0) return;
  // The rest of a row that ends inside a comment or an open bracket region takes its colour.
  const TVornEditViewInfo* v = setup_.View;
  if (any && last.End >= span.RowEnd && span.RowEnd > span.RowBegin) {
    if (last.Kind == tkComment) out.TailBack = ce::Comment;
    if (last.Kind == tkBracket && (last.End > span.RowEnd || last.StateAfter >= 0)) out.TailBack = EntryOfToken(last);
  } else if (span.RowEnd == span.RowBegin && v && span.LineState >= 0 && span.LineState < v->Brackets().Count()) {
    out.TailBack = EntryOfToken(TToken{0, 0, tkBracket, static_cast<std::int8_t>(span.LineState), -1});
  }
}

bool TRowColorer::FindMatch(TBregexpObj& pattern, const TRowSpan& span, bool upper, int& pos, int& len) {
  if (upper) {
    if (!upperValid_) {
      upper_ = sjis::UpperAscii(span.Line.substr(static_cast<std::size_t>(windowBegin_),
                                                 static_cast<std::size_t>(windowEnd_ - windowBegin_)));
      upperValid_ = true;
    }
    int p = pos - windowBegin_;
    if (upper_.empty() || !pattern.FindInBuffer(upper_.data(), upper_.data() + upper_.size(), len, p)) return false;
    pos = p + windowBegin_;
    return true;
  }
  int p = pos;
  const char* base = span.Line.data();
  if (!pattern.FindInBuffer(base, base + windowEnd_, len, p)) return false;
  pos = p;
  return true;
}

// A plain keyword whose first byte the window lacks cannot match there: most of a long list
// is turned away by one memchr instead of a search.
bool TRowColorer::MayOccur(const TVornEditKeyword& kw, const TRowSpan& span, bool upper) {
  if (!kw.PlainText() || kw.Fuzzy() || kw.Pattern().empty()) return true;
  const char first = kw.Pattern()[0];
  if (upper) {
    if (!upperValid_) {
      upper_ = sjis::UpperAscii(span.Line.substr(static_cast<std::size_t>(windowBegin_),
                                                 static_cast<std::size_t>(windowEnd_ - windowBegin_)));
      upperValid_ = true;
    }
    return std::memchr(upper_.data(), sjis::UpperAscii(first), upper_.size()) != nullptr;
  }
  const char* from = span.Line.data() + windowBegin_;
  const auto n = static_cast<std::size_t>(windowEnd_ - windowBegin_);
  if (std::memchr(from, first, n)) return true;
  if (!kw.IgnoreCase()) return false;
  const char lower = first >= 'A' && first <= 'Z' ? static_cast<char>(first - 'A' + 'a') : first;
  return std::memchr(from, sjis::UpperAscii(first), n) || std::memchr(from, lower, n);
}

// Keywords are tried from the last entry to the first, at character starts outside regions
// only: a keyword must never colour the trail byte of a double-byte character.
void TRowColorer::FindKeywords(const TRowSpan& span, TRowPaint& out) {
  const TVornEditViewInfo* v = setup_.View;
  if (!v || !v->Keyword() || out.Cells.empty()) return;
  TVornEditKeywords& list = v->Keywords();
  const int visEnd = out.Cells.back().Byte + span.RowBegin + 1;
  int cutoff = INT_MAX;
  for (int k = list.Count() - 1; k >= 0; --k) {
    TVornEditKeyword& kw = list.Items(k);
    const bool upper = kw.IgnoreCase() && kw.PlainText() && kw.UpperTarget();
    if (!MayOccur(kw, span, upper)) continue;
    int pos = windowBegin_;
    while (pos < visEnd && pos < cutoff) {
      int at = pos, len = 0;
      if (!FindMatch(kw, span, upper, at, len) || at >= visEnd || at >= cutoff) break;
      pos = at + std::max(1, len);
      if (len <= 0 || !CharStartAt(span.Line, span.RowBegin, at)) {
        pos = at + 1;
        continue;
      }
      if (at >= span.StartByte) {
        auto it = std::lower_bound(out.Cells.begin(), out.Cells.end(), at - span.RowBegin,
                                   [](const TPaintCell& c, int byte) { return c.Byte < byte; });
        if (it == out.Cells.end() || it->Byte + span.RowBegin != at) {
          pos = at + 1;
          continue;
        }
        const std::uint8_t f = cellFlags_[static_cast<std::size_t>(it - out.Cells.begin())];
        if ((f & kfRegion) || (kw.WholeWord() && (!(f & kfTokenStart) || (f & kfBlank)))) {
          pos = at + 1;
          continue;
        }
      }
      int s = at, e = at + len;
      const int group = kw.HighlightGroup();
      if (group > 0 && group < kw.Matches().Count()) {
        s = kw.Matches().Positions(group) + (upper ? windowBegin_ : 0);
        e = s + kw.Matches().Lengths(group);
      }
      const int entry = kw.ColorIndex() >= 0 && kw.ColorIndex() < v->Colors().Count() ? kw.ColorIndex() : 0;
      if (kw.IsLineEmphasis()) {
        // Entries tried after a row emphasis no longer match on the rest of the row.
        out.RowBack = entry;
        cutoff = at;
        break;
      }
      if (e > s) matches_.push_back({s, e, entry});
    }
  }
}

void TRowColorer::FindHighlight(const TRowSpan& span) {
  TVornEditKeyword* find = setup_.Find;
  findMatches_.clear();
  if (!find || find->Pattern().empty() || windowEnd_ <= windowBegin_) return;
  const bool upper = find->IgnoreCase() && find->PlainText() && find->UpperTarget();
  int pos = windowBegin_;
  while (pos < windowEnd_) {
    int at = pos, len = 0;
    if (!FindMatch(*find, span, upper, at, len) || at >= windowEnd_) break;
    pos = at + std::max(1, len);
    if (len > 0 && CharStartAt(span.Line, span.RowBegin, at)) findMatches_.push_back({at, at + len, ce::Find});
  }
}

void TRowColorer::ApplyMatches(const TRowSpan& span, TRowPaint& out) {
  auto paint = [&](const TMatch& m) {
    const std::uint8_t style = StyleOf(m.Entry);
    auto it = std::lower_bound(out.Cells.begin(), out.Cells.end(), m.Start - span.RowBegin,
                               [](const TPaintCell& c, int byte) { return c.Byte < byte; });
    for (; it != out.Cells.end() && it->Byte + span.RowBegin < m.End; ++it) {
      it->Color = it->Back = static_cast<std::uint8_t>(m.Entry);
      it->Style = style;
      it->Region = true;
    }
  };
  if (out.RowBack >= 0) paint({span.RowBegin, span.RowEnd, out.RowBack});
  // Entries tried later (earlier in the list) are painted on top, and the find highlight last.
  for (const TMatch& m : matches_) paint(m);
  for (const TMatch& m : findMatches_) paint(m);
}

void TRowColorer::ColorRow(const TRowSpan& span, TEndMark end, TRowPaint& out) {
  CollectCells(span, out);
  out.End = end;
  matches_.clear();
  findMatches_.clear();
  ColorTokens(span, out);
  if (!out.Cells.empty()) {
    windowBegin_ = std::max(span.RowBegin, span.StartByte - kMatchSlack);
    while (windowBegin_ > span.RowBegin && !CharStartAt(span.Line, span.RowBegin, windowBegin_)) --windowBegin_;
    windowEnd_ = static_cast<int>(std::min<std::size_t>(
        span.Line.size(), static_cast<std::size_t>(out.Cells.back().Byte + span.RowBegin + 1 + kMatchSlack)));
    upperValid_ = false;
    FindKeywords(span, out);
    FindHighlight(span);
    ApplyMatches(span, out);
  }
}

void TRowColorer::ApplySelection(TRowPaint& paint, int start, int end) {
  if (start >= end) return;
  for (TPaintCell& c : paint.Cells) {
    const int last = c.Col + c.Cells;
    if (c.Col >= start && last <= end)
      c.Sel = 1;
    else if (c.Col < end && last > start)
      c.Sel = 2;
  }
  paint.EndSelected = paint.EndCol >= start && paint.EndCol < end;
}

std::string DumpRowPaint(std::string_view row, const TRowPaint& paint) {
  static const char kMarks[] = {'-', 'T', 'S', 'W', 'C'};
  std::string out;
  const std::vector<TPaintCell>& cells = paint.Cells;
  for (std::size_t i = 0; i < cells.size();) {
    std::size_t j = i + 1;
    auto same = [&](const TPaintCell& a, const TPaintCell& b) {
      return a.Color == b.Color && a.Back == b.Back && a.Style == b.Style && a.Mark == b.Mark && a.Sel == b.Sel &&
             a.Mark == cmNone;
    };
    while (j < cells.size() && same(cells[i], cells[j])) ++j;
    const TPaintCell& c = cells[i];
    const TPaintCell& l = cells[j - 1];
    const int lastByte = l.Byte + l.Bytes;
    out += std::to_string(c.Col) + "-" + std::to_string(l.Col + l.Cells) + " '" +
           std::string(row.substr(static_cast<std::size_t>(c.Byte), static_cast<std::size_t>(lastByte - c.Byte))) +
           "' c" + std::to_string(c.Color) + " b" + std::to_string(c.Back) + " s" + std::to_string(c.Style) + " m" +
           kMarks[c.Mark] + (c.Sel == 1 ? " sel" : c.Sel == 2 ? " cut" : "") + "\n";
    i = j;
  }
  if (paint.EndCol >= 0 && paint.End != TEndMark::None)
    out += std::string(paint.End == TEndMark::Eof ? "eof" : "ret") + " at " + std::to_string(paint.EndCol) +
           (paint.EndSelected ? " sel" : "") + "\n";
  if (paint.RowBack >= 0) out += "row b" + std::to_string(paint.RowBack) + "\n";
  if (paint.TailBack >= 0) out += "tail b" + std::to_string(paint.TailBack) + "\n";
  return out;
}

}  // namespace vorn
