// Commands on words and logical lines: deleting a word or a line or part of one, inserting an
// empty line, selecting whole lines, and the clean-up before saving.
#include <algorithm>
#include <vector>

#include "base/sjis.h"
#include "editcore/EditCore.h"

namespace vorn {

namespace {
const std::string kWideSpace = "\x81\x40";

// The length of line without its trailing blanks. A trail byte is never a space or a tab, so
// those are found from the end; a full-width space needs the walk from the start, done only
// when the line ends in its second byte.
std::size_t TrimmedRightLength(std::string_view line, bool wideSpace) {
  std::size_t end = line.size();
  while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
  if (!wideSpace || end < 2 || line[end - 1] != kWideSpace[1]) return end;
  std::size_t keep = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t len = sjis::CharLen(line, i);
    const std::string_view c = line.substr(i, len);
    if (c != " " && c != "\t" && c != kWideSpace) keep = i + len;
    i += len;
  }
  return keep;
}

std::string WideSpacesExpanded(std::string_view line) {
  std::string out;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t len = sjis::CharLen(line, i);
    if (line.substr(i, len) == kWideSpace)
      out += "  ";
    else
      out.append(line.substr(i, len));
    i += len;
  }
  return out;
}
}  // namespace

void TVornEditCore::SelectBetween(int firstRow, int from, int to) {
  ClearSelection();
  SetCaretRowOffset(firstRow, from);
  StartSelection();
  SetCaretRowOffset(firstRow, to);
  ExtendSelection();
}

// The selection (or the caret) grown to whole logical lines, the last one with its line break.
// A selection ending at the start of a row does not take that row's line.
bool TVornEditCore::SelectWholeLines() {
  const int n = RowCount();
  int first = state_.CaretRow, last = state_.CaretRow;
  if (HasSelection()) {
    first = sel_.Bytes.StartRow;
    last = sel_.Bytes.EndRow;
    if (last > first && sel_.Bytes.EndByte < 0) --last;
  }
  if (first >= n) return false;
  SelectLineRange(first, std::min(last, n - 1));
  return true;
}

void TVornEditCore::SelectLineRange(int first, int last) {
  first = store_->FirstRowOfLine(first);
  last = store_->LastRowOfLine(last);
  ClearSelection();
  SetCaretPos(first, 0);
  StartSelection();
  if (RowKind(last) == reLineEnd)
    SetCaretPos(last + 1, 0);
  else
    SetCaretPos(last, RowWidth(last));
  ExtendSelection();
}

bool TVornEditCore::DeleteWord() {
  if (!MayEdit()) return false;
  ClearSelection();
  int first = 0, start = 0, end = 0;
  if (!TokenAtCaret(first, start, end)) return false;
  SelectBetween(first, start, end);
  DeleteSelection();
  return true;
}

bool TVornEditCore::DeleteLine() {
  if (!MayEdit()) return false;
  ClearSelection();
  const int row = state_.CaretRow;
  if (row >= RowCount()) return false;
  const int first = store_->FirstRowOfLine(row), last = store_->LastRowOfLine(row);
  ReplaceAndPlace(first, last - first + 1, "", RestorePointAt(first, 0));
  return true;
}

bool TVornEditCore::DeleteLineEnd() {
  if (!MayEdit()) return false;
  ClearSelection();
  if (state_.CaretRow >= RowCount()) return false;
  const int last = store_->LastRowOfLine(state_.CaretRow);
  return DeleteFromCaretTo(last, RowWidth(last));
}

bool TVornEditCore::DeleteLineStart() {
  if (!MayEdit()) return false;
  ClearSelection();
  if (state_.CaretRow >= RowCount()) return false;
  return DeleteFromCaretTo(store_->FirstRowOfLine(state_.CaretRow), 0);
}

// Selects from the caret to (row, col) and deletes it; false when that selects nothing.
bool TVornEditCore::DeleteFromCaretTo(int row, int col) {
  StartSelection();
  SetCaretPos(row, col);
  ExtendSelection();
  if (GetSelLength() == 0) {
    ClearSelection();
    return false;
  }
  DeleteSelection();
  return true;
}

bool TVornEditCore::InsertEmptyLine() {
  if (!MayEdit()) return false;
  ClearSelection();
  const int n = RowCount();
  const int first = state_.CaretRow < n ? store_->FirstRowOfLine(state_.CaretRow) : n;
  ReplaceAndPlace(first, 0, "\r\n", RestorePointAt(first, 0));
  return true;
}

// Each run of changed lines is one replacement, and the whole clean-up one undo step: a big
// file with trailing blanks on every line would otherwise leave a step per line. More runs than
// the undo list holds would lose the step's start, so they become one replacement of the span.
// The runs' texts are pieces of that span, so each line is copied once, and a line that stays as
// it is is read in place.
bool TVornEditCore::CleanUpBeforeSave() {
  const TSaveCleanUp& o = SaveCleanUp;
  if (!MayEdit()) return false;
  bool changed = false;
  if (o.TrimRight || o.ExpandTab || o.ExpandWSpace) {
    const int top = state_.TopRow;
    const TRowCol caret = Caret();
    ClearSelection();
    struct TRun {
      int First = 0;
      int End = 0;
      std::size_t TextBegin = 0;
      std::size_t TextEnd = 0;
    };
    std::vector<TRun> runs;
    std::string span;  // every line from the first changed one to the last
    std::string joined, expanded;
    for (int r = 0, n = RowCount(); r < n;) {
      const int last = store_->LastRowOfLine(r);
      TRowEnd kind = store_->RowEnd(last);
      std::string_view line;
      if (last == r) {
        line = store_->Row(r);
      } else {
        joined = store_->GetRowsText(r, last - r + 1, &kind);
        if (kind == reLineEnd) joined.resize(joined.size() - 2);
        line = joined;
      }
      std::string_view cleaned = o.TrimRight ? line.substr(0, TrimmedRightLength(line, o.TrimRightWSpace)) : line;
      if (o.ExpandTab && cleaned.find('\t') != std::string_view::npos) {
        expanded = ExpandTabs(cleaned);
        cleaned = expanded;
      }
      if (o.ExpandWSpace && cleaned.find(kWideSpace) != std::string_view::npos) {
        std::string wide = WideSpacesExpanded(cleaned);
        expanded = std::move(wide);
        cleaned = expanded;
      }
      const std::string_view breakText = kind == reLineEnd ? "\r\n" : "";
      if (cleaned != line) {
        if (runs.empty() || runs.back().End != r) runs.push_back({r, r, span.size(), 0});
        span.append(cleaned).append(breakText);
        runs.back().End = last + 1;
        runs.back().TextEnd = span.size();
      } else if (!runs.empty()) {
        span.append(line).append(breakText);
      }
      r = last + 1;
    }
    TVornEditUndoObj& undo = store_->UndoObj();
    if (runs.size() >= static_cast<std::size_t>(undo.Limit())) runs = {{runs.front().First, runs.back().End, 0, runs.back().TextEnd}};
    undo.BeginGroup();
    // From the last run back, so that the rows of the runs before stay where they were found.
    for (auto it = runs.rbegin(); it != runs.rend(); ++it)
      store_->ReplaceRows(it->First, it->End - it->First, std::string_view(span).substr(it->TextBegin, it->TextEnd - it->TextBegin),
                          Caret());
    undo.EndGroup();
    changed = !runs.empty();
    SetTopRow(top);
    SetCaretPos(caret.Row, caret.Col);
  }
  if (o.ClearUndoAtSave) store_->UndoObj().ClearAll();
  return changed;
}

}  // namespace vorn
