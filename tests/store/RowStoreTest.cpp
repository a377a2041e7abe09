// Line store tests: row words, the block index, ReplaceRows against a byte-string model, views.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "store/HeadlessView.h"
#include "store/ScreenStrings.h"

namespace vorn {
namespace {

// A view that records the changes the store sends it.
class TRecordingView : public TVornEditHeadlessView {
public:
  void StoreChanged(const TStoreChange& change) override {
    TVornEditHeadlessView::StoreChanged(change);
    seen.push_back(change);
  }
  const TStoreChange& Last() const { return seen.back(); }

  std::vector<TStoreChange> seen;
};

std::vector<std::string> RowsOf(TVornEditScreenStrings& s) {
  std::vector<std::string> rows;
  for (int i = 0; i < s.Count(); ++i) rows.push_back(s.Strings(i));
  return rows;
}

TEST(PointerStringList, FieldWritesLeaveTheOtherBitsOfTheWord) {
  TVornEditStringList list;
  list.Add("x");
  EXPECT_EQ(list.Pointers(0), 0u);
  EXPECT_EQ(list.BracketState(0), -2);
  list.SetDiffKind(0, 5);
  list.SetDiffIndex(0, 0xBEEF);
  list.SetRowModified(0, true);
  list.SetBracketState(0, 13);
  list.SetRowEnd(0, reTextEnd);
  EXPECT_EQ(list.Pointers(0), 0x5BEEF000u | (1u << 9) | (15u << 4) | 2u);
  list.SetBracketState(0, -1);
  EXPECT_EQ(list.BracketState(0), -1);
  EXPECT_EQ(list.DiffIndex(0), 0xBEEF);
  EXPECT_EQ(list.DiffKind(0), 5);
  EXPECT_TRUE(list.RowModified(0));
  EXPECT_EQ(list.RowEnd(0), reTextEnd);
  list.SetRowModified(0, false);
  EXPECT_EQ(list.Pointers(0) & 0xF00u, 0u);
}

TEST(PointerStringList, InsertAndDeleteKeepWordsWithTheirStrings) {
  TVornEditStringList list;
  for (int i = 0; i < 5000; ++i) {
    list.Insert(i / 2, std::to_string(i));
    list.SetPointers(i / 2, static_cast<std::uint32_t>(i));
  }
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Strings(i), std::to_string(list.Pointers(i)));
  while (list.Count() > 3) list.Delete(list.Count() / 3);
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Strings(i), std::to_string(list.Pointers(i)));
}

// What the index should hold for one row: its word (raw, read with the model's own masks)
// and its bytes.
struct TIndexRow {
  std::uint32_t word = 0;
  const char* data = nullptr;
  std::uint32_t length = 0;
};

// A text whose rows, cut as a loaded file's are, become packed blocks of the index.
struct TPackedSource {
  std::string text;
  std::vector<std::pair<std::size_t, std::size_t>> rows;  // begin, end in text
  explicit TPackedSource(std::mt19937& rng) {
    for (int r = 0; r < 40000; ++r) {
      const std::size_t begin = text.size();
      text.append(rng() % 6 == 0 ? 0 : rng() % 40, static_cast<char>('a' + r % 26));
      rows.emplace_back(begin, text.size());
      text += rng() % 2 ? "\r\n" : "\n";
    }
  }
};

