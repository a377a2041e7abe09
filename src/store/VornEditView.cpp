// Merging the changes of one update block into the one value the views receive.
#include "store/VornEditView.h"

#include <algorithm>

namespace vorn {

namespace {
void AddBracketRows(TStoreChange& into, const TStoreChange& from) {
  if (from.BracketFirst < 0) return;
  into.BracketFirst = into.BracketFirst < 0 ? from.BracketFirst : std::min(into.BracketFirst, from.BracketFirst);
  into.BracketLast = std::max(into.BracketLast, from.BracketLast);
}
}  // namespace

// The later change's rows are counted in the text the earlier one left. Both extents end at
// the larger end in that middle text, which maps back through the earlier change and forward
// through the later one.
TStoreChange Merged(const TStoreChange& earlier, const TStoreChange& later) {
  if (later.Kind == scMarks || earlier.Kind == scMarks) {
    TStoreChange rows = later.Kind == scMarks ? earlier : later;
    AddBracketRows(rows, later.Kind == scMarks ? later : earlier);
    return rows;
  }
  TStoreChange m;
  m.Kind = later.WholeStore() ? later.Kind : earlier.Kind;
  // A step of a stepwise wrap met by another change (the store runs none inside an update
  // block, but should one be) reads as that change over both extents: a view then repaints
  // and re-reads them all, and a journal records their text, which is exact.
  if (earlier.Kind == scRewrapRows) m.Kind = later.Kind;
  m.FirstRow = std::min(earlier.FirstRow, later.FirstRow);
  const int middleEnd = std::max(earlier.FirstRow + earlier.RowsInserted, later.FirstRow + later.RowsRemoved);
  m.RowsRemoved = middleEnd - earlier.RowsInserted + earlier.RowsRemoved - m.FirstRow;
  m.RowsInserted = middleEnd + later.RowsInserted - later.RowsRemoved - m.FirstRow;
  m.LineIndex = std::min(earlier.LineIndex, later.LineIndex);
  m.LineDelta = earlier.LineDelta + later.LineDelta;
  m.BracketFirst = earlier.BracketFirst;
  m.BracketLast = earlier.BracketLast;
  AddBracketRows(m, later);
  m.Origin = earlier.Origin ? earlier.Origin : later.Origin;
  return m;
}

}  // namespace vorn
