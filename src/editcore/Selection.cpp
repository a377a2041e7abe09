// The selection: its anchor and ranges following the caret, box mode, the selected text and the
// commands that select.
#include <algorithm>

#include "editcore/EditCore.h"
#include "layout/Wrap.h"
#include "syntax/EditParser.h"

namespace vorn {

namespace {
char CodeAt(const std::string& map, int col) {
  return col >= 0 && col < static_cast<int>(map.size()) ? map[static_cast<std::size_t>(col)] : '\0';
}

int SpanOf(std::string_view text, TRowWord word) {
  return static_cast<int>(text.size()) + (word.End() == reLineEnd ? 2 : 0);
}
}  // namespace

int TVornEditCore::CaretByte() const {
  const int len = static_cast<int>(GetRowText(state_.CaretRow).size());
  return std::clamp(ColToByte(state_.CaretRow, state_.CaretCol), 0, len);
}

// --- the state machine ----------------------------------------------------------------------------

void TVornEditCore::StartSelection() {
  ClearSelection();
  sel_.State = TSelectionState::None;
  if (RowCount() == 0) return;
  const int row = state_.CaretRow;
  // A box may reach past the row's end; a stream ends where the text does.
  const int col = sel_.Box ? state_.CaretCol : std::min(state_.CaretCol, RowWidth(row));
  const int byte = CaretByte();
  sel_.Anchor = TSelectionAnchor{row, byte, col};
  sel_.Bytes = TByteRange{row, row, byte, byte - 1};
  sel_.Cols = TColumnRange{row, row, col, col};
  sel_.PrevCols = sel_.Cols;
  sel_.State = TSelectionState::Anchored;
}

void TVornEditCore::ExtendSelection() {
  if (sel_.State == TSelectionState::None) return;
  sel_.State = TSelectionState::Active;
  UpdateSelectionRanges();
  RepaintSelectionDifference();
  if (OnSelectionChange) OnSelectionChange(true);
}

void TVornEditCore::UpdateSelectionRanges() {
  const TSelectionAnchor& a = sel_.Anchor;
  const int row = state_.CaretRow, col = state_.CaretCol, byte = CaretByte();
  TByteRange& bytes = sel_.Bytes;
  bytes.StartRow = std::min(a.Row, row);
  bytes.EndRow = std::max(a.Row, row);
  if (a.Row == row) {
    bytes.StartByte = std::min(a.Byte, byte);
    bytes.EndByte = std::max(a.Byte, byte) - 1;
  } else if (a.Row < row) {
    bytes.StartByte = a.Byte;
    bytes.EndByte = byte - 1;
  } else {
    bytes.StartByte = byte;
    bytes.EndByte = a.Byte - 1;
  }
  TColumnRange& cols = sel_.Cols;
  cols.StartRow = bytes.StartRow;
  cols.EndRow = bytes.EndRow;
  if (sel_.Box) {
    cols.StartCol = std::min(a.Col, col);
    cols.EndCol = std::max(a.Col, col);
    return;
  }
  auto limited = [&](int r, int c) { return std::min(c, RowWidth(r)); };
  if (a.Row == row) {
    cols.StartCol = limited(row, std::min(a.Col, col));
    cols.EndCol = limited(row, std::max(a.Col, col));
  } else if (a.Row < row) {
    cols.StartCol = limited(a.Row, a.Col);
    cols.EndCol = limited(row, col);
  } else {
    cols.StartCol = limited(row, col);
    cols.EndCol = limited(a.Row, a.Col);
  }
}

// Only rows whose painted selection changed: between the old and new starts and between the
// old and new ends. Rows inside both ranges look the same, except in a box whose edges moved.
void TVornEditCore::RepaintSelectionDifference() {
  const TColumnRange& was = sel_.PrevCols;
  const TColumnRange& now = sel_.Cols;
  if (was == now) return;
  if (sel_.Box && (was.StartCol != now.StartCol || was.EndCol != now.EndCol)) {
    dirty_.AddRows(std::min(was.StartRow, now.StartRow), std::max(was.EndRow, now.EndRow));
  } else {
    if (sel_.Box || was.StartRow != now.StartRow || was.StartCol != now.StartCol)
      dirty_.AddRows(std::min(was.StartRow, now.StartRow), std::max(was.StartRow, now.StartRow));
    if (sel_.Box || was.EndRow != now.EndRow || was.EndCol != now.EndCol)
      dirty_.AddRows(std::min(was.EndRow, now.EndRow), std::max(was.EndRow, now.EndRow));
  }
  sel_.PrevCols = now;
}

void TVornEditCore::ClearSelection() {
  if (sel_.State != TSelectionState::Active) {
    sel_.State = TSelectionState::None;
    return;
  }
  if (!sel_.Cols.Empty()) dirty_.AddRows(sel_.Cols.StartRow, sel_.Cols.EndRow);
  DropSelection();
  desiredValid_ = false;
  if (OnSelectionChange) OnSelectionChange(false);
}

// Ends the selection and box mode without events for the selection itself; the caret's
// FreeCaret comes back from before box mode forced it on.
void TVornEditCore::DropSelection() {
  sel_.State = TSelectionState::None;
  if (!sel_.Box) return;
  sel_.Box = false;
  caretOptions_.FreeCaret = savedFreeCaret_;
  // A caret left past its row's end by the box must come back onto the text, or the next
  // Delete would pad the row up to it.
  if (!caretOptions_.FreeCaret && state_.CaretCol > RowWidth(state_.CaretRow)) SetCaretCol(state_.CaretCol);
  if (OnSelectionModeChange) OnSelectionModeChange();
}

void TVornEditCore::SetBoxMode(bool on) {
  if (selDragging_ || on == sel_.Box) return;
  if (on) {
    savedFreeCaret_ = caretOptions_.FreeCaret;
    caretOptions_.FreeCaret = true;
    sel_.Box = true;
    if (HasSelection()) {
      UpdateSelectionRanges();
      sel_.PrevCols = sel_.Cols;
      dirty_.All = true;
    }
  } else {
    const int top = state_.TopRow;
    const bool had = HasSelection();
    const TColumnRange corner = sel_.Cols;
    sel_.Box = false;
    caretOptions_.FreeCaret = savedFreeCaret_;
    if (had) {
      ClearSelection();
      SetCaretPos(corner.StartRow, corner.StartCol);
    }
    SetCaretCol(state_.CaretCol);
    SetTopRow(top);
  }
  if (OnSelectionModeChange) OnSelectionModeChange();
}

// --- what is selected -------------------------------------------------------------------------------

// A character is in the box when its first column is: a tab or double-byte character that
// starts left of the box stays out, one that starts inside and reaches past the right edge is in.
std::pair<int, int> TVornEditCore::BoxBytes(int row) const {
  const std::string map = ColumnMapOf(row);
  const int width = static_cast<int>(map.size());
  const int len = static_cast<int>(GetRowText(row).size());
  const int left = sel_.Cols.StartCol, right = sel_.Cols.EndCol;
  if (left >= width || right <= left) return {len, len};
  int from = left;
  if (CodeAt(map, from) == cmTrail) ++from;
  while (CodeAt(map, from) == cmTabRest) ++from;
  if (from >= width) return {len, len};
  const int first = ColToByte(row, from);
  int to = std::min(right, width) - 1;
  while (to > 0 && CodeAt(map, to) == cmTabRest) --to;
  if (to < from) return {first, first};
  const int last = ColToByte(row, to) + (CodeAt(map, to) == cmLead ? 1 : 0);
  return {first, std::min(last + 1, len)};
}

std::vector<TVornEditCore::TRemovedRow> TVornEditCore::RemovedRows() const {
  const TByteRange& r = sel_.Bytes;
  std::vector<TRemovedRow> rows;
  if (!sel_.Box) {
    const std::string start = GetRowText(r.StartRow), end = GetRowText(r.EndRow);
    const auto cut = static_cast<std::size_t>(std::clamp(r.StartByte, 0, static_cast<int>(start.size())));
    const auto after = std::min(static_cast<std::size_t>(std::max(0, r.EndByte + 1)), end.size());
    rows.push_back(TRemovedRow{start.substr(0, cut) + end.substr(after), RowKind(r.EndRow), static_cast<int>(cut)});
    return rows;
  }
  const int last = std::min(r.EndRow, RowCount() - 1);
  for (int row = r.StartRow; row <= last; ++row) {
    const std::string text = GetRowText(row);
    const auto [first, end] = BoxBytes(row);
    rows.push_back(TRemovedRow{text.substr(0, static_cast<std::size_t>(first)) + text.substr(static_cast<std::size_t>(end)),
                               RowKind(row), first});
  }
  return rows;
}

std::string TVornEditCore::GetSelText() const {
  if (!HasSelection()) return {};
  const TByteRange& r = sel_.Bytes;
  if (sel_.Box) {
    auto piece = [&](int row) {
      const auto [first, end] = BoxBytes(row);
      return GetRowText(row).substr(static_cast<std::size_t>(first), static_cast<std::size_t>(end - first));
    };
    if (r.StartRow == r.EndRow) return piece(r.StartRow);
    std::string text;
    for (int row = r.StartRow; row <= r.EndRow; ++row) text += piece(row) + "\r\n";
    return text;
  }
  if (r.StartRow == r.EndRow) {
    const std::string row = GetRowText(r.StartRow);
    const int from = std::clamp(r.StartByte, 0, static_cast<int>(row.size()));
    const int to = std::clamp(r.EndByte + 1, from, static_cast<int>(row.size()));
    return row.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
  }
  // The rows before the end row with their line breaks, then the end row's selected head.
  std::string text = store_->GetRowsText(r.StartRow, r.EndRow - r.StartRow);
  text.erase(0, std::min(text.size(), static_cast<std::size_t>(std::max(0, r.StartByte))));
  const std::string end = GetRowText(r.EndRow);
  text += end.substr(0, std::min(end.size(), static_cast<std::size_t>(std::max(0, r.EndByte + 1))));
  return text;
}

int TVornEditCore::GetSelLength() const {
  if (!HasSelection()) return 0;
  const TByteRange& r = sel_.Bytes;
  if (sel_.Box) {
    int length = 0;
    for (int row = r.StartRow; row <= r.EndRow; ++row) {
      const auto [first, end] = BoxBytes(row);
      length += end - first + (r.StartRow == r.EndRow ? 0 : 2);
    }
    return length;
  }
  // The rows' spans from the store's per-block sums: a selection over a million rows costs a
  // step per block, not per row.
  const int spans = RowStartOffset(std::min(r.EndRow, RowCount())) - RowStartOffset(r.StartRow);
  return std::max(0, spans - r.StartByte + r.EndByte + 1);
}

TTextRange TVornEditCore::SelectionOffsets() const {
  if (!HasSelection()) {
    const int caret = RowStartOffset(state_.CaretRow) + CaretByte();
    return {caret, caret};
  }
  const TByteRange& r = sel_.Bytes;
  const int rowStart = RowStartOffset(r.StartRow);
  const int spans = RowStartOffset(std::min(r.EndRow, RowCount())) - rowStart;
  const int start = rowStart + r.StartByte;
  return {start, std::max(start, rowStart + spans + r.EndByte + 1)};
}

// --- selecting commands ------------------------------------------------------------------------------

void TVornEditCore::SetSelLength(int n) {
  if (sel_.Box) SetBoxMode(false);
  if (HasSelection()) {
    const TByteRange r = sel_.Bytes;
    ClearSelection();
    SetCaretPos(r.StartRow, ByteToCol(r.StartRow, r.StartByte));
  }
  if (n <= 0) return;
  StartSelection();
  SetCaretRowOffset(state_.CaretRow, CaretByte() + n);
  ExtendSelection();
}

void TVornEditCore::SelectRows(int first, int end) {
  ClearSelection();
  SetCaretPos(first, 0);
  first = state_.CaretRow;
  int bytes = 0;
  store_->ForEachRow(first, std::clamp(end, first, RowCount()) - first,
                     [&](std::string_view text, TRowWord word) { bytes += SpanOf(text, word); });
  SetSelLength(bytes);
}

void TVornEditCore::SelectAll() {
  const bool wasBatch = batchMove_;
  batchMove_ = true;
  SetCaretOffset(0);
  SetSelLength(TextLength());
  batchMove_ = wasBatch;
  if (!batchMove_) RefreshCaret();
}

void TVornEditCore::SelectLine(int row) {
  ClearSelection();
  // The row after a final line break holds no line.
  if (row < 0 || row >= RowCount()) return;
  SelectLineRange(row, row);
}

// The character-class token holding the caret's byte in its logical line, as offsets from the
// line's first row; false when the caret stands after the last token.
bool TVornEditCore::TokenAtCaret(int& firstRow, int& start, int& end) const {
  const int row = state_.CaretRow;
  if (row >= RowCount()) return false;
  firstRow = store_->FirstRowOfLine(row);
  std::string line = store_->GetRowsText(firstRow, -1);
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) line.resize(line.size() - 2);
  int at = CaretByte();
  store_->ForEachRow(firstRow, row - firstRow, [&](std::string_view text, TRowWord) { at += static_cast<int>(text.size()); });
  TVornEditParser parser(nullptr, line, true, -1);
  for (TTokenKind kind = parser.Kind(); kind != tkEndOfLine; kind = parser.NextToken()) {
    if (parser.TokenOffset() <= at && at < parser.TokenEnd()) {
      start = parser.TokenOffset();
      end = parser.TokenEnd();
      return true;
    }
  }
  return false;
}

void TVornEditCore::SelectWord() {
  ClearSelection();
  int first = 0, start = 0, end = 0;
  if (!TokenAtCaret(first, start, end)) return;
  SetCaretRowOffset(first, start);
  StartSelection();
  SetCaretRowOffset(first, end);
  ExtendSelection();
}

}  // namespace vorn
