// The editing keys at the edges: free caret padding, overwrite by columns, Enter and its indent,
// BackSpace and Delete at wraps, tabs and the text's end, typed-character filtering, undo and
// the modified flag shared by two panes.
#include "CoreFixture.h"
#include "editcore/TextBreaks.h"
#include "store/Undo.h"

namespace vorn::test {
namespace {

// Lone CRs, lone LFs and LF CR pairs each become one CR LF; the bytes between them stay.
TEST(TextBreaks, EveryBreakBecomesCrLf) {
  EXPECT_EQ(WithCrLfBreaks("a\rb\nc\r\nd\r"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(WithCrLfBreaks("\n\r"), "\r\n\r\n");
  EXPECT_EQ(WithCrLfBreaks("\r\r\n"), "\r\n\r\n");
  EXPECT_EQ(WithCrLfBreaks("no break"), "no break");
  EXPECT_EQ(WithCrLfBreaks("a\r\nb\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(WithCrLfBreaks("a\r\nb\rc\r\n"), "a\r\nb\r\nc\r\n");  // the pairs alone do not tell
  EXPECT_EQ(WithCrLfBreaks("\r\n\n"), "\r\n\r\n");
  EXPECT_EQ(WithCrLfBreaks(""), "");
}

class Editing : public CoreTest {
protected:
  std::string Text() const {
    std::string text;
    for (int r = 0; r < core.RowCount(); ++r) text += core.GetRowText(r) + (core.RowKind(r) == reLineEnd ? "\r\n" : "");
    return text;
  }
  void Options(bool autoIndent, bool tabIndent, bool wideSpace = false) {
    TVornEditCaretValues caret = core.CaretOptions();
    caret.AutoIndent = autoIndent;
    caret.TabIndent = tabIndent;
    caret.WSpaceIndent = wideSpace;
    core.SetCaretOptions(caret);
  }
};

TEST_F(Editing, AJumpLeavesTheSelectionSoTypingGoesWhereTheCaretIs) {
  Load("one abc\r\ntwo\r\nthree\r\n");
  core.SetCaretPos(0, 4);
  core.SetSelLength(3);
  ASSERT_EQ(core.GetSelText(), "abc");
  core.GoToPosition(2, 0);
  EXPECT_FALSE(core.HasSelection());
  core.TypeText("Q");
  EXPECT_EQ(JoinedText(core), "one abc\r\ntwo\r\nQthree\r\n");
}

TEST_F(Editing, TypingPastTheRowEndPadsWithSpaces) {
  Load("abc\r\nnext", {.FreeCaret = true});
  core.SetCaretPos(0, 6);
  core.TypeText("x");
  EXPECT_EQ(Text(), "abc   x\r\nnext");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 7}));
  core.Undo();
  EXPECT_EQ(Text(), "abc\r\nnext");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 6}));

  // Delete past the end pads as well, then joins the next line.
  core.DeleteChar();
  EXPECT_EQ(Text(), "abc   next");
}

TEST_F(Editing, OverwriteCoversColumnsNotBytes) {
  Load("\x82\xA0z\r\n\tz\r\nab", {.Tab = 4});
  core.SetOverwriteMode(true);
  core.TypeText("a");
  EXPECT_EQ(Text(), "a z\r\n\tz\r\nab");  // the uncovered half became a space
  EXPECT_EQ(core.Caret(), (TRowCol{0, 1}));

  core.SetCaretPos(1, 0);
  core.TypeText("xy");  // short of the tab's end: goes in before it
  EXPECT_EQ(core.GetRowText(1), "xy\tz");
  core.SetCaretPos(1, 0);
  core.TypeText("1234");  // reaches the column after the tab: the tab goes
  EXPECT_EQ(core.GetRowText(1), "1234z");

  core.SetCaretPos(2, 1);
  core.TypeText("BCD");  // past the row's end overwriting is inserting
  EXPECT_EQ(core.GetRowText(2), "aBCD");
}

TEST_F(Editing, OverwriteContinuesIntoTheWrappedRows) {
  Load("abcdefghijklmno\r\n", {.WrapByte = 10});
  ASSERT_EQ(core.RowKind(0), reWrapped);
  core.SetOverwriteMode(true);
  core.SetCaretPos(0, 8);
  core.TypeText("WXYZ");
  EXPECT_EQ(Text(), "abcdefghWXYZmno\r\n");
  EXPECT_EQ(core.GetCaretOffset(), 12);
}

