// Word wrap and undo working inside the line store: incremental wrap, undo/redo, saved state.
#include "store/EditLineMark.h"
#include "store/HeadlessView.h"
#include "store/ScreenStrings.h"
#include "layout/StoreWrap.h"
#include "store/Undo.h"
#include "layout/WrapOption.h"

#include <gtest/gtest.h>

#include <random>

namespace vorn {
namespace {

struct TSnapshot {
  std::vector<std::string> rows;
  std::vector<TRowEnd> ends;
  bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snap(const TVornEditScreenStrings& s) {
  TSnapshot snap;
  for (int i = 0; i < s.Count(); ++i) {
    snap.rows.emplace_back(s.Row(i));
    snap.ends.push_back(s.RowEnd(i));
  }
  return snap;
}

std::string Dump(const TSnapshot& s) {
  std::string out;
  for (std::size_t i = 0; i < s.rows.size(); ++i)
    out += ::testing::PrintToString(s.rows[i]) + " " + std::to_string(s.ends[i]) + "\n";
  return out;
}

// The rows a store gets when the text is wrapped from scratch.
TSnapshot WrappedFromScratch(const std::string& text, const TVornEditWrapOption& opt) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  WrapOptionOf(s).Assign(opt);
  s.SetWordWrap(true);
  view.Lines().SetTextStr(text);
  if (s.Count() > 0 && (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0))
    s.SetRowEnd(s.Count() - 1, reTextEnd);
  return Snap(s);
}

const std::vector<std::string> kPieces = {"a", "bc", " ", ",", ".", "\x82\xA0", "\x81\x41", "\x81\x42",
                                          "\x81\x75", "\x81\x76", "(", ")", "\xB0", "\x95\x5C", "xyz"};

std::string RandomPiece(std::mt19937& rng, int maxLen, bool tabs) {
  std::string t;
  const int len = static_cast<int>(rng() % (maxLen + 1));
  for (int i = 0; i < len; ++i) {
    const int k = static_cast<int>(rng() % 40);
    if (k == 0) t += "\r\n";
    else if (tabs && k == 1) t += "\t";
    else t += kPieces[rng() % kPieces.size()];
  }
  return t;
}

struct TWrapCase {
  int width;
  bool punct, leading, wordBreak, retMark;
  bool tabs = false;
};

TVornEditWrapOption OptionFor(const TWrapCase& c) {
  TVornEditWrapOption o;
  o.SetWrapByte(c.width);
  o.SetFollowPunctuation(c.punct);
  o.SetLeading(c.leading);
  o.SetWordBreak(c.wordBreak);
  o.SetFollowRetMark(c.retMark);
  return o;
}

class IncrementalWrap : public ::testing::TestWithParam<TWrapCase> {};

// After every random edit the incrementally wrapped store equals a wrap from scratch; undoing
// every edit gives back the original rows exactly, redoing them the final rows. Lines with tabs
// are re-wrapped from their start, so they hold to the same rule.
TEST_P(IncrementalWrap, EqualsWrapFromScratchAndUndoesExactly) {
  const TVornEditWrapOption opt = OptionFor(GetParam());
  std::mt19937 rng(GetParam().width * 7 + GetParam().wordBreak);
  for (int round = 0; round < 6; ++round) {
    TVornEditHeadlessView view{NewWrappedStore()};
    TVornEditScreenStrings& s = *view.Store();
    WrapOptionOf(s).Assign(opt);
    s.SetWordWrap(true);
    std::string text;
    for (int l = 0; l < 12; ++l) text += RandomPiece(rng, 60, GetParam().tabs) + "\r\n";
    view.Lines().SetTextStr(text);
    s.UndoObj().SetLimit(100000);
    const TSnapshot original = Snap(s);
    ASSERT_TRUE(original == WrappedFromScratch(text, opt));
    for (int step = 0; step < 60; ++step) {
      const int count = s.Count();
      const int a = static_cast<int>(rng() % (count + 1));
      const int n = a == count ? 0 : static_cast<int>(rng() % std::min(4, count - a + 1));
      const std::string piece = rng() % 4 == 0 ? std::string() : RandomPiece(rng, 30, GetParam().tabs);
      const TSnapshot before = Snap(s);
      s.ReplaceRows(a, n, piece);
      const std::string now = view.Lines().GetTextStr();
      ASSERT_TRUE(Snap(s) == WrappedFromScratch(now, opt))
          << "round " << round << " step " << step << " ReplaceRows(" << a << ", " << n << ", "
          << ::testing::PrintToString(piece) << ")\nbefore:\n" << Dump(before) << "after:\n" << Dump(Snap(s))
          << "scratch:\n" << Dump(WrappedFromScratch(now, opt));
    }
    const TSnapshot final = Snap(s);
    while (s.UndoObj().CanUndo()) s.UndoEdit();
    ASSERT_TRUE(Snap(s) == original) << Dump(Snap(s)) << "---\n" << Dump(original);
    while (s.UndoObj().CanRedo()) s.RedoEdit();
    ASSERT_TRUE(Snap(s) == final);
  }
}

INSTANTIATE_TEST_SUITE_P(
    WidthsAndOptions, IncrementalWrap,
    ::testing::Values(TWrapCase{10, false, false, false, false}, TWrapCase{10, true, true, true, true},
                      TWrapCase{13, true, true, false, false}, TWrapCase{17, false, false, true, false},
                      TWrapCase{23, true, false, true, true}, TWrapCase{40, false, true, true, false},
                      TWrapCase{64, true, true, true, false}, TWrapCase{10, false, false, false, false, true},
                      TWrapCase{12, true, true, true, false, true}, TWrapCase{31, true, true, false, true, true}),
    [](const ::testing::TestParamInfo<TWrapCase>& info) {
      const TWrapCase& c = info.param;
      return "W" + std::to_string(c.width) + (c.punct ? "Punct" : "") + (c.leading ? "Leading" : "") +
             (c.wordBreak ? "WordBreak" : "") + (c.retMark ? "RetMark" : "") + (c.tabs ? "Tabs" : "");
    });

// Long edit runs on tabbed text: the text follows a plain byte-string model and undo of
// every edit restores it exactly.
TEST(IncrementalWrapWithTabs, TextFollowsTheModelAndUndoRestoresIt) {
  std::mt19937 rng(99);
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  WrapOptionOf(s).Assign(OptionFor({12, true, true, true, false}));
  s.SetWordWrap(true);
  std::string text;
  for (int l = 0; l < 10; ++l) text += RandomPiece(rng, 50, true) + "\r\n";
  view.Lines().SetTextStr(text);
  s.UndoObj().SetLimit(100000);
  std::string model = text;
  for (int step = 0; step < 300; ++step) {
    const int line = static_cast<int>(rng() % (view.Lines().Count() + 1));
    const int row = s.LineToRow(line);
    const std::string piece = RandomPiece(rng, 20, true) + "\r\n";
    // Insert whole lines before a line, as the facade does; the model does the same.
    s.ReplaceRows(row, 0, piece);
    std::size_t at = 0;
    for (int l = 0; l < line; ++l) at = model.find("\r\n", at) + 2;
    model.insert(at, piece);
    ASSERT_EQ(view.Lines().GetTextStr(), model) << step;
  }
  while (s.UndoObj().CanUndo()) s.UndoEdit();
  EXPECT_EQ(view.Lines().GetTextStr(), text);
}

bool AnyRowModified(const TVornEditScreenStrings& s) {
  for (int i = 0; i < s.Count(); ++i)
    if (s.RowModified(i)) return true;
  return false;
}

TEST(StoreUndo, TypingThenUndoRestoresRowAndCaretAndRedoReapplies) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("abc\r\ndef\r\n");
  view.SetCaretPos(1, 1);
  s.ReplaceRows(1, 1, "dXef\r\n", view.Caret());
  view.SetCaretPos(1, 2);
  EXPECT_EQ(view.Lines().GetTextStr(), "abc\r\ndXef\r\n");
  EXPECT_TRUE(view.Undo());
  EXPECT_EQ(view.Lines().GetTextStr(), "abc\r\ndef\r\n");
  EXPECT_EQ(view.CaretRow(), 1);
  EXPECT_EQ(view.CaretCol(), 1);
  EXPECT_TRUE(view.Redo());
  EXPECT_EQ(view.Lines().GetTextStr(), "abc\r\ndXef\r\n");
  EXPECT_EQ(view.CaretCol(), 2);
  EXPECT_FALSE(view.Redo());
}

TEST(StoreUndo, SaveEditUndoClearsModifiedStateAndRowMarks) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("one\r\ntwo\r\nthree\r\n");
  TVornEditUndoObj& undo = s.UndoObj();
  undo.MarkSaved();
  s.ReplaceRows(1, 1, "TWO\r\n");
  EXPECT_TRUE(AnyRowModified(s));
  EXPECT_FALSE(undo.IsAtSavedState());
  s.UndoEdit();
  EXPECT_TRUE(undo.IsAtSavedState());
  EXPECT_FALSE(AnyRowModified(s));

