// Caret movements by character, word, row, line, window, page and file; scrolling by one row.
#include <algorithm>

#include "editcore/EditCore.h"
#include "syntax/EditParser.h"

namespace vorn {

// --- selection around a move --------------------------------------------------------------------

bool TVornEditCore::BeginMove(TMoveFlags f) {
  if (macroPlaying_) keyRepeat_ = fastRepeat_;
  const bool extend = macroPlaying_ ? macroShift_ : f.Shift;
  if (f.KeepSelection) return false;
  if (extend && !HasSelection()) StartSelection();
  if (HasSelection() && !extend) ClearSelection();
  return extend;
}

void TVornEditCore::EndMove(TMoveFlags f, bool extend) {
  if (!f.KeepSelection && extend) ExtendSelection();
}

// --- row and character moves ---------------------------------------------------------------------

void TVornEditCore::CursorUp(TMoveFlags f) {
  if (browseMode_ && !browseAsReadOnly_) {
    LineUp(f);
    return;
  }
  const bool extend = BeginMove(f);
  SetCaretRow(state_.CaretRow - RepeatStep(state_.CaretRow == state_.TopRow));
  EndMove(f, extend);
}

void TVornEditCore::CursorDown(TMoveFlags f) {
  if (browseMode_ && !browseAsReadOnly_) {
    LineDown(f);
    return;
  }
  const bool extend = BeginMove(f);
  if (RowKind(state_.CaretRow) != reTextEnd)
    SetCaretRow(state_.CaretRow + RepeatStep(state_.CaretRow == state_.TopRow + VisibleRows() - 1));
  EndMove(f, extend);
}

void TVornEditCore::CursorLeft(TMoveFlags f) {
  const bool extend = BeginMove(f);
  const int row = state_.CaretRow;
  if (state_.CaretCol > 0) {
    SetCaretCol(state_.CaretCol - 1);
  } else if (row > 0 && (caretOptions_.NextLine || RowKind(row - 1) == reWrapped)) {
    SetCaretPos(row - 1, RowWidth(row - 1));
  }
  EndMove(f, extend);
}

void TVornEditCore::CursorRight(TMoveFlags f) {
  const bool extend = BeginMove(f);
  const int row = state_.CaretRow, before = state_.CaretCol;
  SetCaretCol(before + 1);
  if (state_.CaretCol == before && row < RowCount() && RowKind(row) != reTextEnd &&
      (caretOptions_.NextLine || RowKind(row) == reWrapped))
    SetCaretPos(row + 1, 0);
  EndMove(f, extend);
}

// --- word steps ----------------------------------------------------------------------------------

namespace {
// Columns where a word starts in an expanded row: every token but a lone symbol character.
std::vector<int> StopColumns(const std::string& expanded) {
  std::vector<int> stops;
  TVornEditParser parser(nullptr, expanded, true, -1);
  for (TTokenKind kind = parser.Kind(); kind != tkEndOfLine; kind = parser.NextToken())
    if (kind != tkSymbol) stops.push_back(parser.TokenOffset());
  return stops;
}
}  // namespace

bool TVornEditCore::WordStep(TRowCol& pos, bool forward) const {
  const TRowCol start = pos;
  int r = pos.Row, c = pos.Col;
  auto expandedLength = [&](int row) { return static_cast<int>(ExpandTabs(GetRowText(row)).size()); };
  if (forward) {
    if (r >= RowCount()) return false;
    if (c >= expandedLength(r)) {
      if (RowKind(r) == reTextEnd) return false;
      ++r;
      c = -1;
    }
    const std::string expanded = ExpandTabs(GetRowText(r));
    const std::vector<int> stops = StopColumns(expanded);
    auto next = std::upper_bound(stops.begin(), stops.end(), c);
    if (next != stops.end())
      c = *next;
    else if (r < RowCount() && RowKind(r) == reWrapped)
      ++r, c = 0;
    else
      c = static_cast<int>(expanded.size());
  } else {
    if (c <= 0) {
      if (r == 0) return false;
      --r;
      c = expandedLength(r);
      if (RowKind(r) != reWrapped) {
        pos = {r, c};
        return true;
      }
    }
    const std::vector<int> stops = StopColumns(ExpandTabs(GetRowText(r)));
    auto prev = std::lower_bound(stops.begin(), stops.end(), c);
    if (prev != stops.begin())
      c = *(prev - 1);
    else if (r == 0)
      c = 0;
    else
      --r, c = expandedLength(r);
  }
  pos = {r, std::max(0, c)};
  return !(pos == start);
}

void TVornEditCore::WordLeft(TMoveFlags f) {
  const bool extend = BeginMove(f);
  TRowCol pos = Caret();
  if (WordStep(pos, false)) {
    const int row = state_.CaretRow;
    const bool joined = row >= 1 && RowKind(row - 1) == reWrapped;
    if (pos.Row == row || caretOptions_.NextLine || joined) SetCaretPos(pos.Row, pos.Col);
  }
  EndMove(f, extend);
}

void TVornEditCore::WordRight(TMoveFlags f) {
  const bool extend = BeginMove(f);
  TRowCol pos = Caret();
  if (WordStep(pos, true)) {
    const int row = state_.CaretRow;
    if (pos.Row == row || caretOptions_.NextLine || RowKind(row) == reWrapped) SetCaretPos(pos.Row, pos.Col);
  }
  EndMove(f, extend);
}

// --- line, window and file moves -----------------------------------------------------------------

void TVornEditCore::MoveLineEndHere() {
  if (state_.CaretRow >= RowCount())
    SetCaretCol(0);
  else
    SetCaretCol(RowWidth(state_.CaretRow));
}

void TVornEditCore::MoveLineStart(TMoveFlags f) {
  const bool extend = BeginMove(f);
  SetCaretCol(0);
  EndMove(f, extend);
}

void TVornEditCore::MoveLineEnd(TMoveFlags f) {
  const bool extend = BeginMove(f);
  MoveLineEndHere();
  EndMove(f, extend);
}

void TVornEditCore::MoveLogicalLineStart(TMoveFlags f) {
  const bool extend = BeginMove(f);
  SetCaretPos(store_->FirstRowOfLine(state_.CaretRow), 0);
  EndMove(f, extend);
}

void TVornEditCore::MoveLogicalLineEnd(TMoveFlags f) {
  const bool extend = BeginMove(f);
  if (state_.CaretRow < RowCount()) SetCaretRow(store_->LastRowOfLine(state_.CaretRow));
  MoveLineEndHere();
  EndMove(f, extend);
}

void TVornEditCore::MoveFileStart(TMoveFlags f) {
  const bool extend = BeginMove(f);
  SetCaretPos(0, 0);
  EndMove(f, extend);
}

void TVornEditCore::MoveFileEnd(TMoveFlags f) {
  const bool extend = BeginMove(f);
  SetCaretRow(LastCaretRow());
  MoveLineEndHere();
  EndMove(f, extend);
}

void TVornEditCore::MoveWindowStart(TMoveFlags f) {
  const bool extend = BeginMove(f);
  SetCaretPos(state_.TopRow, 0);
  EndMove(f, extend);
}

void TVornEditCore::MoveWindowEnd(TMoveFlags f) {
  const bool extend = BeginMove(f);
  const int top = state_.TopRow;
  SetCaretRow(top + VisibleRows() - 1);
  MoveLineEndHere();
  SetTopRow(top);
  EndMove(f, extend);
}

// --- pages and scrolling ------------------------------------------------------------------------

// A page is at least one row: a pane too small for two rows still pages forward, never back.
void TVornEditCore::NextPage(TMoveFlags f) {
  const bool extend = BeginMove(f);
  ScrollByPage(std::max(1, VisibleRows() - 1));
  EndMove(f, extend);
}

void TVornEditCore::PrevPage(TMoveFlags f) {
  const bool extend = BeginMove(f);
  ScrollByPage(-std::max(1, VisibleRows() - 1));
  EndMove(f, extend);
}

void TVornEditCore::ScrollByPage(int n) {
  const int top = state_.TopRow;
  if (top == 0 && n < 0) {
    SetCaretRow(0);
    return;
  }
  const int count = RowCount();
  if (n > 0 && (top >= count || (top == count - 1 && RowKind(top) == reTextEnd))) return;
  n = std::clamp(n, -count, count);
  BeginCaretHide();
  const int caretRow = state_.CaretRow;
  SetTopRow(std::clamp(top + n, 0, count));
  SetCaretRow(caretRow + state_.TopRow - top);
  EndCaretHide();
}

// Scrolling by a row never starts or clears a selection; with Shift it extends one.
void TVornEditCore::LineDown(TMoveFlags f) {
  if (macroPlaying_) keyRepeat_ = fastRepeat_;
  const bool extend = macroPlaying_ ? macroShift_ : f.Shift;
  const int k = RepeatStep(state_.CaretRow == state_.TopRow + VisibleRows() - 1);
  SetTopRow(state_.TopRow + k);
  if (caretOptions_.LockScroll && state_.CaretRow < state_.TopRow) SetCaretRow(state_.CaretRow + k);
  if (!f.KeepSelection && extend) ExtendSelection();
}

void TVornEditCore::LineUp(TMoveFlags f) {
  if (macroPlaying_) keyRepeat_ = fastRepeat_;
  const bool extend = macroPlaying_ ? macroShift_ : f.Shift;
  const int k = RepeatStep(state_.CaretRow == state_.TopRow);
  SetTopRow(state_.TopRow - k);
  if (caretOptions_.LockScroll && state_.CaretRow >= state_.TopRow + VisibleRows())
    SetCaretRow(state_.CaretRow - k);
  if (!f.KeepSelection && extend) ExtendSelection();
}

void TVornEditCore::NavigationKey(TNavKey key, bool shift, bool ctrl) {
  const bool extend = macroPlaying_ ? macroShift_ : shift;
  if (extend && !HasSelection()) StartSelection();
  if (HasSelection() && !extend) ClearSelection();
  const TMoveFlags keep{true, false};
  switch (key) {
    case nkPageUp: ScrollByPage(-std::max(1, VisibleRows() - 1)); break;
    case nkPageDown: ScrollByPage(std::max(1, VisibleRows() - 1)); break;
    case nkEnd:
      if (ctrl) SetCaretRow(RowCount());
      MoveLineEnd(keep);
      break;
    case nkHome:
      if (ctrl) SetCaretRow(0);
      SetCaretCol(0);
      break;
    case nkLeft: ctrl ? WordLeft(keep) : CursorLeft(keep); break;
    case nkRight: ctrl ? WordRight(keep) : CursorRight(keep); break;
    case nkUp: ctrl ? LineUp(keep) : CursorUp(keep); break;
    case nkDown: ctrl ? LineDown(keep) : CursorDown(keep); break;
  }
  if (extend) ExtendSelection();
}

}  // namespace vorn
