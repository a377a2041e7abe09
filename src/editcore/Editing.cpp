// Typing and the editing keys: insert and overwrite, Enter, Tab, BackSpace, Delete, undo and redo.
// Every change is one call of the store's ReplaceRows (or, inside one row, its in-row edit), so
// each is one undo step.
#include <algorithm>

#include "base/sjis.h"
#include "editcore/EditCore.h"
#include "editcore/RowColumns.h"
#include "editcore/TextBreaks.h"
#include "layout/Wrap.h"

namespace vorn {

namespace {
// The store re-wraps an edit from at most two rows before the first replaced row (a word
// break can move back that far), so a row this far back keeps its offset in the text.
constexpr int kRowsBeforeRewrap = 2;
const std::string_view kCrLf = "\r\n";

std::string LineEndOf(TRowEnd kind) { return kind == reLineEnd ? std::string(kCrLf) : std::string(); }

bool IsIndentAt(std::string_view text, std::size_t i, bool wideSpace) {
  if (text[i] == ' ' || text[i] == '\t') return true;
  return wideSpace && i + 1 < text.size() && text[i] == '\x81' && text[i + 1] == '\x40';
}

}  // namespace

TVornEditCore::TRestorePoint TVornEditCore::RestorePointAt(int row, int byte) const {
  const int n = RowCount();
  if (row >= n) return {n, byte};
  const int from = std::max(store_->FirstRowOfLine(row), row - kRowsBeforeRewrap);
  int offset = byte;
  store_->ForEachRow(from, row - from, [&](std::string_view text, TRowWord word) {
    offset += static_cast<int>(text.size()) + (word.End() == reLineEnd ? 2 : 0);
  });
  return {from, offset};
}

void TVornEditCore::ReplaceAndPlace(int first, int count, std::string_view text, TRestorePoint caret) {
  ClearSelection();
  const bool manyRows = count > 1 || text.find('\r') != std::string_view::npos;
  if (manyRows) BeginCaretHide();
  const int nuls = store_->ReplaceRows(first, count, text, Caret());
  SetCaretRowOffset(caret.Row, caret.Offset);
  if (manyRows) EndCaretHide();
  ReportNuls(nuls);
}

void TVornEditCore::ReplaceInRowAndPlace(int row, int byte, int removed, std::string_view insert, TRestorePoint caret) {
  ClearSelection();
  const bool breaks = insert.find('\r') != std::string_view::npos;
  if (breaks) BeginCaretHide();
  const int nuls =
      store_->ReplaceInRow(row, static_cast<std::size_t>(byte), static_cast<std::size_t>(removed), insert, Caret());
  SetCaretRowOffset(caret.Row, caret.Offset);
  if (breaks) EndCaretHide();
  ReportNuls(nuls);
}

void TVornEditCore::ReportNuls(int replaced) {
  if (replaced > 0 && OnNulReplaced) OnNulReplaced(replaced);
}

// --- inserting ---------------------------------------------------------------------------------------

void TVornEditCore::InsertText(std::string_view raw) {
  if (!MayEdit()) return;
  // Lone CRs and LFs would become row breaks in the store while counting one byte here.
  const std::string s = WithCrLfBreaks(raw);
  if (s.empty()) {
    if (HasSelection()) DeleteSelection();
    return;
  }
  const int n = RowCount();
  if (HasSelection() && sel_.Bytes.StartRow < n) {
    const std::vector<TRemovedRow> rows = RemovedRows();
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      std::string row = rows[i].Text;
      if (i == 0) row.insert(static_cast<std::size_t>(rows[0].Cut), s);
      text += row + LineEndOf(rows[i].Kind);
    }
    const int first = sel_.Bytes.StartRow, last = std::min(sel_.Bytes.EndRow, n - 1);
    TRestorePoint caret = RestorePointAt(first, rows[0].Cut);
    caret.Offset += static_cast<int>(s.size());
    ReplaceAndPlace(first, last - first + 1, text, caret);
    return;
  }
  ClearSelection();
  const int row = state_.CaretRow;
  if (row >= n) {
    ReplaceAndPlace(n, 0, s, TRestorePoint{n, static_cast<int>(s.size())});
    return;
  }
  const std::string_view text = store_->Row(row);
  const int len = static_cast<int>(text.size());
  const int c = std::max(0, ColToByte(row, state_.CaretCol));
  // A free caret past the row's end types after spaces up to its column.
  const auto pad = static_cast<std::size_t>(std::max(0, c - len));
  TRestorePoint caret = RestorePointAt(row, c);
  caret.Offset += static_cast<int>(s.size());
  if (c == 0 && s.back() == '\n') {
    ReplaceAndPlace(row, 0, s, caret);
    return;
  }
  std::string padded;
  if (pad > 0) padded.assign(pad, ' ').append(s);
  ReplaceInRowAndPlace(row, std::min(c, len), 0, pad > 0 ? std::string_view(padded) : std::string_view(s), caret);
}