TEST_F(Editing, EnterSplitsRowsAndIndents) {
  Load("text\r\n\t  abc\r\n\x81\x40x", {.Tab = 4});
  Options(false, false);
  core.InsertLineBreak();  // at column 0 without indent: an empty line above, the row untouched
  EXPECT_EQ(Text(), "\r\ntext\r\n\t  abc\r\n\x81\x40x");
  EXPECT_EQ(core.Caret(), (TRowCol{1, 0}));
  EXPECT_EQ(store->UndoObj().UndoList().Last().OldText, "");

  Options(true, true);
  core.SetCaretPos(2, core.RowWidth(2));
  core.InsertLineBreak();
  EXPECT_EQ(core.GetRowText(3), "\t  ");
  EXPECT_EQ(core.Caret(), (TRowCol{3, 6}));
  core.Undo();

  Options(true, false);
  core.SetCaretPos(2, core.RowWidth(2));
  core.InsertLineBreak();
  EXPECT_EQ(core.GetRowText(3), "      ");  // the tab's width and two spaces

  Options(true, true, true);
  core.SetCaretPos(4, 2);
  core.InsertLineBreak();
  EXPECT_EQ(core.GetRowText(5), "\x81\x40x");

  // Overwrite mode only moves to the next row.
  core.SetOverwriteMode(true);
  const std::string before = Text();
  core.SetCaretPos(0, 0);
  core.InsertLineBreak();
  EXPECT_EQ(Text(), before);
  EXPECT_EQ(core.Caret(), (TRowCol{1, 0}));
}

TEST_F(Editing, EnterAtTheEndAndInReadOnly) {
  Load("abc\r\n");
  core.SetCaretPos(1, 0);
  core.InsertLineBreak();
  EXPECT_EQ(Text(), "abc\r\n\r\n");
  EXPECT_EQ(core.Caret(), (TRowCol{2, 0}));

  Load("one\r\ntwo\r\nthree");
  core.SetReadOnly(true);
  core.SetCaretPos(0, 2);
  core.InsertLineBreak();
  EXPECT_EQ(core.Caret(), (TRowCol{1, 0}));
  core.SetCaretPos(2, 3);
  core.InsertLineBreak();  // the last row without a break: nowhere to go
  EXPECT_EQ(core.Caret(), (TRowCol{2, 3}));
  EXPECT_EQ(Text(), "one\r\ntwo\r\nthree");
}

TEST_F(Editing, BackSpaceAndDeleteAtWrapsTabsAndTheEnd) {
  Load("abcdefgh\x82\xA0xyz\r\n", {.WrapByte = 10});
  ASSERT_EQ(core.GetRowText(0), "abcdefgh\x82\xA0");
  core.SetCaretPos(1, 0);
  core.BackSpace();  // a wrap, not a line break: the double-byte character goes
  EXPECT_EQ(Text(), "abcdefghxyz\r\n");
  EXPECT_EQ(core.GetCaretOffset(), 8);

  Load("abc\r\n");
  core.SetCaretPos(0, 3);
  core.DeleteChar();  // the final line break
  EXPECT_EQ(Text(), "abc");
  Load("abc\r\n");
  core.SetCaretPos(1, 0);
  core.BackSpace();  // from the row after it, too
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 3}));

  Load("a\tb", {.Tab = 4, .InTab = true});
  core.SetCaretPos(0, 2);
  core.DeleteChar();
  EXPECT_EQ(Text(), "ab");
  Load("\tb", {.Tab = 4, .InTab = true});
  core.SetCaretPos(0, 2);
  core.BackSpace();  // inside the fill of a tab at the row's start
  EXPECT_EQ(Text(), "b");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 0}));

  Load("x\x82\xA0y");
  core.SetCaretPos(0, 3);
  core.BackSpace();
  EXPECT_EQ(Text(), "xy");
  core.SetCaretPos(0, 0);
  core.BackSpace();
  core.DeleteChar();
  EXPECT_EQ(Text(), "y");
}

