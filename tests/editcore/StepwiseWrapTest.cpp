// A word wrap cut in steps against the same text wrapped at once: between steps the caret, the
// selection's anchor and the top row stay on their text; edits, undo and the lines facade
// finish the wrap before they take their rows; in the end the rows are those of a whole wrap.
#include <climits>
#include <random>

#include "CoreFixture.h"
#include "store/VornEditStrings.h"

namespace vorn::test {
namespace {

const char* const kPieces[] = {"a",  "bcd", " ",        "\t",      "\x82\xA0", "\x88\x9F\x88\x9F",
                               "\xB1", ",",  "\r\n",    "\r\n",    "word ",    "\x81\x40",
                               "0123456789abcdefghij",  "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8"};
const char* const kTyped[] = {"x", "yz ", "\t", "\x82\xA2", "\xB2", "long typed words here"};

// A text position that does not depend on how its line is cut.
struct TLinePos {
  int Line = 0;
  int Byte = 0;
  friend bool operator==(const TLinePos&, const TLinePos&) = default;
};

TLinePos LinePosOf(const TVornEditCore& core, int row, int col) {
  TVornEditScreenStrings& store = const_cast<TVornEditCore&>(core).Store();
  const int line = store.RowToLine(row);
  const int lineRow = store.LineToRow(line);
  return {line, core.GetOffsetAt(row, col) - core.RowStartOffset(lineRow)};
}

// Two cores on two stores with the same text and wrap: one cut in steps, one at once.
class StepwiseWrapTest : public ::testing::Test {
protected:
  TFixedGeometry geometry;
  std::shared_ptr<TVornEditScreenStrings> stepped = NewWrappedStore();
  std::shared_ptr<TVornEditScreenStrings> whole = NewWrappedStore();
  TVornEditCore steppedCore{stepped, geometry};
  TVornEditCore wholeCore{whole, geometry};

  void Load(const std::string& text, int wrapByte, int stepRows) {
    stepped->SetStepwiseRewrapRows(stepRows);
    whole->SetStepwiseRewrapRows(INT_MAX);
    for (TVornEditCore* core : {&steppedCore, &wholeCore}) {
      TVornEditCaretValues caret;
      caret.TabSpaceCount = 4;
      core->SetCaretOptions(caret);
      WrapOptionOf(core->Store()).SetWrapByte(wrapByte);
      core->Store().ReplaceRows(0, core->Store().Count(), text);
      core->Store().UndoObj().ClearAll();
      core->SetFocused(true);
    }
  }
  void WrapOn() {
    stepped->SetWordWrap(true);
    whole->SetWordWrap(true);
  }
  // Places both carets at the same text position.
  void PlaceBoth(TLinePos p) {
    for (TVornEditCore* core : {&steppedCore, &wholeCore}) {
      core->ClearSelection();
      core->SetCaretRowOffset(core->Store().LineToRow(p.Line), p.Byte);
    }
  }
  TLinePos CaretPos(const TVornEditCore& core) { return LinePosOf(core, core.Caret().Row, core.Caret().Col); }