void TVornEditCore::TypeText(std::string_view sjis) {
  if (sjis.empty() || !MayEdit()) return;
  const int row = state_.CaretRow;
  if (overwrite_ && !HasSelection() && row < RowCount() && state_.CaretCol < RowWidth(row) &&
      sjis.find_first_of(kCrLf) == std::string_view::npos)
    Overwrite(sjis);
  else
    InsertText(sjis);
  if (OnInputStr) OnInputStr(sjis);
}

// Typed text covers as many columns as it has bytes, from the caret on through the rows of the
// logical line. A tab is covered only as a whole; half a double-byte character leaves a space.
void TVornEditCore::Overwrite(std::string_view s) {
  const int row = state_.CaretRow, n = RowCount();
  const int coverEnd = state_.CaretCol + static_cast<int>(s.size());
  const int start = std::max(0, ColToByte(row, state_.CaretCol));
  int consumed = 0, lastRow = row, base = 0;
  bool halfCovered = false, done = false;
  for (int r = row; r < n && !done; ++r) {
    const std::string text = GetRowText(r);
    const std::string map = ColumnMapOf(r);
    const auto from = static_cast<std::size_t>(r == row ? start : 0);
    int col = static_cast<int>(ExpandTabs(std::string_view(text).substr(0, from)).size());
    for (std::size_t i = from; i < text.size() && !done;) {
      const int bytes = static_cast<int>(sjis::CharLen(text, i));
      int width = bytes;
      if (text[i] == '\t') {
        width = 1;
        while (col + width < static_cast<int>(map.size()) && map[static_cast<std::size_t>(col + width)] == cmTabRest) ++width;
      }
      const int at = base + col;
      done = at >= coverEnd || (text[i] == '\t' && at + width > coverEnd);
      if (done) break;
      halfCovered = width == 2 && at + 1 == coverEnd;
      consumed += bytes;
      lastRow = r;
      i += static_cast<std::size_t>(bytes);
      col += width;
    }
    if (RowKind(r) != reWrapped) break;
    base += static_cast<int>(map.size());
  }
  lastRow = std::min(lastRow, n - 1);
  TRestorePoint caret = RestorePointAt(row, start);
  caret.Offset += static_cast<int>(s.size());
  if (lastRow == row) {
    const std::string insert = std::string(s) + (halfCovered ? " " : "");
    ReplaceInRowAndPlace(row, start, consumed, insert, caret);
    return;
  }
  // The bytes of row..lastRow; rows read beyond lastRow are not replaced.
  std::string rows = store_->GetRowsText(row, lastRow - row + 1);
  const TRowEnd lastKind = RowKind(lastRow);
  if (lastKind == reLineEnd) rows.resize(rows.size() - 2);
  std::string text = rows.substr(0, static_cast<std::size_t>(start)) + std::string(s) + (halfCovered ? " " : "") +
                     rows.substr(std::min(rows.size(), static_cast<std::size_t>(start + consumed))) + LineEndOf(lastKind);
  ReplaceAndPlace(row, lastRow - row + 1, text, caret);
}

bool TVornEditCore::TypeCharMessage(unsigned char c) {
  if (!MayEdit()) return false;
  if (!((c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xDF))) return false;
  const char typed = static_cast<char>(c);
  TypeText(std::string_view(&typed, 1));
  return true;
}

// --- Enter and Tab ---------------------------------------------------------------------------------------

