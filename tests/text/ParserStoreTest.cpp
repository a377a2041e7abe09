// Bracket states kept by the row store through the parser's hook: loading, typing, deleting lines.
#include "text/EditParserStore.h"

#include "ParserTestUtil.h"
#include "text/HeadlessView.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

class TStateView : public TVornEditHeadlessView {
public:
  void RepaintRows(int a, int b) override {
    for (int r = a; r <= b; ++r) repainted.push_back(r);
  }
  int ScreenRows() const override { return 3; }
  std::vector<int> repainted;
};

class ParserStore : public ::testing::Test {
protected:
  void SetUp() override {
    testing::AddBracket(info, "/*", "*/");
    store().SetBrackets(std::make_unique<TParserBracketStateUpdater>(info));
  }
  TVornEditScreenStrings& store() { return *view.Store(); }
  std::vector<int> States() {
    std::vector<int> s;
    for (int r = 0; r < store().Count(); ++r) s.push_back(store().BracketState(r));
    return s;
  }
  TVornEditViewInfo info;
  TStateView view;
};

TEST_F(ParserStore, LoadingComputesTwoScreensAndTypingAnOpenerRepairsDownward) {
  std::string text;
  for (int i = 0; i < 12; ++i) text += "row\r\n";
  view.Lines().SetTextStr(text);
  EXPECT_EQ(States(), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1, -2, -2, -2, -2, -2}));

  store().ReplaceRows(1, 1, "/*row\r\n");
  EXPECT_EQ(States(), (std::vector<int>{-1, -1, 0, 0, 0, 0, 0, 0, -2, -2, -2, -2}));
  EXPECT_EQ(view.repainted.front(), 1);
  EXPECT_EQ(view.repainted.back(), 7);

  // Closing it two rows down: rows that were unknown are filled in up to two screens below the edit.
  store().ReplaceRows(3, 1, "*/\r\n");
  EXPECT_EQ(States(), (std::vector<int>{-1, -1, 0, 0, -1, -1, -1, -1, -1, -1, -2, -2}));
}

TEST_F(ParserStore, RemovingTheOpeningLineReopensTheRowsBelow) {
  view.Lines().SetTextStr("a\r\n/*\r\nb\r\n*/\r\nc\r\n");
  EXPECT_EQ(States(), (std::vector<int>{-1, -1, 0, 0, -1}));
  store().ReplaceRows(1, 1, "");
  EXPECT_EQ(States(), (std::vector<int>{-1, -1, -1, -1}));
}

TEST_F(ParserStore, ViewOptionChangeThenRecomputeForgetsOldStates) {
  view.Lines().SetTextStr("/*\r\nx\r\n");
  EXPECT_EQ(States(), (std::vector<int>{-1, 0}));
  info.Brackets().Clear();
  store().RecomputeBracketStates();
  EXPECT_EQ(States(), (std::vector<int>{-1, -1}));
}

// A pane with view options of its own, as the editor control has.
class TOptionsView : public TVornEditHeadlessView {
public:
  const TVornEditViewInfo* ViewInfo() const override { return &info; }
  TVornEditViewInfo info;
};

TEST(ParserStoreOwner, StatesFollowTheOptionsOfWhicheverViewOwnsTheStore) {
  auto first = std::make_unique<TOptionsView>();
  testing::AddBracket(first->info, "/*", "*/");
  TVornEditScreenStrings& store = *first->Store();
  store.SetBrackets(std::make_unique<TParserBracketStateUpdater>());
  first->Lines().SetTextStr("/*\r\n(*\r\nx\r\n");
  EXPECT_EQ(store.BracketState(1), 0);
  EXPECT_EQ(store.BracketState(2), 0);

  TOptionsView second;
  testing::AddBracket(second.info, "(*", "*)");
  second.JoinStoreOf(*first);
  first.reset();  // the second pane now owns the store and its options count
  store.RecomputeBracketStates();
  EXPECT_EQ(store.BracketState(1), -1);
  EXPECT_EQ(store.BracketState(2), 0);
}

}  // namespace
}  // namespace vorn