TEST(RowIndex, RandomBulkInsertsErasesAndWordWritesMatchAVector) {
  // Words carry the modified bit in about half the rows, so splits, merges and erases all move
  // marked rows between blocks; the per-block counts are checked against a recount each step.
  // Blocks appended packed are unpacked by row moves and byte writes at any point, and keep a
  // shared word through bulk writes over whole blocks.
  constexpr std::uint32_t kModifiedBit = 1u << 9;
  TRowIndex index;
  std::vector<TIndexRow> model;
  std::mt19937 rng(7);
  const TPackedSource source(rng);
  std::size_t sourceRow = 0;
  std::uint32_t next = 0;
  auto lineEndsOf = [&](int first, int n) {
    int ends = 0;
    for (int i = first; i < first + n; ++i) ends += (model[static_cast<std::size_t>(i)].word & 0xF) != 1;
    return ends;
  };
  for (int step = 0; step < 900; ++step) {
    int size = index.Size();
    unsigned op = rng() % 8;
    if (size > 0 && op == 4) {
      // Bulk field writes, as the bracket and undo code make them.
      int first = static_cast<int>(rng() % static_cast<unsigned>(size));
      int n = static_cast<int>(rng() % static_cast<unsigned>(size - first + 1));
      bool on = rng() % 2 != 0;
      index.ForRange(first, n, [&](TRowSlot& s) { s.word.SetModified(on); });
      for (int i = first; i < first + n; ++i) {
        std::uint32_t& w = model[static_cast<std::size_t>(i)].word;
        w = on ? w | kModifiedBit : w & ~kModifiedBit;
      }
    } else if (size > 0 && op == 6) {
      // A bulk walk that gives one row other bytes part way through, and words to the others.
      int first = static_cast<int>(rng() % static_cast<unsigned>(size));
      int n = 1 + static_cast<int>(rng() % static_cast<unsigned>(size - first));
      const int hit = first + static_cast<int>(rng() % static_cast<unsigned>(n));
      const std::uint32_t word = (next++ << 4) | (rng() % 3);
      int i = first;
      index.ForRange(first, n, [&](TRowSlot& s) {
        if (i++ == hit) {
          s.data = source.text.data() + 1;
          s.lenAndFlag = 3;
        } else if (i % 3 == 0) {
          s.word = TRowWord::FromRaw(word);
        }
      });
      for (int r = first; r < first + n; ++r) {
        TIndexRow& m = model[static_cast<std::size_t>(r)];
        if (r == hit) {
          m.data = source.text.data() + 1;
          m.length = 3;
        } else if ((r + 1) % 3 == 0) {
          m.word = word;
        }
      }
    } else if (op == 5 && rng() % 4 == 0) {
      index.ClearModified();
      for (TIndexRow& m : model) m.word &= ~kModifiedBit;
    } else if (op == 5 && rng() % 3 == 0) {
      // A loaded file's blocks, appended whole (full ones from the slot pool).
      TRowSlots block(rng() % 2 ? TRowIndex::kBlockRows : 1 + rng() % 700);
      for (TRowSlot& s : block) s.word = TRowWord::FromRaw((next++ << 4) | (rng() % 3));
      for (const TRowSlot& s : block) model.push_back({s.word.Raw(), nullptr, 0});
      index.AppendBlock(std::move(block));
    } else if (op == 7) {
      // A loaded file's rows, kept packed; one word for all, as the loader gives them.
      const std::size_t rows = std::min<std::size_t>(rng() % 3 == 0 ? TRowIndex::kPackedBlockRows : 1 + rng() % 1500,
                                                     source.rows.size() - sourceRow);
      if (rows == 0) continue;
      const char* base = source.text.data() + source.rows[sourceRow].first;
      const TRowWord word = TRowWord::FromRaw(rng() % 2 ? 0 : kModifiedBit | 1);
      TPackedRows packed(base, word);
      for (std::size_t r = sourceRow; r < sourceRow + rows; ++r) {
        const char* b = source.text.data() + source.rows[r].first;
        const char* e = source.text.data() + source.rows[r].second;
        ASSERT_TRUE(packed.Fits(b, e));
        packed.Add(b, e);
        model.push_back({word.Raw(), b == e ? nullptr : b, static_cast<std::uint32_t>(e - b)});
      }
      sourceRow += rows;
      index.AppendPacked(std::move(packed));
    } else if (size > 0 && op == 0) {
      int pos = static_cast<int>(rng() % static_cast<unsigned>(size));
      int n = 1 + static_cast<int>(rng() % static_cast<unsigned>(std::min(size - pos, 3000)));
      index.Erase(pos, n);
      model.erase(model.begin() + pos, model.begin() + pos + n);
    } else if (size > 0 && op == 1) {
      // Word writes must reach the cached line-end counts; byte writes unpack their block.
      for (int j = 0; j < 20; ++j) {
        int i = static_cast<int>(rng() % static_cast<unsigned>(size));
        std::uint32_t w = (next++ << 4) | (rng() % 3);
        index.SetWord(i, TRowWord::FromRaw(w));
        model[static_cast<std::size_t>(i)].word = w;
      }
      const int i = static_cast<int>(rng() % static_cast<unsigned>(size));
      index.SetBytes(i, source.text.data(), 2);
      model[static_cast<std::size_t>(i)].data = source.text.data();
      model[static_cast<std::size_t>(i)].length = 2;
    } else {
      int pos = static_cast<int>(rng() % static_cast<unsigned>(size + 1));
      int n = 1 + static_cast<int>(rng() % (rng() % 4 == 0 ? 5000u : 40u));
      std::vector<TRowSlot> slots(static_cast<std::size_t>(n));
      for (TRowSlot& s : slots) s.word = TRowWord::FromRaw((next++ << 4) | (rng() % 3));
      index.Insert(pos, slots.data(), n);
      model.insert(model.begin() + pos, static_cast<std::size_t>(n), TIndexRow{});
      for (int j = 0; j < n; ++j) model[static_cast<std::size_t>(pos + j)].word = slots[static_cast<std::size_t>(j)].word.Raw();
    }
    size = index.Size();
    ASSERT_EQ(size, static_cast<int>(model.size()));
    ASSERT_TRUE(index.ModifiedCountsConsistent()) << step;
    int marked = 0;
    for (const TIndexRow& m : model) marked += (m.word & kModifiedBit) != 0;
    ASSERT_EQ(index.ModifiedRows(), marked) << step;
    if (size > 0) {
      int first = static_cast<int>(rng() % static_cast<unsigned>(size));
      int n = static_cast<int>(rng() % static_cast<unsigned>(size - first + 1));
      ASSERT_EQ(index.CountLineEnds(first, n), lineEndsOf(first, n));
      ASSERT_EQ(index.CountLineEnds(0, size), lineEndsOf(0, size));
      // Prefix counts come from kept sums that every kind of change must invalidate.
      const int prefix = static_cast<int>(rng() % static_cast<unsigned>(size + 1));
      ASSERT_EQ(index.CountLineEnds(0, prefix), lineEndsOf(0, prefix)) << step;
      std::int64_t offset = 0;
      for (int i = 0; i < prefix; ++i) {
        const TIndexRow& m = model[static_cast<std::size_t>(i)];
        offset += m.length + ((m.word & 0xF) == 0 ? 2 : 0);
      }
      ASSERT_EQ(index.TextOffsetOfRow(prefix), offset) << step;
      int total = lineEndsOf(0, size);
      int nth = 1 + static_cast<int>(rng() % static_cast<unsigned>(total + 2));
      int expected = -1;
      for (int i = 0, seen = 0; i < size; ++i)
        if ((model[static_cast<std::size_t>(i)].word & 0xF) != 1 && ++seen == nth) {
          expected = i;
          break;
        }
      ASSERT_EQ(index.FindNthLineEnd(nth), expected);
    }
    if (step % 20 == 0 || size < 50) {
      for (int i = 0; i < size; ++i) {
        const TRowSlot s = index.At(i);
        const TIndexRow& m = model[static_cast<std::size_t>(i)];
        ASSERT_EQ(s.word.Raw(), m.word) << i;
        ASSERT_EQ(s.data, m.data) << step << " " << i;
        ASSERT_EQ(s.Length(), m.length) << step << " " << i;
      }
      int i = 0;
      index.ForRange(0, size, [&](const TRowSlot& s) {
        ASSERT_EQ(s.word.Raw(), model[static_cast<std::size_t>(i)].word);
        ASSERT_EQ(s.data, model[static_cast<std::size_t>(i++)].data);
      });
    }
  }
  EXPECT_GT(sourceRow, 3000u);
}

