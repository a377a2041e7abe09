// TVornEditCore: dropping the dragged selection (moved or copied as one undo step), dropped
// text from elsewhere, and the hot-spot token under a cell.
#include <algorithm>

#include "editcore/EditCore.h"
#include "store/Undo.h"
#include "syntax/EditParser.h"

namespace vorn {

bool TVornEditCore::CellInSelection(TRowCol cell) const {
  if (!HasSelection()) return false;
  if (sel_.Box) {
    const TColumnRange& c = sel_.Cols;
    return cell.Row >= c.StartRow && cell.Row <= c.EndRow && cell.Col >= c.StartCol && cell.Col <= c.EndCol;
  }
  const TTextRange r = SelectionOffsets();
  const int at = GetOffsetAt(cell.Row, cell.Col);
  return at >= r.Start && at <= r.End;
}

// The drop offset is counted from a row the deletion cannot move: the drop row's restore row
// when the drop lies before the selection, else the selection start's, less the moved length.
bool TVornEditCore::DropSelectionAt(TRowCol cell, bool copy) {
  if (!HasSelection()) return false;
  if (CellInSelection(cell) || !MayEdit()) {
    ClearSelection();
    return false;
  }
  const std::string text = GetSelText();
  const bool box = sel_.Box;
  TVornEditUndoObj& undo = store_->UndoObj();
  undo.BeginGroup();
  if (copy) {
    ClearSelection();
    SetCaretPos(cell.Row, cell.Col);
  } else if (box) {
    const TColumnRange cols = sel_.Cols;
    if (cell.Row >= cols.StartRow && cell.Row <= cols.EndRow && cell.Col > cols.EndCol) cell.Col -= cols.EndCol - cols.StartCol;
    DeleteSelection();
    SetCaretPos(cell.Row, cell.Col);
  } else {
    const TTextRange r = SelectionOffsets();
    const int at = GetOffsetAt(cell.Row, cell.Col);
    const int anchorRow = at < r.Start ? std::clamp(cell.Row, 0, RowCount()) : sel_.Bytes.StartRow;
    const int restore = anchorRow < RowCount() ? std::max(store_->FirstRowOfLine(anchorRow), anchorRow - 1) : anchorRow;
    const int offset = at - RowStartOffset(restore) - (at < r.Start ? 0 : r.End - r.Start);
    DeleteSelection();
    SetCaretRowOffset(restore, offset);
  }
  if (box)
    BoxPaste(text);
  else
    InsertText(text);
  undo.EndGroup();
  return true;
}

void TVornEditCore::InsertDropped(std::string_view sjis, bool box) {
  if (!MayEdit()) return;
  ClearSelection();
  if (box)
    BoxPaste(sjis);
  else
    InsertText(sjis);
}

void TVornEditCore::SetHotSpotKinds(const THotSpotKinds& kinds) {
  hotSpotKinds_ = kinds;
  hotView_.reset();
}

TVornEditCore::THotSpot TVornEditCore::TokenAtCell(TRowCol cell) const {
  THotSpot spot;
  if (cell.Row < 0 || cell.Row >= RowCount()) return spot;
  if (cell.Col > 0 && cell.Col >= RowWidth(cell.Row)) return spot;
  if (!hotView_) {
    hotView_ = std::make_unique<TVornEditViewInfo>();
    hotView_->SetUrl(hotSpotKinds_.Url);
    hotView_->SetMail(hotSpotKinds_.Mail);
    hotView_->SetFileObj(hotSpotKinds_.FileName);
    hotView_->SetMailId(hotSpotKinds_.MailId);
  }
  const int firstRow = store_->FirstRowOfLine(cell.Row);
  int at = ColToByte(cell.Row, cell.Col);
  store_->ForEachRow(firstRow, cell.Row - firstRow, [&](std::string_view text, TRowWord) { at += static_cast<int>(text.size()); });
  std::string line = store_->GetRowsText(firstRow, -1);
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) line.resize(line.size() - 2);
  // Plain: comments, quotations and bracket regions do not hide a hot spot inside them.
  TVornEditParser parser(hotView_.get(), line, true, -1);
  for (TTokenKind kind = parser.Kind(); kind != tkEndOfLine; kind = parser.NextToken()) {
    if (parser.TokenOffset() <= at && at < parser.TokenEnd()) {
      spot.Kind = kind;
      spot.Text = parser.TokenText();
      break;
    }
  }
  return spot;
}

}  // namespace vorn
