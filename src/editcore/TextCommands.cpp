// Commands that rewrite the selected text: case mapping, tabs to spaces and back, indenting and
// the alignments.
#include <algorithm>

#include "base/sjis.h"
#include "editcore/EditCore.h"
#include "editcore/TextBreaks.h"
#include "layout/Wrap.h"

namespace vorn {

namespace {
const std::string kWideSpace = "\x81\x40";

// fn applied to each CR LF separated piece of text, the breaks kept as they were.
template <class F>
std::string MapLines(std::string_view text, F fn) {
  std::string out;
  for (std::size_t start = 0;;) {
    const std::size_t br = text.find("\r\n", start);
    if (br == std::string_view::npos) {
      if (start < text.size()) out += fn(text.substr(start));
      return out;
    }
    out += fn(text.substr(start, br - start));
    out += "\r\n";
    start = br + 2;
  }
}

char MappedCase(char c, TVornEditCore::TCaseMapping mapping) {
  const bool upper = c >= 'A' && c <= 'Z', lower = c >= 'a' && c <= 'z';
  switch (mapping) {
    case TVornEditCore::TCaseMapping::Upper: return lower ? static_cast<char>(c - 'a' + 'A') : c;
    case TVornEditCore::TCaseMapping::Lower: return upper ? static_cast<char>(c - 'A' + 'a') : c;
    case TVornEditCore::TCaseMapping::Exchange:
      return upper ? static_cast<char>(c - 'A' + 'a') : lower ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return c;
}

// Runs of spaces reaching a tab stop become tabs; a single space before a stop stays.
std::string SpacesToTabs(std::string_view line, int tab) {
  std::string out;
  int col = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t len = sjis::CharLen(line, i);
    if (len == 2) {
      out.append(line.substr(i, 2));
      col += 2;
    } else if (line[i] == '\t') {
      out += '\t';
      col += tab - col % tab;
    } else if (line[i] == ' ') {
      const auto d = static_cast<std::size_t>(tab - col % tab);
      if (d > 1 && i + d <= line.size() && line.substr(i, d).find_first_not_of(' ') == std::string_view::npos) {
        out += '\t';
        col += static_cast<int>(d);
        i += d;
        continue;
      }
      out += ' ';
      ++col;
    } else {
      out += line[i];
      ++col;
    }
    i += len;
  }
  return out;
}

// Leading blanks up to width unit taken off; the blank that reaches or crosses it is the last.
std::string Outdented(std::string_view line, int unit, bool wideSpace) {
  std::size_t i = 0;
  int width = 0;
  while (width < unit && i < line.size()) {
    if (line[i] == ' ') {
      ++width;
      ++i;
    } else if (line[i] == '\t') {
      width += unit - width % unit;
      ++i;
    } else if (wideSpace && line.substr(i, 2) == kWideSpace) {
      width += 2;
      i += 2;
    } else {
      break;
    }
  }
  return std::string(line.substr(i));
}

std::string StrippedOfBlanks(std::string_view line) {
  std::size_t first = 0, end = line.size();
  while (first < end && static_cast<unsigned char>(line[first]) <= 0x20) ++first;
  while (end > first && static_cast<unsigned char>(line[end - 1]) <= 0x20) --end;
  return std::string(line.substr(first, end - first));
}
}  // namespace

// One replacement of the selection; unchanged text leaves the document (and undo) alone.
bool TVornEditCore::ReplaceSelectionText(const std::string& text, bool reselect) {
  if (!HasSelection()) return false;
  const TRestorePoint start = RestorePointAt(sel_.Bytes.StartRow, sel_.Bytes.StartByte);
  const bool changed = text != GetSelText();
  if (changed) InsertText(text);
  if (reselect)
    SelectBetween(start.Row, start.Offset, start.Offset + static_cast<int>(text.size()));
  else if (!changed)
    ClearSelection();
  return changed;
}

bool TVornEditCore::ChangeCase(TCaseMapping mapping) {
  if (!HasSelection() || !MayEdit()) return false;
  const std::string text = GetSelText();
  std::string mapped = text;
  for (std::size_t i = 0; i < mapped.size();) {
    const std::size_t len = sjis::CharLen(mapped, i);
    if (len == 1) mapped[i] = MappedCase(mapped[i], mapping);
    i += len;
  }
  if (mapped == text) return false;
  if (sel_.Box)
    BoxPaste(mapped);
  else
    InsertText(mapped);
  return true;
}

bool TVornEditCore::TabToSpace() {
  if (!MayEdit()) return false;
  if (HasSelection()) {
    SelectWholeLines();
    const std::string text = GetSelText();
    if (text.find('\t') == std::string::npos) {
      ClearSelection();
      return false;
    }
    std::string out;
    for (const std::string& line : SplitLines(text)) out += ExpandTabs(line) + "\r\n";
    return ReplaceSelectionText(out, false);
  }
  // Without a selection only the tab just before the caret, measured in its logical line.
  const int row = state_.CaretRow;
  if (row >= RowCount()) return false;
  const int first = store_->FirstRowOfLine(row);
  std::string prefix = store_->GetRowsText(first, row - first) + GetRowText(row).substr(0, static_cast<std::size_t>(CaretByte()));
  if (prefix.empty() || prefix.back() != '\t' || !sjis::IsCharBoundary(prefix, prefix.size() - 1)) return false;
  prefix.pop_back();
  const int col = static_cast<int>(ExpandTabs(prefix).size());
  const int at = static_cast<int>(prefix.size());
  SelectBetween(first, at, at + 1);
  return ReplaceSelectionText(std::string(static_cast<std::size_t>(TabSpaceCount() - col % TabSpaceCount()), ' '), false);
}

bool TVornEditCore::SpaceToTab() {
  if (!HasSelection() || !MayEdit()) return false;
  SelectWholeLines();
  std::string out;
  for (const std::string& line : SplitLines(GetSelText())) out += SpacesToTabs(line, TabSpaceCount()) + "\r\n";
  return ReplaceSelectionText(out, false);
}

bool TVornEditCore::InsertIndent() {
  if (!MayEdit()) return false;
  if (!SelectionSpansRows()) {
    InsertTab(caretOptions_.SoftTab);
    return true;
  }
  const TVornEditCaretValues& o = caretOptions_;
  const std::string unit = !o.IndentWithSpace ? std::string("\t")
                           : std::string(static_cast<std::size_t>(std::max(1, o.IndentWidthEqTabWidth ? TabSpaceCount() : o.IndentWidth)), ' ');
  SelectWholeLines();
  const std::string text = GetSelText();
  std::string out = unit;
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '\n' && i + 1 < text.size()) out += unit;
  }
  return ReplaceSelectionText(out, true);
}