TEST(LineStore, LinesOfAWrappedStoreMatchACountFromTheTop) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  std::string text;
  for (int i = 0; i < 5000; ++i) text += std::to_string(i) + "\r\n";
  view.Lines().SetTextStr(text);
  s.SetWordWrap(true);  // the base wrapper leaves the rows; mark wrapped rows by hand
  std::mt19937 rng(3);
  for (int i = 0; i < s.Count(); ++i)
    if (rng() % 3 == 0) s.SetRowEnd(i, reWrapped);
  s.SetRowEnd(s.Count() - 1, reWrapped);
  std::vector<int> lineStarts{0};
  for (int i = 0; i < s.Count() - 1; ++i)
    if (s.RowEnd(i) != reWrapped) lineStarts.push_back(i + 1);
  ASSERT_EQ(view.Lines().Count(), static_cast<int>(lineStarts.size()));
  for (std::size_t line = 0; line < lineStarts.size(); line += 37) {
    EXPECT_EQ(s.LineToRow(static_cast<int>(line)), lineStarts[line]);
    EXPECT_EQ(s.CountLinesBefore(lineStarts[line]), static_cast<int>(line));
  }
  EXPECT_EQ(s.LineToRow(static_cast<int>(lineStarts.size())), s.Count());
}

TEST(LineStoreFacade, EmptyStoreAddsOneLineEndRow) {
  TVornEditHeadlessView view;
  TVornEditStrings& lines = view.Lines();
  EXPECT_EQ(lines.Count(), 0);
  EXPECT_EQ(view.Store()->Count(), 0);
  EXPECT_EQ(lines.Add("x"), 0);
  EXPECT_EQ(view.Store()->Count(), 1);
  EXPECT_EQ(view.Store()->RowEnd(0), reLineEnd);
  EXPECT_EQ(lines.GetTextStr(), "x\r\n");
}

