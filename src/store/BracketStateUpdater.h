// TBracketStateUpdater: the hook that keeps the rows' bracket states in step with edits.
#pragma once

namespace vorn {

class TVornEditScreenStrings;

// The store owns one updater. This base knows no brackets: every row is outside all of them
// (state -1). The parser's updater derives from it and supplies the row-end state.
class TBracketStateUpdater {
public:
  virtual ~TBracketStateUpdater() = default;

  // True when the bracket collection has no items.
  virtual bool Empty() const { return true; }
  // The state at the end of row, given the state at its start.
  virtual int RowEndState(TVornEditScreenStrings& store, int row, int state);
  // True when the right pattern of item state refers to its left match.
  virtual bool RefersToLeft(int state) const;
  // May move the start of a walk (startRow, with the state there) up, for brackets whose right
  // pattern refers to the left match.
  virtual void PrepareBackRefBracket(TVornEditScreenStrings& store, int& startRow, int& state);

  // Recomputes states from row a on; returns how many rows changed (noting them in the store's
  // change when asked, so the views repaint them).
  virtual int UpdateBracketStates(TVornEditScreenStrings& store, int a, bool repaint);
  // Computes the states of the whole store afresh (load, option changes).
  virtual void RecomputeBracketStates(TVornEditScreenStrings& store);
};

}  // namespace vorn
