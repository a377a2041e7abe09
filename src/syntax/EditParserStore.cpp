// Connects the bracket-state walks to the row store: rows, row words, the active view and repaints.
#include "syntax/EditParserStore.h"

#include "store/ScreenStrings.h"

#include <algorithm>

namespace vorn {

namespace {

class TStoreRows : public TBracketStateRows {
public:
  TStoreRows(TVornEditScreenStrings& store, const TVornEditViewInfo* view) : store_(store), view_(view) {}

  int RowCount() const override { return store_.Count(); }
  std::string_view RowText(int row) const override { return store_.Row(row); }
  bool RowWrapped(int row) const override { return store_.RowEnd(row) == reWrapped; }
  int BracketState(int row) const override { return store_.BracketState(row); }
  void SetBracketState(int row, int state) override { store_.SetBracketState(row, state); }
  void SetAllBracketStates(int state) override {
    store_.ForEachWord(0, store_.Count(), [state](TRowWord& w) { w.SetBracketState(state); });
  }
  const TVornEditViewInfo* ViewInfo() const override { return view_; }
  // Every view's screen is kept parsed, whichever has the focus.
  int TopRow() const override { return store_.TopRowOfViews(); }
  int ScreenRows() const override { return store_.ScreenRowsOfViews(); }
  void RepaintRow(int row) override { store_.NoteBracketStateChanged(row); }

private:
  TVornEditScreenStrings& store_;
  const TVornEditViewInfo* view_;
};

}  // namespace


int TParserBracketStateUpdater::RowEndState(TVornEditScreenStrings& store, int row, int state) {
  TStoreRows rows(store, fixedView_);
  return vorn::RowEndState(rows, row, state);
}

bool TParserBracketStateUpdater::RefersToLeft(int state) const {
  // Only the base walk asks this, and only with fixed options; the walks here ask the rows instead.
  return fixedView_ && state >= 0 && state < fixedView_->Brackets().Count() &&
         fixedView_->Brackets().Items(state).RightBracket().HasBackRef();
}

void TParserBracketStateUpdater::PrepareBackRefBracket(TVornEditScreenStrings& store, int& startRow, int& state) {
  // startRow is the row after the known row the walk continues from.
  TStoreRows rows(store, fixedView_);
  const int begin = vorn::PrepareBackRefBracket(rows, startRow - 1, state);
  if (begin >= 0) startRow = begin + 1;
}

int TParserBracketStateUpdater::UpdateBracketStates(TVornEditScreenStrings& store, int a, bool repaint) {
  TStoreRows rows(store, fixedView_);
  return vorn::UpdateBracketStates(rows, a, repaint);
}

void TParserBracketStateUpdater::RecomputeBracketStates(TVornEditScreenStrings& store) {
  TStoreRows rows(store, fixedView_);
  vorn::RecomputeBracketStates(rows);
}

}  // namespace vorn