TEST(LineStoreFacade, SetTextStrSplitsAtEveryBreakKindAndStopsAtNul) {
  TVornEditHeadlessView view;
  TVornEditStrings& lines = view.Lines();
  lines.SetTextStr("a\r\nb");
  EXPECT_EQ(RowsOf(*view.Store()), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(view.Store()->RowEnd(1), reLineEnd);
  view.Store()->SetRowEnd(1, reTextEnd);
  EXPECT_EQ(lines.GetTextStr(), "a\r\nb");

  lines.SetTextStr("a\r\n");
  EXPECT_EQ(RowsOf(*view.Store()), (std::vector<std::string>{"a"}));
  lines.SetTextStr("a\n\rb");
  EXPECT_EQ(RowsOf(*view.Store()), (std::vector<std::string>{"a", "", "b"}));
  lines.SetTextStr(std::string("a\rb\0c\r\nd", 8));
  EXPECT_EQ(RowsOf(*view.Store()), (std::vector<std::string>{"a", "b"}));
  lines.SetTextStr("x\r\ny");
  for (int i = 0; i < view.Store()->Count(); ++i) EXPECT_FALSE(view.Store()->RowModified(i));
  lines.SetTextStr("");
  EXPECT_EQ(view.Store()->Count(), 0);
}

// WriteText gives out runs of rows that lie together in the loaded buffer as one piece; the
// pieces must still add up to the rows and breaks one by one, after any edits.
TEST(LineStoreFacade, WriteTextOfLoadedAndEditedTextMatchesRowByRowText) {
  std::mt19937 rng(2024);
  const char* const kBits[] = {"a", "\x82\xA0", "\r\n", "\n", "\r", "xyz", "\r\n\r\n", " "};
  for (int round = 0; round < 40; ++round) {
    TVornEditHeadlessView view;
    TVornEditScreenStrings& s = *view.Store();
    std::string text;
    const std::size_t length = round % 4 == 0 ? 30000 : rng() % 200;
    while (text.size() < length) text += kBits[rng() % 8];
    view.Lines().SetTextStr(text);
    if (round % 3 == 1) s.SetRowEnd(s.Count() - 1, reTextEnd);
    if (round % 5 == 2) s.SetWordWrap(true);
    for (int edit = 0; edit < static_cast<int>(rng() % 6) && s.Count() > 0; ++edit) {
      const int row = static_cast<int>(rng() % static_cast<unsigned>(s.Count()));
      s.ReplaceRows(row, static_cast<int>(rng() % 3) % (s.Count() - row + 1), edit % 2 ? "new\r\n" : "");
    }
    for (std::string_view lineBreak : {std::string_view("\r\n"), std::string_view("\n")}) {
      std::string expected;
      s.ForEachRow(0, s.Count(), [&](std::string_view row, TRowWord word) {
        expected.append(row);
        if (word.End() == reLineEnd) expected.append(lineBreak);
      });
      std::string written;
      std::size_t pieces = 0;
      view.Lines().WriteText([&](std::string_view piece) {
        written.append(piece);
        ++pieces;
      }, lineBreak);
      ASSERT_EQ(written, expected) << "round " << round;
      if (round % 4 == 0 && lineBreak == "\r\n" && s.Count() > 100 && !s.WordWrap()) {
        EXPECT_LT(pieces, static_cast<std::size_t>(s.Count()));
      }
    }
  }
}

TEST(LineStoreFacade, AddAfterTextEndRowBreaksTheOldLastLine) {
  TVornEditHeadlessView view;
  TVornEditStrings& lines = view.Lines();
  lines.SetTextStr("a\r\nb");
  view.Store()->SetRowEnd(1, reTextEnd);
  lines.Add("c");
  EXPECT_EQ(lines.GetTextStr(), "a\r\nb\r\nc");
  EXPECT_EQ(view.Store()->RowEnd(2), reTextEnd);
  EXPECT_EQ(lines.Count(), 3);
}

TEST(LineStoreFacade, GetPutInsertDeleteWorkOnLines) {
  TVornEditHeadlessView view;
  TVornEditStrings& lines = view.Lines();
  lines.SetTextStr("one\r\ntwo\r\nthree");
  view.Store()->SetRowEnd(2, reTextEnd);
  EXPECT_EQ(lines.Get(1), "two");
  lines.Put(1, "\x82\xa0\x82\xa2");
  lines.Put(2, "3");
  EXPECT_EQ(lines.GetTextStr(), "one\r\n\x82\xa0\x82\xa2\r\n3");
  lines.Insert(0, "zero");
  lines.Delete(2);
  EXPECT_EQ(lines.GetTextStr(), "zero\r\none\r\n3");
  lines.Insert(3, "end");
  EXPECT_EQ(lines.GetTextStr(), "zero\r\none\r\n3\r\nend");
  lines.Delete(0);
  lines.Delete(0);
  lines.Delete(0);
  lines.Delete(0);
  EXPECT_EQ(view.Store()->Count(), 0);
  EXPECT_EQ(view.CaretRow(), 0);
}

TEST(LineStoreFacade, AssignCopiesTextAndPutsCaretAfterIt) {
  TVornEditHeadlessView view;
  TStringList source;
  source.Add("p");
  source.Add("q");
  view.Lines().Assign(source);
  EXPECT_EQ(view.Lines().GetTextStr(), "p\r\nq\r\n");
  EXPECT_EQ(view.CaretRow(), 2);
}

TEST(ReplaceRows, LastRowEndsByTheTextsFinalBreak) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\n");
  s.ReplaceRows(1, 1, "bx");
  EXPECT_EQ(s.RowEnd(1), reTextEnd);
  EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nbx");
  s.ReplaceRows(1, 1, "by\r\n");
  EXPECT_EQ(s.RowEnd(1), reLineEnd);
  EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nby\r\n");
  EXPECT_TRUE(s.RowModified(1));
  EXPECT_FALSE(s.RowModified(0));
}

