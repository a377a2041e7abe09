#include "store/Undo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

// A one-row-per-line document whose edits replace single rows, enough to drive the undo
// object through its bookkeeping without a real store.
struct TRowDoc : TUndoTarget {
  std::vector<std::string> rows;
  std::vector<bool> modified;
  int caretRow = 0, caretCol = 0;
  TVornEditUndoObj undo{*this};

  explicit TRowDoc(std::vector<std::string> r) : rows(std::move(r)), modified(rows.size(), false) {}

  // Replaces row `row` by `text` (no line breaks), as the edit primitive would.
  void Edit(int row, const std::string& text) {
    TUndoData& r = *undo.NewRecord();
    r.FirstRow = row;
    r.OldText = rows[row] + "\r\n";
    r.OldEnd = reLineEnd;
    r.NewRowCount = 1;
    rows[row] = text;
    modified[row] = true;
    caretRow = row;
    caretCol = static_cast<int>(text.size());
  }

  void UndoGetCaret(int& row, int& col) const override {
    row = caretRow;
    col = caretCol;
  }
  void UndoSetCaret(int row, int col) override {
    caretRow = row;
    caretCol = col;
  }
  TUndoInverse UndoApply(const TUndoData& r) override {
    TUndoInverse inv;
    inv.FirstRow = r.FirstRow;
    std::string cur;
    for (int i = 0; i < r.NewRowCount; ++i) cur += rows[r.FirstRow + i] + "\r\n";
    rows.erase(rows.begin() + r.FirstRow, rows.begin() + r.FirstRow + r.NewRowCount);
    modified.erase(modified.begin() + r.FirstRow, modified.begin() + r.FirstRow + r.NewRowCount);
    inv.OldText = cur;
    inv.OldEnd = r.NewRowCount > 0 ? reLineEnd : reNone;
    if (r.OldEnd != reNone && !r.OldText.empty()) {
      std::vector<std::string> put;
      for (std::size_t p = 0; p < r.OldText.size();) {
        std::size_t e = r.OldText.find("\r\n", p);
        put.push_back(r.OldText.substr(p, e - p));
        p = e + 2;
      }
      rows.insert(rows.begin() + r.FirstRow, put.begin(), put.end());
      modified.insert(modified.begin() + r.FirstRow, put.size(), true);
      inv.NewRowCount = static_cast<int>(put.size());
    }
    return inv;
  }
  void UndoClearRowModified() override { modified.assign(rows.size(), false); }
  bool AnyModified() const {
    for (bool m : modified)
      if (m) return true;
    return false;
  }
};

TEST(UndoObj, UndoRestoresTextAndCaretAndRedoReappliesIt) {
  TRowDoc d({"abc", "def"});
  d.caretRow = 1;
  d.caretCol = 1;
  d.Edit(1, "dxef");
  EXPECT_TRUE(d.undo.CanUndo());
  d.undo.Undo();
  EXPECT_EQ(d.rows, (std::vector<std::string>{"abc", "def"}));
  EXPECT_EQ(d.caretRow, 1);
  EXPECT_EQ(d.caretCol, 1);
  EXPECT_FALSE(d.undo.CanUndo());
  ASSERT_TRUE(d.undo.CanRedo());
  d.undo.Redo();
  EXPECT_EQ(d.rows, (std::vector<std::string>{"abc", "dxef"}));
  EXPECT_TRUE(d.undo.CanUndo());
  EXPECT_FALSE(d.undo.CanRedo());
  // Nothing to do on empty lists.
  d.undo.Redo();
  EXPECT_EQ(d.rows[1], "dxef");
}

TEST(UndoObj, NewEditAfterUndoEmptiesRedo) {
  TRowDoc d({"a"});
  d.Edit(0, "b");
  d.Edit(0, "c");
  d.undo.Undo();
  EXPECT_TRUE(d.undo.CanRedo());
  d.Edit(0, "d");
  EXPECT_FALSE(d.undo.CanRedo());
  d.undo.Undo();
  d.undo.Undo();
  EXPECT_EQ(d.rows[0], "a");
}

