// The change value the store sends its views: extent, kind, origin and line delta, one per
// update block, checked against the rows before and after; and NUL bytes on every way in.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TempFolder.h"
#include "layout/StoreWrap.h"
#include "store/HeadlessView.h"
#include "store/ScreenStrings.h"

namespace vorn {
namespace {

class TRecordingView : public TVornEditHeadlessView {
public:
  using TVornEditHeadlessView::TVornEditHeadlessView;
  void StoreChanged(const TStoreChange& change) override {
    TVornEditHeadlessView::StoreChanged(change);
    seen.push_back(change);
  }
  std::vector<TStoreChange> seen;
};

using TRows = std::vector<std::pair<std::string, TRowEnd>>;

TRows RowsOf(const TVornEditScreenStrings& s) {
  TRows rows;
  s.ForEachRow(0, s.Count(), [&](std::string_view row, TRowWord w) { rows.emplace_back(std::string(row), w.End()); });
  return rows;
}

std::string RandomPiece(std::mt19937& rng) {
  static const char* const kParts[] = {"a", "bcdef", "\x82\xa0", "\r\n", " ", "\t", "wxyz "};
  std::string s;
  for (int n = static_cast<int>(rng() % 6); n > 0; --n) s += kParts[rng() % 7];
  return s;
}

void RandomEdit(std::mt19937& rng, TVornEditScreenStrings& s) {
  const int count = s.Count();
  const int a = static_cast<int>(rng() % static_cast<unsigned>(count + 1));
  if (rng() % 3 == 0 && a < count) {
    const std::size_t len = s.Row(a).size();
    const std::size_t byte = rng() % (len + 1);
    s.ReplaceInRow(a, byte, rng() % (len - byte + 1), RandomPiece(rng), TRowCol{a, 0});
    return;
  }
  const int n = static_cast<int>(rng() % 3) % (count - a + 1);
  s.ReplaceRows(a, n, RandomPiece(rng));
}

// Rows before FirstRow and rows after the removed ones are the same rows before and after: the
// change names every row that differs, however many edits one update block held.
TEST(StoreChange, OneChangePerUpdateBlockNamesEveryRowThatDiffers) {
  for (unsigned seed = 1; seed <= 16; ++seed) {
    std::mt19937 rng(seed);
    const bool wrapped = seed % 2 == 0;
    TRecordingView view(wrapped ? NewWrappedStore() : std::make_shared<TVornEditScreenStrings>());
    TVornEditScreenStrings& s = *view.Store();
    if (wrapped) {
      WrapOptionOf(s).SetWrapByte(12);
      s.SetWordWrap(true);
    }
    std::string text;
    for (int i = 0; i < 30; ++i) text += RandomPiece(rng) + "\r\n";
    view.Lines().SetTextStr(text);
    for (int round = 0; round < 300; ++round) {
      const TRows before = RowsOf(s);
      const int linesBefore = s.LineCount();
      view.seen.clear();
      const int edits = 1 + static_cast<int>(rng() % 4);
      s.BeginUpdate();
      for (int i = 0; i < edits; ++i) RandomEdit(rng, s);
      s.EndUpdate();
      const TRows after = RowsOf(s);
      const std::string where = "seed " + std::to_string(seed) + " round " + std::to_string(round);
      if (view.seen.empty()) {
        ASSERT_EQ(before, after) << where;
        continue;
      }
      ASSERT_EQ(view.seen.size(), 1u) << where;
      const TStoreChange& c = view.seen[0];
      ASSERT_EQ(c.Kind, scEdit) << where;
      ASSERT_GE(c.FirstRow, 0) << where;
      ASSERT_LE(c.FirstRow + c.RowsRemoved, static_cast<int>(before.size())) << where;
      ASSERT_EQ(static_cast<int>(after.size()), static_cast<int>(before.size()) + c.RowDelta()) << where;
      for (int r = 0; r < c.FirstRow; ++r) ASSERT_EQ(before[r], after[r]) << where << " row " << r;
      for (int r = c.FirstRow + c.RowsRemoved; r < static_cast<int>(before.size()); ++r)
        ASSERT_EQ(before[r], after[r + c.RowDelta()]) << where << " row " << r;
      ASSERT_EQ(c.LineDelta, s.LineCount() - linesBefore) << where;
    }
  }
}

TEST(StoreChange, KindsAndOriginsOfEditsUndoRedoLoadAndRewrap) {
  TRecordingView view(NewWrappedStore());
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("one\r\ntwo\r\nthree\r\n");
  ASSERT_EQ(view.seen.size(), 1u);
  EXPECT_EQ(view.seen[0].Kind, scLoad);
  EXPECT_EQ(view.seen[0].RowsInserted, 3);
  EXPECT_FALSE(view.seen[0].Origin);

  view.seen.clear();
  s.ReplaceRows(1, 1, "TWO\r\n", TRowCol{1, 2});
  view.SetCaretPos(2, 4);
  ASSERT_TRUE(view.Undo());
  ASSERT_TRUE(view.Redo());
  // The undo reaches the loaded text again: its modified-row marks go.
  ASSERT_EQ(view.seen.size(), 4u);
  EXPECT_EQ(view.seen[0].Kind, scEdit);
  EXPECT_EQ(view.seen[0].Origin, (TRowCol{1, 2}));
  EXPECT_EQ(view.seen[1].Kind, scUndo);
  EXPECT_EQ(view.seen[1].Origin, (TRowCol{2, 4})) << "the caret the undo was asked from";
  EXPECT_EQ(view.seen[1].FirstRow, 1);
  EXPECT_EQ(view.seen[2].Kind, scMarks);
  EXPECT_EQ(view.seen[3].Kind, scRedo);

  view.seen.clear();
  view.Lines().SetTextStr("x\r\n");
  ASSERT_EQ(view.seen.size(), 1u) << "clearing and loading is one change";
  EXPECT_EQ(view.seen[0].Kind, scLoad);
  EXPECT_EQ(view.seen[0].RowsRemoved, 3);
  EXPECT_EQ(view.seen[0].RowsInserted, 1);

  view.seen.clear();
  WrapOptionOf(s).SetWrapByte(10);
  s.SetWordWrap(true);
  WrapOptionOf(s).SetWrapByte(12);
  ASSERT_EQ(view.seen.size(), 2u);
  EXPECT_EQ(view.seen[0].Kind, scRewrap);
  EXPECT_EQ(view.seen[1].Kind, scRewrap);
  EXPECT_FALSE(s.UndoObj().CanUndo());
}

// Marks are the margins' business: alone they are a marks change; moved by an edit they ride on
// the edit's change, which already says which lines moved.
TEST(StoreChange, MarksChangeAloneOrWithTheEditThatMovesThem) {
  TRecordingView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\nc\r\n");
  view.seen.clear();
  s.LineMarkTable().SetNumbered(1, 2);
  ASSERT_EQ(view.seen.size(), 1u);
  EXPECT_EQ(view.seen[0].Kind, scMarks);

  view.seen.clear();
  s.ReplaceRows(0, 0, "new\r\n");
  EXPECT_EQ(s.LineMarkTable().Numbered(1), 3);
  ASSERT_EQ(view.seen.size(), 1u);
  EXPECT_EQ(view.seen[0].Kind, scEdit);
  EXPECT_EQ(view.seen[0].LineDelta, 1);

  view.seen.clear();
  s.UndoObj().MarkSaved();
  ASSERT_EQ(view.seen.size(), 1u) << "the modified-row marks were cleared";
  EXPECT_EQ(view.seen[0].Kind, scMarks);
}

// Rows never hold a NUL: splitting text into rows ends at one, so undo would put back less than
// it took. Every way in makes it a space, as reading a file does.
TEST(StoreNul, EveryWayInTurnsNulIntoASpaceAndUndoGivesBackTheExactBytes) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("\r\n\r\n");
  const std::string original = view.Lines().GetTextStr();
  EXPECT_EQ(s.ReplaceRows(s.Count(), 0, std::string("x\0y\0\r\n", 6)), 2);
  EXPECT_EQ(view.Lines().GetTextStr(), "\r\n\r\nx y \r\n");
  EXPECT_EQ(s.ReplaceInRow(0, 0, 0, std::string("\0", 1), TRowCol{}), 1);
  EXPECT_EQ(s.Row(0), " ");
  EXPECT_EQ(s.ReplaceInRow(0, 0, 0, "z", TRowCol{}), 0);
  while (view.Undo()) {
  }
  EXPECT_EQ(view.Lines().GetTextStr(), original);

  testing::TTempFolder folder;
  view.Lines().LoadFromFile(folder.Write("nul.txt", std::string("a\0b\r\nc\0\x1A\0", 9)));
  EXPECT_EQ(view.Lines().GetTextStr(), "a b\r\nc ");
  EXPECT_EQ(s.RowEnd(1), reTextEnd);
}

}  // namespace
}  // namespace vorn