  // An edit made before the save, undone and redone.
  s.ReplaceRows(0, 1, "ONE\r\n");
  if (undo.IsAtSavedState() == false) undo.ClearSavedMarks();
  undo.MarkSaved();
  EXPECT_FALSE(AnyRowModified(s));
  s.UndoEdit();
  EXPECT_FALSE(undo.IsAtSavedState());
  EXPECT_TRUE(AnyRowModified(s));
  s.RedoEdit();
  EXPECT_TRUE(undo.IsAtSavedState());
  EXPECT_FALSE(AnyRowModified(s));
}

int RecountModified(const TVornEditScreenStrings& s) {
  int marked = 0;
  for (int i = 0; i < s.Count(); ++i) marked += s.RowModified(i);
  return marked;
}

// One random step on a wrapped store of several thousand rows: a keystroke, a deletion or an
// insertion large enough to split, merge or add whole blocks, an undo, a redo or a save.
void RandomStoreStep(TVornEditScreenStrings& s, std::mt19937& rng) {
  TVornEditUndoObj& undo = s.UndoObj();
  const int count = s.Count();
  const unsigned op = rng() % 8;
  if (op == 0 && count > 10) {
    const int first = s.FirstRowOfLine(static_cast<int>(rng() % static_cast<unsigned>(count)));
    const int want = 1 + static_cast<int>(rng() % 2500);
    s.ReplaceRows(first, s.LastRowOfLine(std::min(count - 1, first + want)) - first + 1, "");
  } else if (op == 1) {
    std::string lines;
    const int n = static_cast<int>(rng() % 3 == 0 ? 600 + rng() % 900 : rng() % 40);
    for (int l = 0; l < n; ++l) lines += RandomPiece(rng, 50, false) + "\r\n";
    s.ReplaceRows(count == 0 ? 0 : s.FirstRowOfLine(static_cast<int>(rng() % static_cast<unsigned>(count))), 0, lines);
  } else if (op == 2) {
    undo.MarkSaved();
  } else if (op == 3 || op == 4) {
    s.UndoEdit();
  } else if (op == 5) {
    s.RedoEdit();
  } else if (count > 0) {
    const int row = static_cast<int>(rng() % static_cast<unsigned>(count));
    std::string text(s.Row(row));
    text.insert(text.size() / 2, RandomPiece(rng, 3, false));
    if (s.RowEnd(row) == reLineEnd) text += "\r\n";
    s.ReplaceRows(row, 1, text);
  }
}