  void ExpectSameRows() {
    ASSERT_EQ(stepped->Count(), whole->Count());
    for (int r = 0; r < whole->Count(); ++r) {
      ASSERT_EQ(stepped->Row(r), whole->Row(r)) << "row " << r;
      ASSERT_EQ(stepped->RowEnd(r), whole->RowEnd(r)) << "row " << r;
    }
  }
};

std::string LongLinesText(std::mt19937& rng, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    const int pieces = static_cast<int>(rng() % 4 == 0 ? rng() % 40 : rng() % 6);
    for (int k = 0; k < pieces; ++k) {
      const char* piece = kPieces[rng() % std::size(kPieces)];
      if (std::string_view(piece) != "\r\n") text += piece;
    }
    if (i + 1 < lines || rng() % 2) text += "\r\n";
  }
  return text;
}

TEST_F(StepwiseWrapTest, RandomStepsCaretsAndEditsAgreeWithAWholeWrap) {
  int cuts = 0;  // steps that cut rows, so that the run is known to test something
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const int lines = 20 + static_cast<int>(rng() % 200);
    Load(LongLinesText(rng, lines), 12 + static_cast<int>(rng() % 40), 4 + static_cast<int>(rng() % 20));
    WrapOn();
    PlaceBoth({static_cast<int>(rng() % lines), 0});
    for (int step = 0; step < 80; ++step) {
      const unsigned action = rng() % 10;
      if (action < 6) {
        // A step keeps the caret, the anchor and the top row on their text.
        const TLinePos caret = CaretPos(steppedCore);
        const bool selecting = steppedCore.HasSelection();
        ASSERT_EQ(selecting, wholeCore.HasSelection());
        if (selecting) {
          ASSERT_TRUE(steppedCore.GetSelText() == wholeCore.GetSelText());
        }
        const TLinePos top = LinePosOf(steppedCore, steppedCore.TopRow(), 0);
        const int from = stepped->RewrapFrom();
        const TSelectionAnchor a0 = steppedCore.Selection().Anchor;
        const TLinePos anchorBefore = LinePosOf(steppedCore, a0.Row, steppedCore.ByteToCol(a0.Row, a0.Byte));
        stepped->RewrapStep(1 + static_cast<int>(rng() % 30));
        if (from >= 0 && stepped->RewrapFrom() != from) ++cuts;
        ASSERT_EQ(CaretPos(steppedCore), caret);
        ASSERT_EQ(LinePosOf(steppedCore, steppedCore.TopRow(), 0).Line, top.Line);
        ASSERT_EQ(steppedCore.HasSelection(), selecting);
        if (selecting) {
          const TSelectionAnchor a1 = steppedCore.Selection().Anchor;
          const TLinePos anchorAfter = LinePosOf(steppedCore, a1.Row, steppedCore.ByteToCol(a1.Row, a1.Byte));
          ASSERT_EQ(anchorAfter, anchorBefore);
          ASSERT_TRUE(steppedCore.GetSelText() == wholeCore.GetSelText());
        }
      } else if (action < 8) {
        const int line = static_cast<int>(rng() % static_cast<unsigned>(stepped->LineCount() + 1));
        const int row = whole->LineToRow(line);
        const int byte = row < whole->Count() ? static_cast<int>(rng() % (whole->Row(row).size() + 1)) : 0;
        const TLinePos target = LinePosOf(wholeCore, row, wholeCore.ByteToCol(row, byte));
        PlaceBoth(target);
        ASSERT_EQ(CaretPos(steppedCore), CaretPos(wholeCore));
        if (rng() % 2) {
          // The same bytes selected on both, from the caret on.
          const int length = static_cast<int>(rng() % 60);
          for (TVornEditCore* core : {&steppedCore, &wholeCore}) core->SetSelLength(length);
          ASSERT_TRUE(steppedCore.GetSelText() == wholeCore.GetSelText());
        }
      } else if (action < 9) {
        const std::string typed = kTyped[rng() % std::size(kTyped)];
        const bool lineBreak = rng() % 3 == 0;
        for (TVornEditCore* core : {&steppedCore, &wholeCore}) {
          if (lineBreak)
            core->InsertLineBreak();
          else
            core->TypeText(typed);
        }
        ASSERT_FALSE(stepped->RewrapPending());
        ASSERT_TRUE(JoinedText(steppedCore) == JoinedText(wholeCore));
        ASSERT_EQ(CaretPos(steppedCore), CaretPos(wholeCore));
      } else if (rng() % 2) {
        steppedCore.Undo();
        wholeCore.Undo();
        ASSERT_TRUE(JoinedText(steppedCore) == JoinedText(wholeCore));
      } else {
        // Off and on again: the cut starts over from the top.
        const TLinePos caret = CaretPos(wholeCore);
        stepped->SetWordWrap(false);
        whole->SetWordWrap(false);
        WrapOn();
        PlaceBoth(caret);
      }
    }
    stepped->CompleteRewrap();
    ExpectSameRows();
    // Every edit undone gives the text both started from.
    while (steppedCore.CanUndo()) steppedCore.Undo();
    while (wholeCore.CanUndo()) wholeCore.Undo();
    ASSERT_TRUE(JoinedText(steppedCore) == JoinedText(wholeCore));
  }
  EXPECT_GT(cuts, 300);
}