bool TVornEditCore::ReverseIndent() {
  if (!SelectionSpansRows() || !MayEdit()) return false;
  const TVornEditCaretValues& o = caretOptions_;
  const int unit = std::max(1, o.IndentWithSpace && !o.IndentWidthEqTabWidth ? o.IndentWidth : TabSpaceCount());
  const int top = state_.TopRow;
  SelectWholeLines();
  const std::string out = MapLines(GetSelText(), [&](std::string_view line) { return Outdented(line, unit, o.WSpaceIndent); });
  const bool changed = ReplaceSelectionText(out, true);
  SetTopRow(top);
  return changed;
}

bool TVornEditCore::LeftAlign() { return Align(TAlign::Left); }
bool TVornEditCore::CenterAlign() { return Align(TAlign::Center); }
bool TVornEditCore::RightAlign() { return Align(TAlign::Right); }

// The caret may stand on the empty row after a final line break (as after Select All): the
// lines are the selection's then, and only without a selection is there no line to align.
bool TVornEditCore::Align(TAlign how) {
  if (!MayEdit()) return false;
  int first = state_.CaretRow, last = state_.CaretRow;
  if (HasSelection()) {
    first = sel_.Bytes.StartRow;
    last = std::min(sel_.Bytes.EndRow, RowCount() - 1);
    // A selection ending at the first byte or two of its last row leaves that row's line out.
    const int end = sel_.Bytes.EndRow;
    if (end > first && end < RowCount() && sel_.Bytes.EndByte <= 0)
      last = std::max(first, store_->FirstRowOfLine(end) - 1);
  }
  if (first >= RowCount()) return false;
  SelectLineRange(first, last);
  const int width = AlignWidth;
  std::string out;
  for (const std::string& line : SplitLines(GetSelText())) {
    const std::string stripped = StrippedOfBlanks(ExpandTabs(line));
    const int len = static_cast<int>(stripped.size());
    int pad = 0;
    if (len <= width) pad = how == TAlign::Center ? (width - len) / 2 : how == TAlign::Right ? width - len : 0;
    out += std::string(static_cast<std::size_t>(pad), ' ') + stripped + "\r\n";
  }
  const bool changed = ReplaceSelectionText(out, false);
  ClearSelection();
  if (changed) SetCaretPos(std::max(0, state_.CaretRow - 1), 0);
  return changed;
}

}  // namespace vorn
