// Edits inside one row against the same edits made by ReplaceRows of the whole row, and the
// final line break of texts that end in a lone CR or LF.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "store/HeadlessView.h"
#include "store/ScreenStrings.h"
#include "store/Undo.h"

namespace vorn {
namespace {

// Everything a view is told, in order, flattened to comparable tuples.
class TLoggingView : public TVornEditHeadlessView {
public:
  void StoreChanged(const TStoreChange& c) override {
    TVornEditHeadlessView::StoreChanged(c);
    const TRowCol origin = c.Origin.value_or(TRowCol{-1, -1});
    log.emplace_back(c.Kind, c.FirstRow, c.RowsRemoved, c.RowsInserted, c.LineIndex, c.LineDelta,
                     c.BracketFirst * 1000 + c.BracketLast, origin.Row * 1000 + origin.Col);
  }
  std::vector<std::tuple<int, int, int, int, int, int, int, int>> log;
};

std::string RowEnds(TVornEditScreenStrings& s) {
  std::string ends;
  for (int i = 0; i < s.Count(); ++i) ends += static_cast<char>('0' + s.RowEnd(i)) + std::string(s.RowModified(i) ? "*" : "");
  return ends;
}

TEST(ReplaceRows, ALoneFinalBreakEndsTheLineAndSurvivesUndoOfALaterEdit) {
  for (const char* brk : {"\r", "\n"}) {
    TVornEditHeadlessView view;
    TVornEditScreenStrings& s = *view.Store();
    view.Lines().SetTextStr("a\r\nb\r\n");
    s.ReplaceRows(s.Count(), 0, brk);
    EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nb\r\n\r\n");
    EXPECT_EQ(s.Count(), 3);
    EXPECT_EQ(s.RowEnd(2), reLineEnd);
    s.ReplaceRows(s.Count() - 1, 1, std::string("c") + brk);
    EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nb\r\nc\r\n");
    const std::string before = view.Lines().GetTextStr();
    s.ReplaceRows(1, 2, "x\r\n");
    s.UndoEdit();
    EXPECT_EQ(view.Lines().GetTextStr(), before) << "break " << int(brk[0]);
    EXPECT_EQ(s.Count(), 3);
  }
}

TEST(ReplaceInRow, TypingIntoALongRowKeepsOnlyTheReplacedBytesForUndo) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr(std::string(1 << 20, 'q'));
  s.SetRowEnd(0, reTextEnd);
  s.UndoObj().SetLimit(200);
  for (int i = 0; i < 100; ++i) s.ReplaceInRow(0, s.Row(0).size(), 0, "x", TRowCol{0, 0});
  const TVornEditUndoObj& undo = s.UndoObj();
  std::size_t kept = 0;
  for (int i = 0; i < undo.UndoList().Count(); ++i) kept += undo.UndoList().Items(i).OldText.size();
  EXPECT_EQ(kept, 0u);
  // The row grew in place: only the first keystroke moved the bytes out of the loaded buffer.
  const char* data = s.Row(0).data();
  s.ReplaceInRow(0, s.Row(0).size(), 0, "y", TRowCol{0, 0});
  EXPECT_EQ(s.Row(0).data(), data);
  EXPECT_EQ(s.Row(0).size(), (1u << 20) + 101);
  for (int i = 0; i < 101; ++i) s.UndoEdit();
  EXPECT_EQ(view.Lines().GetTextStr(), std::string(1 << 20, 'q'));
  EXPECT_EQ(s.RowEnd(0), reTextEnd);
}

TEST(ReplaceInRow, WritingInPlaceStepsTheBytesGeneration) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("abc\r\n");
  s.ReplaceInRow(0, 3, 0, "d", TRowCol{});
  const std::uint64_t generation = TPointerStringList::BytesGeneration();
  const char* data = s.Row(0).data();
  s.ReplaceInRow(0, 0, 1, "z", TRowCol{});
  EXPECT_EQ(s.Row(0).data(), data);
  EXPECT_NE(TPointerStringList::BytesGeneration(), generation);
  EXPECT_EQ(s.Row(0), "zbcd");
}

std::string RandomInsert(std::mt19937& rng) {
  static const char* const kParts[] = {"a", "bc", "\x82\xa0", "\t"};
  std::string s;
  const int n = static_cast<int>(rng() % 4);
  for (int i = 0; i < n; ++i) {
    const unsigned k = rng() % 20;
    if (k < 4) s += kParts[k];
    else if (k < 17) s += static_cast<char>('a' + k);
    else if (k == 17) s += "\r\n";
    else if (k == 18) s += rng() % 2 ? "\n" : "\r";
    else s += std::string(1, '\0');
  }
  return s;
}

