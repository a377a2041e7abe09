// Re-wrapping and unwrapping a whole row list in place, for any row container.
//
// Rows must offer: int Count(); TRowEnd RowEnd(int); void SetRowEnd(int, TRowEnd);
// void SetText(int, std::string_view); void AppendEmptyRows(int n); void DeleteLastRows(int n);
// std::string_view Line(int first, int n, std::string& scratch), the joined text of rows
// first..first+n-1, which must stay valid while those rows and any others are rewritten (a
// container may hand out its own bytes when that holds, else it copies into scratch); and
// ForEachLine(scratch, f), calling f(rowCount, lineText) for every logical line in order.
// Only texts and RowEnd values are rewritten: the other fields of a row word stay at their
// row positions.
#pragma once

#include "layout/Wrap.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace vorn {

namespace wrap_detail {

// The new rows of every line, cut once: a line of one row is the whole line; longer lines keep
// their row lengths here, the top bit marking a wrapped row.
struct TCuts {
  std::vector<int32_t> oldRows, newRows;
  std::vector<uint32_t> lengths;
  static constexpr uint32_t kWrapped = 0x80000000u;
};

// Writes line k (n old rows at `from`, its cut lengths from lengths[at]) as rows from `to`.
template <class Rows>
void RewriteLine(Rows& rows, const TCuts& cuts, int k, int from, int to, std::size_t at, std::string& scratch) {
  const int n = cuts.oldRows[k];
  const int m = cuts.newRows[k];
  if (m == 1) {
    if (from != to || n != 1) rows.SetText(to, rows.Line(from, n, scratch));
    rows.SetRowEnd(to, reLineEnd);
    return;
  }
  std::string_view line = rows.Line(from, n, scratch);
  std::size_t offset = 0;
  for (int i = 0; i < m; ++i) {
    const uint32_t len = cuts.lengths[at + i] & ~TCuts::kWrapped;
    rows.SetText(to + i, line.substr(offset, len));
    rows.SetRowEnd(to + i, (cuts.lengths[at + i] & TCuts::kWrapped) ? reWrapped : reLineEnd);
    offset += len;
  }
}

}  // namespace wrap_detail

// Wraps every logical line anew. Counts first, grows or shrinks the list once and rewrites the
// rows in place. Returns the change in the row count. With force unset, a list in which no
// line's row count would change is taken to be wrapped already.
//
// A line moves by the sum of the row-count changes of the lines above it. Where that sum is
// positive, writing the line top-down would overwrite rows of the next line before they are
// read, so such runs of lines are written bottom-up; the rest top-down. (Writing everything in
// one direction chosen by the overall change is only safe when all lines change the same way.)
template <class Rows>
int RewrapRows(Rows& rows, TWordWrapper& w, bool force) {
  const int count = rows.Count();
  if (count == 0) return 0;
  std::string scratch;
  wrap_detail::TCuts cuts;
  std::vector<TWrapRow> cut;
  int delta = 0;
  bool recut = force;
  rows.ForEachLine(scratch, [&](int n, std::string_view line) {
    cut.clear();
    w.WrapLine(line, 0, cut);
    const int m = static_cast<int>(cut.size());
    cuts.oldRows.push_back(n);
    cuts.newRows.push_back(m);
    if (m > 1)
      for (const TWrapRow& r : cut) cuts.lengths.push_back(r.Length | (r.End == reWrapped ? wrap_detail::TCuts::kWrapped : 0));
    delta += m - n;
    recut = recut || m != n;
  });
  if (!recut) return 0;
  const TRowEnd lastEnd = rows.RowEnd(count - 1);
  if (delta > 0) rows.AppendEmptyRows(delta);

  const int lines = static_cast<int>(cuts.oldRows.size());
  auto cutsOf = [&](int k) { return cuts.newRows[k] > 1 ? static_cast<std::size_t>(cuts.newRows[k]) : 0; };
  int oldStart = 0, shift = 0;  // old first row of line k, and the shift of line k's start
  std::size_t at = 0;           // line k's first entry in cuts.lengths
  std::vector<std::tuple<int, int, std::size_t>> run;
  for (int k = 0; k < lines;) {
    const int change = cuts.newRows[k] - cuts.oldRows[k];
    if (shift + change <= 0) {
      wrap_detail::RewriteLine(rows, cuts, k, oldStart, oldStart + shift, at, scratch);
      shift += change;
      oldStart += cuts.oldRows[k];
      at += cutsOf(k);
      ++k;
      continue;
    }
    // Lines from k on each push the next line's start down, until a line whose end does not:
    // write them from the last one up.
    run.clear();
    int j = k;
    do {
      run.emplace_back(oldStart, shift, at);
      shift += cuts.newRows[j] - cuts.oldRows[j];
      oldStart += cuts.oldRows[j];
      at += cutsOf(j);
      ++j;
    } while (j < lines && shift > 0);
    for (int i = static_cast<int>(run.size()) - 1; i >= 0; --i) {
      const auto [from, s, a] = run[i];
      wrap_detail::RewriteLine(rows, cuts, k + i, from, from + s, a, scratch);
    }
    k = j;
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
  std::vector<int32_t> lineRows;
  std::string scratch;
  rows.ForEachLine(scratch, [&](int n, std::string_view) { lineRows.push_back(n); });
  int r = 0;
  for (int k = 0; k < static_cast<int>(lineRows.size()); ++k) {
    const int n = lineRows[k];
    if (n > 1 || r != k) rows.SetText(k, rows.Line(r, n, scratch));
    r += n;
    rows.SetRowEnd(k, r >= count ? lastEnd : reLineEnd);
  }
  rows.DeleteLastRows(count - static_cast<int>(lineRows.size()));
}

}  // namespace vorn
