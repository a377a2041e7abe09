// Bracket states of display rows: the state at each row's start, computed lazily and repaired after edits.
#pragma once

#include "syntax/EditParser.h"

#include <string>
#include <string_view>

namespace vorn {

// What the state walk needs of the row store and its views. The store implements it; tests use a fake.
class TBracketStateRows {
public:
  virtual ~TBracketStateRows() = default;
  virtual int RowCount() const = 0;
  virtual std::string_view RowText(int row) const = 0;
  // True when the row's logical line continues on the next row.
  virtual bool RowWrapped(int row) const = 0;
  virtual int BracketState(int row) const = 0;
  virtual void SetBracketState(int row, int state) = 0;
  // Bulk form for whole-store resets; a store can do it without a call per row.
  virtual void SetAllBracketStates(int state) {
    for (int r = 0, n = RowCount(); r < n; ++r) SetBracketState(r, state);
  }
  // The document's view options; null when there are none (no brackets then).
  virtual const TVornEditViewInfo* ViewInfo() const = 0;
  // The furthest-down top row of the views and the tallest screen in rows: states are kept to two
  // screens below, so that no pane shows a row whose state is unknown.
  virtual int TopRow() const = 0;
  virtual int ScreenRows() const = 0;
  // Every view repaints the row.
  virtual void RepaintRow(int row) = 0;
};

// The state at the start of row + 1, given state at the start of row.
int RowEndState(TBracketStateRows& rows, int row, int state);

// Forgets every state and computes the rows from the top to two screens below the views' top rows.
void RecomputeBracketStates(TBracketStateRows& rows);

// Repairs states from row down until they agree again or two screens below row; returns the rows changed.
int UpdateBracketStates(TBracketStateRows& rows, int row, bool repaint);

// When state is a bracket whose closing pattern refers to the opening match, re-parses the row where that
// bracket began so that its closing pattern holds the groups of that opening again. Returns that row and sets
// state to the state after it; returns -1 (state unchanged) when there is nothing to prepare.
int PrepareBackRefBracket(TBracketStateRows& rows, int row, int& state);

}  // namespace vorn