// Both stores get the same steps; store a edits inside rows, store b rebuilds the whole row.
struct TPair {
  TLoggingView a, b;
  TVornEditScreenStrings& sa = *a.Store();
  TVornEditScreenStrings& sb = *b.Store();

  void Load(const std::string& text, bool textEnd) {
    for (TLoggingView* v : {&a, &b}) {
      v->Lines().SetTextStr(text);
      if (textEnd && v->Store()->Count() > 0) v->Store()->SetRowEnd(v->Store()->Count() - 1, reTextEnd);
      v->Store()->UndoObj().ClearAll();
      v->Store()->UndoObj().MarkSaved();
      v->log.clear();
    }
  }
  void InRow(int row, std::size_t byte, std::size_t removed, const std::string& insert, TRowCol origin) {
    sa.ReplaceInRow(row, byte, removed, insert, origin);
    const std::string old(sb.Row(row));
    std::string whole = old.substr(0, byte) + insert + old.substr(byte + removed);
    if (sb.RowEnd(row) == reLineEnd) whole += "\r\n";
    sb.ReplaceRows(row, 1, whole, origin);
  }
};

void ExpectSame(TPair& p, const std::string& where) {
  ASSERT_EQ(p.a.Lines().GetTextStr(), p.b.Lines().GetTextStr()) << where;
  ASSERT_EQ(RowEnds(p.sa), RowEnds(p.sb)) << where;
  ASSERT_EQ(p.sa.UndoObj().IsAtSavedState(), p.sb.UndoObj().IsAtSavedState()) << where;
  ASSERT_EQ(p.sa.UndoObj().CanUndo(), p.sb.UndoObj().CanUndo()) << where;
  ASSERT_EQ(p.sa.UndoObj().CanRedo(), p.sb.UndoObj().CanRedo()) << where;
  ASSERT_EQ(p.a.log, p.b.log) << where;
  ASSERT_TRUE(p.sa.RowModifiedCountsConsistent()) << where;
}

TEST(ReplaceInRow, RandomEditsUndoAndRedoMatchWholeRowReplaces) {
  for (unsigned seed = 1; seed <= 8; ++seed) {
    std::mt19937 rng(seed);
    TPair p;
    std::string text;
    const int rows = static_cast<int>(rng() % 6);
    for (int i = 0; i < rows; ++i) text += std::string(rng() % 5, static_cast<char>('k' + i)) + "\r\n";
    if (seed % 2) text += "end";
    p.Load(text, seed % 2 == 1);
    for (int step = 0; step < 1500; ++step) {
      const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
      const unsigned op = rng() % 20;
      const int count = p.sa.Count();
      if (op < 12 && count > 0) {
        const int row = static_cast<int>(rng() % static_cast<unsigned>(count));
        const std::size_t len = p.sa.Row(row).size();
        const std::size_t byte = rng() % (len + 1);
        const std::size_t removed = rng() % 3 == 0 ? rng() % (len - byte + 1) : 0;
        const TRowCol origin{row, static_cast<int>(rng() % 9)};
        p.InRow(row, byte, removed, RandomInsert(rng), origin);
      } else if (op < 15) {
        const TRowCol caret{static_cast<int>(rng() % 5), static_cast<int>(rng() % 5)};
        const auto ca = p.sa.UndoEdit(caret);
        ASSERT_EQ(ca, p.sb.UndoEdit(caret)) << where;
      } else if (op < 17) {
        const TRowCol caret{static_cast<int>(rng() % 5), static_cast<int>(rng() % 5)};
        const auto ca = p.sa.RedoEdit(caret);
        ASSERT_EQ(ca, p.sb.RedoEdit(caret)) << where;
      } else if (op == 17) {
        p.sa.UndoObj().MarkSaved();
        p.sb.UndoObj().MarkSaved();
      } else {
        // Whole-row edits through ReplaceRows on both, so that both kinds of step interleave.
        const int a = count > 0 ? static_cast<int>(rng() % static_cast<unsigned>(count)) : 0;
        const int n = count > a ? static_cast<int>(rng() % 2) : 0;
        const std::string insert = rng() % 2 ? "w\r\n" : "v";
        p.sa.ReplaceRows(a, n, insert);
        p.sb.ReplaceRows(a, n, insert);
      }
      ExpectSame(p, where);
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace vorn
