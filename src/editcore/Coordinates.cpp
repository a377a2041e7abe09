// Caret placement and settling, scroll position, rows <-> lines <-> text offsets.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "editcore/EditCore.h"
#include "editcore/RowColumns.h"
#include "layout/Wrap.h"

namespace vorn {

namespace {
// Walking row by row from the top row beats the index only for short distances.
constexpr int kLocalWalkLimit = 1024;
}  // namespace

// The settling steps every caret row or column change ends with; direction is -1 for a
// vertical move.
void TVornEditCore::Settle(TMove move, int direction) {
  const bool vertical = move == TMove::Vertical;
  int& col = state_.CaretCol;
  auto remember = [&](int v) {
    if (vertical && !desiredValid_) {
      desiredCol_ = v;
      desiredValid_ = true;
    }
  };
  col = std::clamp(col, 0, MaxColumns);
  const auto columns = ColumnsOfRow(*this, state_.CaretRow);
  auto code = [&](int c) { return columns->Code(c); };
  const int w = columns->Width();
  if (!vertical)
    desiredValid_ = false;
  else if (desiredValid_)
    col = desiredCol_;
  if (!caretOptions_.FreeCaret && col > w) {
    if (caretOptions_.KeepCaret) remember(leftButtonDown_ ? w : col);
    col = w;
  }
  if (code(col) == cmTrail) {
    remember(col);
    col += direction;
  }
  if (!caretOptions_.InTab && code(col) == cmTabRest) {
    remember(col);
    while (code(col) == cmTabRest) col += direction;
  }
  if (WordWrap() && col >= w) {
    remember(col);
    if (RowKind(state_.CaretRow) == reWrapped)
      col = std::max(0, w - 1);
    else if (col >= WrapByte())
      col = std::max(w, WrapByte() - 1);
    if (code(col) == cmTrail) --col;
    if (!caretOptions_.InTab)
      while (code(col) == cmTabRest) --col;
  }
  if (!batchMove_) RefreshCaret();
}

void TVornEditCore::RefreshCaret() {
  dirty_.Caret = true;
  ScrollCaretIntoView();
  if (OnCaretMoved) OnCaretMoved();
}

void TVornEditCore::InvalidateRowWithUnderline(int row) { dirty_.AddRows(row, row); }

void TVornEditCore::InvalidateRows(int first, int last) {
  if (first > last) std::swap(first, last);
  const int n = RowCount();
  if (n == 0) return;
  // The left margin shows line numbers per logical line: repaint whole lines.
  dirty_.AddRows(store_->FirstRowOfLine(std::clamp(first, 0, n - 1)), store_->LastRowOfLine(std::clamp(last, 0, n - 1)));
}

void TVornEditCore::SetCaretRow(int row) {
  row = std::clamp(row, 0, LastCaretRow());
  if (row == state_.CaretRow && state_.CaretRow != RowCount()) return;
  InvalidateRowWithUnderline(state_.CaretRow);
  state_.CaretRow = row;
  Settle(TMove::Vertical, -1);
  InvalidateRowWithUnderline(row);
}

void TVornEditCore::SetCaretCol(int col) {
  col = std::clamp(col, 0, MaxColumns);
  const int direction = col > state_.CaretCol ? 1 : -1;
  state_.CaretCol = col;
  Settle(TMove::Horizontal, direction);
}

void TVornEditCore::SetCaretPos(int row, int col) {
  const auto columns = ColumnsOfRow(*this, std::clamp(row, 0, LastCaretRow()));
  if (columns->Code(col) == cmTrail) --col;
  if (!caretOptions_.InTab)
    while (columns->Code(col) == cmTabRest) --col;
  const bool wasBatch = batchMove_;
  batchMove_ = true;
  SetCaretRow(row);
  SetCaretCol(col);
  batchMove_ = wasBatch;
  if (!batchMove_) RefreshCaret();
}

// The row and column an offset counted from firstRow's start falls on. A row's span is its
// bytes plus its line break; the last row without a break keeps one byte more so that an
// offset at its very end stays on it. The store's offset sums find the row, so a deep offset
// costs a step per block of rows instead of one per row.
TRowCol TVornEditCore::RowColOfOffset(int firstRow, int offset) const {
  const int n = RowCount();
  const int from = std::clamp(firstRow, 0, n);
  const std::int64_t target = store_->TextOffsetOfRow(from) + std::max(0, offset);
  int r = store_->RowAtTextOffset(target);
  // Past the end the walk stops on a last row without a line break instead of leaving it.
  if (r >= n && n > 0 && store_->RowEnd(n - 1) == reTextEnd) r = n - 1;
  if (r >= n) return TRowCol{n, 0};
  const int len = static_cast<int>(store_->Row(r).size());
  const auto rest = std::min<std::int64_t>(target - store_->TextOffsetOfRow(r), len);
  return TRowCol{r, std::min(ByteToCol(r, static_cast<int>(rest)), RowWidth(r))};
}

void TVornEditCore::SetCaretRowOffset(int firstRow, int offset) {
  const TRowCol pos = RowColOfOffset(firstRow, offset);
  SetCaretPos(pos.Row, pos.Col);
}

void TVornEditCore::SetCaretOffset(int offset) {
  ClearSelection();
  if (offset <= 0) {
    SetCaretPos(0, 0);
    return;
  }
  SetCaretRowOffset(0, offset);
}

TRowCol TVornEditCore::OffsetToPos(int offset) const { return RowColOfOffset(0, offset); }

int TVornEditCore::RowStartOffset(int row) const {
  return static_cast<int>(store_->TextOffsetOfRow(std::clamp(row, 0, RowCount())));
}

int TVornEditCore::GetOffsetAt(int row, int col) const {
  row = std::clamp(row, 0, RowCount());
  col = std::clamp(col, 0, RowWidth(row));
  return RowStartOffset(row) + ColToByte(row, col);
}

int TVornEditCore::GetCaretOffset() const {
  if (HasSelection()) return SelectionOffsets().Start;
  const int row = state_.CaretRow;
  const int len = row < RowCount() ? static_cast<int>(store_->Row(row).size()) : 0;
  return RowStartOffset(state_.CaretRow) + std::clamp(ColToByte(state_.CaretRow, state_.CaretCol), 0, len);
}

// A jump leaves any selection behind: one kept with the caret elsewhere would be what the next
// keystroke replaces, out of sight.
void TVornEditCore::GoToPosition(int row, int col) {
  ClearSelection();
  row = std::clamp(row, 0, LastCaretRow());
  if (row < state_.TopRow || row >= state_.TopRow + VisibleRows()) SetTopRow(row - VisibleRows() / 2);
  if (col < 0)
    SetCaretRow(row);
  else
    SetCaretPos(row, col);
}

void TVornEditCore::EnsureRowVisible(int row) {
  row = std::clamp(row, 0, LastCaretRow());
  if (row < state_.TopRow || row >= state_.TopRow + VisibleRows()) SetTopRow(row - VisibleRows() / 2);
}

void TVornEditCore::ScrollCaretIntoView() {
  if (!focused_) return;
  const int rows = VisibleRows(), cols = VisibleCols();
  const int row = state_.CaretRow, col = state_.CaretCol;
  if (row < state_.TopRow)
    SetTopRow(row);
  else if (row > state_.TopRow + rows - 1)
    SetTopRow(row - rows + 1);
  const int edge = TabSpaceCount() / 2;
  if (col - edge < leftCol_) {
    SetLeftCol(std::max(0, std::min(col, leftCol_ - cols / 4)));
  } else if (col + edge > leftCol_ + cols - 1) {
    const int limit = (WordWrap() ? WrapByte() : MaxColumns) + 1;
    SetLeftCol(std::min(std::max(col - cols + 1, leftCol_ + cols / 4), limit - cols / 2));
  }
}

void TVornEditCore::SetTopRow(int row) {
  row = std::clamp(row, 0, LastCaretRow());
  if (row == state_.TopRow) return;
  state_.TopRow = row;
  dirty_.All = true;
}

void TVornEditCore::SetLeftCol(int col) {
  col = std::clamp(col, 0, MaxColumns);
  if (col == leftCol_) return;
  leftCol_ = col;
  dirty_.All = true;
}

void TVornEditCore::SavePosition() {
  saved_ = Caret();
  savedTop_ = state_.TopRow;
}

void TVornEditCore::RestorePosition() {
  SetTopRow(savedTop_);
  SetCaretPos(saved_.Row, saved_.Col);
}

void TVornEditCore::BeginCaretHide() {
  if (hideCount_++ == 0) dirty_.Caret = true;
}

void TVornEditCore::EndCaretHide() {
  if (hideCount_ == 0) return;
  if (--hideCount_ == 0) dirty_.Caret = true;
}

// The line number of the top row, brought up to date lazily: a step of the top row is walked
// from the previous count when that is shorter, anything else is recounted through the index.
int TVornEditCore::TopLineNo() const {
  const int top = state_.TopRow;
  if (topLineValid_ && top == topLineRow_) return topLineNo_;
  const int distance = std::abs(top - topLineRow_);
  if (!topLineValid_ || !WordWrap() || distance > kLocalWalkLimit || distance >= top || topLineRow_ > RowCount()) {
    topLineNo_ = store_->CountLinesBefore(top);
  } else if (top > topLineRow_) {
    topLineNo_ += store_->CountLineEnds(topLineRow_, top - topLineRow_);
  } else {
    topLineNo_ -= store_->CountLineEnds(top, topLineRow_ - top);
  }
  topLineRow_ = top;
  topLineValid_ = true;
  return topLineNo_;
}

void TVornEditCore::RecountTopLineNo() { topLineValid_ = false; }

int TVornEditCore::WalkLinesFromTop(int row) const {
  const int top = state_.TopRow;
  const int line = TopLineNo();
  if (row >= top) return line + store_->CountLineEnds(top, std::min(row, RowCount()) - top);
  return line - store_->CountLineEnds(row, top - row);
}

int TVornEditCore::RowToLine(int row) const {
  row = std::clamp(row, 0, RowCount());
  if (!WordWrap()) return row;
  const int distance = std::abs(row - state_.TopRow);
  if (distance <= state_.TopRow && distance <= kLocalWalkLimit) return WalkLinesFromTop(row);
  return store_->CountLinesBefore(row);
}

int TVornEditCore::LineToRow(int line) const {
  const int n = RowCount();
  if (line <= 0 || n == 0) return 0;
  if (!WordWrap()) return std::min(line, n);
  const int top = std::min(state_.TopRow, n);
  const int topLine = TopLineNo();
  if (std::abs(line - topLine) > kLocalWalkLimit || line < std::abs(line - topLine)) return store_->LineToRow(line);
  // Step from the top row to a row whose line number is `line`, then back to its first row.
  int r = top, current = topLine;
  while (current < line && r < n) current += store_->RowEnd(r++) != reWrapped;
  while (current > line && r > 0) current -= store_->RowEnd(--r) != reWrapped;
  return store_->FirstRowOfLine(std::min(r, n));
}

}  // namespace vorn
