// RepaintAfterChange: what a view repaints and scrolls after an edit of its store.
#include "store/VornEditView.h"

#include <algorithm>
#include <cstdlib>

#include "store/ScreenStrings.h"

namespace vorn {

void RepaintAfterChange(const TVornEditScreenStrings& store, TVornEditView& view) {
  const TLastChange& change = store.LastChange();
  if (!change.Changed) return;
  int d = change.NewRowCount - change.OldRowCount;
  if (std::abs(d) > std::max(1, view.Geometry().VisibleRows())) {
    view.RepaintTextAreaNow();
    return;
  }
  int end = change.FirstRow + change.NewRowCount + std::max(0, change.RepaintRows - change.NewRowCount);
  int count = store.Count();
  if (d == 0) {
    view.RepaintRows(change.FirstRow, end > count - 1 ? end : end - 1);
    return;
  }
  view.RepaintRows(change.FirstRow, end - 1);
  view.ScrollRowsFrom(end, d);
  if (end > count - 1) view.RepaintRows(end, end);
}

}  // namespace vorn
