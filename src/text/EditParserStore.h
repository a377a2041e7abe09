// The parser's bracket-state hook of the row store: the state walks over the store's rows and views.
#pragma once

#include "text/BracketStateUpdater.h"
#include "text/EditParserStates.h"

namespace vorn {

class TVornEditScreenStrings;

// Installed in the store by the owner control (SetBrackets), with the control's view options.
class TParserBracketStateUpdater : public TBracketStateUpdater {
public:
  explicit TParserBracketStateUpdater(const TVornEditViewInfo& view) : view_(view) {}

  bool Empty() const override { return view_.Brackets().Count() == 0; }
  int RowEndState(TVornEditScreenStrings& store, int row, int state) override;
  bool RefersToLeft(int state) const override;
  void PrepareBackRefBracket(TVornEditScreenStrings& store, int& startRow, int& state) override;
  int UpdateBracketStates(TVornEditScreenStrings& store, int a, bool repaint) override;
  void RecomputeBracketStates(TVornEditScreenStrings& store) override;

private:
  const TVornEditViewInfo& view_;
};

}  // namespace vorn
