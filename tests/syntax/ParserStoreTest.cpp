// Bracket states kept by the row store through the parser's hook: loading, typing, deleting lines.
#include "syntax/EditParserStore.h"

#include "ParserTestUtil.h"
#include "layout/StoreWrap.h"
#include "store/HeadlessView.h"
#include "layout/WrapOption.h"

#include <gtest/gtest.h>

#include <random>

namespace vorn {
namespace {

class TStateView : public TVornEditHeadlessView {
public:
  // The rows an edit names and those whose bracket state it changed, in order.
  void StoreChanged(const TStoreChange& c) override {
    TVornEditHeadlessView::StoreChanged(c);
    if (c.WholeStore()) return;
    for (int r = c.FirstRow; r < c.FirstRow + c.RowsInserted; ++r) repainted.push_back(r);
    for (int r = c.BracketFirst; r >= 0 && r <= c.BracketLast; ++r) repainted.push_back(r);
  }
  TStateView() { FixedGeometry().Screen = 3; }
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

TEST_F(ParserStore, UndoAndRedoRepairTheStatesToo) {
  view.Lines().SetTextStr("a\r\nb\r\nc\r\nd\r\n");
  store().ReplaceRows(1, 1, "/*b\r\n");
  ASSERT_EQ(States(), (std::vector<int>{-1, -1, 0, 0}));
  ASSERT_TRUE(store().UndoEdit());
  EXPECT_EQ(States(), (std::vector<int>{-1, -1, -1, -1}));
  ASSERT_TRUE(store().RedoEdit());
  EXPECT_EQ(States(), (std::vector<int>{-1, -1, 0, 0}));
}

TEST_F(ParserStore, WrappedRowsCarryACommentOpenedAcrossTheWrapPoint) {
  TVornEditWrapOption option;
  option.SetWrapByte(10);
  option.SetWordBreak(false);
  WrapOptionOf(store()).Assign(option);
  store().SetWordWrap(true);
  // The first row ends in "/" and the next begins with "*": the opener straddles the wrap point.
  view.Lines().SetTextStr("abcdefghi/*jkl\r\nx\r\n");
  ASSERT_EQ(store().Count(), 3);
  ASSERT_EQ(store().Strings(0), "abcdefghi/");
  EXPECT_EQ(store().BracketState(1), 0);
  EXPECT_EQ(store().BracketState(store().Count() - 1), 0);
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

// States computed from scratch: each row's state is the end state of the row before.
std::vector<int> ReferenceStates(const TVornEditViewInfo& info, TVornEditScreenStrings& store) {
  std::vector<int> states;
  int state = -1;
  for (int r = 0; r < store.Count(); ++r) {
    states.push_back(state);
    const std::string text = store.Strings(r);
    auto result = testing::Parse(&info, text, state);
    state = result.endState;
  }
  return states;
}

TEST_F(ParserStore, RandomEditsKeepKnownStatesRightAndKnownRowsContiguous) {
  testing::AddBracket(info, "'", "'").SetLineOnly(true);
  const char* const pieces[] = {"/*", "*/", "x", "'", " ", "\r\n", "\x82\xa0", "/", "*"};
  std::mt19937 rng(11);
  std::string text;
  for (int i = 0; i < 40; ++i) text += std::string(pieces[rng() % 9]) + pieces[rng() % 9] + "\r\n";
  view.Lines().SetTextStr(text);
  for (int step = 0; step < 400; ++step) {
    const int count = store().Count();
    const int a = count == 0 ? 0 : static_cast<int>(rng() % (count + 1));
    const int n = (a < count) ? static_cast<int>(rng() % std::min(3, count - a + 1)) : 0;
    std::string insert;
    for (int k = static_cast<int>(rng() % 4); k > 0; --k) insert += pieces[rng() % 9];
    if (n > 0 || !insert.empty()) insert += "\r\n";
    store().ReplaceRows(a, n, insert);
    if (rng() % 7 == 0 && store().Count() > 0) store().UpdateBracketStates(static_cast<int>(rng() % store().Count()), false);
    const std::vector<int> reference = ReferenceStates(info, store());
    const std::vector<int> actual = States();
    bool unknownSeen = false;
    for (std::size_t r = 0; r < actual.size(); ++r) {
      if (actual[r] == -2) {
        unknownSeen = true;
        continue;
      }
      ASSERT_FALSE(unknownSeen) << "a known row below an unknown one at step " << step << ", row " << r;
      ASSERT_EQ(actual[r], reference[r]) << "step " << step << ", row " << r;
    }
  }
}

// The states belong to the document: whichever pane remains, focused or not, the rows keep
// the states the document's options give.
TEST(ParserStoreOwner, StatesFollowTheDocumentsOptionsWhicheverPaneRemains) {
  TVornEditViewInfo info;
  testing::AddBracket(info, "/*", "*/");
  auto first = std::make_unique<TVornEditHeadlessView>();
  TVornEditScreenStrings& store = *first->Store();
  store.SetBrackets(std::make_unique<TParserBracketStateUpdater>(info));
  first->Lines().SetTextStr("/*\r\n(*\r\nx\r\n");
  EXPECT_EQ(store.BracketState(1), 0);
  EXPECT_EQ(store.BracketState(2), 0);

  TVornEditHeadlessView second;
  second.JoinStoreOf(*first);
  first.reset();  // the store lives on with the pane that still shows it
  store.RecomputeBracketStates();
  EXPECT_EQ(store.BracketState(1), 0);
  EXPECT_EQ(store.BracketState(2), 0);
  EXPECT_EQ(store.Views().size(), 1u);
}

}  // namespace
}  // namespace vorn
