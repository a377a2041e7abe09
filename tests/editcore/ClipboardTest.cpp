// Copy, cut and paste through a stand-in clipboard: stream and box formats, quoting, the copy
// and clear option, and the platform messages' emptying rules.
#include "CoreFixture.h"

namespace vorn::test {
namespace {

class FakeClipboard : public TVornClipboard {
public:
  std::optional<TClipboardText> Held;
  int Writes = 0;
  void SetText(std::string_view sjis, bool box) override {
    Held = TClipboardText{std::string(sjis), box};
    ++Writes;
  }
  void Clear() override { Held.reset(); }
  std::optional<TClipboardText> Text() const override { return Held; }
};

class Clipboard : public CoreTest {
protected:
  FakeClipboard clip;
  void SetUp() override { core.SetClipboard(&clip); }
  std::string Text() const {
    std::string text;
    for (int r = 0; r < core.RowCount(); ++r) text += core.GetRowText(r) + (core.RowKind(r) == reLineEnd ? "\r\n" : "");
    return text;
  }
  void SelectBox(TRowCol from, TRowCol to) {
    core.ClearSelection();
    core.SetBoxMode(true);
    core.SetCaretPos(from.Row, from.Col);
    core.StartSelection();
    core.SetCaretPos(to.Row, to.Col);
    core.ExtendSelection();
  }
};

TEST_F(Clipboard, BoxCopyPastesAsABoxAndAsLinesWithoutTheMarker) {
  Load("\x82\xA0\x82\xA2\x82\xA4\r\nabcdef\r\n0123\r\n4567\r\n");
  SelectBox({1, 1}, {0, 4});
  core.CopyToClipboard();
  ASSERT_TRUE(clip.Held);
  EXPECT_EQ(clip.Held->Sjis, "\x82\xA2\r\nbcd\r\n");
  EXPECT_TRUE(clip.Held->Box);
  EXPECT_EQ(Text(), "\x82\xA0\x82\xA2\x82\xA4\r\nabcdef\r\n0123\r\n4567\r\n");  // copying changes nothing

  core.ClearSelection();
  core.SetCaretPos(2, 2);
  core.PasteFromClipboard();
  EXPECT_EQ(Text(), "\x82\xA0\x82\xA2\x82\xA4\r\nabcdef\r\n01\x82\xA2" "23\r\n45bcd67\r\n");
  EXPECT_EQ(core.Caret(), (TRowCol{3, 5}));  // after the text pasted into the last block row

  core.Undo();
  clip.Held->Box = false;
  core.SetCaretPos(2, 2);
  core.PasteFromClipboard();
  EXPECT_EQ(Text(), "\x82\xA0\x82\xA2\x82\xA4\r\nabcdef\r\n01\x82\xA2\r\nbcd\r\n23\r\n4567\r\n");
}

TEST_F(Clipboard, BoxPastePadsShortRowsAndAddsRowsPastTheEnd) {
  Load("abcdef\r\nab\r\nlast");
  clip.SetText("XY\r\nZ\r\nW\r\nV", true);
  core.SetCaretPos(0, 4);
  core.PasteFromClipboard();
  EXPECT_EQ(Text(), "abcdXYef\r\nab  Z\r\nlastW\r\n    V\r\n");
  core.Undo();
  EXPECT_EQ(Text(), "abcdef\r\nab\r\nlast");

  // Into a box selection: the box's bytes go and the lines take their place.
  SelectBox({0, 1}, {1, 3});
  clip.SetText("12\r\n34", true);
  core.PasteFromClipboard();
  EXPECT_EQ(Text(), "a12def\r\na34\r\nlast");
}

TEST_F(Clipboard, CutDeletesAndPasteNormalisesLineBreaks) {
  Load("one\r\ntwo\r\nthree");
  core.EmSetSel(2, 6);
  core.CutToClipboard();
  EXPECT_EQ(clip.Held->Sjis, "e\r\nt");
  EXPECT_FALSE(clip.Held->Box);
  EXPECT_EQ(Text(), "onwo\r\nthree");
  EXPECT_EQ(core.GetCaretOffset(), 2);

  clip.SetText("a\nb\rc\r\n", false);
  core.PasteFromClipboard();
  EXPECT_EQ(Text(), "ona\r\nb\r\nc\r\nwo\r\nthree");
  EXPECT_EQ(core.Caret(), (TRowCol{3, 0}));

  core.SetReadOnly(true);
  core.EmSetSel(0, 3);
  core.CutToClipboard();  // read-only: copied, not deleted
  EXPECT_EQ(clip.Held->Sjis, "ona");
  core.PasteFromClipboard();
  EXPECT_EQ(Text(), "ona\r\nb\r\nc\r\nwo\r\nthree");
}

TEST_F(Clipboard, QuotedCopyAndPaste) {
  EXPECT_EQ(TVornEditCore::QuoteText("a\r\nb\r\n", "> "), "> a\r\n> b\r\n");
  EXPECT_EQ(TVornEditCore::QuoteText("a\rb\nc", "> "), "> a\r> b\n> c");
  EXPECT_EQ(TVornEditCore::QuoteText("\r\n\r\n", ">"), ">\r\n>\r\n");
  EXPECT_EQ(TVornEditCore::QuoteText("", "> "), "");
  // Text that happens to end with the header keeps every byte.
  EXPECT_EQ(TVornEditCore::QuoteText("x> ", "> "), "> x> ");
  // A lead byte does not swallow the break after it: rows split there too.
  EXPECT_EQ(TVornEditCore::QuoteText("\x82\nz", "> "), "> \x82\n> z");

  Load("a\r\nb\r\nc");
  core.EmSetSel(0, 6);
  core.QuoteHeader = "| ";
  core.InyouCopy();
  EXPECT_EQ(clip.Held->Sjis, "| a\r\n| b\r\n");
  core.SetCaretOffset(7);
  core.InyouPaste();
  EXPECT_EQ(Text(), "a\r\nb\r\nc| | a\r\n| | b\r\n");
}

TEST_F(Clipboard, CopyAndSelClearLeavesTheCaretAtTheMovingEnd) {
  Load("hello world\r\nnext");
  core.SetCaretPos(0, 2);
  core.CursorRight(TMoveFlags{.Shift = true});
  core.CursorRight(TMoveFlags{.Shift = true});
  core.CopyAndSelClear = true;
  core.CopyToClipboard();
  EXPECT_EQ(clip.Held->Sjis, "ll");
  EXPECT_FALSE(core.HasSelection());
  EXPECT_EQ(core.Caret(), (TRowCol{0, 4}));
}

TEST_F(Clipboard, MessagesEmptyTheClipboardWhenNothingIsSelected) {
  Load("text");
  clip.SetText("kept", false);
  core.CopyToClipboard();
  core.CutToClipboard();
  EXPECT_EQ(clip.Held->Sjis, "kept");  // the commands leave it alone
  core.WmCopy();
  EXPECT_FALSE(clip.Held);

  clip.SetText("kept", false);
  core.EmSetSel(0, 2);
  core.SetReadOnly(true);
  core.WmCut();
  EXPECT_FALSE(clip.Held);
  EXPECT_EQ(Text(), "text");
  core.SetReadOnly(false);
  core.WmCut();
  EXPECT_EQ(clip.Held->Sjis, "te");
  EXPECT_EQ(Text(), "xt");
  core.WmPaste();
  EXPECT_EQ(Text(), "text");
  core.EmSetSel(1, 3);
  core.WmClear();
  EXPECT_EQ(Text(), "tt");
}

TEST_F(Clipboard, LineAndWordCopiesKeepTheCaretAndSelection) {
  Load("first line\r\nsecond word here\r\n");
  core.SetCaretPos(1, 9);
  core.CopyLine();
  EXPECT_EQ(clip.Held->Sjis, "second word here\r\n");
  EXPECT_EQ(core.Caret(), (TRowCol{1, 9}));
  EXPECT_FALSE(core.HasSelection());
  core.CopyWord();
  EXPECT_EQ(clip.Held->Sjis, "word");
  core.SetCaretPos(2, 0);  // the empty row after the final break
  const int writes = clip.Writes;
  core.CopyLine();
  core.CopyWord();
  EXPECT_EQ(clip.Writes, writes);
}

TEST_F(Clipboard, WithoutAClipboardNothingIsCutAway) {
  Load("keep me");
  core.SetClipboard(nullptr);
  core.EmSetSel(0, 4);
  core.CutToClipboard();
  core.WmCut();
  core.PasteFromClipboard();
  EXPECT_EQ(Text(), "keep me");
}

}  // namespace
}  // namespace vorn::test
