// The selection model: ranges over wrapped rows and double-byte characters, box rules, the
// selecting commands, box mode's free caret, and the rows repainted when a selection changes.
#include <random>

#include "CoreFixture.h"

namespace vorn::test {
namespace {

class Selection : public CoreTest {
protected:
  void Select(TRowCol from, TRowCol to) {
    core.SetCaretPos(from.Row, from.Col);
    core.StartSelection();
    core.SetCaretPos(to.Row, to.Col);
    core.ExtendSelection();
  }
  // Ending a selection ends box mode, so each box starts it again.
  void SelectBox(TRowCol from, TRowCol to) {
    core.ClearSelection();
    core.SetBoxMode(true);
    Select(from, to);
  }
};

TEST_F(Selection, StreamOverAWrappedRowHasOneBreakAtTheRealLineEnd) {
  Load("abcdefghijklmnop\r\nqrstuv", {.WrapByte = 10});
  ASSERT_EQ(core.RowKind(0), reWrapped);
  Select({0, 5}, {2, 3});
  EXPECT_EQ(core.GetSelText(), "fghijklmnop\r\nqrs");
  EXPECT_EQ(core.GetSelLength(), 16);
  EXPECT_EQ(core.EmGetSel(), (TTextRange{5, 21}));
  EXPECT_EQ(core.Selection().Bytes, (TByteRange{0, 2, 5, 2}));
  EXPECT_EQ(core.Selection().Cols, (TColumnRange{0, 2, 5, 3}));

  // Selecting backwards gives the same ranges.
  Select({2, 3}, {0, 5});
  EXPECT_EQ(core.GetSelText(), "fghijklmnop\r\nqrs");
  EXPECT_EQ(core.Selection().Bytes, (TByteRange{0, 2, 5, 2}));
}

TEST_F(Selection, BoxTakesCharactersWhoseFirstColumnIsInside) {
  Load("\x82\xA0\x82\xA2\x82\xA4\r\nabcdef\r\n\tx\r\n");
  SelectBox({1, 1}, {0, 4});
  EXPECT_EQ(core.Selection().Cols, (TColumnRange{0, 1, 1, 4}));
  EXPECT_EQ(core.GetSelText(), "\x82\xA2\r\nbcd\r\n");
  EXPECT_EQ(core.GetSelLength(), 9);

  // A tab starting left of the box stays out; the letter after it starts inside.
  SelectBox({1, 1}, {2, 9});
  EXPECT_EQ(core.GetSelText(), "bcdef\r\nx\r\n");
  SelectBox({0, 0}, {2, 9});
  EXPECT_EQ(core.GetSelText(), "\x82\xA0\x82\xA2\x82\xA4\r\nabcdef\r\n\tx\r\n");
}

TEST_F(Selection, BoxModeFreesTheCaretUntilItEnds) {
  Load("ab\r\nabcdefgh\r\n", {.FreeCaret = false});
  bool modeChanges = false;
  core.OnSelectionModeChange = [&] { modeChanges = true; };
  core.SetBoxMode(true);
  EXPECT_TRUE(modeChanges);
  EXPECT_TRUE(core.CaretOptions().FreeCaret);
  Select({1, 3}, {0, 6});
  EXPECT_EQ(core.Caret(), (TRowCol{0, 6}));  // past the short row's end
  EXPECT_EQ(core.GetSelText(), "\r\ndef\r\n");
  core.ClearSelection();
  EXPECT_FALSE(core.BoxMode());
  EXPECT_FALSE(core.CaretOptions().FreeCaret);

  // Switching off puts the caret at the box's top left and settles it on the text.
  core.SetBoxMode(true);
  Select({1, 7}, {0, 4});
  core.SetBoxMode(false);
  EXPECT_FALSE(core.HasSelection());
  EXPECT_EQ(core.Caret(), (TRowCol{0, 2}));
  EXPECT_FALSE(core.CaretOptions().FreeCaret);
}

TEST_F(Selection, CommandsSelectLinesWordsAndLengths) {
  Load("foo bar\x82\xA0\x82\xA2 baz\r\nsecond line\r\nthird", {.WrapByte = 8});
  core.SetCaretPos(0, 5);
  core.SelectWord();
  EXPECT_EQ(core.GetSelText(), "bar");
  core.SetCaretOffset(8);  // on the hiragana
  core.SelectWord();
  EXPECT_EQ(core.GetSelText(), "\x82\xA0\x82\xA2");
  core.SetCaretOffset(static_cast<int>(std::string("foo bar\x82\xA0\x82\xA2 baz").size()));
  core.SelectWord();
  EXPECT_FALSE(core.HasSelection());  // after the last token

  core.SetCaretPos(1, 2);  // a continuation row of the first line
  core.SelectLine(core.CaretRow());
  EXPECT_EQ(core.GetSelText(), "foo bar\x82\xA0\x82\xA2 baz\r\n");
  core.SelectLine(core.RowCount() - 1);
  EXPECT_EQ(core.GetSelText(), "third");

  core.SetCaretOffset(4);
  core.SetSelLength(9);
  EXPECT_EQ(core.GetSelText(), "bar\x82\xA0\x82\xA2 b");
  core.SetSelLength(0);
  EXPECT_FALSE(core.HasSelection());
  EXPECT_EQ(core.GetCaretOffset(), 4);

  core.SelectAll();
  EXPECT_EQ(core.GetSelLength(), core.TextLength());
  core.SelectRows(0, 2);
  ASSERT_EQ(core.RowKind(0), reWrapped);
  EXPECT_EQ(core.GetSelText(), core.GetRowText(0) + core.GetRowText(1) + (core.RowKind(1) == reLineEnd ? "\r\n" : ""));
}

TEST_F(Selection, EventsReportChangesAndClearing) {
  Load("one\r\ntwo\r\n");
  std::vector<bool> events;
  core.OnSelectionChange = [&](bool selected) { events.push_back(selected); };
  core.CursorRight(TMoveFlags{.Shift = true});
  core.CursorDown(TMoveFlags{.Shift = true});
  core.CursorLeft();
  EXPECT_EQ(events, (std::vector<bool>{true, true, false}));
  core.StartSelection();  // anchored only: nothing shown, nothing reported
  EXPECT_FALSE(core.HasSelection());
  EXPECT_EQ(events.size(), 3u);
}

TEST_F(Selection, EmptyTextHasNoSelection) {
  Load("");
  core.CursorRight(TMoveFlags{.Shift = true});
  EXPECT_FALSE(core.HasSelection());
  core.SelectAll();
  EXPECT_EQ(core.GetSelText(), "");
  core.SelectLine(0);
  core.SelectWord();
  EXPECT_EQ(core.GetSelLength(), 0);
}

// The columns a row shows selected, [first, last); the painter's reading of the column range.
std::pair<int, int> Painted(const TSelection& s, bool active, int row) {
  const TColumnRange& c = s.Cols;
  if (!active || row < c.StartRow || row > c.EndRow) return {0, 0};
  const int first = s.Box || row == c.StartRow ? c.StartCol : 0;
  const int last = s.Box || row == c.EndRow ? c.EndCol : 1 << 20;
  return first < last ? std::make_pair(first, last) : std::make_pair(0, 0);
}

TEST_F(Selection, EveryRowWhosePaintedSelectionChangesIsRepainted) {
  for (int seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    std::string text;
    for (int i = 0; i < 40; ++i) text += (rng() % 4 == 0) ? "\r\n" : (rng() % 3 == 0 ? "\x82\xA0" : "ab\t");
    Load(text, {.WrapByte = rng() % 2 ? 12 : 0});
    int changedRows = 0;
    for (int step = 0; step < 150; ++step) {
      const TSelection before = core.Selection();
      const bool wasActive = core.HasSelection();
      core.TakeDirty();
      const TMoveFlags shift{.Shift = rng() % 5 != 0};
      const unsigned pick = rng() % 7;
      switch (pick) {
        case 0: core.CursorUp(shift); break;
        case 1: core.CursorDown(shift); break;
        case 2: core.CursorLeft(shift); break;
        case 3: core.CursorRight(shift); break;
        case 4: core.NextPage(shift); break;
        case 5: core.SetBoxMode(!core.BoxMode()); break;
        default: core.WordRight(shift); break;
      }
      const TDirtyRegion dirty = core.Dirty();
      if (dirty.All) continue;
      for (int row = 0; row <= core.RowCount(); ++row) {
        if (Painted(before, wasActive, row) == Painted(core.Selection(), core.HasSelection(), row)) continue;
        ++changedRows;
        ASSERT_TRUE(dirty.RowDirty(row)) << "seed " << seed << " step " << step << " row " << row << " pick " << pick << " shift " << shift.Shift << " active " << wasActive << core.HasSelection() << " was "
                                         << before.Cols.StartRow << "," << before.Cols.StartCol << "-" << before.Cols.EndRow << ","
                                         << before.Cols.EndCol << " box " << before.Box << " now " << core.Selection().Cols.StartRow << ","
                                         << core.Selection().Cols.StartCol << "-" << core.Selection().Cols.EndRow << ","
                                         << core.Selection().Cols.EndCol << " box " << core.BoxMode() << " prev "
                                         << core.Selection().PrevCols.StartRow << " dirty " << dirty.FirstRow << ".." << dirty.LastRow;
      }
    }
    EXPECT_GT(changedRows, 0);
  }
  {
    // Extending by a row repaints that row, not the whole selection.
    Load("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n");
    core.SetCaretPos(0, 0);
    for (int i = 0; i < 4; ++i) core.CursorDown(TMoveFlags{.Shift = true});
    core.TakeDirty();
    core.CursorDown(TMoveFlags{.Shift = true});
    EXPECT_FALSE(core.Dirty().RowDirty(0));
    EXPECT_TRUE(core.Dirty().RowDirty(4) && core.Dirty().RowDirty(5));
  }
}

}  // namespace
}  // namespace vorn::test
