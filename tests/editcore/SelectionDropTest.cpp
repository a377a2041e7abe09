// Dropping the dragged selection: moved or copied as one undo step, a drop inside the selection
// or on read-only text only clearing it, boxes keeping their shape; and hot-spot tokens.
#include "CoreFixture.h"
#include "store/Undo.h"

namespace vorn::test {
namespace {

class SelectionDrop : public CoreTest {
protected:
  void Select(int row, int col, int endRow, int endCol) {
    core.SetCaretPos(row, col);
    core.StartSelection();
    core.SetCaretPos(endRow, endCol);
    core.ExtendSelection();
  }
};

TEST_F(SelectionDrop, MovingTheFirstLettersToTheLineEndIsOneUndoStep) {
  Load("abcdefgh\r\nnext");
  core.ClearUndo();
  Select(0, 0, 0, 3);
  EXPECT_TRUE(core.DropSelectionAt({0, 8}, false));
  EXPECT_EQ(JoinedText(core), "defghabc\r\nnext");
  EXPECT_EQ(core.Caret(), (TRowCol{0, 8}));
  core.Undo();
  EXPECT_EQ(JoinedText(core), "abcdefgh\r\nnext");
  EXPECT_FALSE(core.CanUndo());
}

TEST_F(SelectionDrop, MovesAcrossLinesEitherWayAndCopiesWithCtrl) {
  const std::string text = "one two\r\nthree four\r\nfive";
  Load(text);
  Select(1, 0, 1, 6);  // "three "
  EXPECT_TRUE(core.DropSelectionAt({0, 4}, false));
  EXPECT_EQ(JoinedText(core), "one three two\r\nfour\r\nfive");
  core.Undo();
  ASSERT_EQ(JoinedText(core), text);
  Select(0, 0, 1, 0);  // a whole line with its break, dropped below itself
  EXPECT_TRUE(core.DropSelectionAt({2, 4}, false));
  EXPECT_EQ(JoinedText(core), "three four\r\nfiveone two\r\n");
  core.Undo();
  ASSERT_EQ(JoinedText(core), text);
  Select(0, 4, 0, 7);  // "two", copied
  EXPECT_TRUE(core.DropSelectionAt({2, 0}, true));
  EXPECT_EQ(JoinedText(core), "one two\r\nthree four\r\ntwofive");
  EXPECT_FALSE(core.HasSelection());
}

TEST_F(SelectionDrop, ADropInsideTheSelectionOrOnReadOnlyTextOnlyClearsIt) {
  const std::string text = "abcdefgh\r\nnext";
  Load(text);
  for (const TRowCol inside : {TRowCol{0, 2}, TRowCol{0, 5}, TRowCol{0, 3}}) {
    Select(0, 2, 0, 5);
    EXPECT_TRUE(core.CellInSelection(inside));
    EXPECT_FALSE(core.DropSelectionAt(inside, false));
    EXPECT_FALSE(core.HasSelection());
    EXPECT_EQ(JoinedText(core), text);
  }
  Select(0, 2, 0, 5);
  EXPECT_FALSE(core.CellInSelection({1, 1}));
  core.SetReadOnly(true);
  EXPECT_FALSE(core.DropSelectionAt({1, 1}, true));
  EXPECT_EQ(JoinedText(core), text);
  EXPECT_FALSE(core.CanUndo());
}

TEST_F(SelectionDrop, ABoxKeepsItsShapeWhenMovedOrDropped) {
  const std::string text = "abcdef\r\nghijkl\r\nmnopqr\r\n";
  Load(text);
  core.SetBoxMode(true);
  Select(0, 1, 1, 3);  // "bc" over "hi"
  ASSERT_TRUE(core.BoxMode());
  EXPECT_TRUE(core.DropSelectionAt({1, 5}, false));  // right of the box on its own rows
  EXPECT_EQ(JoinedText(core), "adef\r\ngjkbcl\r\nmnohipqr\r\n");
  core.Undo();
  EXPECT_EQ(JoinedText(core), text);

  core.SetCaretPos(2, 2);
  core.InsertDropped("XY\r\nZW", true);
  EXPECT_TRUE(JoinedText(core).starts_with("abcdef\r\nghijkl\r\nmnXYopqr\r\n  ZW")) << JoinedText(core);
}

TEST_F(SelectionDrop, HotSpotsAreTheUrlOrMailUnderTheCell) {
  Load("see http://example.com/a?b=1 or mail me@example.org now");
  const TVornEditCore::THotSpot url = core.TokenAtCell({0, 10});
  EXPECT_EQ(url.Kind, tkUrl);
  EXPECT_EQ(url.Text, "http://example.com/a?b=1");
  const TVornEditCore::THotSpot mail = core.TokenAtCell({0, 40});
  EXPECT_EQ(mail.Kind, tkMailAddress);
  EXPECT_EQ(mail.Text, "me@example.org");
  EXPECT_NE(core.TokenAtCell({0, 1}).Kind, tkUrl);
  EXPECT_EQ(core.TokenAtCell({0, 80}).Kind, tkEndOfLine);  // past the row's end
  core.SetHotSpotKinds({.Url = false, .Mail = false});
  EXPECT_NE(core.TokenAtCell({0, 10}).Kind, tkUrl);
}

}  // namespace
}  // namespace vorn::test
