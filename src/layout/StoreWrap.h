// The store's word-wrap hook: wrap options, cutting edited text into rows, whole-store re-wraps.
//
// Errors, layout: none of its own. Wrapping any text succeeds; a store rewrite passes on what
// the store raises after restoring the store's update and notification state.
#pragma once

#include "store/RowWrapper.h"
#include "layout/Wrap.h"
#include "layout/WrapOption.h"

#include <memory>
#include <vector>

namespace vorn {

class TVornEditRowWrapper : public TRowWrapper {
public:
  explicit TVornEditRowWrapper(TVornEditScreenStrings& store);
  TVornEditRowWrapper(const TVornEditRowWrapper&) = delete;
  TVornEditRowWrapper& operator=(const TVornEditRowWrapper&) = delete;

  // Its change notification re-wraps the store.
  TVornEditWrapOption& WrapOption() { return option_; }
  // Tab width and word delimiters come from the owner control. A change while word wrap is
  // on re-wraps like a change of the wrap options, since rows and undo records depend on it.
  int TabSpaceCount() const { return tabSpaceCount_; }
  void SetTabSpaceCount(int count);
  void SetDelimiterSet(const TDelimiterSet& delims);

  void TextToRows(TVornEditScreenStrings& store, std::string_view text, TVornEditStringList& rows) override;
  int CountRowsOfLine(TVornEditScreenStrings& store, std::string_view line) override;
  void RewrapAll(TVornEditScreenStrings& store) override;
  void UnwrapAll(TVornEditScreenStrings& store) override;
  int RewrapLines(TVornEditScreenStrings& store, int first, int n) override;
  int RewrapStartRow(TVornEditScreenStrings& store, int a, int last, std::string_view text) override;
  int WrapByte() const override { return option_.WrapByte(); }

  // What the wrap option's notification runs.
  void LayoutChanged();

private:
  TVornEditScreenStrings& store_;
  TVornEditWrapOption option_;
  int tabSpaceCount_ = 8;
  TDelimiterSet delims_ = DefaultDelimiterSet();
  TWordWrapper engine_;
  std::vector<TWrapRow> cut_;
};

// Gives store the word wrap (the store alone only cuts lines at their breaks).
TVornEditRowWrapper& InstallWordWrap(TVornEditScreenStrings& store);
// The store's word wrap, installed first if the store has none yet.
TVornEditRowWrapper& RowWrapperOf(TVornEditScreenStrings& store);
inline TVornEditWrapOption& WrapOptionOf(TVornEditScreenStrings& store) { return RowWrapperOf(store).WrapOption(); }
// A store that wraps, as every document has.
std::shared_ptr<TVornEditScreenStrings> NewWrappedStore();

}  // namespace vorn
