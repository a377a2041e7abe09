#include "syntax/EditColors.h"
#include "store/EditLineMark.h"
#include "options/EditOptions.h"
#include "options/EditSeikeiOption.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

template <class T>
struct TNotifyCount {
  int calls = 0;
  explicit TNotifyCount(T& record) {
    record.SetOnChange([this](TNotifyPersistent*) { ++calls; });
  }
};

TEST(EditCaret, DefaultsMatchTheDocumentedTable) {
  TVornEditCaret c;
  EXPECT_TRUE(c.AutoCursor() && c.AutoIndent() && c.FreeCaret() && c.RowSelect() && c.SelMove());
  EXPECT_FALSE(c.InTab() || c.KeepCaret() || c.LockScroll() || c.NextLine() ||
               c.PrevSpaceIndent() || c.SoftTab() || c.TabIndent() || c.WSpaceIndent() ||
               c.IndentWithSpace() || c.ChangeColorForImeStatus());
  EXPECT_EQ(c.SelDragMode(), dmAutomatic);
  EXPECT_EQ(c.Style(), csDefault);
  EXPECT_EQ(c.TabSpaceCount(), 8);
  EXPECT_TRUE(c.IndentWidthEqTabWidth());
  EXPECT_EQ(c.IndentWidth(), 8);
  EXPECT_EQ(c.Cursors().DefaultCursor(), TVornCursorId::cuIBeam);
  EXPECT_EQ(c.Cursors().DragSelCursor(), TVornCursorId::cuDrag);
  EXPECT_EQ(c.Cursors().InSelCursor(), TVornCursorId::cuDefault);
}

TEST(EditCaret, TabSpaceCountIsClampedAndIndentWidthIsNot) {
  TVornEditCaret c;
  c.SetTabSpaceCount(1);
  EXPECT_EQ(c.TabSpaceCount(), 2);
  c.SetTabSpaceCount(500);
  EXPECT_EQ(c.TabSpaceCount(), 128);
  c.SetIndentWidth(1000);
  EXPECT_EQ(c.IndentWidth(), 1000);
}

TEST(EditCaret, IndentWithSpaceTurnsSoftTabAlong) {
  TVornEditCaret c;
  TNotifyCount n(c);
  c.SetIndentWithSpace(true);
  EXPECT_TRUE(c.SoftTab());
  EXPECT_EQ(n.calls, 1);
  c.SetSoftTab(false);
  c.SetIndentWithSpace(true);  // same value, but SoftTab must follow again
  EXPECT_TRUE(c.SoftTab());
}

TEST(EditCaret, SettersAndAssignNotifyOnlyOnRealChangesAndOnce) {
  TVornEditCaret c;
  TNotifyCount n(c);
  c.SetAutoIndent(true);
  c.SetTabSpaceCount(8);
  EXPECT_EQ(n.calls, 0);

  TVornEditCaret src;
  c.Assign(src);
  EXPECT_EQ(n.calls, 0);

  src.SetFreeCaret(false);
  src.SetStyle(csDos);
  src.SetTabSpaceCount(4);
  src.Cursors().SetInSelCursor(TVornCursorId::cuDrag);
  c.Assign(src);
  EXPECT_EQ(n.calls, 1);
  EXPECT_TRUE(c == src);
  EXPECT_EQ(c.Cursors().InSelCursor(), TVornCursorId::cuDrag);
}

TEST(EditCaret, CursorChangesReachTheCaretOwner) {
  TVornEditCaret c;
  TNotifyCount n(c);
  c.Cursors().SetLeftMarginCursor(TVornCursorId::cuIBeam);
  EXPECT_EQ(n.calls, 1);
  TVornEditCaret copy(c);
  EXPECT_TRUE(copy == c);
}

TEST(EditCaret, AssignKeepsTheSourcesSoftTabEvenWhenIndentWithSpaceDiffers) {
  TVornEditCaret src;
  src.SetIndentWithSpace(true);
  src.SetSoftTab(false);
  TVornEditCaret c;
  c.Assign(src);
  EXPECT_TRUE(c.IndentWithSpace());
  EXPECT_FALSE(c.SoftTab());
}

TEST(EditMargin, CharacterIsClampedAndAssignComparesFirst) {
  TVornEditMargin m;
  EXPECT_EQ(m.Left(), 10);
  EXPECT_EQ(m.Top(), 2);
  m.SetCharacter(-3);
  EXPECT_EQ(m.Character(), 0);
  m.SetCharacter(101);
  EXPECT_EQ(m.Character(), 100);
  TNotifyCount n(m);
  TVornEditMargin other;
  other.SetCharacter(100);
  m.Assign(other);
  EXPECT_EQ(n.calls, 0);
  other.SetUnderlineSpace(1);
  m.Assign(other);
  EXPECT_EQ(n.calls, 1);
  EXPECT_EQ(m.UnderlineSpace(), 1);
}

