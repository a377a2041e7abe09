// Re-wrapping and unwrapping a whole row list in place, for any row container.
//
// Rows must offer: int Count(); std::string_view Text(int); void SetText(int, std::string_view);
// TRowEnd RowEnd(int); void SetRowEnd(int, TRowEnd); void AppendEmptyRows(int n);
// void DeleteLastRows(int n). Only texts and RowEnd values are rewritten: the other fields of a
// row word stay at their row positions.
#pragma once

#include "text/Wrap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

namespace wrap_detail {

// Joins the rows of the logical line that starts at `first`; returns its row count.
template <class Rows>
int JoinLine(Rows& rows, int first, std::string& line) {
  const int count = rows.Count();
  line.clear();
  int r = first;
  for (;;) {
    line.append(rows.Text(r));
    if (rows.RowEnd(r) != reWrapped || r == count - 1) break;
    ++r;
  }
  return r - first + 1;
}

// Reads the line at old row `from` and writes its new rows at `to`.
template <class Rows>
void RewriteLine(Rows& rows, TWordWrapper& w, int from, int to, std::string& line,
                 std::vector<TWrapRow>& cut) {
  JoinLine(rows, from, line);
  cut.clear();
  w.WrapLine(line, 0, cut);
  for (std::size_t i = 0; i < cut.size(); ++i) {
    const int row = to + static_cast<int>(i);
    rows.SetText(row, std::string_view(line).substr(cut[i].Offset, cut[i].Length));
    rows.SetRowEnd(row, cut[i].End);
  }
}

}  // namespace wrap_detail

// Wraps every logical line anew. Counts first, grows or shrinks the list once and rewrites the
// rows in place. Returns the change in the row count. With force unset, a list whose row count
// would not change is taken to be wrapped already.
//
// A line moves by the sum of the row-count changes of the lines above it. Where that sum is
// positive, writing the line top-down would overwrite rows of the next line before they are
// read, so such runs of lines are written bottom-up; the rest top-down. (Writing everything in
// one direction chosen by the overall change is only safe when all lines change the same way.)
template <class Rows>
int RewrapRows(Rows& rows, TWordWrapper& w, bool force) {
  const int count = rows.Count();
  if (count == 0) return 0;
  std::string line;
  std::vector<int32_t> oldRows, newRows;
  int delta = 0;
  for (int r = 0; r < count;) {
    const int n = wrap_detail::JoinLine(rows, r, line);
    const int m = w.CountRowsOfLine(line);
    oldRows.push_back(n);
    newRows.push_back(m);
    delta += m - n;
    r += n;
  }
  if (delta == 0 && !force) return 0;
  const TRowEnd lastEnd = rows.RowEnd(count - 1);
  if (delta > 0) rows.AppendEmptyRows(delta);

  std::vector<TWrapRow> cut;
  const int lines = static_cast<int>(oldRows.size());
  int oldStart = 0, shift = 0;  // old first row of line k, and the shift of line k's start
  for (int k = 0; k < lines;) {
    if (shift + newRows[k] - oldRows[k] <= 0) {
      wrap_detail::RewriteLine(rows, w, oldStart, oldStart + shift, line, cut);
      shift += newRows[k] - oldRows[k];
      oldStart += oldRows[k];
      ++k;
      continue;
    }
    // Lines k..j-1 each push the next line's start down: write them from the last one up.
    int j = k, s = shift, o = oldStart;
    std::vector<std::pair<int, int>> run;  // (old start, shift) of each line of the run
    while (j < lines && (j == k || s > 0)) {
      run.emplace_back(o, s);
      s += newRows[j] - oldRows[j];
      o += oldRows[j];
      ++j;
      if (s <= 0) break;
    }
    for (int i = static_cast<int>(run.size()) - 1; i >= 0; --i)
      wrap_detail::RewriteLine(rows, w, run[i].first, run[i].first + run[i].second, line, cut);
    k = j;
    shift = s;
    oldStart = o;
  }
  if (delta < 0) rows.DeleteLastRows(-delta);
  rows.SetRowEnd(rows.Count() - 1, lastEnd);
  return delta;
}

// Joins every logical line back into one row. The last row keeps its line-break state, except
// that a wrapped last row (a text without final break) becomes the text end.
template <class Rows>
void UnwrapRows(Rows& rows) {
  const int count = rows.Count();
  if (count == 0) return;
  const TRowEnd last = rows.RowEnd(count - 1);
  const TRowEnd lastEnd = last == reWrapped ? reTextEnd : last;
  std::string line;
  int k = 0;
  for (int r = 0; r < count; ++k) {
    const int n = wrap_detail::JoinLine(rows, r, line);
    r += n;
    rows.SetText(k, line);
    rows.SetRowEnd(k, r >= count ? lastEnd : reLineEnd);
  }
  rows.DeleteLastRows(count - k);
}

}  // namespace vorn