void TVornEditCore::InsertLineBreak(bool shift, bool ctrl) {
  const bool editable = MayEdit();
  const int row = state_.CaretRow, n = RowCount();
  if (!editable) {
    if (row < n && RowKind(row) == reTextEnd) return;
    const int k = keyRepeat_ && row == state_.TopRow + VisibleRows() - 1 ? 2 : 1;
    if (ctrl) {
      SetTopRow(state_.TopRow + k);
      if (state_.CaretRow < state_.TopRow) SetCaretRow(state_.CaretRow + k);
      SetCaretCol(0);
    } else {
      SetCaretPos(row + k, 0);
    }
    if (shift && HasSelection()) ExtendSelection();
    return;
  }
  if (HasSelection()) DeleteSelection();
  if (state_.CaretRow >= RowCount()) {
    const int end = RowCount();
    ReplaceAndPlace(end, 0, kCrLf, TRestorePoint{end, 2});
    return;
  }
  if (overwrite_) {
    SetCaretPos(state_.CaretRow + 1, 0);
    return;
  }
  const int caretRow = state_.CaretRow;
  const std::string text = GetRowText(caretRow);
  const int c = CaretByte();
  const int lineStart = store_->FirstRowOfLine(caretRow);
  // The indent is the blank run leading the logical line, up to the caret.
  std::string run;
  bool blank = true;
  for (int r = lineStart; r <= caretRow && blank && caretOptions_.AutoIndent; ++r) {
    const std::string piece = r == caretRow ? text.substr(0, static_cast<std::size_t>(c)) : GetRowText(r);
    for (std::size_t i = 0; i < piece.size() && blank;) {
      blank = IsIndentAt(piece, i, caretOptions_.WSpaceIndent);
      const std::size_t len = blank && piece[i] != ' ' && piece[i] != '\t' ? 2 : 1;
      if (blank) run.append(piece, i, len);
      i += len;
    }
  }
  const std::string indent = caretOptions_.TabIndent ? run : std::string(ExpandTabs(run).size(), ' ');
  int offset = c + static_cast<int>(indent.size()) + 2;
  store_->ForEachRow(lineStart, caretRow - lineStart, [&](std::string_view t, TRowWord word) {
    offset += static_cast<int>(t.size()) + (word.End() == reLineEnd ? 2 : 0);
  });
  if (c == 0 && indent.empty()) {
    ReplaceAndPlace(caretRow, 0, kCrLf, TRestorePoint{lineStart, offset});
    return;
  }
  const std::string replaced = text.substr(0, static_cast<std::size_t>(c)) + std::string(kCrLf) + indent +
                               text.substr(static_cast<std::size_t>(c)) + LineEndOf(RowKind(caretRow));
  ReplaceAndPlace(caretRow, 1, replaced, TRestorePoint{lineStart, offset});
}

void TVornEditCore::InsertTab(bool soft) {
  if (!WantTabs || !MayEdit()) return;
  const int t = TabSpaceCount(), col = state_.CaretCol;
  int width = t - col % t;
  if (WordWrap() && WrapByte() > 0) width = std::min(width, WrapByte() - col % WrapByte());
  if (overwrite_) {
    SetCaretCol(col + width);
    return;
  }
  TypeText(soft ? std::string(static_cast<std::size_t>(width), ' ') : std::string("\t"));
}

// --- deleting -------------------------------------------------------------------------------------------

void TVornEditCore::BackSpace() {
  if (!MayEdit()) return;
  if (HasSelection()) {
    DeleteSelection();
    return;
  }
  const int row = state_.CaretRow, col = state_.CaretCol, n = RowCount();
  if (n == 0) {
    if (col > 0) SetCaretCol(col - 1);
    return;
  }
  const std::string_view text = row < n ? store_->Row(row) : std::string_view();  // row N is empty
  const auto columns = ColumnsOfRow(*this, row);  // a long row's map would be megabytes
  const int len = static_cast<int>(text.size());
  const int b = columns->ColToByte(col);
  if (columns->Code(col) == cmTabRest) {
    // The caret inside a tab's fill takes the tab, even at the row's start.
    ReplaceInRowAndPlace(row, b, 1, {}, RestorePointAt(row, b));
    return;
  }
  if (b > len) {
    SetCaretCol(col - 1);
    return;
  }
  if (b > 0) {
    const int width = col > 0 && columns->Code(col - 1) == cmTrail ? 2 : 1;
    ReplaceInRowAndPlace(row, b - width, width, {}, RestorePointAt(row, b - width));
    return;
  }
  if (row > 0) BackSpaceAtRowStart(row);
}

