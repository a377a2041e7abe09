// Caret placement and settling, offsets, and rows <-> lines of the editor core.
#include <random>

#include "CoreFixture.h"
#include "store/HeadlessView.h"

namespace vorn::test {
namespace {

using Coordinates = CoreTest;

TEST_F(Coordinates, RowLimitsFollowTheLastRowKind) {
  Load("");
  EXPECT_EQ(core.RowCount(), 0);
  core.SetCaretRow(5);
  EXPECT_EQ(Caret(), (TRowCol{0, 0}));

  Load("a");
  ASSERT_EQ(core.RowKind(0), reTextEnd);
  core.SetCaretRow(1);
  EXPECT_EQ(core.CaretRow(), 0);

  Load("a\r\n");
  core.SetCaretPos(0, 1);
  core.SetCaretRow(1);
  EXPECT_EQ(Caret(), (TRowCol{1, 0}));
}

TEST_F(Coordinates, TabColumnsSnapUnlessInTab) {
  Load("\ta\r\n", {.Tab = 4});
  EXPECT_EQ(core.ColumnMapOf(0), "23331");
  core.SetCaretCol(1);
  EXPECT_EQ(core.CaretCol(), 4);
  core.SetCaretCol(3);  // leftwards into the tab: back to its own column
  EXPECT_EQ(core.CaretCol(), 0);

  Load("\ta\r\n", {.Tab = 4, .InTab = true});
  core.SetCaretCol(2);
  EXPECT_EQ(core.CaretCol(), 2);
  EXPECT_EQ(core.ColToByte(0, 2), 0);
  EXPECT_EQ(core.GetCaretOffset(), 0);

  // A tab byte in trail position belongs to its character and is not expanded.
  Load("\x82\tb\r\n", {.Tab = 4});
  EXPECT_EQ(core.ExpandTabs("\x82\tb"), "\x82\tb");
  EXPECT_EQ(core.ByteToCol(0, 2), 2);
}

TEST_F(Coordinates, CaretNeverStandsOnATrailByte) {
  Load("abcd\x82\xA0x\r\n");
  core.SetCaretPos(0, 5);
  EXPECT_EQ(core.CaretCol(), 4);
  core.SetCaretCol(5);
  EXPECT_EQ(core.CaretCol(), 6);
  EXPECT_EQ(core.ByteToCol(0, 6), 6);
}

TEST_F(Coordinates, DesiredColumnSurvivesShortRowsAndDoubleByteCharacters) {
  const std::string longRow(30, 'x');
  Load(longRow + "\r\nshort\r\n" + longRow + "\r\n", {.KeepCaret = true});
  core.SetCaretPos(0, 20);
  core.SetCaretRow(1);
  EXPECT_EQ(Caret(), (TRowCol{1, 5}));
  core.SetCaretRow(2);
  EXPECT_EQ(Caret(), (TRowCol{2, 20}));

  // Column 20 is a trail byte on the middle row; even without KeepCaret the column comes back.
  const std::string wide = std::string(19, 'a') + "\x82\xA0" + std::string(9, 'a');
  Load(longRow + "\r\n" + wide + "\r\n" + longRow + "\r\n");
  core.SetCaretPos(0, 20);
  core.SetCaretRow(1);
  EXPECT_EQ(core.CaretCol(), 19);
  core.SetCaretRow(2);
  EXPECT_EQ(core.CaretCol(), 20);
  core.SetCaretCol(3);  // a horizontal move forgets it
  core.SetCaretRow(1);
  EXPECT_EQ(core.CaretCol(), 3);
}

TEST_F(Coordinates, WrappedRowEdgesKeepTheCaretInside) {
  // A wrapped row of width 10 never holds the caret at column 10.
  Load(std::string(25, 'a') + "\r\n", {.WrapByte = 10});
  ASSERT_EQ(core.RowKind(0), reWrapped);
  ASSERT_EQ(core.RowWidth(0), 10);
  core.SetCaretCol(10);
  EXPECT_EQ(core.CaretCol(), 9);
  core.SetCaretCol(400);
  EXPECT_EQ(core.CaretCol(), 9);

  // A double-byte character ending the wrapped row: the last column is its trail byte.
  Load("12345678\x82\xA0tail\r\n", {.WrapByte = 10});
  ASSERT_EQ(core.RowWidth(0), 10);
  core.SetCaretCol(10);
  EXPECT_EQ(core.CaretCol(), 8);
  core.CursorRight();
  EXPECT_EQ(Caret(), (TRowCol{1, 0}));

  // A tab at column 8 is two columns wide whatever the tab width.
  for (int tab : {4, 8}) {
    Load("abcdefgh\tijk\r\n", {.WrapByte = 10, .Tab = tab});
    EXPECT_EQ(core.ColumnMapOf(0), "1111111123") << tab;
    EXPECT_EQ(core.ExpandTabs("abcdefgh\t").size(), 10u) << tab;
  }
}

TEST_F(Coordinates, OffsetsAndPositionsAgreeWithTheJoinedText) {
  std::mt19937 rng(7);
  const char* pieces[] = {"a", "\t", "\x82\xA0", " ", "\r\n", "\xB1", "xy"};
  for (int wrap : {0, 10, 13}) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += pieces[rng() % 7];
    Load(text, {.WrapByte = wrap, .Tab = 4});
    ASSERT_EQ(core.TextLength(), static_cast<int>(text.size()));
    for (int r = 0; r < core.RowCount(); ++r) {
      const std::string row = core.GetRowText(r);
      const std::string map = core.ColumnMapOf(r);
      for (int c = 0; c < static_cast<int>(map.size()); ++c) {
        if (map[c] == '3' || map[c] == '5') continue;
        const int offset = core.GetOffsetAt(r, c);
        ASSERT_EQ(text[offset], row[core.ColToByte(r, c)]) << r << ":" << c;
        ASSERT_EQ(core.OffsetToPos(offset), (TRowCol{r, c})) << "wrap " << wrap << " offset " << offset;
      }
    }
  }
}

// Line numbers counted independently from the row kinds.
int ModelLine(const TVornEditCore& core, int row) {
  int line = 0;
  for (int r = 0; r < row; ++r) line += core.RowKind(r) != reWrapped;
  return line;
}

TEST_F(Coordinates, RowsAndLinesAgreeWhateverTheTopRow) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += std::string(1 + (i * 7) % 31, 'a') + "\r\n";
  Load(text, {.WrapByte = 10});
  const int n = core.RowCount();
  for (int top = 0; top <= n; top += 3) {
    core.SetTopRow(top);
    ASSERT_EQ(core.TopLineNo(), ModelLine(core, core.TopRow()));
    for (int r = 0; r <= n; ++r) {
      const int line = core.RowToLine(r);
      ASSERT_EQ(line, ModelLine(core, r)) << "top " << top << " row " << r;
      ASSERT_EQ(core.LineToRow(line), store->FirstRowOfLine(r)) << "top " << top << " row " << r;
    }
  }
}