TEST(ReplaceRows, InsertsWholeLinesBeforeARowAndAppendsAtTheEnd) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\n");
  s.ReplaceRows(1, 0, "x\r\ny\r\n");
  EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nx\r\ny\r\nb\r\n");
  s.ReplaceRows(s.Count(), 0, "z");
  EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nx\r\ny\r\nb\r\nz");
  // Appending after a row without a final break continues that row.
  s.ReplaceRows(s.Count(), 0, "w\r\n");
  EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nx\r\ny\r\nb\r\nzw\r\n");
  EXPECT_EQ(s.Count(), 5);
}

TEST(ReplaceRows, OutOfRangeOrEmptyInsertChangesNothing) {
  TRecordingView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\n");
  int changes = view.changes;
  s.ReplaceRows(-1, 1, "x");
  s.ReplaceRows(1, 2, "x");
  s.ReplaceRows(3, 0, "x");
  s.ReplaceRows(1, 0, "");
  EXPECT_EQ(view.Lines().GetTextStr(), "a\r\nb\r\n");
  EXPECT_EQ(view.changes, changes);
}

TEST(ReplaceRows, RemovingAllLinesLeavesNoRowsAndClampsTheCaret) {
  TRecordingView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\nc");
  s.SetRowEnd(2, reTextEnd);
  view.SetCaretPos(2, 0);
  view.SetTopRow(1);
  s.ReplaceRows(0, 3, "");
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(view.CaretRow(), 0);
  EXPECT_EQ(view.TopRow(), 0);
  EXPECT_EQ(view.Last().LineIndex, 0);
  EXPECT_EQ(view.Last().LineDelta, -3);
}