// At a row's start BackSpace joins it to the row before: across a line break it removes the
// break, at a wrap it deletes the previous row's last character instead.
void TVornEditCore::BackSpaceAtRowStart(int row) {
  const int prev = row - 1, n = RowCount();
  const std::string before = GetRowText(prev);
  const std::string here = GetRowText(row);
  if (row >= n) {
    if (RowKind(prev) == reLineEnd)
      ReplaceAndPlace(prev, 1, before, RestorePointAt(prev, static_cast<int>(before.size())));
    return;
  }
  int keep = static_cast<int>(before.size());
  if (RowKind(prev) == reWrapped) {
    if (before.empty()) return;
    const std::string map = ColumnMapOf(prev);
    keep -= !map.empty() && map.back() == cmTrail ? 2 : 1;
  }
  const std::string joined = before.substr(0, static_cast<std::size_t>(keep)) + here + LineEndOf(RowKind(row));
  ReplaceAndPlace(prev, 2, joined, RestorePointAt(prev, keep));
}

void TVornEditCore::DeleteChar() {
  if (!MayEdit()) return;
  if (HasSelection()) {
    DeleteSelection();
    return;
  }
  const int row = state_.CaretRow, n = RowCount();
  if (row >= n) return;
  const std::string_view text = store_->Row(row);
  const auto columns = ColumnsOfRow(*this, row);
  const int len = static_cast<int>(text.size());
  int col = state_.CaretCol;
  while (col > 0 && columns->Code(col) == cmTabRest) --col;
  const int b = columns->ColToByte(col);
  if (b < len) {
    const std::size_t width = sjis::CharLen(text, static_cast<std::size_t>(b));
    ReplaceInRowAndPlace(row, b, static_cast<int>(width), {}, RestorePointAt(row, b));
    return;
  }
  const TRowEnd kind = RowKind(row);
  if (kind == reTextEnd) return;
  const auto pad = static_cast<std::size_t>(b - len);
  if (row == n - 1) {
    ReplaceAndPlace(row, 1, SplicedRow(text, text.size(), 0, pad, {}, {}), RestorePointAt(row, b));
    return;
  }
  const std::string next = GetRowText(row + 1) + LineEndOf(RowKind(row + 1));
  ReplaceAndPlace(row, 2, SplicedRow(text, text.size(), 0, pad, next, {}), RestorePointAt(row, b));
}

void TVornEditCore::DeleteSelection() {
  if (!HasSelection() || !MayEdit()) return;
  const int n = RowCount();
  const int first = sel_.Bytes.StartRow, last = std::min(sel_.Bytes.EndRow, n - 1);
  if (first >= n) {
    ClearSelection();
    return;
  }
  const std::vector<TRemovedRow> rows = RemovedRows();
  std::string text;
  for (const TRemovedRow& row : rows) text += row.Text + LineEndOf(row.Kind);
  // An empty selection (a zero-width box, a click without a drag) changes nothing. The rows
  // only ever lose bytes here, so the same length means the same text, and the rows need not
  // be copied to see it.
  std::size_t rowsSize = 0;
  store_->ForEachRow(first, last - first + 1, [&rowsSize](std::string_view row, TRowWord word) {
    rowsSize += row.size() + (word.End() == reLineEnd ? 2 : 0);
  });
  if (text.size() == rowsSize) {
    ClearSelection();
    return;
  }
  ReplaceAndPlace(first, last - first + 1, text, RestorePointAt(first, rows[0].Cut));
}

// --- undo and the modified flag ---------------------------------------------------------------------------

void TVornEditCore::Undo() {
  if (!MayEdit()) return;
  ClearSelection();
  if (const std::optional<TRowCol> caret = store_->UndoEdit(Caret())) SetCaretPos(caret->Row, caret->Col);
}

void TVornEditCore::Redo() {
  if (!MayEdit()) return;
  ClearSelection();
  if (const std::optional<TRowCol> caret = store_->RedoEdit(Caret())) SetCaretPos(caret->Row, caret->Col);
}

bool TVornEditCore::MayEdit() {
  if (readOnly_) return false;
  store_->CompleteRewrap();
  return true;
}

bool TVornEditCore::CanUndo() const { return !readOnly_ && store_->UndoObj().CanUndo(); }
bool TVornEditCore::CanRedo() const { return !readOnly_ && store_->UndoObj().CanRedo(); }

void TVornEditCore::ClearUndo() {
  if (!readOnly_) store_->UndoObj().ClearAll();
}

void TVornEditCore::SetModified(bool modified) {
  TVornEditUndoObj& undo = store_->UndoObj();
  // A saved state left behind in the undo or redo list must not come back once the text is
  // saved anew, or declared different from every saved state.
  if (Modified() || modified) undo.ClearSavedMarks();
  if (!modified) undo.MarkSaved();
}

}  // namespace vorn
