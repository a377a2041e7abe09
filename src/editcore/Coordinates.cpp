// Caret placement and settling, scroll position, rows <-> lines <-> text offsets.
#include <algorithm>
#include <cstdlib>

#include "editcore/EditCore.h"
#include "layout/Wrap.h"

namespace vorn {

namespace {
// Walking row by row from the top row beats the index only for short distances.
constexpr int kLocalWalkLimit = 1024;

char CodeAt(const std::string& map, int col) {
  return col >= 0 && col < static_cast<int>(map.size()) ? map[static_cast<std::size_t>(col)] : '\0';
}
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
  const std::string map = ColumnMapOf(state_.CaretRow);
  const int w = static_cast<int>(map.size());
  if (!vertical)
    desiredValid_ = false;
  else if (desiredValid_)
    col = desiredCol_;
  if (!caretOptions_.FreeCaret && col > w) {
    if (caretOptions_.KeepCaret) remember(leftButtonDown_ ? w : col);
    col = w;
  }
  if (CodeAt(map, col) == cmTrail) {
    remember(col);
    col += direction;
  }
  if (!caretOptions_.InTab && CodeAt(map, col) == cmTabRest) {
    remember(col);
    while (CodeAt(map, col) == cmTabRest) col += direction;
  }
  if (WordWrap() && col >= w) {
    remember(col);
    if (RowKind(state_.CaretRow) == reWrapped)
      col = std::max(0, w - 1);
    else if (col >= WrapByte())
      col = std::max(w, WrapByte() - 1);
    if (CodeAt(map, col) == cmTrail) --col;
    if (!caretOptions_.InTab)
      while (CodeAt(map, col) == cmTabRest) --col;
  }
  if (!batchMove_) RefreshCaret();
}

void TVornEditCore::RefreshCaret() {
  dirty_.Caret = true;
  dirty_.Ruler = true;
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
  const std::string map = ColumnMapOf(std::clamp(row, 0, LastCaretRow()));
  if (CodeAt(map, col) == cmTrail) --col;
  if (!caretOptions_.InTab)
    while (CodeAt(map, col) == cmTabRest) --col;
  const bool wasBatch = batchMove_;
  batchMove_ = true;
  SetCaretRow(row);
  SetCaretCol(col);
  batchMove_ = wasBatch;
  if (!batchMove_) RefreshCaret();
}

// The row and column an offset counted from firstRow's start falls on. A row's span is its
// bytes plus its line break; the last row without a break keeps one byte more so that an
// offset at its very end stays on it.
TRowCol TVornEditCore::RowColOfOffset(int firstRow, int offset) const {
  const int n = RowCount();
  int r = std::clamp(firstRow, 0, n);
  int rest = std::max(0, offset);
  while (r < n) {
    const int len = static_cast<int>(store_->Row(r).size());
    const TRowEnd kind = store_->RowEnd(r);
    const int span = len + (kind == reLineEnd ? 2 : kind == reTextEnd ? 1 : 0);
    if (rest < span || kind == reTextEnd) break;
    rest -= span;
    ++r;
  }
  if (r >= n) return TRowCol{n, 0};
  const std::string_view text = store_->Row(r);
  const int width = RowWidth(r);
  const auto bytes = std::min(static_cast<std::size_t>(rest), text.size());
  return TRowCol{r, std::min(static_cast<int>(ExpandTabs(text.substr(0, bytes)).size()), width)};
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
  row = std::clamp(row, 0, RowCount());
  int offset = 0;
  store_->ForEachRow(0, row, [&](std::string_view text, TRowWord word) {
    offset += static_cast<int>(text.size()) + (word.End() == reLineEnd ? 2 : 0);
  });
  return offset;
}

int TVornEditCore::GetOffsetAt(int row, int col) const {
  row = std::clamp(row, 0, RowCount());
  col = std::clamp(col, 0, RowWidth(row));
  return RowStartOffset(row) + ColToByte(row, col);
}

int TVornEditCore::GetCaretOffset() const {
  if (HasSelection()) return SelectionOffsets().Start;
  const int len = static_cast<int>(GetRowText(state_.CaretRow).size());
  return RowStartOffset(state_.CaretRow) + std::clamp(ColToByte(state_.CaretRow, state_.CaretCol), 0, len);
}

void TVornEditCore::GoToPosition(int row, int col) {
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
  dirty_.LeftMargin = true;
}

void TVornEditCore::SetLeftCol(int col) {
  col = std::clamp(col, 0, MaxColumns);
  if (col == leftCol_) return;
  leftCol_ = col;
  dirty_.All = true;
  dirty_.Ruler = true;
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