TEST(ReplaceRows, CaretAfterALastRowWithoutBreakIsClampedOntoIt) {
  TRecordingView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\nc\r\n");
  view.SetCaretPos(3, 0);
  s.ReplaceRows(1, 2, "b");
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(view.CaretRow(), 1);
  s.ReplaceRows(1, 1, "b\r\n");
  view.SetCaretPos(2, 0);
  s.ReplaceRows(0, 1, "A\r\n");
  EXPECT_EQ(view.CaretRow(), 2);
}

TEST(ReplaceRows, ViewsSeeOneChangeWithTheEditsExtent) {
  TRecordingView view;
  TRecordingView second;
  second.JoinStoreOf(view);
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\nc\r\n");
  view.changes = second.changes = 0;
  s.ReplaceRows(1, 1, "x\r\ny\r\n", TRowCol{1, 1});
  EXPECT_EQ(view.changes, 1);
  EXPECT_EQ(second.changes, 1);
  const TStoreChange& c = view.Last();
  EXPECT_EQ(c.Kind, scEdit);
  EXPECT_EQ(c.FirstRow, 1);
  EXPECT_EQ(c.RowsRemoved, 1);
  EXPECT_EQ(c.RowsInserted, 2);
  EXPECT_EQ(c.Origin, (TRowCol{1, 1}));
  EXPECT_EQ(second.Last().LineIndex, 1);
  EXPECT_EQ(second.Last().LineDelta, 1);
  // Same row count: the rows below stay where they were.
  s.ReplaceRows(0, 1, "A\r\n");
  EXPECT_EQ(view.changes, 2);
  EXPECT_EQ(view.Last().RowDelta(), 0);
  EXPECT_EQ(view.Last().Origin, (TRowCol{0, 0}));
}

TEST(ReplaceRows, FillsOneUndoRecordWithTheReplacedRows) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\nc");
  s.SetRowEnd(2, reTextEnd);
  const TUndoDataList& kept = s.UndoObj().UndoList();

  s.ReplaceRows(1, 1, "x\r\ny\r\n");
  ASSERT_EQ(kept.Count(), 1);
  EXPECT_EQ(kept.Items(0).FirstRow, 1);
  EXPECT_EQ(kept.Items(0).OldText, "b\r\n");
  EXPECT_EQ(kept.Items(0).OldEnd, reLineEnd);
  EXPECT_EQ(kept.Items(0).NewRowCount, 2);

  s.ReplaceRows(3, 1, "");  // whole last line: the fast path
  ASSERT_EQ(kept.Count(), 2);
  EXPECT_EQ(kept.Items(1).FirstRow, 3);
  EXPECT_EQ(kept.Items(1).OldText, "c");
  EXPECT_EQ(kept.Items(1).OldEnd, reTextEnd);
  EXPECT_EQ(kept.Items(1).NewRowCount, 0);

  s.ReplaceRows(s.Count(), 0, "z");  // nothing replaced: a record without text
  ASSERT_EQ(kept.Count(), 3);
  EXPECT_EQ(kept.Items(2).OldEnd, reNone);
  EXPECT_EQ(kept.Items(2).OldText, "");
  EXPECT_EQ(kept.Items(2).NewRowCount, 1);

  s.ReplaceRows(7, 1, "out of range");
  EXPECT_EQ(kept.Count(), 3);
  s.Clear();
  EXPECT_TRUE(kept.Empty());
}

TEST(LineStore, ClearResetsViewsAndRepaintsEverything) {
  TRecordingView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\n");
  view.SetCaretPos(2, 0);
  view.changes = 0;
  s.Clear();
  EXPECT_EQ(view.changes, 1);
  EXPECT_EQ(view.Last().Kind, scClear);
  EXPECT_EQ(view.Last().RowsRemoved, 2);
  EXPECT_EQ(view.Last().RowsInserted, 0);
  EXPECT_EQ(view.CaretRow(), 0);
}

