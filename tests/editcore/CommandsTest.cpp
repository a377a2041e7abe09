// The line, case, tab, indent and alignment commands and the clean-up before saving.
#include <functional>

#include "CoreFixture.h"
#include "store/Undo.h"

namespace vorn::test {
namespace {

class Commands : public CoreTest {
protected:
  std::string Text() const {
    std::string text;
    for (int r = 0; r < core.RowCount(); ++r) text += core.GetRowText(r) + (core.RowKind(r) == reLineEnd ? "\r\n" : "");
    return text;
  }
  int Records() { return store->UndoObj().UndoList().Count(); }
};

TEST_F(Commands, LineDeletionsAndTheEmptyLine) {
  Load("first line\r\nsecond words here\r\nlast");
  core.SetCaretPos(1, 7);
  EXPECT_TRUE(core.DeleteWord());
  EXPECT_EQ(core.GetRowText(1), "second  here");
  EXPECT_EQ(core.Caret(), (TRowCol{1, 7}));
  EXPECT_TRUE(core.DeleteLineEnd());
  EXPECT_EQ(core.GetRowText(1), "second ");
  EXPECT_FALSE(core.DeleteLineEnd());  // nothing left to delete: no empty undo step
  EXPECT_TRUE(core.DeleteLineStart());
  EXPECT_EQ(Text(), "first line\r\n\r\nlast");
  EXPECT_EQ(core.Caret(), (TRowCol{1, 0}));

  core.SetCaretPos(2, 2);
  EXPECT_TRUE(core.DeleteLine());  // the last line: the text ends with the break before it
  EXPECT_EQ(Text(), "first line\r\n\r\n");
  EXPECT_EQ(core.Caret(), (TRowCol{2, 0}));
  core.SetCaretPos(0, 3);
  EXPECT_TRUE(core.InsertEmptyLine());
  EXPECT_EQ(Text(), "\r\nfirst line\r\n\r\n");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 0}));

  core.SetReadOnly(true);
  EXPECT_FALSE(core.DeleteLine());
  EXPECT_EQ(Text(), "\r\nfirst line\r\n\r\n");
}

TEST_F(Commands, DeleteLineTakesEveryRowOfAWrappedLine) {
  Load("0123456789abcdefghij\r\nnext", {.WrapByte = 10});
  ASSERT_GE(core.RowCount(), 3);
  core.SetCaretPos(1, 3);
  EXPECT_TRUE(core.DeleteLine());
  EXPECT_EQ(Text(), "next");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 0}));
}

TEST_F(Commands, CaseMappingLeavesDoubleByteCharactersAlone) {
  // 0x83 0x61 is a katakana whose trail byte is the letter "a".
  Load("aB\x83\x61z 9");
  core.SelectAll();
  EXPECT_TRUE(core.ChangeCase(TVornEditCore::TCaseMapping::Exchange));
  EXPECT_EQ(Text(), "Ab\x83\x61Z 9");
  core.SelectAll();
  EXPECT_TRUE(core.ChangeCase(TVornEditCore::TCaseMapping::Upper));
  EXPECT_EQ(Text(), "AB\x83\x61Z 9");
  core.SelectAll();
  EXPECT_FALSE(core.ChangeCase(TVornEditCore::TCaseMapping::Upper));  // nothing to change, no undo step
  EXPECT_TRUE(core.ChangeCase(TVornEditCore::TCaseMapping::Lower));
  EXPECT_EQ(Text(), "ab\x83\x61z 9");
  EXPECT_FALSE(core.ChangeCase(TVornEditCore::TCaseMapping::Upper));  // no selection any more
}

TEST_F(Commands, TabsAndSpacesConvertOnWholeLines) {
  Load("    x\r\nab  y\r\nabc z\r\n", {.Tab = 4});
  core.EmSetSel(2, 16);  // from inside the first line into the third
  EXPECT_TRUE(core.SpaceToTab());
  EXPECT_EQ(Text(), "\tx\r\nab\ty\r\nabc z\r\n");  // a single space before a stop stays
  core.SelectAll();
  EXPECT_TRUE(core.TabToSpace());
  EXPECT_EQ(Text(), "    x\r\nab  y\r\nabc z\r\n");
  core.SelectAll();
  EXPECT_FALSE(core.TabToSpace());  // no tab: only the selection goes
  EXPECT_FALSE(core.HasSelection());

  Load("a\tb\tc", {.Tab = 4});
  core.SetCaretPos(0, 4);  // just after the first tab
  EXPECT_TRUE(core.TabToSpace());
  EXPECT_EQ(Text(), "a   b\tc");
  core.SelectAll();
  EXPECT_TRUE(core.TabToSpace());
  EXPECT_EQ(Text(), "a   b   c\r\n");  // every converted line ends with a break
}

