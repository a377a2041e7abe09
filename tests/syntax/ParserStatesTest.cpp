// Bracket states over rows: lazy recomputation, repair after edits, wrapped rows.
#include "syntax/EditParserStates.h"

#include "ParserTestUtil.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

class TFakeRows : public TBracketStateRows {
public:
  std::vector<std::string> text;
  std::vector<bool> wrapped;
  std::vector<int> states;
  TVornEditViewInfo view;
  int top = 0;
  int screen = 2;
  std::vector<int> repainted;

  void SetRows(std::vector<std::string> rows) {
    text = std::move(rows);
    wrapped.assign(text.size(), false);
    states.assign(text.size(), BracketStateUnknown);
  }
  // What a splice leaves behind: new text with its state unknown.
  void Edit(int row, std::string s) {
    text[row] = std::move(s);
    states[row] = BracketStateUnknown;
  }

  int RowCount() const override { return static_cast<int>(text.size()); }
  std::string_view RowText(int row) const override { return text[row]; }
  bool RowWrapped(int row) const override { return wrapped[row]; }
  int BracketState(int row) const override { return states[row]; }
  void SetBracketState(int row, int state) override { states[row] = state; }
  const TVornEditViewInfo* ViewInfo() const override { return &view; }
  int TopRow() const override { return top; }
  int ScreenRows() const override { return screen; }
  void RepaintRow(int row) override { repainted.push_back(row); }
};

std::vector<std::string> PlainRows(int n) { return std::vector<std::string>(n, "int x;"); }

TEST(BracketStates, RecomputeKnowsTwoScreensBelowTheTopRow) {
  TFakeRows rows;
  rows.SetRows(PlainRows(12));
  rows.text[1] = "/* open";
  RecomputeBracketStates(rows);
  EXPECT_EQ(rows.states, std::vector<int>(12, -1)) << "no brackets: everything is outside";

  testing::AddBracket(rows.view, "/*", "*/");
  rows.top = 1;
  RecomputeBracketStates(rows);
  EXPECT_EQ(rows.states, (std::vector<int>{-1, -1, 0, 0, 0, 0, -2, -2, -2, -2, -2, -2}));
}

TEST(BracketStates, OpeningACommentRepaintsUntilTwoScreensAheadAndForgetsTheRest) {
  TFakeRows rows;
  testing::AddBracket(rows.view, "/*", "*/");
  rows.SetRows(PlainRows(16));
  rows.screen = 5;
  rows.top = 3;
  RecomputeBracketStates(rows);  // rows 0..13 known
  rows.Edit(1, "/* open");
  EXPECT_EQ(UpdateBracketStates(rows, 1, true), 11);
  EXPECT_EQ(rows.repainted, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(rows.states, (std::vector<int>{-1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -2, -2, -2, -2}));
}

TEST(BracketStates, RepairStopsWhereStatesAgreeAgain) {
  TFakeRows rows;
  testing::AddBracket(rows.view, "/*", "*/");
  rows.SetRows({"a", "/* x", "y", "z */", "b", "c"});
  rows.screen = 10;
  RecomputeBracketStates(rows);
  ASSERT_EQ(rows.states, (std::vector<int>{-1, -1, 0, 0, -1, -1}));
  rows.Edit(2, "changed inside");
  EXPECT_EQ(UpdateBracketStates(rows, 2, true), 1);
  // Closing the comment early changes the rows below until they agree again.
  rows.repainted.clear();
  rows.Edit(2, "*/ closed");
  EXPECT_EQ(UpdateBracketStates(rows, 2, true), 2);
  EXPECT_EQ(rows.states, (std::vector<int>{-1, -1, 0, -1, -1, -1}));
  EXPECT_EQ(UpdateBracketStates(rows, 6, true), 0);
  EXPECT_EQ(UpdateBracketStates(rows, -1, true), 0);
}

TEST(BracketStates, UnknownRowIsComputedFromTheNearestKnownRow) {
  TFakeRows rows;
  testing::AddBracket(rows.view, "/*", "*/");
  rows.SetRows(PlainRows(20));
  rows.text[0] = "/*";
  rows.screen = 1;
  RecomputeBracketStates(rows);  // rows 0..2 known
  EXPECT_EQ(rows.states[3], -2);
  UpdateBracketStates(rows, 10, false);
  EXPECT_TRUE(rows.repainted.empty());
  for (int r = 1; r <= 12; ++r) EXPECT_EQ(rows.states[r], 0) << r;
  EXPECT_EQ(rows.states[13], -2);
}

TEST(BracketStates, WrappedRowsParseWithTheirWholeLine) {
  TFakeRows rows;
  testing::AddBracket(rows.view, "/*", "*/");
  // "ab /" wraps into "* c": the comment opener is cut by the wrap point.
  rows.SetRows({"ab /", "* c", "d"});
  rows.wrapped[0] = true;
  EXPECT_EQ(RowEndState(rows, 0, -1), 0);
  rows.states[0] = -1;
  EXPECT_EQ(RowEndState(rows, 1, 0), 0);
  EXPECT_EQ(RowEndState(rows, 2, 0), 0);
  EXPECT_EQ(RowEndState(rows, 2, -1), -1);
  rows.text[2] = "";
  EXPECT_EQ(RowEndState(rows, 2, 0), 0) << "an empty row keeps its state";
}

// Here-documents: the closing pattern refers to the word of the opening match.
void AddHereDocument(TVornEditViewInfo& view) {
  TVornEditBracketItem& item = view.Brackets().Add();
  item.LeftBracket().SetPattern("<<(\\w+)");
  item.RightBracket().SetPattern("^$1$");
}

TEST(BracketStates, BackReferenceClosesOnlyOnTheOpeningWord) {
  TFakeRows rows;
  AddHereDocument(rows.view);
  rows.SetRows({"cat <<END", "END_NOT", " END", "END", "x"});
  rows.screen = 10;
  RecomputeBracketStates(rows);
  EXPECT_EQ(rows.states, (std::vector<int>{-1, 0, 0, 0, -1}));
}

TEST(BracketStates, RepairInsideAnEarlierHereDocumentPreparesItsOwnWord) {
  TFakeRows rows;
  AddHereDocument(rows.view);
  rows.SetRows({"<<A", "x", "y", "A", "<<B", "z", "B", "w"});
  rows.screen = 10;
  RecomputeBracketStates(rows);
  ASSERT_EQ(rows.states, (std::vector<int>{-1, 0, 0, 0, -1, 0, 0, -1}));
  // The closing pattern now holds "B" from the last opening parsed; closing A early must still be seen.
  rows.Edit(2, "A");
  EXPECT_EQ(UpdateBracketStates(rows, 2, true), 3);
  EXPECT_EQ(rows.states, (std::vector<int>{-1, 0, 0, -1, -1, 0, 0, -1}));

  int state = 0;
  EXPECT_EQ(PrepareBackRefBracket(rows, 6, state), 4);
  EXPECT_EQ(state, 0);
  state = -1;
  EXPECT_EQ(PrepareBackRefBracket(rows, 6, state), -1);
}

}  // namespace
}  // namespace vorn
