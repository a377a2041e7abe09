// The parser's bracket-state hook of the row store: the state walks over the store's rows and views.
#pragma once

#include "store/BracketStateUpdater.h"
#include "syntax/EditParserStates.h"

namespace vorn {

class TVornEditScreenStrings;

// Installed in the store with SetBrackets. The rows are parsed with the view options of the document
// (its file type), which every pane of the document shares; without options no row holds a bracket.
class TParserBracketStateUpdater : public TBracketStateUpdater {
public:
  TParserBracketStateUpdater() = default;
  explicit TParserBracketStateUpdater(const TVornEditViewInfo& view) : fixedView_(&view) {}

  bool Empty() const override { return !fixedView_ || fixedView_->Brackets().Count() == 0; }
  int RowEndState(TVornEditScreenStrings& store, int row, int state) override;
  bool RefersToLeft(int state) const override;
  void PrepareBackRefBracket(TVornEditScreenStrings& store, int& startRow, int& state) override;
  int UpdateBracketStates(TVornEditScreenStrings& store, int a, bool repaint) override;
  void RecomputeBracketStates(TVornEditScreenStrings& store) override;

private:
  const TVornEditViewInfo* fixedView_ = nullptr;
};

}  // namespace vorn