TEST_F(Editing, TabsFollowTheStopsAndTheWrapWidth) {
  Load("abcdefgh", {.WrapByte = 10, .Tab = 8});
  core.SetCaretPos(0, 8);
  core.InsertTab(true);
  EXPECT_EQ(core.GetRowText(0), "abcdefgh  ");  // two columns to the wrap edge
  Load("ab", {.Tab = 4});
  core.SetCaretPos(0, 1);
  core.InsertTab(true);
  EXPECT_EQ(Text(), "a   b");
  core.InsertTab(false);
  EXPECT_EQ(Text(), "a   \tb");
  core.WantTabs = false;
  core.TabKey(false, false);
  core.TabKey(true, false);
  EXPECT_EQ(Text(), "a   \tb");
}

TEST_F(Editing, TypedCharactersAreFiltered) {
  Load("");
  std::string reported;
  core.OnInputStr = [&](std::string_view typed) { reported += typed; };
  EXPECT_TRUE(core.TypeCharMessage('a'));
  EXPECT_TRUE(core.TypeCharMessage(0xB1));  // half-width katakana
  EXPECT_FALSE(core.TypeCharMessage(0x1F));
  EXPECT_FALSE(core.TypeCharMessage(0x7F));
  EXPECT_FALSE(core.TypeCharMessage(0x82));  // a lead byte alone is never typed
  EXPECT_TRUE(core.TypeCharMessage('c'));
  EXPECT_EQ(Text(), "a\xB1" "c");
  EXPECT_EQ(reported, "a\xB1" "c");
  core.SetReadOnly(true);
  EXPECT_FALSE(core.TypeCharMessage('d'));
  core.InsertText("e");
  core.BackSpace();
  EXPECT_EQ(Text(), "a\xB1" "c");
}

TEST_F(Editing, InsertedTextReplacesTheSelectionAndGetsCrLfBreaks) {
  Load("hello world");
  core.EmSetSel(0, 5);
  core.TypeText("bye");
  EXPECT_EQ(Text(), "bye world");
  core.InsertText("1\n2");
  EXPECT_EQ(Text(), "bye1\r\n2 world");
  EXPECT_EQ(core.Caret(), (TRowCol{1, 1}));

  // Enter over a selection: the deletion and the break are two steps.
  core.EmSetSel(0, 3);
  const int records = store->UndoObj().UndoList().Count();
  core.InsertLineBreak();
  EXPECT_EQ(store->UndoObj().UndoList().Count(), records + 2);
  core.Undo();
  EXPECT_EQ(Text(), "1\r\n2 world");
}

TEST_F(Editing, UndoStepsByCharacterAndTracksTheSavedState) {
  Load("ab");
  core.ClearUndo();
  core.SetModified(false);
  core.SetCaretPos(0, 2);
  core.TypeText("x");
  core.TypeText("y");
  core.TypeText("z");
  EXPECT_TRUE(core.Modified());
  core.Undo();
  EXPECT_EQ(Text(), "abxy");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 4}));
  core.Undo();
  core.Undo();
  EXPECT_EQ(Text(), "ab");
  EXPECT_FALSE(core.Modified());  // back at the saved text
  EXPECT_FALSE(core.CanUndo());
  core.Redo();
  EXPECT_EQ(Text(), "abx");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 3}));  // after the character again
  EXPECT_TRUE(core.Modified());

  // Saving here, then undoing past the save, is modified; redoing to it is not.
  core.SetModified(false);
  core.Undo();
  EXPECT_TRUE(core.Modified());
  core.Redo();
  EXPECT_FALSE(core.Modified());
  core.TypeText("q");
  EXPECT_FALSE(core.CanRedo());

  core.SetReadOnly(true);
  EXPECT_FALSE(core.CanUndo());
  core.Undo();
  EXPECT_EQ(Text(), "abxq");
}

TEST_F(Editing, APaneSeesTheOtherPanesEditsAndUndo) {
  Load("shared");
  core.ClearUndo();
  core.SetModified(false);
  TVornEditCore other(store, geometry);
  other.SetCaretPos(0, 6);
  other.TypeText("!");
  EXPECT_TRUE(core.Modified());
  EXPECT_TRUE(other.Modified());
  other.Undo();
  EXPECT_FALSE(core.Modified());
  EXPECT_EQ(Text(), "shared");
}

}  // namespace
}  // namespace vorn::test