// The store keeps a count of modified rows per block so that reaching the saved state clears
// the marks without a scan of the document; a count that drifts through a split, a merge or an
// undo would leave stale marks in the margin, or skip a block that still holds some.
TEST(StoreUndo, ModifiedRowCountsFollowRandomEditsUndosRedosAndSaves) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  WrapOptionOf(s).SetWrapByte(20);
  s.SetWordWrap(true);
  s.UndoObj().SetLimit(100000);
  std::mt19937 rng(11);
  std::string text;
  for (int l = 0; l < 3000; ++l) text += RandomPiece(rng, 60, false) + "\r\n";
  view.Lines().SetTextStr(text);
  ASSERT_GT(s.Count(), 3 * TRowIndex::kBlockRows);
  s.UndoObj().MarkSaved();
  int savedStates = 0;
  for (int step = 0; step < 400; ++step) {
    RandomStoreStep(s, rng);
    ASSERT_TRUE(s.RowModifiedCountsConsistent()) << step;
    ASSERT_EQ(s.RowModifiedCount(), RecountModified(s)) << step;
    if (s.UndoObj().IsAtSavedState()) {
      ++savedStates;
      ASSERT_EQ(RecountModified(s), 0) << step;
    }
  }
  EXPECT_GT(savedStates, 10);
  EXPECT_GT(s.RowModifiedCount(), 0);
  s.ClearAllRowModified();
  EXPECT_EQ(RecountModified(s), 0);
  EXPECT_TRUE(s.RowModifiedCountsConsistent());
}

