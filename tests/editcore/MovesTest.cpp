// Caret movements, page and row scrolling, and the edit-control queries of the editor core.
#include "CoreFixture.h"

namespace vorn::test {
namespace {

using Moves = CoreTest;

std::string Lines(int n, const std::string& row = "line") {
  std::string text;
  for (int i = 0; i < n; ++i) text += row + std::to_string(i) + "\r\n";
  return text;
}

TEST_F(Moves, EmptyTextKeepsTheCaretAtTheOrigin) {
  Load("");
  for (auto move : {&TVornEditCore::CursorDown, &TVornEditCore::CursorRight, &TVornEditCore::WordRight,
                    &TVornEditCore::MoveFileEnd, &TVornEditCore::MoveLineEnd, &TVornEditCore::NextPage,
                    &TVornEditCore::MoveLogicalLineEnd, &TVornEditCore::MoveWindowEnd}) {
    (core.*move)(TMoveFlags{});
    EXPECT_EQ(Caret(), (TRowCol{0, 0}));
  }
  TRowCol pos{0, 0};
  EXPECT_FALSE(core.WordStep(pos, true));
  EXPECT_FALSE(core.WordStep(pos, false));
  EXPECT_EQ(core.EmLineIndex(0), -1);
}

TEST_F(Moves, FileEndDependsOnTheFinalLineBreak) {
  Load("a");
  core.MoveFileEnd();
  EXPECT_EQ(Caret(), (TRowCol{0, 1}));
  core.CursorDown();
  EXPECT_EQ(Caret(), (TRowCol{0, 1}));

  Load("a\r\n");
  core.MoveFileEnd();
  EXPECT_EQ(Caret(), (TRowCol{1, 0}));
}

TEST_F(Moves, AutoRepeatTakesTwoRowsAtTheWindowEdge) {
  geometry.Rows = 5;
  Load(Lines(50));
  core.SetCaretRow(4);
  core.CursorDown();
  EXPECT_EQ(core.CaretRow(), 5);
  EXPECT_EQ(core.TopRow(), 1);
  core.SetKeyRepeat(true);
  core.CursorDown();
  EXPECT_EQ(core.CaretRow(), 7);
  EXPECT_EQ(core.TopRow(), 3);
}

TEST_F(Moves, PagesStopAtTheTextEnds) {
  geometry.Rows = 5;
  Load(Lines(20));
  core.SetCaretRow(3);
  core.PrevPage();
  EXPECT_EQ(core.CaretRow(), 0);
  EXPECT_EQ(core.TopRow(), 0);

  core.NextPage();
  EXPECT_EQ(core.TopRow(), 4);
  EXPECT_EQ(core.CaretRow(), 4);

  Load("a\r\nb\r\nlast");
  core.SetTopRow(2);
  core.SetCaretRow(2);
  core.NextPage();
  EXPECT_EQ(core.TopRow(), 2);
  EXPECT_EQ(core.CaretRow(), 2);
}

TEST_F(Moves, TinyPanesPageForwardAndBackByOneRow) {
  for (int rows : {1, 0, -3}) {
    geometry.Rows = rows;
    Load(Lines(10));
    core.SetCaretRow(2);
    core.SetTopRow(2);
    core.NavigationKey(nkPageDown, false, false);
    EXPECT_EQ(core.TopRow(), 3) << rows;
    EXPECT_EQ(core.CaretRow(), 3) << rows;
    core.NavigationKey(nkPageUp, false, false);
    EXPECT_EQ(core.TopRow(), 2) << rows;
    EXPECT_EQ(core.CaretRow(), 2) << rows;
    core.SetCaretPos(9, 3);  // scrolling and clamping must not trip over an empty range
    core.EmScrollCaret();
    EXPECT_EQ(core.TopRow(), 9) << rows;
  }
}

TEST_F(Moves, WordStepsCrossOnlyWrappedRowsWithoutNextLine) {
  Load("abc def ghij\r\nnext", {.WrapByte = 10});
  ASSERT_EQ(core.RowKind(0), reWrapped);
  core.WordRight();
  EXPECT_EQ(Caret(), (TRowCol{0, 3}));
  core.WordRight();
  core.WordRight();
  EXPECT_EQ(Caret(), (TRowCol{0, 7}));
  core.WordRight();  // no further word on a wrapped row: continues on the next
  core.WordRight();
  EXPECT_EQ(core.CaretRow(), 1);
  core.MoveLineEnd();
  const TRowCol lineEnd = Caret();
  core.WordRight();  // the end of a logical line stays put without NextLine
  EXPECT_EQ(Caret(), lineEnd);

  core.SetCaretPos(1, 0);
  core.WordLeft();  // back into the wrapped row before
  EXPECT_EQ(core.CaretRow(), 0);

  // Double-byte words begin where the character class changes.
  Load("ab\x82\xA0\x82\xA2\x83\x41x\r\n");
  core.WordRight();
  EXPECT_EQ(core.CaretCol(), 2);
  core.WordRight();
  EXPECT_EQ(core.CaretCol(), 6);
}

TEST_F(Moves, WindowEndNeverScrolls) {
  geometry.Rows = 4;
  Load(Lines(3));
  core.SetTopRow(2);
  core.MoveWindowEnd();
  EXPECT_EQ(core.TopRow(), 2);
  EXPECT_EQ(core.CaretRow(), 3);
}

TEST_F(Moves, RowScrollsExtendButNeverStartSelections) {
  geometry.Rows = 5;
  Load(Lines(20));
  core.SetCaretRow(2);
  core.LineDown(TMoveFlags{.Shift = true});
  EXPECT_EQ(core.TopRow(), 1);
  EXPECT_FALSE(core.HasSelection());

  core.NavigationKey(nkDown, true, true);
  EXPECT_TRUE(core.HasSelection());
  EXPECT_EQ(core.SelectionAnchor(), (TRowCol{2, 0}));

  core.CursorDown(TMoveFlags{.Shift = true});
  EXPECT_TRUE(core.HasSelection());
  EXPECT_EQ(core.EmGetSel(), (TTextRange{14, 21}));
  core.CursorRight();  // without Shift the selection goes
  EXPECT_FALSE(core.HasSelection());

  // A recorded macro step's Shift counts, not the argument.
  core.SetMacroPlayback(true, true);
  core.CursorLeft();
  EXPECT_TRUE(core.HasSelection());
}

TEST_F(Moves, SetSelectionTakesNegativeEndAsTextEnd) {
  Load("0123456789\r\nabc");
  const int length = core.TextLength();
  ASSERT_EQ(length, 15);
  core.EmSetSel(5, -1);
  EXPECT_EQ(core.EmGetSel(), (TTextRange{5, length}));
  EXPECT_EQ(core.Caret(), (TRowCol{0, 5}));
  core.EmSetSel(0, -1);
  EXPECT_EQ(core.EmGetSel(), (TTextRange{0, length}));
  core.EmSetSel(9, 3);
  EXPECT_EQ(core.EmGetSel(), (TTextRange{3, 9}));
  EXPECT_EQ(core.Caret(), (TRowCol{0, 3}));
  EXPECT_EQ(core.EmLineLength(-1), 3 + 1);  // unselected bytes of the first and last rows
  core.EmSetSel(11, 13);
  EXPECT_EQ(core.EmLineFromChar(-1), 0);  // offset 11 is inside the first row's line break
  EXPECT_EQ(core.EmLineLength(-1), 10 + 2);
  core.EmSetSel(-1, 0);
  EXPECT_FALSE(core.HasSelection());
  core.EmSetSel(400, 900);
  EXPECT_EQ(core.EmGetSel(), (TTextRange{length, length}));
}

TEST_F(Moves, LineQueriesAndPixelPointsRoundTrip) {
  Load("one\r\n\x82\xA0two\r\nthree");
  EXPECT_EQ(core.EmLineIndex(1), 5);
  EXPECT_EQ(core.EmLineIndex(3), -1);
  EXPECT_EQ(core.EmLineFromChar(6), 1);
  EXPECT_EQ(core.EmLineLength(12), 5);
  std::string line;
  EXPECT_EQ(core.EmGetLine(1, 3, line), 3);
  EXPECT_EQ(line, "\x82\xA0t");
  EXPECT_EQ(core.EmGetLine(1, -4, line), 0);
  EXPECT_EQ(core.EmGetLine(3, 100, line), 0);

  for (int offset : {0, 3, 5, 7, 12, 16}) {
    const TPixelPoint p = core.EmPosFromChar(offset);
    const TCharAtPoint hit = core.EmCharFromPos(TPixelPoint{p.X + 1, p.Y + 1});
    EXPECT_EQ(hit.Offset, offset);
    EXPECT_EQ(hit.Row, core.OffsetToPos(offset).Row);
  }
  EXPECT_EQ(core.EmCharFromPos(TPixelPoint{-1, 5}).Offset, -1);
  EXPECT_EQ(core.EmCharFromPos(TPixelPoint{5, geometry.ClientH}).Offset, -1);
}

}  // namespace
}  // namespace vorn::test