TEST(EditMarks, AssignNotifiesOnce) {
  TVornEditMarks m;
  EXPECT_TRUE(m.EofMark() && m.RetMark());
  EXPECT_FALSE(m.Underline() || m.WordWrapLine() || m.TabMark() || m.DBSpaceMark() || m.SpaceMark());
  TNotifyCount n(m);
  TVornEditMarks src;
  src.SetTabMark(true);
  src.SetSpaceMark(true);
  src.SetRetMark(false);
  m.Assign(src);
  EXPECT_EQ(n.calls, 1);
  EXPECT_TRUE(m == src);
  m.Assign(src);
  EXPECT_EQ(n.calls, 1);
}

TEST(EditColors, DefaultTableHoldsTheStoredValues) {
  TVornEditColors t;
  ASSERT_EQ(t.Count(), 48);
  for (int i = 0; i < 48; ++i) EXPECT_EQ(t[i].Index(), i);
  // "普通の文字", window text on window.
  EXPECT_EQ(t[0].Name(), "\x95\x81\x92\xCA\x82\xCC\x95\xB6\x8E\x9A");
  EXPECT_EQ(t[0].Color(), 0xFF000008u);
  EXPECT_EQ(t[0].BkColor(), 0xFF000005u);
  // Colours are stored red in the low byte: "008080" is teal.
  EXPECT_EQ(t[1].Color(), 0x00808000u);
  EXPECT_EQ(t[9].Color(), 0xFF00000Eu);
  EXPECT_EQ(t[9].BkColor(), 0xFF00000Du);
  EXPECT_EQ(t[12].Style(), fsUnderline);
  EXPECT_TRUE(t[16].Name().empty());
  EXPECT_EQ(t[16].BkColor(), clDesktop);
  EXPECT_EQ(t[17].Color(), 0x00FF0000u);  // blue
  EXPECT_EQ(t[18].Color(), 0x000000FFu);  // red
  EXPECT_EQ(t[24].BkColor(), 0x00000080u);
  EXPECT_EQ(t[24].Style(), fsBold);
  EXPECT_EQ(t[31].BkColor(), 0xFF000003u);
  EXPECT_EQ(t[33].BkColor(), 0x000000FFu);
  EXPECT_EQ(t[39].Style(), fsBold);
  EXPECT_EQ(t[39].BkColor(), clDesktop);
  // "強調表示10": the trail byte 0x5C of the third character must survive.
  EXPECT_EQ(t[47].Name(), "\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "10");
}

TEST(EditColors, EntryAssignIgnoresAnEntryDifferingOnlyInName) {
  TVornEditColor a, b;
  a.SetName("a");
  b.SetName("b");
  TNotifyCount n(a);
  a.Assign(b);
  EXPECT_EQ(a.Name(), "a");
  EXPECT_EQ(n.calls, 0);
  b.SetStyle(fsItalic);
  a.Assign(b);
  EXPECT_EQ(a.Name(), "b");
  EXPECT_EQ(a.Style(), fsItalic);
  EXPECT_EQ(n.calls, 1);
}

TEST(EditColors, TableAssignResizesAndNotifiesOnce) {
  TVornEditColors t;
  TNotifyCount n(t);
  TVornEditColors same;
  t.Assign(same);
  EXPECT_EQ(n.calls, 0);

  TVornEditColors src;
  src[3].SetColor(0x00123456u);
  src[40].SetStyle(fsBold | fsStrikeOut);
  t.Assign(src);
  EXPECT_EQ(n.calls, 1);
  EXPECT_TRUE(t == src);

  // A child change after assignment still reaches the table's owner.
  t[5].SetBkColor(0x00010203u);
  EXPECT_EQ(n.calls, 2);
}

TEST(EditColors, CopyKeepsValuesAndHearsItsOwnEntries) {
  TVornEditColors t;
  t[7].SetColor(0x00ABCDEFu);
  TVornEditColors copy(t);
  EXPECT_TRUE(copy == t);
  TNotifyCount n(copy);
  copy[7].SetColor(0);
  EXPECT_EQ(n.calls, 1);
}

TEST(EditSeikeiOption, DefaultsAndSpacingStrings) {
  TVornEditSeikeiOption o;
  EXPECT_TRUE(o.InsertSpace() && o.CommentThrough() && o.WordWrap());
  EXPECT_FALSE(o.CommentOnly() || o.TabToSpace() || o.AutoTrigger());
  EXPECT_EQ(o.WrapCount(), 70);
  EXPECT_EQ(o.LeftUninsertSpaceStr().size(), 162u);
  EXPECT_EQ(o.RightUninsertSpaceStr().size(), 164u);
  // Both end with the full-width space.
  EXPECT_EQ(o.LeftUninsertSpaceStr().substr(160), "\x81\x40");
  EXPECT_EQ(o.RightUninsertSpaceStr().substr(162), "\x81\x40");
  EXPECT_EQ(o.LeftUninsertSpaceStr().substr(0, 5), ":;\"'}");
  ASSERT_EQ(o.CommentList().Count(), 5);
  ASSERT_EQ(o.ItemizeList().Count(), 3);
  EXPECT_EQ(o.CommentList().Items(4).Pattern(), "^//[ \\t]*");
  EXPECT_FALSE(o.CommentList().Items(0).PlainText());
  EXPECT_FALSE(o.CommentList().Items(0).Fuzzy());
  EXPECT_EQ(o.ItemizeList().Items(1).Pattern(),
            "^[\x81i\\(][0-9\x82O-\x82X]+[\\)\x81j][ \\t]*");
  EXPECT_TRUE(o.AutoTriggerStr().empty());
}

TEST(EditSeikeiOption, AssignComparesListsAndNotifiesOnce) {
  TVornEditSeikeiOption o;
  TNotifyCount n(o);
  TVornEditSeikeiOption src;
  o.Assign(src);
  EXPECT_EQ(n.calls, 0);
  src.ItemizeList().AddItem().SetPattern("^-");
  src.SetWrapCount(5);
  o.Assign(src);
  EXPECT_EQ(n.calls, 1);
  EXPECT_EQ(o.ItemizeList().Count(), 4);
  o.CommentList().Delete(0);
  EXPECT_EQ(n.calls, 2);
}

struct TFakeMarkHost : TLineMarkHost {
  int lines = 20;
  int repaints = 0;
  int LineCount() const override { return lines; }
  void RepaintMargins() override { ++repaints; }
};

TEST(EditLineMark, NumberedAndUnnumberedMarks) {
  TFakeMarkHost host;
  TVornEditLineMark m(&host);
  EXPECT_EQ(m.UnnumberedCount(), 0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(m.Numbered(i), -1);
  m.SetNumbered(3, 7);
  m.SetNumbered(3, 7);
  EXPECT_EQ(host.repaints, 1);
  m.AddUnnumbered(7);
  m.AddUnnumbered(2);
  EXPECT_EQ(m.RemoveLine(7), 3);  // the numbered entry comes first
  EXPECT_EQ(m.Numbered(3), -1);
  EXPECT_EQ(m.RemoveLine(7), 10);
  EXPECT_EQ(m.UnnumberedCount(), 1);
  EXPECT_EQ(m.Unnumbered(0), 2);
  EXPECT_EQ(m.RemoveLine(-1), -1);
  m.SetNumbered(0, 1);
  m.ClearMarks(true, false);
  EXPECT_EQ(m.UnnumberedCount(), 0);
  EXPECT_EQ(m.Numbered(0), 1);
  m.ClearMarks(false, true);
  EXPECT_EQ(m.Numbered(0), -1);
}

TEST(EditLineMark, DeletionMovesMarksUpAndCollapsesMarksInsideIt) {
  TFakeMarkHost host;
  TVornEditLineMark m(&host);
  m.SetNumbered(0, 7);
  m.SetNumbered(1, 12);
  m.SetNumbered(2, 3);
  m.AddUnnumbered(17);
  host.lines = 15;  // lines 5..9 deleted from 20
  m.AdjustForEdit(5, -5);
  EXPECT_EQ(m.Numbered(0), 5);
  EXPECT_EQ(m.Numbered(1), 7);
  EXPECT_EQ(m.Numbered(2), 3);
  // A mark below the deletion is moved, not lost against the smaller line count.
  ASSERT_EQ(m.UnnumberedCount(), 1);
  EXPECT_EQ(m.Unnumbered(0), 12);
}

TEST(EditLineMark, InsertionMovesMarksAtAndBelowTheEdit) {
  TFakeMarkHost host;
  TVornEditLineMark m(&host);
  m.SetNumbered(0, 4);
  m.SetNumbered(1, 3);
  host.lines = 22;
  int before = host.repaints;
  m.AdjustForEdit(4, 2);
  EXPECT_EQ(m.Numbered(0), 6);
  EXPECT_EQ(m.Numbered(1), 3);
  EXPECT_EQ(host.repaints, before + 1);
  m.AdjustForEdit(10, 0);
  EXPECT_EQ(host.repaints, before + 1);
}

TEST(EditLineMark, MarksPastTheEndAreDropped) {
  TFakeMarkHost host;
  TVornEditLineMark m(&host);
  m.SetNumbered(9, 18);
  m.AddUnnumbered(19);
  m.AddUnnumbered(1);
  host.lines = 17;  // last three lines deleted
  m.AdjustForEdit(17, -3);
  EXPECT_EQ(m.Numbered(9), -1);
  ASSERT_EQ(m.UnnumberedCount(), 1);
  EXPECT_EQ(m.Unnumbered(0), 1);
  TVornEditLineMark copy;
  copy.Assign(m);
  EXPECT_TRUE(copy == m);
}

}  // namespace
}  // namespace vorn
