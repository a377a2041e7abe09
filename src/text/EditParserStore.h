// The parser's bracket-state hook of the row store: the state walks over the store's rows and views.
#pragma once

#include "text/BracketStateUpdater.h"
#include "text/EditParserStates.h"

namespace vorn {

class TVornEditScreenStrings;

// Installed in the store with SetBrackets. The rows are parsed with the view options of the store's owner
// (TVornEditView::ViewInfo), asked afresh on every walk, since the owner changes when the first pane closes.
// Tools and tests without such a view may fix the options instead.
class TParserBracketStateUpdater : public TBracketStateUpdater {
public:
  TParserBracketStateUpdater() = default;
  explicit TParserBracketStateUpdater(const TVornEditViewInfo& fixedView) : fixedView_(&fixedView) {}

  bool Empty() const override { return !fixedView_ || fixedView_->Brackets().Count() == 0; }
  int RowEndState(TVornEditScreenStrings& store, int row, int state) override;
  bool RefersToLeft(int state) const override;
  void PrepareBackRefBracket(TVornEditScreenStrings& store, int& startRow, int& state) override;
  int UpdateBracketStates(TVornEditScreenStrings& store, int a, bool repaint) override;
  void RecomputeBracketStates(TVornEditScreenStrings& store) override;

private:
  const TVornEditViewInfo* ViewOf(const TVornEditScreenStrings& store) const;
  const TVornEditViewInfo* fixedView_ = nullptr;
};

}  // namespace vorn