TEST_F(Coordinates, TopLineNoFollowsEditsOfOtherViewsAboveTheTop) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += std::string(15, 'a' + i % 26) + "\r\n";
  Load(text, {.WrapByte = 10});
  core.SetTopRow(30);
  ASSERT_EQ(core.TopLineNo(), 15);

  TVornEditHeadlessView other(store);
  store->ReplaceRows(0, 0, "new\r\nlines\r\n", TRowCol{0, 0});
  EXPECT_EQ(core.TopLineNo(), ModelLine(core, core.TopRow()));

  TFixedGeometry secondGeometry;
  TVornEditCore second(store, secondGeometry);
  store->ReplaceRows(2, 4, "x\r\n", TRowCol{2, 0});  // removes lines above the top
  EXPECT_EQ(core.TopLineNo(), ModelLine(core, core.TopRow()));

  // Two short lines become one wrapped line of as many rows: the row count stays.
  store->ReplaceRows(0, 2, std::string(15, 'z') + "\r\n", TRowCol{0, 0});
  EXPECT_EQ(core.TopLineNo(), ModelLine(core, core.TopRow()));
  EXPECT_EQ(core.RowToLine(core.TopRow() + 3), ModelLine(core, core.TopRow() + 3));
}

}  // namespace
}  // namespace vorn::test