TEST(StoreUndo, SixtyFiveEditsWithLimit64LeaveTheDocumentModified) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("x\r\n");
  s.UndoObj().MarkSaved();
  for (int i = 0; i < 65; ++i) s.ReplaceRows(0, 1, std::to_string(i) + "\r\n");
  int undone = 0;
  while (s.UndoEdit()) ++undone;
  EXPECT_EQ(undone, 64);
  EXPECT_EQ(view.Lines().GetTextStr(), "0\r\n");
  EXPECT_FALSE(s.UndoObj().IsAtSavedState());
}

TEST(StoreUndo, DeletingWholeLinesIsUndoneWithItsLineMarks) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  std::string text;
  for (int i = 0; i < 20; ++i) text += "line" + std::to_string(i) + "\r\n";
  view.Lines().SetTextStr(text);
  TVornEditLineMark& marks = s.LineMarkTable();
  marks.SetNumbered(1, 7);
  marks.SetNumbered(2, 12);
  s.ReplaceRows(5, 5, "");  // lines 5..9
  EXPECT_EQ(marks.Numbered(1), 5);
  EXPECT_EQ(marks.Numbered(2), 7);
  s.UndoEdit();
  EXPECT_EQ(view.Lines().GetTextStr(), text);
  EXPECT_EQ(marks.Numbered(2), 12);
  // Inserting two lines at line 4 moves a mark on line 4 down by two.
  marks.SetNumbered(3, 4);
  s.ReplaceRows(4, 0, "new\r\nnew\r\n");
  EXPECT_EQ(marks.Numbered(3), 6);
}

TEST(StoreUndo, DragMoveGroupIsUndoneAndRedoneByOneCommand) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  WrapOptionOf(s).SetWrapByte(10);
  s.SetWordWrap(true);
  const std::string text = "first line that wraps\r\nsecond\r\nthird line, long enough to wrap\r\n";
  view.Lines().SetTextStr(text);
  const TSnapshot before = Snap(s);
  // Move "second" to the end: delete its line, insert it after the last line.
  TVornEditUndoObj& undo = s.UndoObj();
  undo.BeginGroup();
  const int row = s.LineToRow(1);
  s.ReplaceRows(row, 1, "");
  s.ReplaceRows(s.Count(), 0, "second\r\n");
  undo.EndGroup();
  const std::string moved = "first line that wraps\r\nthird line, long enough to wrap\r\nsecond\r\n";
  ASSERT_EQ(view.Lines().GetTextStr(), moved);
  const TSnapshot after = Snap(s);
  EXPECT_TRUE(s.UndoEdit());
  EXPECT_TRUE(Snap(s) == before);
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_TRUE(s.RedoEdit());
  EXPECT_TRUE(Snap(s) == after);
  EXPECT_FALSE(undo.CanRedo());
}

