// TVornEditView defaults and TVornEditScreen::RepaintAfterChange.
#include "text/VornEditView.h"

#include <algorithm>
#include <cstdlib>

#include "text/ScreenStrings.h"

namespace vorn {

int TVornEditView::RowToLine(int row) {
  TVornEditScreenStrings* store = Store();
  return store ? store->CountLinesBefore(row) : row;
}

void TVornEditScreen::RepaintAfterChange() {
  TVornEditScreenStrings* store = view_.Store();
  if (!store) return;
  const TLastChange& change = store->LastChange();
  if (!change.Changed) return;
  int d = change.NewRowCount - change.OldRowCount;
  if (std::abs(d) > view_.VisibleRows()) {
    view_.RepaintTextAreaNow();
    return;
  }
  int end = change.FirstRow + change.NewRowCount + std::max(0, change.RepaintRows - change.NewRowCount);
  int count = store->Count();
  if (d == 0) {
    view_.RepaintRows(change.FirstRow, end > count - 1 ? end : end - 1);
    return;
  }
  view_.RepaintRows(change.FirstRow, end - 1);
  view_.ScrollRowsFrom(end, d);
  if (end > count - 1) view_.RepaintRows(end, end);
}

}  // namespace vorn
