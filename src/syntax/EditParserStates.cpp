// Bracket state walks over the row store: one row's end state, full recomputation, repair after an edit.
#include "syntax/EditParserStates.h"

#include <algorithm>

namespace vorn {

namespace {

bool HasBrackets(const TBracketStateRows& rows) {
  const TVornEditViewInfo* view = rows.ViewInfo();
  return view && view->Brackets().Count() > 0;
}

int FirstRowOfLine(const TBracketStateRows& rows, int row) {
  while (row > 0 && rows.RowWrapped(row - 1)) --row;
  return row;
}

bool RightRefersToLeft(const TBracketStateRows& rows, int state) {
  const TVornEditViewInfo* view = rows.ViewInfo();
  return view && state >= 0 && state < view->Brackets().Count() &&
         view->Brackets().Items(state).RightBracket().HasBackRef();
}

int ParseToEnd(const TVornEditViewInfo* view, std::string_view text, int state) {
  TVornEditParser parser(view, text, false, state);
  while (parser.Kind() != tkEndOfLine) parser.NextToken();
  return parser.State();
}

}  // namespace

int RowEndState(TBracketStateRows& rows, int row, int state) {
  const TVornEditViewInfo* view = rows.ViewInfo();
  const int first = FirstRowOfLine(rows, row);
  const bool wrapped = rows.RowWrapped(row) && row + 1 < rows.RowCount();
  if (first == row && !wrapped) {
    // The common case (no word wrap): the row alone, parsed in place.
    const std::string_view text = rows.RowText(row);
    return text.empty() ? state : ParseToEnd(view, text, state);
  }
  // A token may run over a wrap point, so the row is parsed with the rows before it in its logical line
  // and with the first token of the next row.
  std::string text;
  for (int r = first; r <= row; ++r) text += rows.RowText(r);
  if (wrapped) {
    const std::string_view next = rows.RowText(row + 1);
    TVornEditParser head(view, next, false, BracketStateOutside);
    text.append(next.substr(0, static_cast<std::size_t>(head.TokenEnd())));
  }
  if (text.empty()) return state;
  return ParseToEnd(view, text, first == row ? state : rows.BracketState(first));
}

void RecomputeBracketStates(TBracketStateRows& rows) {
  const int count = rows.RowCount();
  if (!HasBrackets(rows)) {
    rows.SetAllBracketStates(BracketStateOutside);
    return;
  }
  rows.SetAllBracketStates(BracketStateUnknown);
  if (count == 0) return;
  const int last = std::min(count - 1, rows.TopRow() + 2 * std::max(1, rows.ScreenRows()));
  int state = BracketStateOutside;
  for (int r = 0; r <= last; ++r) {
    rows.SetBracketState(r, state);
    state = RowEndState(rows, r, state);
  }
}

int PrepareBackRefBracket(TBracketStateRows& rows, int row, int& state) {
  if (!RightRefersToLeft(rows, state)) return -1;
  int begin = row;
  while (begin >= 0 && rows.BracketState(begin) == state) --begin;
  if (begin < 0) return -1;
  state = RowEndState(rows, begin, rows.BracketState(begin));
  return begin;
}

int UpdateBracketStates(TBracketStateRows& rows, int row, bool repaint) {
  const int count = rows.RowCount();
  if (row < 0 || row >= count) return 0;
  int known = row - 1;
  while (known >= 0 && rows.BracketState(known) == BracketStateUnknown) --known;
  int start = 0;
  int state = BracketStateOutside;
  if (known >= 0) {
    state = RowEndState(rows, known, rows.BracketState(known));
    start = known + 1;
    const int begin = PrepareBackRefBracket(rows, known, state);
    if (begin >= 0) start = begin + 1;
  }
  const int last = std::min(row + 2 * std::max(1, rows.ScreenRows()), count - 1);
  int changed = 0;
  for (int h = start; h <= last; ++h) {
    if (rows.BracketState(h) == state && !RightRefersToLeft(rows, state)) return changed;
    rows.SetBracketState(h, state);
    if (repaint) rows.RepaintRow(h);
    ++changed;
    state = RowEndState(rows, h, state);
  }
  // Known states always form a run from the top (every walk starts below a known row and goes on without a
  // gap), so forgetting the states below can stop at the first row that is already unknown.
  for (int h = last + 1; h < count && rows.BracketState(h) != BracketStateUnknown; ++h)
    rows.SetBracketState(h, BracketStateUnknown);
  return changed;
}

}  // namespace vorn
