// Text offsets of rows from the index's per-block sums, against a walk over every row, through
// random edits, undo, redo and re-wraps on a store several blocks long.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/ByteBuffer.h"
#include "layout/StoreWrap.h"
#include "store/ScreenStrings.h"

namespace vorn {
namespace {

// Offsets of every row start (and of the end of the text) walked row by row.
std::vector<std::int64_t> WalkedOffsets(const TVornEditScreenStrings& s) {
  std::vector<std::int64_t> starts{0};
  for (int r = 0; r < s.Count(); ++r)
    starts.push_back(starts.back() + static_cast<std::int64_t>(s.Row(r).size()) + (s.RowEnd(r) == reLineEnd ? 2 : 0));
  return starts;
}

// The row a walk from the top lands on for an offset: the first whose end lies past it.
int WalkedRowAt(const std::vector<std::int64_t>& starts, std::int64_t offset) {
  for (std::size_t r = 0; r + 1 < starts.size(); ++r)
    if (starts[r + 1] > offset) return static_cast<int>(r);
  return static_cast<int>(starts.size()) - 1;
}

class RowOffsetsTest : public ::testing::Test {
protected:
  std::shared_ptr<TVornEditScreenStrings> store = NewWrappedStore();
  std::mt19937 rng{1209};

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

  std::string RandomText(int maxLines) {
    static const char* const kPieces[] = {"a", "xyz ", "\x82\xa0", "\x88\x9f", "\t", "\r\n", "\r\n\r\n",
                                          "long words here ", "", "\x82\xa0\x82\xa2\x82\xa4"};
    std::string text;
    const int n = Pick(maxLines * 4 + 1);
    for (int i = 0; i < n; ++i) text += kPieces[Pick(10)];
    return text;
  }

  void LoadRows(int rows) {
    std::string text;
    for (int i = 0; i < rows; ++i) text += std::string(static_cast<std::size_t>(Pick(30)), 'a' + static_cast<char>(i % 26)) + "\r\n";
    store->ReplaceRows(0, store->Count(), text);
  }

  // Mostly small edits; now and then hundreds of rows go or come at once, which splits, fills
  // and merges the index's blocks.
  void RandomEdit() {
    const int count = store->Count();
    const int a = Pick(count + 1);
    const bool big = Pick(8) == 0;
    const int n = a == count ? 0 : Pick(std::min(big ? 900 : 5, count - a) + 1);
    store->ReplaceRows(a, n, RandomText(big ? 250 : 3));
  }

  // A few rows near and far from the edits, queried between edits so that the sums are asked
  // for while only part of them is known.
  void SpotCheck() {
    const std::vector<std::int64_t> starts = WalkedOffsets(*store);
    for (int i = 0; i < 4; ++i) {
      const int row = Pick(store->Count() + 1);
      ASSERT_EQ(store->TextOffsetOfRow(row), starts[static_cast<std::size_t>(row)]) << "row " << row;
      const std::int64_t offset = std::uniform_int_distribution<std::int64_t>(0, starts.back() + 3)(rng);
      ASSERT_EQ(store->RowAtTextOffset(offset), WalkedRowAt(starts, offset)) << "offset " << offset;
    }
  }