TEST(LineStore, RowsOfLineAndRowsTextFollowWrappedRows) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("ab\r\ncd\r\nef\r\ngh");
  s.SetRowEnd(0, reWrapped);
  s.SetRowEnd(1, reWrapped);
  s.SetRowEnd(3, reTextEnd);
  EXPECT_EQ(s.FirstRowOfLine(2), 0);
  EXPECT_EQ(s.FirstRowOfLine(3), 3);
  EXPECT_EQ(s.LastRowOfLine(0), 2);
  EXPECT_EQ(s.LastRowOfLine(-1), -1);
  TRowEnd end;
  int rows;
  EXPECT_EQ(s.GetRowsText(0, -1, &end, &rows), "abcdef\r\n");
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(end, reLineEnd);
  EXPECT_EQ(s.GetRowsText(4, 1, &end, &rows), "");
  EXPECT_EQ(end, reNone);
  EXPECT_EQ(rows, 0);
  s.SetWrapper(std::make_unique<TRowWrapper>());  // the base wrapper leaves the rows as they are
  s.SetWordWrap(true);
  EXPECT_EQ(view.Lines().Count(), 2);
  EXPECT_EQ(view.Lines().Get(0), "abcdef");
  EXPECT_EQ(view.Lines().Get(1), "gh");
  EXPECT_EQ(s.LineToRow(1), 3);
  EXPECT_EQ(s.CountLinesBefore(3), 1);
}

TEST(BracketStates, WithoutBracketsEveryRowIsOutside) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& s = *view.Store();
  view.Lines().SetTextStr("a\r\nb\r\nc\r\n");
  for (int i = 0; i < s.Count(); ++i) EXPECT_EQ(s.BracketState(i), -1);
  s.ReplaceRows(1, 1, "x\r\ny\r\n");
  for (int i = 0; i < s.Count(); ++i) EXPECT_EQ(s.BracketState(i), -1);
}

// ---- randomized comparison with a byte-string model ----

struct TModelRow {
  std::size_t start, end;  // end includes the row's CR LF
  bool lineEnd;
};

std::vector<TModelRow> ModelRows(const std::string& t) {
  std::vector<TModelRow> rows;
  std::size_t p = 0;
  while (p < t.size()) {
    std::size_t q = t.find("\r\n", p);
    if (q == std::string::npos) {
      rows.push_back({p, t.size(), false});
      break;
    }
    rows.push_back({p, q + 2, true});
    p = q + 2;
  }
  return rows;
}

void ModelReplace(std::string& t, int a, int n, const std::string& text) {
  std::vector<TModelRow> rows = ModelRows(t);
  int count = static_cast<int>(rows.size());
  if (a < 0 || a + n - 1 > count - 1 || (n == 0 && text.empty())) return;
  if (n == 0 && a == count && count > 0 && !rows.back().lineEnd) {
    t += text;
    return;
  }
  std::size_t start = a < count ? rows[static_cast<std::size_t>(a)].start : t.size();
  std::size_t end = n > 0 ? rows[static_cast<std::size_t>(a + n - 1)].end : start;
  if (text.empty()) {
    t.erase(start, end - start);
    return;
  }
  std::string piece = text;
  bool rowsFollow = a + n - 1 < count - 1;
  if (rowsFollow && piece.back() != '\n') piece += "\r\n";
  t.replace(start, end - start, piece);
}

std::string RandomPiece(std::mt19937& rng) {
  static const char* const kParts[] = {"a", "bc", "\x82\xa0", "\x88\x9f", "\r\n", " ", "\xb1"};
  std::string s;
  int n = static_cast<int>(rng() % 7);
  for (int i = 0; i < n; ++i) s += kParts[rng() % 7];
  return s;
}