TEST_F(Commands, IndentAndOutdentSelectedLines) {
  Load("one\r\n\r\n  \ttwo\r\nrest", {.Tab = 4});
  core.EmSetSel(0, 8);
  EXPECT_TRUE(core.InsertIndent());
  EXPECT_EQ(Text(), "\tone\r\n\t\r\n\t  \ttwo\r\nrest");
  EXPECT_EQ(core.GetSelText(), "\tone\r\n\t\r\n\t  \ttwo\r\n");  // selected again

  EXPECT_TRUE(core.ReverseIndent());
  EXPECT_EQ(Text(), "one\r\n\r\n  \ttwo\r\nrest");
  EXPECT_TRUE(core.ReverseIndent());  // two spaces and the tab reaching column 4
  EXPECT_EQ(Text(), "one\r\n\r\ntwo\r\nrest");

  core.ClearSelection();
  core.SetCaretPos(3, 0);
  EXPECT_TRUE(core.InsertIndent());  // no multi-row selection: a tab at the caret
  EXPECT_EQ(core.GetRowText(3), "\trest");
  EXPECT_FALSE(core.ReverseIndent());
}

TEST_F(Commands, AlignmentsFillTheFormattingWidth) {
  Load("  abcd \r\nxy\r\nlonger than ten\r\nrest");
  core.AlignWidth = 10;
  core.SetCaretPos(0, 1);
  EXPECT_TRUE(core.CenterAlign());
  EXPECT_EQ(core.GetRowText(0), "   abcd");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 0}));

  core.EmSetSel(9, 14);  // ends after the third line's first byte: that line stays out
  EXPECT_TRUE(core.RightAlign());
  EXPECT_EQ(Text(), "   abcd\r\n        xy\r\nlonger than ten\r\nrest");
  core.EmSetSel(0, 40);
  EXPECT_TRUE(core.LeftAlign());
  EXPECT_EQ(Text(), "abcd\r\nxy\r\nlonger than ten\r\nrest\r\n");
}

// After Select All on a text ending with a line break the caret stands on the empty row after
// it; a selection made from the bottom up ends there too. Every command on the selected lines
// works on all of them.
TEST_F(Commands, CommandsOnSelectedLinesTakeEveryLineAfterSelectAllAndBottomUp) {
  const std::string text = "  ab\r\ncd  \r\n\tef\r\n";
  struct TCase {
    const char* name;
    std::function<bool(TVornEditCore&)> run;
    std::string expected;
  };
  const TCase cases[] = {
      {"left", [](TVornEditCore& c) { return c.LeftAlign(); }, "ab\r\ncd\r\nef\r\n"},
      {"center", [](TVornEditCore& c) { return c.CenterAlign(); }, "    ab\r\n    cd\r\n    ef\r\n"},
      {"right", [](TVornEditCore& c) { return c.RightAlign(); }, "        ab\r\n        cd\r\n        ef\r\n"},
      {"indent", [](TVornEditCore& c) { return c.InsertIndent(); }, "\t  ab\r\n\tcd  \r\n\t\tef\r\n"},
      {"unindent", [](TVornEditCore& c) { return c.ReverseIndent(); }, "ab\r\ncd  \r\nef\r\n"},
      {"upper", [](TVornEditCore& c) { return c.ChangeCase(TVornEditCore::TCaseMapping::Upper); },
       "  AB\r\nCD  \r\n\tEF\r\n"},
      {"tabs", [](TVornEditCore& c) { return c.TabToSpace(); }, "  ab\r\ncd  \r\n    ef\r\n"},
      {"spaces", [](TVornEditCore& c) { return c.SpaceToTab(); }, "  ab\r\ncd\t\r\n\tef\r\n"},
  };
  for (const TCase& c : cases) {
    for (bool bottomUp : {false, true}) {
      Load(text, {.Tab = 4});
      core.AlignWidth = 10;
      if (bottomUp) {
        core.SetCaretPos(3, 0);
        core.StartSelection();
        core.SetCaretPos(0, 0);
        core.ExtendSelection();
      } else {
        core.SelectAll();
        ASSERT_EQ(core.CaretRow(), 3);
      }
      EXPECT_TRUE(c.run(core)) << c.name << (bottomUp ? " bottom-up" : " after Select All");
      EXPECT_EQ(JoinedText(core), c.expected) << c.name << (bottomUp ? " bottom-up" : " after Select All");
    }
  }
  // A selection that ends at the second byte of its last row leaves that line out.
  Load(text, {.Tab = 4});
  core.AlignWidth = 10;
  core.EmSetSel(0, 13);
  EXPECT_TRUE(core.LeftAlign());
  EXPECT_EQ(JoinedText(core), "ab\r\ncd\r\n\tef\r\n");
  // Without a selection the empty row after the final break holds no line to align.
  core.SetCaretPos(3, 0);
  EXPECT_FALSE(core.RightAlign());
}