TEST(UndoObj, GroupIsUndoneAndRedoneByOneCommandInOrder) {
  TRowDoc d({"a", "b", "c"});
  d.Edit(0, "A");
  d.undo.BeginGroup();
  d.Edit(1, "B");
  d.undo.BeginGroup();  // nested groups still form one step
  d.Edit(2, "C");
  d.undo.EndGroup();
  d.Edit(1, "BB");
  d.undo.EndGroup();
  d.undo.EndGroup();  // never below zero
  EXPECT_EQ(d.undo.GroupDepth(), 0);
  ASSERT_EQ(d.undo.UndoList().Count(), 4);
  EXPECT_TRUE(d.undo.UndoList().Items(1).GroupStart);
  EXPECT_FALSE(d.undo.UndoList().Items(2).GroupStart);
  EXPECT_FALSE(d.undo.UndoList().Items(3).GroupStart);

  d.undo.Undo();
  EXPECT_EQ(d.rows, (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(d.undo.RedoList().Count(), 3);
  EXPECT_TRUE(d.undo.RedoList().Items(0).GroupStart);
  d.undo.Redo();
  EXPECT_EQ(d.rows, (std::vector<std::string>{"A", "BB", "C"}));
  ASSERT_EQ(d.undo.UndoList().Count(), 4);
  EXPECT_TRUE(d.undo.UndoList().Items(1).GroupStart);
  d.undo.Undo();
  d.undo.Undo();
  EXPECT_EQ(d.rows, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(UndoObj, LimitDropsOldestRecordsAndTheSavedBottom) {
  TRowDoc d({"x"});
  d.undo.MarkSaved();
  d.undo.SetLimit(10);
  EXPECT_EQ(d.undo.Limit(), 64);
  for (int i = 0; i < 65; ++i) d.Edit(0, std::to_string(i));
  EXPECT_EQ(d.undo.UndoList().Count(), 64);
  int undone = 0;
  while (d.undo.CanUndo()) {
    d.undo.Undo();
    ++undone;
  }
  EXPECT_EQ(undone, 64);
  EXPECT_EQ(d.rows[0], "0");
  EXPECT_FALSE(d.undo.IsAtSavedState());
}

TEST(UndoObj, UndoOfAGroupWhoseStartWasDroppedStopsAtTheListEnd) {
  TRowDoc d({"x"});
  d.undo.BeginGroup();
  for (int i = 0; i < 70; ++i) d.Edit(0, std::to_string(i));
  d.undo.EndGroup();
  d.undo.Undo();
  EXPECT_FALSE(d.undo.CanUndo());
  EXPECT_EQ(d.rows[0], "5");
  d.undo.Redo();
  EXPECT_EQ(d.rows[0], "69");
}

TEST(UndoObj, UndoingBackToTheSaveClearsTheModifiedState) {
  TRowDoc d({"a", "b"});
  d.undo.MarkSaved();
  EXPECT_TRUE(d.undo.IsAtSavedState());
  d.Edit(0, "A");
  EXPECT_FALSE(d.undo.IsAtSavedState());
  EXPECT_TRUE(d.AnyModified());
  d.undo.Undo();
  EXPECT_TRUE(d.undo.IsAtSavedState());
  EXPECT_FALSE(d.AnyModified());

  // Save in the middle, then leave and come back from both sides.
  d.Edit(0, "1");
  d.Edit(1, "2");
  d.undo.MarkSaved();
  EXPECT_FALSE(d.AnyModified());
  d.undo.Undo();
  EXPECT_FALSE(d.undo.IsAtSavedState());
  EXPECT_TRUE(d.AnyModified());
  d.undo.Redo();
  EXPECT_TRUE(d.undo.IsAtSavedState());
  EXPECT_FALSE(d.AnyModified());
  d.Edit(0, "3");
  d.undo.Undo();
  EXPECT_TRUE(d.undo.IsAtSavedState());
}

TEST(UndoObj, SavedStateInTheRedoFutureIsNotNow) {
  TRowDoc d({"a"});
  d.undo.MarkSaved();
  d.Edit(0, "b");
  d.undo.MarkSaved();
  d.undo.Undo();
  EXPECT_FALSE(d.undo.IsAtSavedState());
  d.undo.ClearSavedMarks();
  EXPECT_FALSE(d.undo.BottomIsSaved());
  d.undo.Redo();
  EXPECT_FALSE(d.undo.IsAtSavedState());
  d.undo.ClearAll();
  EXPECT_FALSE(d.undo.CanUndo() || d.undo.CanRedo());
}

}  // namespace
}  // namespace vorn
