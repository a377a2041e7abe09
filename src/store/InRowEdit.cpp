// Edits inside one row that leave its wrapping alone: the row's bytes change in place and the
// undo step holds only the bytes that were replaced.
#include "store/ScreenStrings.h"
#include "store/Undo.h"

#include <algorithm>

namespace vorn {

namespace {
std::string_view RowEndBytes(TRowEnd end) { return end == reLineEnd ? std::string_view("\r\n") : std::string_view(); }

// A rewritten row starts afresh as rows split from text do: its end kept, marked written, its
// bracket state to be computed again, no diff mark.
TRowWord RewrittenWord(TRowEnd end) {
  TRowWord word;
  word.SetEnd(end);
  word.SetModified(true);
  return word;
}
}  // namespace

// Word wrap can move a row's end with any change of its bytes; a line break in the insert would
// change the row count, and a NUL must become a space as ReplaceRows makes it. A row left
// without a line break is removed (or, when undone, not put back) by ReplaceRows, so such
// rows stay with it too.
bool TVornEditScreenStrings::CanReplaceInRow(int row, std::size_t byte, std::size_t removed,
                                            std::string_view insert) const {
  if (wordWrap_ || row < 0 || row >= Count()) return false;
  const std::size_t length = Row(row).size();
  if (length == 0 && RowEnd(row) != reLineEnd) return false;
  if (byte > length || removed > length - byte) return false;
  if (insert.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  return length - removed + insert.size() > 0 || RowEnd(row) == reLineEnd;
}

int TVornEditScreenStrings::ReplaceInRow(int row, std::size_t byte, std::size_t removed, std::string_view insert,
                                        TRowCol origin) {
  if (!CanReplaceInRow(row, byte, removed, insert)) {
    if (row < 0 || row >= Count()) return 0;
    return ReplaceRows(row, 1, SplicedRow(Row(row), byte, removed, 0, insert, RowEndBytes(RowEnd(row))), origin);
  }
  if (removed == 0 && insert.empty()) {
    // ReplaceRows of the unchanged row still records a step and marks the row written.
    return ReplaceRows(row, 1, SplicedRow(Row(row), 0, 0, 0, {}, RowEndBytes(RowEnd(row))), origin);
  }
  editOrigin_ = origin;
  const int lineIndex = RowToLine(row);
  BeginUpdate();
  TUndoData& rec = *undo_.NewRecord();
  rec.FirstRow = row;
  rec.InRow = true;
  rec.RowByte = static_cast<std::int64_t>(byte);
  rec.OldText = std::string(Row(row).substr(byte, removed));
  rec.OldEnd = RowEnd(row);
  rec.NewRowCount = static_cast<std::int32_t>(insert.size());
  SpliceRowBytes(row, byte, removed, insert);
  SetWord(row, RewrittenWord(RowEnd(row)));
  UpdateBracketStates(row, true);
  MoveLineMarks(lineIndex, 0);
  TStoreChange change = TStoreChange::OfRows(scEdit, row, 1, 1, lineIndex, 0, origin);
  change.InRow = TStoreChange::TInRowBytes{static_cast<std::int64_t>(byte), static_cast<std::int64_t>(removed),
                                           static_cast<std::int64_t>(insert.size())};
  Post(change);
  EndUpdate();
  return 0;
}

TUndoInverse TVornEditScreenStrings::ApplyInRowStep(const TUndoData& r) {
  TUndoInverse inv;
  inv.FirstRow = r.FirstRow;
  inv.InRow = true;
  inv.RowByte = r.RowByte;
  inv.OldEnd = RowEnd(r.FirstRow);
  inv.LineIndex = RowToLine(r.FirstRow);
  const auto byte = static_cast<std::size_t>(r.RowByte);
  const auto current = static_cast<std::size_t>(r.NewRowCount);
  inv.OldText = std::string(Row(r.FirstRow).substr(byte, current));
  inv.NewRowCount = static_cast<std::int32_t>(r.OldText.size());
  SpliceRowBytes(r.FirstRow, byte, current, r.OldText);
  SetWord(r.FirstRow, RewrittenWord(r.OldEnd));
  UpdateBracketStates(r.FirstRow, true);
  TStoreChange change = TStoreChange::OfRows(scUndo, r.FirstRow, 1, 1, inv.LineIndex, 0);
  change.InRow = TStoreChange::TInRowBytes{r.RowByte, static_cast<std::int64_t>(current),
                                           static_cast<std::int64_t>(r.OldText.size())};
  PostStep(change);
  return inv;
}

}  // namespace vorn
