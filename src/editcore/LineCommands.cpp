// Commands on words and logical lines: deleting a word or a line or part of one, inserting an
// empty line, selecting whole lines, and the clean-up before saving.
#include <algorithm>
#include <vector>

#include "base/sjis.h"
#include "editcore/EditCore.h"

namespace vorn {

namespace {
const std::string kWideSpace = "\x81\x40";

// Starts of the characters of line, a lead byte taking the byte after it.
std::vector<std::size_t> CharStarts(std::string_view line) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < line.size(); i += sjis::CharLen(line, i)) starts.push_back(i);
  return starts;
}

std::string TrimmedRight(const std::string& line, bool wideSpace) {
  const std::vector<std::size_t> starts = CharStarts(line);
  std::size_t end = line.size();
  for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
    const std::string_view c = std::string_view(line).substr(*it, end - *it);
    if (c != " " && c != "\t" && !(wideSpace && c == kWideSpace)) break;
    end = *it;
  }
  return line.substr(0, end);
}

std::string WideSpacesExpanded(const std::string& line) {
  std::string out;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t len = sjis::CharLen(line, i);
    if (line.compare(i, len, kWideSpace) == 0)
      out += "  ";
    else
      out.append(line, i, len);
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
  if (readOnly_) return false;
  ClearSelection();
  int first = 0, start = 0, end = 0;
  if (!TokenAtCaret(first, start, end)) return false;
  SelectBetween(first, start, end);
  DeleteSelection();
  return true;
}

bool TVornEditCore::DeleteLine() {
  if (readOnly_) return false;
  ClearSelection();
  const int row = state_.CaretRow;
  if (row >= RowCount()) return false;
  const int first = store_->FirstRowOfLine(row), last = store_->LastRowOfLine(row);
  ReplaceAndPlace(first, last - first + 1, "", RestorePointAt(first, 0));
  return true;
}

bool TVornEditCore::DeleteLineEnd() {
  if (readOnly_) return false;
  ClearSelection();
  if (state_.CaretRow >= RowCount()) return false;
  const int last = store_->LastRowOfLine(state_.CaretRow);
  return DeleteFromCaretTo(last, RowWidth(last));
}

bool TVornEditCore::DeleteLineStart() {
  if (readOnly_) return false;
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
  if (readOnly_) return false;
  ClearSelection();
  const int n = RowCount();
  const int first = state_.CaretRow < n ? store_->FirstRowOfLine(state_.CaretRow) : n;
  ReplaceAndPlace(first, 0, "\r\n", RestorePointAt(first, 0));
  return true;
}

// Each run of changed lines is one replacement, and the whole clean-up one undo step: a big
// file with trailing blanks on every line would otherwise leave a step per line. More runs than
// the undo list holds would lose the step's start, so they become one replacement of the span.
bool TVornEditCore::CleanUpBeforeSave() {
  const TSaveCleanUp& o = SaveCleanUp;
  if (readOnly_) return false;
  bool changed = false;
  if (o.TrimRight || o.ExpandTab || o.ExpandWSpace) {
    const int top = state_.TopRow;
    const TRowCol caret = Caret();
    ClearSelection();
    struct TRun {
      int First = 0;
      int End = 0;
      std::string Text;
    };
    std::vector<TRun> runs;
    std::string span;  // every line from the first changed one to the last
    std::size_t spanUsed = 0;
    for (int r = 0; r < RowCount();) {
      const int last = store_->LastRowOfLine(r);
      TRowEnd kind = reNone;
      std::string line = store_->GetRowsText(r, last - r + 1, &kind);
      if (kind == reLineEnd) line.resize(line.size() - 2);
      std::string cleaned = o.TrimRight ? TrimmedRight(line, o.TrimRightWSpace) : line;
      if (o.ExpandTab && cleaned.find('\t') != std::string::npos) cleaned = ExpandTabs(cleaned);
      if (o.ExpandWSpace) cleaned = WideSpacesExpanded(cleaned);
      const char* breakText = kind == reLineEnd ? "\r\n" : "";
      if (cleaned != line) {
        if (runs.empty() || runs.back().End != r) runs.push_back({r, r, {}});
        runs.back().Text += cleaned + breakText;
        runs.back().End = last + 1;
        span += cleaned + breakText;
        spanUsed = span.size();
      } else if (!runs.empty()) {
        span += line + breakText;
      }
      r = last + 1;
    }
    TVornEditUndoObj& undo = store_->UndoObj();
    if (runs.size() >= static_cast<std::size_t>(undo.Limit())) {
      span.resize(spanUsed);
      runs = {{runs.front().First, runs.back().End, std::move(span)}};
    }
    undo.BeginGroup();
    // From the last run back, so that the rows of the runs before stay where they were found.
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) store_->ReplaceRows(it->First, it->End - it->First, it->Text, Caret());
    undo.EndGroup();
    changed = !runs.empty();
    SetTopRow(top);
    SetCaretPos(caret.Row, caret.Col);
  }
  if (o.ClearUndoAtSave) store_->UndoObj().ClearAll();
  return changed;
}

}  // namespace vorn
