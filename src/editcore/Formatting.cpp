// TVornEditCore paragraph formatting: gathering the caret's paragraph, refilling it in one
// replacement (one undo step), the automatic trigger, and dividing a line under its prefix.
#include <algorithm>

#include "base/TextUtil.h"
#include "base/sjis.h"
#include "editcore/EditCore.h"
#include "editcore/Refill.h"
#include "layout/StoreWrap.h"

namespace vorn {
namespace {

int MatchAtStart(const TVornEditKeywords& list, std::string_view text) {
  for (int i = 0; i < list.Count(); ++i) {
    int len = 0;
    if (list.Items(i).MatchAtBuffer(text.data(), text.data() + text.size(), len, 0) && len > 0) return len;
  }
  return 0;
}

bool LastCharSingle(std::string_view s) {
  std::size_t i = 0, last = 0;
  while (i < s.size()) {
    last = i;
    i += sjis::CharLen(s, i);
  }
  return !s.empty() && i - last == 1;
}

bool JoinsWithSpace(char c) { return c != ' ' && c != ',' && c != '.' && c != ':' && c != ';'; }

// Leading full-width spaces count as two spaces of indentation, the same bytes long.
void WideIndentAsSpaces(std::string& s) {
  for (std::size_t i = 0; i + 1 < s.size();) {
    if (s[i] == ' ' || s[i] == '\t') {
      ++i;
    } else if (s.compare(i, 2, "\x81\x40") == 0) {
      s.replace(i, 2, "  ");
      i += 2;
    } else {
      break;
    }
  }
}

}  // namespace

// The paragraph as one string, the source lines it stands for and the caret's byte in it.
struct TVornEditCore::TGathered {
  std::string P;
  int FirstRow = 0;
  int LastRow = 0;  // the last row of the last source line
  int Caret = -1;
};

TRefillRules TVornEditCore::RefillRules() const {
  const TVornEditSeikeiOption& o = seikei_;
  TRefillRules r;
  r.WrapCount = o.WrapCount();
  r.WordWrap = o.WordWrap();
  r.InsertSpace = o.InsertSpace();
  r.LeftUninsertSpaceStr = o.LeftUninsertSpaceStr();
  r.RightUninsertSpaceStr = o.RightUninsertSpaceStr();
  r.FollowStr = WrapOptionOf(*store_).FollowStr();
  r.LeadStr = WrapOptionOf(*store_).LeadStr();
  r.CommentThrough = o.CommentThrough();
  r.WSpaceIndent = caretOptions_.WSpaceIndent;
  r.TabSpaceCount = TabSpaceCount();
  const TVornEditSeikeiOption* opt = &seikei_;
  r.Comment = [opt](std::string_view t) { return MatchAtStart(opt->CommentList(), t); };
  r.Item = [opt](std::string_view t) { return MatchAtStart(opt->ItemizeList(), t); };
  return r;
}

std::string TVornEditCore::FormattingLine(int row, int* lastRow) const {
  const int first = store_->FirstRowOfLine(row);
  const int last = store_->LastRowOfLine(row);
  TRowEnd kind = reNone;
  std::string text = store_->GetRowsText(first, last - first + 1, &kind);
  if (kind == reLineEnd) text.resize(text.size() - 2);
  if (lastRow) *lastRow = last;
  return text;
}

TVornEditCore::TGathered TVornEditCore::GatherParagraph(int caretLineOffset) {
  if (HasSelection()) return GatherSelectedLines();
  TGathered g;
  const int n = RowCount();
  if (state_.CaretRow >= n) return g;
  const TVornEditSeikeiOption& o = seikei_;
  const bool wide = caretOptions_.WSpaceIndent;
  const int w = o.WrapCount();
  const int tab = TabSpaceCount();
  const int wrapByte = o.WordWrap() && WordWrap() ? WrapByte() : 0;
  const auto outside = [w](int width) { return width < w - 6 || width > w + 6; };
  g.FirstRow = store_->FirstRowOfLine(state_.CaretRow);
  const std::string line = FormattingLine(g.FirstRow, &g.LastRow);
  if (line.empty()) return g;
  std::string comment;
  if (o.CommentThrough()) {
    const std::string_view stripped = std::string_view(line).substr(static_cast<std::size_t>(LeadingBlankLength(line, wide)));
    comment = std::string(stripped.substr(0, static_cast<std::size_t>(MatchAtStart(o.CommentList(), stripped))));
  }
  if (o.CommentOnly() && comment.empty()) return g;
  g.Caret = std::clamp(caretLineOffset, 0, static_cast<int>(line.size()));
  g.P = o.TabToSpace() ? ExpandTabsForRefill(line, tab, wrapByte, &g.Caret) : line;
  if (wide) WideIndentAsSpaces(g.P);
  SetCaretPos(g.FirstRow, 0);
  if (outside(RefillLineWidth(g.P, tab)) && caretLineOffset < static_cast<int>(line.size())) return g;
  bool lastSingle = LastCharSingle(g.P);
  for (int row = g.LastRow + 1; row < n;) {
    int last = row;
    const std::string t = FormattingLine(row, &last);
    if (TrimBlanks(t, true, true).empty()) break;
    if (!wide && t.compare(0, 2, "\x81\x40") == 0) break;
    std::string_view body = std::string_view(t).substr(static_cast<std::size_t>(LeadingBlankLength(t, wide)));
    if (!comment.empty()) {
      const int m = MatchAtStart(o.CommentList(), body);
      if (m == 0 || body.substr(0, static_cast<std::size_t>(m)) != comment) break;
      body.remove_prefix(static_cast<std::size_t>(m));
      body.remove_prefix(static_cast<std::size_t>(LeadingBlankLength(body, false)));
      if (body.empty()) break;
    } else if (o.CommentThrough() && MatchAtStart(o.CommentList(), body) > 0) {
      break;
    }
    if (MatchAtStart(o.ItemizeList(), body) > 0) break;
    std::string text(body);
    if (o.TabToSpace()) text = ExpandTabsForRefill(text, tab, wrapByte, nullptr);
    const bool space = lastSingle && JoinsWithSpace(g.P.back()) && !sjis::IsLeadByte(text[0]) && JoinsWithSpace(text[0]);
    if (space) g.P += ' ';
    g.P += text;
    lastSingle = LastCharSingle(text);
    g.LastRow = last;
    row = last + 1;
    if (outside(RefillLineWidth(o.TabToSpace() ? ExpandTabsForRefill(t, tab, wrapByte, nullptr) : t, tab))) break;
  }
  return g;
}

TVornEditCore::TGathered TVornEditCore::GatherSelectedLines() {
  TGathered g;
  const TVornEditSeikeiOption& o = seikei_;
  const bool wide = caretOptions_.WSpaceIndent;
  const int tab = TabSpaceCount();
  const int wrapByte = o.WordWrap() && WordWrap() ? WrapByte() : 0;
  int first = sel_.Bytes.StartRow, last = std::min(sel_.Bytes.EndRow, RowCount() - 1);
  const int end = sel_.Bytes.EndRow;
  if (end > first && end < RowCount() && sel_.Bytes.EndByte <= 1)
    last = std::max(first, store_->FirstRowOfLine(end) - 1);
  ClearSelection();
  if (first >= RowCount()) return g;
  g.FirstRow = store_->FirstRowOfLine(first);
  SetCaretPos(g.FirstRow, 0);
  std::string line = FormattingLine(g.FirstRow, &g.LastRow);
  const bool comment = o.CommentThrough() && MatchAtStart(o.CommentList(), line) > 0;
  if (o.CommentOnly() && !comment) return g;
  g.P = o.TabToSpace() ? ExpandTabsForRefill(line, tab, wrapByte, nullptr) : line;
  if (wide) WideIndentAsSpaces(g.P);
  bool lastSingle = LastCharSingle(g.P);
  for (int row = g.LastRow + 1; row <= last && row < RowCount();) {
    int lastRow = row;
    const std::string t = FormattingLine(row, &lastRow);
    std::string_view body = std::string_view(t).substr(static_cast<std::size_t>(LeadingBlankLength(t, wide)));
    if (o.CommentThrough()) {
      body.remove_prefix(static_cast<std::size_t>(MatchAtStart(o.CommentList(), body)));
      body.remove_prefix(static_cast<std::size_t>(LeadingBlankLength(body, false)));
    }
    std::string text(body);
    if (o.TabToSpace()) text = ExpandTabsForRefill(text, tab, wrapByte, nullptr);
    if (!text.empty()) {
      if (lastSingle && !g.P.empty() && JoinsWithSpace(g.P.back()) && !sjis::IsLeadByte(text[0]) && JoinsWithSpace(text[0]))
        g.P += ' ';
      g.P += text;
      lastSingle = LastCharSingle(text);
    }
    g.LastRow = lastRow;
    row = lastRow + 1;
  }
  return g;
}

bool TVornEditCore::Seikei(bool autoRun) {
  if (!MayEdit()) return false;
  const int top = state_.TopRow;
  const TRowCol caret = Caret();
  int caretLineOffset = 0;
  if (caret.Row < RowCount()) {
    const int lineFirst = store_->FirstRowOfLine(caret.Row);
    caretLineOffset = GetCaretOffset() - RowStartOffset(lineFirst);
  }
  const TGathered g = GatherParagraph(caretLineOffset);
  if (g.P.empty()) {
    SetCaretPos(caret.Row, caret.Col);
    SetTopRow(top);
    return false;
  }
  const TRefillResult f = RefillParagraph(g.P, RefillRules(), autoRun ? g.Caret : -1);
  const int to = autoRun && f.Caret >= 0 ? f.Caret : static_cast<int>(f.Text.size()) - 2;
  ReplaceAndPlace(g.FirstRow, g.LastRow - g.FirstRow + 1, f.Text, TRestorePoint{g.FirstRow, to});
  SetTopRow(top);
  return true;
}

bool TVornEditCore::AutoSeikei(std::string_view typed) {
  const TVornEditSeikeiOption& o = seikei_;
  if (!o.AutoTrigger() || o.AutoTriggerStr().empty() || !MayEdit()) return false;
  for (std::size_t i = 0; i < typed.size();) {
    const std::size_t len = sjis::CharLen(typed, i);
    if (CharIn(o.AutoTriggerStr(), typed.substr(i, len))) return Seikei(true);
    i += len;
  }
  return false;
}

bool TVornEditCore::DivideLine() {
  if (HasSelection() || !MayEdit() || state_.CaretRow >= RowCount()) return false;
  const TVornEditSeikeiOption& o = seikei_;
  const bool wide = caretOptions_.WSpaceIndent;
  const int firstRow = store_->FirstRowOfLine(state_.CaretRow);
  int lastRow = firstRow;
  const std::string line = FormattingLine(firstRow, &lastRow);
  const int a = std::clamp(GetCaretOffset() - RowStartOffset(firstRow), 0, static_cast<int>(line.size()));
  std::string prefix = caretOptions_.AutoIndent ? line.substr(0, static_cast<std::size_t>(LeadingBlankLength(line, wide))) : "";
  std::string_view rest = std::string_view(line).substr(prefix.size());
  if (const int item = MatchAtStart(o.ItemizeList(), rest); item > 0) {
    prefix.append(rest.substr(0, static_cast<std::size_t>(item)));
    rest.remove_prefix(static_cast<std::size_t>(item));
  } else if (MatchAtStart(o.CommentList(), rest) == 0) {
    // A continuation line of an item: the new line starts the next item under the same marker.
    for (int k = 0, row = firstRow; k < 10 && row > 0; ++k) {
      row = store_->FirstRowOfLine(row - 1);
      if (row == 0) break;
      const std::string above = FormattingLine(row, nullptr);
      const std::string_view body = std::string_view(above).substr(static_cast<std::size_t>(LeadingBlankLength(above, wide)));
      if (const int m = MatchAtStart(o.ItemizeList(), body); m > 0) {
        prefix.resize(prefix.size() - std::min(prefix.size(), static_cast<std::size_t>(m)));
        prefix.append(body.substr(0, static_cast<std::size_t>(m)));
        break;
      }
    }
  }
  if (o.CommentThrough()) prefix.append(rest.substr(0, static_cast<std::size_t>(MatchAtStart(o.CommentList(), rest))));
  std::string text = line;
  text.insert(static_cast<std::size_t>(a), "\r\n" + prefix);
  if (RowKind(lastRow) == reLineEnd) text += "\r\n";
  ReplaceAndPlace(firstRow, lastRow - firstRow + 1, text, TRestorePoint{firstRow, a + 2 + static_cast<int>(prefix.size())});
  return true;
}

}  // namespace vorn
