// Row columns without a column map, and offsets from the store's sums, each against the
// straightforward computation over the whole row or the whole text.
#include <algorithm>
#include <random>

#include "CoreFixture.h"
#include "base/sjis.h"
#include "editcore/RowColumns.h"
#include "layout/Wrap.h"

namespace vorn::test {
namespace {

// Tabs after lead bytes, lone lead bytes, kanji whose trail bytes are lead bytes too.
const char* const kPieces[] = {"a", "bc", " ", "\t", "\t\t", "\x82\xA0", "\x88\x9F", "\x88\xE0", "\xB1",
                               ",", "\x82", "\x82\t", "\xE0", "word", "\x81\x81"};

std::string RandomRow(std::mt19937& rng, int pieces) {
  std::string row;
  for (int i = 0; i < pieces; ++i) {
    // Now and then a run of lead-range pairs long enough to send the look-back to its
    // checkpoints.
    if (rng() % 40 == 0)
      for (int k = 0; k < 200; ++k) row += "\x88\x9F";
    row += kPieces[rng() % std::size(kPieces)];
  }
  return row;
}

// The column where each byte starts, walking the row from its start.
std::vector<int> WalkedByteColumns(std::string_view row, int tab) {
  std::vector<int> cols;
  int col = 0;
  for (std::size_t i = 0; i < row.size();) {
    if (sjis::IsLeadByte(row[i]) && i + 1 < row.size()) {
      cols.push_back(col);
      cols.push_back(col + 1);
      col += 2;
      i += 2;
      continue;
    }
    cols.push_back(col);
    col += row[i] == '\t' ? tab - col % tab : 1;
    ++i;
  }
  cols.push_back(col);
  return cols;
}

int MapColToByte(const std::string& map, int col) {
  const int upTo = std::min(col, static_cast<int>(map.size()) - 1);
  int rests = 0;
  for (int c = 0; c <= upTo; ++c) rests += map[static_cast<std::size_t>(c)] == cmTabRest;
  return col - rests;
}

void ExpectSameAsMap(const TRowColumns& columns, std::string_view row, int tab, int wrap) {
  const std::string map = ColumnMap(row, tab, wrap);
  const int width = static_cast<int>(map.size());
  ASSERT_EQ(columns.Width(), width);
  for (int c = -2; c < width + 3; ++c) {
    const char expected = c >= 0 && c < width ? map[static_cast<std::size_t>(c)] : '\0';
    ASSERT_EQ(columns.Code(c), expected) << "column " << c;
    if (c >= 0) {
      ASSERT_EQ(columns.ColToByte(c), MapColToByte(map, c)) << "column " << c;
    }
  }
  if (wrap > 0) return;
  const std::vector<int> cols = WalkedByteColumns(row, tab);
  for (int b = 0; b <= static_cast<int>(row.size()) + 2; ++b) {
    const int expected = b <= static_cast<int>(row.size()) ? cols[static_cast<std::size_t>(b)] : cols.back() + b - static_cast<int>(row.size());
    ASSERT_EQ(columns.ByteToCol(b), expected) << "byte " << b;
  }
}

TEST(RowColumns, AnswerAsTheColumnMapOnRandomRows) {
  std::mt19937 rng(17);
  for (int round = 0; round < 600; ++round) {
    const std::string row = RandomRow(rng, static_cast<int>(rng() % 40));
    const int tab = 1 + static_cast<int>(rng() % 8);
    const int wrap = rng() % 3 == 0 ? 0 : 5 + static_cast<int>(rng() % 30);
    ExpectSameAsMap(TRowColumns(row, tab, 0), row, tab, 0);
    ExpectSameAsMap(TRowColumns(row, tab, wrap), row, tab, wrap);
    if (HasFatalFailure()) return;
  }
}

TEST(RowColumns, LongRowsFromTheCacheAnswerAsFreshOnes) {
  std::mt19937 rng(29);
  for (int round = 0; round < 3; ++round) {
    std::string row = RandomRow(rng, 1500);
    const auto cached = CachedRowColumns(row, 4, 0);
    ASSERT_EQ(CachedRowColumns(row, 4, 0), cached) << "asked twice, described once";
    ExpectSameAsMap(*cached, row, 4, 0);
    if (HasFatalFailure()) return;
  }
}

// Columns carried over a change answer as the row described afresh, whenever they are given.
TEST(RowColumns, CarriedOverAChangeAnswerAsFreshOnes) {
  std::mt19937 rng(41);
  int carried = 0;
  for (int round = 0; round < 800; ++round) {
    const std::string row = RandomRow(rng, static_cast<int>(rng() % 30));
    const int tab = 1 + static_cast<int>(rng() % 8);
    const int wrap = rng() % 3 == 0 ? 5 + static_cast<int>(rng() % 30) : 0;
    const TRowColumns old(row, tab, wrap);
    const int pos = static_cast<int>(rng() % (row.size() + 1));
    const int removed = static_cast<int>(rng() % 3 == 0 ? rng() % (row.size() - pos + 1) : 0);
    const std::string gone = row.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(removed));
    const bool plain = gone.find('\t') == std::string::npos &&
                       std::none_of(gone.begin(), gone.end(), [](char c) { return sjis::IsLeadByte(static_cast<unsigned char>(c)); });
    const std::string insert = rng() % 2 ? std::string("x") : RandomRow(rng, static_cast<int>(rng() % 2));
    const std::string text = row.substr(0, static_cast<std::size_t>(pos)) + insert + row.substr(static_cast<std::size_t>(pos + removed));
    const auto after = TRowColumns::AfterSplice(old, text, pos, removed, static_cast<int>(insert.size()), plain);
    if (!after) continue;
    ++carried;
    ExpectSameAsMap(*after, text, tab, wrap);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(carried, 50);
}

// Typing into a long row in place: the next questions see the typed bytes.
class LongRowTyping : public CoreTest {};

TEST_F(LongRowTyping, ColumnsFollowBytesWrittenInPlace) {
  std::mt19937 rng(8);
  std::string row = RandomRow(rng, 2000);
  Load(row + "\r\n" + "short\r\n");
  for (int round = 0; round < 60; ++round) {
    const std::size_t pos = rng() % (row.size() + 1);
    const std::string insert = rng() % 4 ? std::string("x") : std::string(kPieces[rng() % std::size(kPieces)]);
    const std::size_t removed = rng() % 3 == 0 ? rng() % std::min<std::size_t>(3, row.size() - pos + 1) : 0;
    store->ReplaceInRow(0, pos, removed, insert, TRowCol{});
    row.replace(pos, removed, insert);
    ASSERT_EQ(store->Row(0), row);
    const std::string map = core.ColumnMapOf(0);
    ASSERT_EQ(core.RowWidth(0), static_cast<int>(map.size())) << "round " << round;
    for (int probe = 0; probe < 20; ++probe) {
      const int c = static_cast<int>(rng() % map.size());
      ASSERT_EQ(core.ColToByte(0, c), MapColToByte(map, c)) << "round " << round;
    }
  }
}

// The core's caret row is described once and kept; an edit of that row must never leave the
// old description in use, even when the new bytes land where the old ones were.
class LongRowCore : public CoreTest {};

TEST_F(LongRowCore, EditsOfALongRowAreSeenByTheNextQuery) {
  std::mt19937 rng(5);
  Load(std::string(6000, 'a') + "\r\n" + "short\r\n");
  for (int round = 0; round < 40; ++round) {
    std::string row(6000, 'a');
    for (int k = 0; k < 3; ++k) row[rng() % row.size()] = rng() % 2 ? '\t' : '\x82';
    // Put frees the old bytes right after taking the new ones, so the allocator hands the
    // same block back every other round.
    if (round % 2)
      store->ReplaceRows(0, 1, row + "\r\n");
    else
      store->Put(0, row);
    const std::string map = core.ColumnMapOf(0);
    ASSERT_EQ(core.RowWidth(0), static_cast<int>(map.size()));
    for (int probe = 0; probe < 20; ++probe) {
      const int c = static_cast<int>(rng() % map.size());
      ASSERT_EQ(core.ColToByte(0, c), MapColToByte(map, c));
    }
    core.MoveLineEnd();
    ASSERT_EQ(core.CaretCol(), static_cast<int>(map.size()));
  }
}

// Offsets by the straightforward walk over every row, with the column of the offset's byte.
TRowCol WalkedOffsetToPos(const TVornEditCore& core, int offset) {
  const int n = core.RowCount();
  int r = 0, rest = std::max(0, offset);
  for (; r < n; ++r) {
    const int len = static_cast<int>(core.GetRowText(r).size());
    const TRowEnd kind = core.RowKind(r);
    const int span = len + (kind == reLineEnd ? 2 : kind == reTextEnd ? 1 : 0);
    if (rest < span || kind == reTextEnd) break;
    rest -= span;
  }
  if (r >= n) return {n, 0};
  const std::string text = core.GetRowText(r);
  const auto bytes = std::min(static_cast<std::size_t>(rest), text.size());
  const int width = static_cast<int>(core.ColumnMapOf(r).size());
  return {r, std::min(static_cast<int>(core.ExpandTabs(text.substr(0, bytes)).size()), width)};
}

int WalkedRowStart(const TVornEditCore& core, int row) {
  int offset = 0;
  for (int r = 0; r < row; ++r)
    offset += static_cast<int>(core.GetRowText(r).size()) + (core.RowKind(r) == reLineEnd ? 2 : 0);
  return offset;
}

class OffsetsAgainstWalk : public CoreTest {};

TEST_F(OffsetsAgainstWalk, EveryOffsetAndRowAfterRandomEdits) {
  std::mt19937 rng(41);
  for (int round = 0; round < 12; ++round) {
    std::string text;
    for (int line = 0; line < 30; ++line) text += RandomRow(rng, static_cast<int>(rng() % 12)) + (rng() % 8 ? "\r\n" : "");
    const bool wrap = round % 2 == 1;
    Load(text, TCoreOptions{.WrapByte = wrap ? 8 + round : 0, .Tab = 1 + round % 6});
    for (int edit = 0; edit < 6; ++edit) {
      const int count = store->Count();
      const int a = count == 0 ? 0 : static_cast<int>(rng() % count);
      store->ReplaceRows(a, count == 0 ? 0 : 1, RandomRow(rng, 5) + "\r\n");
      if (edit % 3 == 0) store->UndoEdit();
    }
    for (int r = 0; r <= core.RowCount(); ++r) ASSERT_EQ(core.RowStartOffset(r), WalkedRowStart(core, r)) << "row " << r;
    for (int offset = -1; offset <= core.TextLength() + 2; ++offset) {
      const TRowCol walked = WalkedOffsetToPos(core, offset);
      const TRowCol found = core.OffsetToPos(offset);
      ASSERT_EQ(found.Row, walked.Row) << "offset " << offset;
      ASSERT_EQ(found.Col, walked.Col) << "offset " << offset;
    }
  }
}

}  // namespace
}  // namespace vorn::test
