// Applying undo steps to the line store: rows out, old rows back in, marks following, views told.
#include "store/ScreenStrings.h"
#include "store/Undo.h"

#include <algorithm>

namespace vorn {

namespace {
int CountLineEnds(const TPointerStringList& rows, int first, int n) {
  int ends = 0;
  rows.ForEachRow(first, n, [&](std::string_view, TRowWord word) { ends += word.EndsLine(); });
  return ends;
}
}  // namespace

// The caret comes from the edit itself, never from whichever view has the focus, so two panes
// of one document record and restore the same positions.
void TScreenStringsUndoTarget::UndoGetCaret(int& row, int& col) const {
  row = store_.EditOrigin().Row;
  col = store_.EditOrigin().Col;
}

void TScreenStringsUndoTarget::UndoSetCaret(int row, int col) { store_.SetRestoredCaret(TRowCol{row, col}); }

void TScreenStringsUndoTarget::UndoBeginUpdate() { store_.BeginUpdate(); }

void TScreenStringsUndoTarget::UndoEndUpdate() { store_.EndUpdate(); }

TUndoInverse TScreenStringsUndoTarget::UndoApply(const TUndoData& r) {
  if (r.InRow) return store_.ApplyInRowStep(r);
  TUndoInverse inv;
  inv.FirstRow = r.FirstRow;
  inv.LineIndex = store_.RowToLine(r.FirstRow);
  const int newRows = std::min(r.NewRowCount, store_.Count() - r.FirstRow);
  inv.LineDelta = newRows > 0 ? -CountLineEnds(store_, r.FirstRow, newRows) : 0;
  int curRows = 0;
  if (newRows > 0) {
    inv.OldText = store_.GetRowsText(r.FirstRow, newRows, &inv.OldEnd, &curRows);
    store_.DeleteRows(r.FirstRow, newRows);
  }
  int m = 0;
  if (r.OldEnd != reNone && !r.OldText.empty()) {
    TVornEditStringList rows;
    store_.TextToRows(r.OldText, rows);
    if (r.OldEnd == reWrapped && rows.Count() > 1 && rows.Row(rows.Count() - 1).empty())
      rows.Delete(rows.Count() - 1);
    rows.SetRowEnd(rows.Count() - 1, r.OldEnd);
    m = rows.Count();
    store_.InsertRows(r.FirstRow, rows);  // marks the rows modified
    inv.LineDelta += CountLineEnds(rows, 0, m);
  }
  inv.NewRowCount = m;
  store_.UpdateBracketStates(r.FirstRow, true);
  store_.PostStep(TStoreChange::OfRows(scUndo, r.FirstRow, curRows, m, inv.LineIndex, inv.LineDelta));
  return inv;
}

void TScreenStringsUndoTarget::UndoAfterApply(const TUndoInverse& inv) {
  store_.MoveLineMarks(inv.LineIndex, inv.LineDelta);
}

void TScreenStringsUndoTarget::UndoClearRowModified() { store_.ClearRowModifiedMarks(); }

}  // namespace vorn