TEST(StoreUndo, TypingIntoAnEmptyWrappedDocumentAndUndoingAll) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  WrapOptionOf(s).SetWrapByte(10);
  s.SetWordWrap(true);
  s.UndoObj().MarkSaved();
  s.ReplaceRows(0, 0, std::string(23, 'q'));
  ASSERT_EQ(s.Count(), 3);
  EXPECT_EQ(s.RowEnd(1), reWrapped);
  EXPECT_EQ(s.RowEnd(2), reTextEnd);
  s.ReplaceRows(2, 1, "qqq\r\n");  // end the text with a line break
  EXPECT_EQ(view.Lines().GetTextStr(), std::string(23, 'q') + "\r\n");
  while (s.UndoEdit()) {
  }
  EXPECT_EQ(s.Count(), 0);
  EXPECT_TRUE(s.UndoObj().IsAtSavedState());
  while (s.RedoEdit()) {
  }
  EXPECT_EQ(view.Lines().GetTextStr(), std::string(23, 'q') + "\r\n");
  EXPECT_EQ(s.RowEnd(s.Count() - 1), reLineEnd);
}

TEST(StoreWrap, WordWrapOffAndOnGivesTheSameRowsAndClearsUndo) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  WrapOptionOf(s).SetWrapByte(10);
  s.SetWordWrap(true);
  view.Lines().SetTextStr(std::string(25, 'a') + "\r\n" + std::string(10, 'b') + "\r\nc");
  s.SetRowEnd(s.Count() - 1, reTextEnd);
  ASSERT_EQ(s.Count(), 6);  // 10, 10, 5, 10, empty, c
  const TSnapshot wrapped = Snap(s);
  s.ReplaceRows(5, 1, "cd");
  ASSERT_TRUE(s.UndoObj().CanUndo());
  s.ReplaceRows(5, 1, "c");
  s.SetWordWrap(false);
  EXPECT_FALSE(s.UndoObj().CanUndo());
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.RowEnd(2), reTextEnd);
  s.SetWordWrap(true);
  EXPECT_TRUE(Snap(s) == wrapped);
  EXPECT_FALSE(s.UndoObj().CanUndo());
}

TEST(StoreWrap, WrapOptionChangeRewrapsAndClearsUndo) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  s.SetWordWrap(true);
  view.Lines().SetTextStr(std::string(100, 'a') + "\r\n");
  EXPECT_EQ(s.Count(), 2);  // 80 and 20 columns
  s.ReplaceRows(1, 1, std::string(20, 'b') + "\r\n");
  TVornEditWrapOption narrow;
  narrow.SetWrapByte(30);
  WrapOptionOf(s).Assign(narrow);
  EXPECT_FALSE(s.UndoObj().CanUndo());
  EXPECT_EQ(s.Count(), 4);
  EXPECT_EQ(s.Row(3), std::string(10, 'b'));
  EXPECT_EQ(view.Lines().Get(0), std::string(80, 'a') + std::string(20, 'b'));
  // Same row count, different cut: the rows are still rewritten.
  TVornEditWrapOption other = narrow;
  other.SetWrapByte(34);
  WrapOptionOf(s).Assign(other);
  EXPECT_EQ(s.Count(), 3);
  other.SetWrapByte(35);
  WrapOptionOf(s).Assign(other);
  EXPECT_EQ(s.Row(0), std::string(35, 'a'));
}

TEST(StoreWrap, TabWidthChangeRewrapsLikeAnOptionChange) {
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  WrapOptionOf(s).SetWrapByte(10);
  s.SetWordWrap(true);
  view.Lines().SetTextStr("ab\tcdefghij\r\n");
  EXPECT_EQ(s.Count(), 2);  // the tab runs to column 8: "ab\tcd" fills the first row
  s.ReplaceRows(1, 1, "ghijk\r\n");
  auto& wrapper = dynamic_cast<TVornEditRowWrapper&>(s.Wrapper());
  wrapper.SetTabSpaceCount(4);
  EXPECT_FALSE(s.UndoObj().CanUndo());
  EXPECT_EQ(s.Row(0), "ab\tcdghij");  // the tab now takes two columns
  EXPECT_EQ(s.Row(1), "k");
}

}  // namespace
}  // namespace vorn