TEST(ReplaceRows, LongRandomSequencesMatchAByteStringModel) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    std::mt19937 rng(seed);
    TRecordingView view;
    TVornEditScreenStrings& s = *view.Store();
    std::string model;
    // Later seeds start with enough rows to span several index blocks.
    int initialRows = seed > 4 ? 2500 : 30;
    for (int i = 0; i < initialRows; ++i) model += RandomPiece(rng) + "\r\n";
    if (seed % 2) model += "tail";
    view.Lines().SetTextStr(model);
    if (!model.empty() && model.back() != '\n') s.SetRowEnd(s.Count() - 1, reTextEnd);
    ASSERT_EQ(view.Lines().GetTextStr(), model);
    for (int step = 0; step < 3000; ++step) {
      int count = s.Count();
      int a = static_cast<int>(rng() % static_cast<unsigned>(count + 2)) - (rng() % 50 == 0 ? 1 : 0);
      int n = static_cast<int>(rng() % 4);
      if (rng() % 3 == 0) n = 0;
      std::string text = rng() % 5 == 0 ? std::string() : RandomPiece(rng);
      if (rng() % 200 == 0) {
        a = static_cast<int>(rng() % static_cast<unsigned>(count + 1));
        n = std::min(count - a, 700);  // a large cut or paste across block boundaries
        if (rng() % 2) text = std::string(static_cast<std::size_t>(1500), 'p') + "\r\n" + RandomPiece(rng);
        for (int i = 0; text.size() < 1600 && i < 1200; ++i) text += "q\r\n";
      }
      s.ReplaceRows(a, n, text);
      ModelReplace(model, a, n, text);
      ASSERT_EQ(view.Lines().GetTextStr(), model) << "seed " << seed << " step " << step << " a=" << a << " n=" << n;
      std::vector<TModelRow> rows = ModelRows(model);
      ASSERT_EQ(s.Count(), static_cast<int>(rows.size()));
      for (int i = 0; i + 1 < s.Count(); ++i) {
        ASSERT_EQ(s.RowEnd(i), reLineEnd);
      }
      if (s.Count() > 0) {
        ASSERT_EQ(s.RowEnd(s.Count() - 1), rows.back().lineEnd ? reLineEnd : reTextEnd);
      }
      ASSERT_LE(view.CaretRow(), s.Count());
    }
  }
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

// Two panes of one store: what one pane does never depends on where the other pane's caret
// or top row stands, and both are kept inside the text.
TEST(TwoViews, RowToLineUndoCaretAndClampingDoNotDependOnTheOtherPane) {
  auto store = std::make_shared<TVornEditScreenStrings>();
  TVornEditHeadlessView upper(store), lower(store);
  upper.Lines().SetTextStr("l0\r\nl1\r\nl2\r\nl3\r\nl4\r\n");
  for (int top : {0, 3, 5}) {
    lower.SetTopRow(top);
    upper.SetTopRow(5 - top);
    for (int row = 0; row <= store->Count(); ++row) EXPECT_EQ(store->RowToLine(row), row);
  }

  upper.SetCaretPos(1, 1);
  lower.SetCaretPos(4, 2);
  store->ReplaceRows(1, 1, "lX1\r\n", upper.Caret());
  lower.SetCaretPos(0, 0);
  upper.SetCaretPos(3, 0);
  ASSERT_TRUE(lower.Undo());
  EXPECT_EQ(lower.Caret(), (TRowCol{1, 1})) << "undo returns to where the edit began";
  EXPECT_EQ(upper.Caret(), (TRowCol{3, 0})) << "the other pane keeps its caret";
  EXPECT_EQ(upper.undoRedos, 1);
  ASSERT_TRUE(upper.Redo());
  EXPECT_EQ(upper.Caret(), (TRowCol{0, 0})) << "redo returns to where the undo was asked";
  EXPECT_EQ(upper.Lines().Get(1), "lX1");

  upper.SetCaretPos(4, 0);
  upper.SetTopRow(4);
  lower.SetCaretPos(5, 0);
  lower.SetTopRow(5);
  store->ReplaceRows(2, 3, "");
  EXPECT_EQ(upper.CaretRow(), 2);
  EXPECT_EQ(lower.CaretRow(), 2);
  EXPECT_EQ(upper.TopRow(), 2);
  EXPECT_EQ(lower.TopRow(), 2);
}

// A store outlives whichever pane showed it first.
TEST(TwoViews, TheStoreLivesAsLongAsAPaneShowsIt) {
  auto first = std::make_unique<TVornEditHeadlessView>();
  first->Lines().SetTextStr("kept\r\n");
  std::weak_ptr<TVornEditScreenStrings> store = first->SharedStore();
  TVornEditHeadlessView second;
  second.JoinStoreOf(*first);
  first.reset();
  ASSERT_FALSE(store.expired());
  EXPECT_EQ(second.Lines().Get(0), "kept");
  EXPECT_EQ(store.lock()->Views().size(), 1u);
}

}  // namespace
}  // namespace vorn