  void FullCheck() {
    const std::vector<std::int64_t> starts = WalkedOffsets(*store);
    for (int r = 0; r <= store->Count(); ++r) {
      ASSERT_EQ(store->TextOffsetOfRow(r), starts[static_cast<std::size_t>(r)]) << "row " << r;
      if (r == store->Count()) break;
      // The first and last offset the row holds, and one past its span.
      const std::int64_t from = starts[static_cast<std::size_t>(r)], to = starts[static_cast<std::size_t>(r) + 1];
      if (to > from) {
        ASSERT_EQ(store->RowAtTextOffset(from), r);
        ASSERT_EQ(store->RowAtTextOffset(to - 1), r);
      }
      ASSERT_EQ(store->RowAtTextOffset(to), WalkedRowAt(starts, to));
    }
    ASSERT_EQ(store->RowAtTextOffset(starts.back()), store->Count());
    ASSERT_EQ(store->RowAtTextOffset(-5), store->Count() == 0 ? 0 : WalkedRowAt(starts, 0));
  }
};

TEST_F(RowOffsetsTest, SumsFollowEditsUndoRedoAndRewraps) {
  LoadRows(3000);
  FullCheck();
  for (int step = 0; step < 400; ++step) {
    const int op = Pick(20);
    if (op < 13) {
      RandomEdit();
    } else if (op < 16) {
      store->UndoEdit();
    } else if (op < 18) {
      store->RedoEdit();
    } else if (op == 18) {
      WrapOptionOf(*store).SetWrapByte(6 + Pick(30));
    } else {
      store->SetWordWrap(!store->WordWrap());
    }
    SpotCheck();
    if (step % 40 == 0) FullCheck();
    if (HasFatalFailure()) return;
  }
  FullCheck();
}

// Queries that step along neighbouring rows and offsets, and the line counts before rows, in
// both directions and across block ends, between edits that land before, inside and after the
// rows asked about: each answer may start from the one before it, and must not once the rows
// changed.
TEST_F(RowOffsetsTest, NeighbouringQueriesBetweenEdits) {
  LoadRows(5000);
  for (int step = 0; step < 120; ++step) {
    const std::vector<std::int64_t> starts = WalkedOffsets(*store);
    std::vector<int> linesBefore{0};
    for (int r = 0; r < store->Count(); ++r) linesBefore.push_back(linesBefore.back() + (store->RowEnd(r) != reWrapped));
    int row = Pick(store->Count() + 1);
    std::int64_t offset = starts[static_cast<std::size_t>(row)];
    for (int i = 0; i < 40; ++i) {
      row = std::clamp(row + Pick(7) - 3, 0, store->Count());
      ASSERT_EQ(store->TextOffsetOfRow(row), starts[static_cast<std::size_t>(row)]) << "row " << row;
      ASSERT_EQ(store->CountLinesBefore(row), linesBefore[static_cast<std::size_t>(row)]) << "row " << row;
      offset = std::clamp<std::int64_t>(offset + Pick(61) - 30, 0, starts.back());
      ASSERT_EQ(store->RowAtTextOffset(offset), WalkedRowAt(starts, offset)) << "offset " << offset;
    }
    if (step % 3 == 0) {
      RandomEdit();
    } else if (step % 3 == 1) {
      // An edit right at the rows just asked about.
      const int at = std::min(row, store->Count() - 1);
      if (at >= 0) store->ReplaceRows(at, 1, std::string(static_cast<std::size_t>(Pick(40)), 'q'));
    } else {
      WrapOptionOf(*store).SetWrapByte(6 + Pick(30));
      store->SetWordWrap(Pick(2) == 0);
    }
  }
}

TEST_F(RowOffsetsTest, EmptyStoreAndLastRowWithoutBreak) {
  EXPECT_EQ(store->TextOffsetOfRow(0), 0);
  EXPECT_EQ(store->RowAtTextOffset(0), 0);
  store->ReplaceRows(0, 0, "ab\r\ncd");
  ASSERT_EQ(store->Count(), 2);
  EXPECT_EQ(store->RowEnd(1), reTextEnd);
  EXPECT_EQ(store->TextOffsetOfRow(1), 4);
  EXPECT_EQ(store->TextOffsetOfRow(2), 6);
  // The line break belongs to the row before it; the end of the text to no row.
  EXPECT_EQ(store->RowAtTextOffset(3), 0);
  EXPECT_EQ(store->RowAtTextOffset(4), 1);
  EXPECT_EQ(store->RowAtTextOffset(5), 1);
  EXPECT_EQ(store->RowAtTextOffset(6), 2);
}

// A loaded file's rows are packed with their sums counted as they are scanned; a last line
// without a break is marked afterwards, and the sums must not still count a break for it.
TEST_F(RowOffsetsTest, ALoadedTextWithoutFinalBreakEndsWhereItsBytesEnd) {
  for (const std::string& text : {std::string("ab\r\ncd"), std::string("only"), std::string(5000, 'x') + "\r\nend",
                                  [] {
                                    std::string many;
                                    for (int i = 0; i < 9000; ++i) many += "line\r\n";
                                    return many + "last";
                                  }()}) {
    store->LoadFileImage(TByteBuffer(std::string(text)));
    const std::vector<std::int64_t> walked = WalkedOffsets(*store);
    ASSERT_EQ(walked.back(), static_cast<std::int64_t>(text.size()));
    EXPECT_EQ(store->TextOffsetOfRow(store->Count()), walked.back());
    EXPECT_EQ(store->TextOffsetOfRow(store->Count() - 1), walked[walked.size() - 2]);
  }
}

}  // namespace
}  // namespace vorn