TEST_F(Commands, CleanUpRewritesOnlyChangedLinesAndKeepsTheView) {
  const std::string before = "keep\r\ntrail  \t\r\n\ttab\r\nwide\x81\x40\x81\x40\r\n\x81\x40mid";
  Load(before, {.Tab = 4});
  core.ClearUndo();
  core.SetCaretPos(1, 3);
  core.SaveCleanUp = {.TrimRight = true, .TrimRightWSpace = true, .ExpandTab = true, .ExpandWSpace = true};
  EXPECT_TRUE(core.CleanUpBeforeSave());
  EXPECT_EQ(Text(), "keep\r\ntrail\r\n    tab\r\nwide\r\n  mid");
  EXPECT_EQ(core.Caret(), (TRowCol{1, 3}));
  // The four changed lines are one run: one replacement, one undo step.
  EXPECT_EQ(core.CanUndo() ? store->UndoObj().UndoList().Count() : 0, 1);
  EXPECT_FALSE(core.CleanUpBeforeSave());
  core.Undo();
  EXPECT_EQ(Text(), before);
  core.Redo();

  core.SaveCleanUp.ClearUndoAtSave = true;
  core.CleanUpBeforeSave();
  EXPECT_FALSE(core.CanUndo());
}

// A kanji whose second byte is 0x81 followed by "@" ends in the bytes of a full-width space; only
// real blanks go, also when a line is wrapped over rows.
TEST_F(Commands, CleanUpTrimsOnlyWholeBlankCharacters) {
  const std::string before = "x\x88\x81@  \r\nab\x81\x40 \t\r\nwrapped line  \x81\x40\r\nz";
  Load(before, {.WrapByte = 8});
  core.SaveCleanUp = {.TrimRight = true, .TrimRightWSpace = true};
  EXPECT_TRUE(core.CleanUpBeforeSave());
  EXPECT_EQ(Text(), "x\x88\x81@\r\nab\r\nwrapped line\r\nz");
  core.Undo();
  EXPECT_EQ(Text(), before);
}

TEST_F(Commands, CleanUpIsOneUndoStepOverSeparateRuns) {
  // Changed and unchanged lines alternate, across wrapped rows, more runs than the undo limit.
  std::string text;
  for (int i = 0; i < 300; ++i) text += i % 3 == 0 ? "kept line that wraps over rows\r\n" : "blank after  \r\n";
  text += "last  ";
  Load(text, {.WrapByte = 10});
  core.ClearUndo();
  core.SaveCleanUp = {.TrimRight = true};
  EXPECT_TRUE(core.CleanUpBeforeSave());
  std::string expected;
  for (int i = 0; i < 300; ++i) expected += i % 3 == 0 ? "kept line that wraps over rows\r\n" : "blank after\r\n";
  EXPECT_EQ(Text(), expected + "last");
  core.Undo();
  EXPECT_EQ(Text(), text);
  EXPECT_FALSE(core.CanUndo());
}

}  // namespace
}  // namespace vorn::test
