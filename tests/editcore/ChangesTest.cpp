// What a core makes of the store's changes (dirty rows, its caret kept inside the text, the
// modified state), and NUL bytes typed or pasted.
#include <functional>

#include "CoreFixture.h"

namespace vorn::test {
namespace {

class Changes : public CoreTest {
protected:
  void SetUp() override { geometry.Rows = 10; }
  TDirtyRegion DirtyAfter(const std::function<void()>& step) {
    core.TakeDirty();
    step();
    return core.TakeDirty();
  }
};

TEST_F(Changes, AnEditRepaintsItsRowsAndEverythingBelowOnlyWhenRowsMoved) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "row\r\n";
  Load(text);
  core.SetCaretPos(3, 1);
  TDirtyRegion d = DirtyAfter([&] { core.TypeText("x"); });
  EXPECT_FALSE(d.All);
  EXPECT_EQ(d.FirstRow, 3);
  EXPECT_EQ(d.LastRow, 3);

  d = DirtyAfter([&] { core.InsertLineBreak(); });
  EXPECT_FALSE(d.All);
  EXPECT_EQ(d.FirstRow, 3);
  EXPECT_EQ(d.LastRow, TDirtyRegion::kToEnd);

  // More rows than the pane shows moved: the whole pane.
  std::string many;
  for (int i = 0; i < 12; ++i) many += "p\r\n";
  d = DirtyAfter([&] { core.InsertText(many); });
  EXPECT_TRUE(d.All);

  // The last row of a text without a final break: the end-of-text mark after it goes too.
  Load("a\r\nb");
  core.SetCaretPos(1, 1);
  d = DirtyAfter([&] { core.TypeText("c"); });
  EXPECT_EQ(d.FirstRow, 1);
  EXPECT_EQ(d.LastRow, 2);

  // Marks show in the margin beside the rows they belong to, which a row's repaint draws.
  d = DirtyAfter([&] { store->LineMarkTable().SetNumbered(0, 0); });
  EXPECT_FALSE(d.Empty());
}

TEST_F(Changes, AnotherPanesEditKeepsThisCaretAndTopRowInsideTheText) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "line\r\n";
  Load(text);
  TFixedGeometry otherGeometry;
  TVornEditCore other(store, otherGeometry);
  core.SetTopRow(25);
  core.SetCaretPos(28, 3);
  int changes = 0;
  core.OnChange = [&] { ++changes; };
  other.SetCaretPos(10, 0);
  other.StartSelection();
  other.SetCaretPos(30, 0);
  other.ExtendSelection();
  other.DeleteSelection();
  EXPECT_EQ(core.RowCount(), 10);
  EXPECT_EQ(core.CaretRow(), 10);
  EXPECT_EQ(core.TopRow(), 10);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(core.Modified());

  other.Undo();
  EXPECT_EQ(JoinedText(core), text);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(core.CaretRow(), 10) << "this pane's caret stays where the other pane's edit left it";
  store->LineMarkTable().SetNumbered(2, 4);
  EXPECT_EQ(changes, 2) << "marks are no change of the text";
}

TEST_F(Changes, NulBytesTypedOrPastedGoInAsSpacesAndUndoRestoresTheText) {
  int reported = 0;
  core.OnNulReplaced = [&](int n) { reported += n; };
  // Loaded straight into the store, then the whole text selected from the top and replaced by
  // a tab: undoing everything must give back the loaded text.
  store->ReplaceRows(0, 0, std::string("\r\n\r\n\0", 5));
  core.ClearUndo();
  const std::string loaded = JoinedText(core);
  EXPECT_EQ(loaded, "\r\n\r\n ");
  core.SetCaretPos(0, 0);
  core.MoveFileEnd({.Shift = true});
  core.TabKey(false, false);
  core.TypeText(std::string("a\0b", 3));
  core.InsertText(std::string("\0\r\n\0", 4));
  core.SetBoxMode(true);
  core.BoxPaste(std::string("\0", 1));
  EXPECT_EQ(reported, 4);
  EXPECT_EQ(JoinedText(core).find('\0'), std::string::npos);
  while (core.CanUndo()) core.Undo();
  EXPECT_EQ(JoinedText(core), loaded);
}

}  // namespace
}  // namespace vorn::test