TEST_F(StepwiseWrapTest, ShortTextsWrapAtOnceAndLongOnesLoadInSteps) {
  std::mt19937 rng(7);
  const std::string text = LongLinesText(rng, 300);
  Load(text, 16, 1000);
  WrapOn();
  EXPECT_FALSE(stepped->RewrapPending());
  ExpectSameRows();

  // Loading with word wrap on cuts the first rows at once and the rest in steps.
  stepped->SetStepwiseRewrapRows(10);
  stepped->LoadText(TByteBuffer(std::string(text)));
  whole->LoadText(TByteBuffer(std::string(text)));
  EXPECT_TRUE(stepped->RewrapPending());
  EXPECT_EQ(stepped->Row(0), whole->Row(0));
  int steps = 0;
  while (stepped->RewrapStep(7)) ++steps;
  EXPECT_GT(steps, 10);
  ExpectSameRows();

  // Turning wrap off while steps remain leaves every line one row again.
  stepped->SetWordWrap(false);
  stepped->SetWordWrap(true);
  EXPECT_TRUE(stepped->RewrapPending());
  stepped->SetWordWrap(false);
  EXPECT_FALSE(stepped->RewrapPending());
  EXPECT_EQ(stepped->Count(), stepped->LineCount());
  EXPECT_TRUE(JoinedText(steppedCore) == JoinedText(wholeCore));
}

TEST_F(StepwiseWrapTest, EditsThatBypassTheEditorNeverLetAStaleUndoStepDamageTheText) {
  std::mt19937 rng(11);
  const std::string text = LongLinesText(rng, 200);
  Load(text, 14, 8);
  WrapOn();
  ASSERT_TRUE(stepped->RewrapPending());
  // The lines facade finishes the wrap before it finds its rows.
  TVornEditStrings steppedLines(steppedCore, *stepped);
  TVornEditStrings wholeLines(wholeCore, *whole);
  steppedLines.Put(150, "replaced line \x82\xA0\x82\xA2 with more words than one row holds");
  wholeLines.Put(150, "replaced line \x82\xA0\x82\xA2 with more words than one row holds");
  EXPECT_FALSE(stepped->RewrapPending());
  ExpectSameRows();
  steppedCore.Undo();
  wholeCore.Undo();
  EXPECT_TRUE(JoinedText(steppedCore) == JoinedText(wholeCore));

  // A row-level edit straight on the store while rows are pending: the undo step it leaves
  // would address rows the next cut moves, so that cut forgets it; the text stays exact.
  stepped->SetWordWrap(false);
  whole->SetWordWrap(false);
  stepped->SetWordWrap(true);
  whole->SetWordWrap(true);
  ASSERT_TRUE(stepped->RewrapPending());
  const int row = stepped->Count() - 5;
  const std::string line = stepped->GetRowsText(row, 1);
  stepped->ReplaceRows(row, 1, "edited\r\n");
  const int wholeRow = whole->LineToRow(stepped->RowToLine(row));
  whole->ReplaceRows(wholeRow, whole->LastRowOfLine(wholeRow) - wholeRow + 1, "edited\r\n");
  EXPECT_TRUE(stepped->UndoObj().CanUndo());
  stepped->CompleteRewrap();
  EXPECT_FALSE(stepped->UndoObj().CanUndo());
  EXPECT_TRUE(stepped->UndoObj().IsAtSavedState() == whole->UndoObj().IsAtSavedState());
  ExpectSameRows();
}

}  // namespace
}  // namespace vorn::test
