// The edit-control queries answered for outside tools, as typed calls with full-width integers.
#include <algorithm>

#include "editcore/EditCore.h"

namespace vorn {

void TVornEditCore::EmSetSel(int start, int end) {
  if (start == -1) {
    ClearSelection();
    return;
  }
  const int length = TextLength();
  // A negative end means "to the end of the text", as for select-all: taken literally it would
  // put the caret at the text's start and select backwards from start.
  if (end < 0) end = length;
  start = std::clamp(start, 0, length);
  end = std::clamp(end, 0, length);
  ClearSelection();
  SetCaretOffset(std::max(start, end));
  if (start == end) return;
  // The caret stands at the smaller offset and the selection reaches to the larger one.
  StartSelection();
  SetCaretRowOffset(0, std::min(start, end));
  ExtendSelection();
}

int TVornEditCore::EmLineFromChar(int offset) const {
  if (offset == -1) return HasSelection() ? OffsetToPos(SelectionOffsets().Start).Row : state_.CaretRow;
  return OffsetToPos(offset).Row;
}

int TVornEditCore::EmLineIndex(int row) const {
  if (row == -1) row = state_.CaretRow;
  if (row < 0 || row >= RowCount()) return -1;
  return RowStartOffset(row);
}

int TVornEditCore::EmLineLength(int offset) const {
  if (offset != -1) return static_cast<int>(GetRowText(OffsetToPos(offset).Row).size());
  if (!HasSelection()) return static_cast<int>(GetRowText(state_.CaretRow).size());
  const TTextRange sel = SelectionOffsets();
  const TRowCol first = OffsetToPos(sel.Start), last = OffsetToPos(sel.End);
  const int before = sel.Start - RowStartOffset(first.Row);
  const int lastLength = static_cast<int>(GetRowText(last.Row).size());
  const int after = std::max(0, lastLength - (sel.End - RowStartOffset(last.Row)));
  return std::max(0, before) + after;
}

int TVornEditCore::EmGetLine(int row, int bufferSize, std::string& out) const {
  out.clear();
  if (row < 0 || row >= RowCount() || bufferSize <= 0) return 0;
  const std::string_view text = store_->Row(row);
  out.assign(text.substr(0, std::min(text.size(), static_cast<std::size_t>(bufferSize))));
  return static_cast<int>(out.size());
}

void TVornEditCore::EmScrollCaret() {
  const int rows = VisibleRows(), cols = VisibleCols();
  if (state_.CaretRow < state_.TopRow || state_.CaretRow >= state_.TopRow + rows)
    SetTopRow(state_.CaretRow - rows / 3);
  if (state_.CaretCol < leftCol_ || state_.CaretCol >= leftCol_ + cols) SetLeftCol(state_.CaretCol - cols / 3);
}

TPixelPoint TVornEditCore::EmPosFromChar(int offset) const {
  const TRowCol pos = OffsetToPos(offset);
  return TPixelPoint{Geometry().TextLeft() + (pos.Col - leftCol_) * Geometry().CellWidth(),
                     (pos.Row - state_.TopRow) * Geometry().RowHeight() + Geometry().TextTop()};
}

TCharAtPoint TVornEditCore::EmCharFromPos(TPixelPoint p) const {
  if (p.X < 0 || p.Y < 0 || p.X >= Geometry().ClientWidth() || p.Y >= Geometry().ClientHeight()) return {};
  const int cell = std::max(1, Geometry().CellWidth()), height = std::max(1, Geometry().RowHeight());
  const int row = std::clamp(state_.TopRow + std::max(0, p.Y - Geometry().TextTop()) / height, 0, LastCaretRow());
  const int col = leftCol_ + std::max(0, p.X - Geometry().TextLeft()) / cell;
  return TCharAtPoint{GetOffsetAt(row, col), row};
}

}  // namespace vorn
