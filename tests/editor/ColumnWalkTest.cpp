// Finding the character at a column against a byte-by-byte model, over rows long enough to
// take the tab-hopping path, with pairs, lone lead bytes and tabs in trail position.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/sjis.h"
#include "editor/ColumnWalk.h"

namespace vorn::test {
namespace {

// The column of every character start, walking from the first byte.
std::vector<TColumnStart> ModelStarts(const std::string& row, const TColumnRule& rule) {
  std::vector<TColumnStart> starts;
  int col = 0;
  for (std::size_t i = 0; i < row.size();) {
    starts.push_back({static_cast<int>(i), col});
    if (sjis::IsLeadByte(row[i]) && i + 1 < row.size()) {
      col += 2;
      i += 2;
    } else {
      col += row[i] == '\t' ? rule.TabCells(col) : 1;
      ++i;
    }
  }
  starts.push_back({static_cast<int>(row.size()), col});
  return starts;
}

TColumnStart ModelFind(const std::vector<TColumnStart>& starts, int col) {
  TColumnStart best = starts.front();
  for (const TColumnStart& s : starts) {
    if (s.Col > col) break;
    best = s;
  }
  return best;
}

const char* const kPieces[] = {"a", "\t", "\x88\x9F", "\x93\xFA", "\xE0\x40", "\x81\t", "\xB1", "\x81\x81\x81",
                               "xyz", "\xFC\xFC"};

TEST(ColumnWalk, EveryColumnFindsTheCharacterTheByteWalkFinds) {
  std::mt19937 rng(99);
  for (int trial = 0; trial < 60; ++trial) {
    std::string row;
    const int pieces = trial % 3 == 0 ? 20 : 200 + static_cast<int>(rng() % 400);
    for (int i = 0; i < pieces; ++i) row += kPieces[rng() % std::size(kPieces)];
    if (rng() % 2) row += "\x82";  // a lone lead byte at the end
    TColumnRule rule;
    rule.TabWidth = 1 + static_cast<int>(rng() % 8);
    rule.WrapWidth = trial % 4 == 1 ? 10 + static_cast<int>(rng() % 30) : 0;
    const auto starts = ModelStarts(row, rule);
    for (int col = 0; col <= starts.back().Col + 3; ++col) {
      const TColumnStart got = FindColumnStart(row, rule, col);
      const TColumnStart want = ModelFind(starts, col);
      ASSERT_EQ(got.Byte, want.Byte) << "trial " << trial << " col " << col;
      ASSERT_EQ(got.Col, want.Col) << "trial " << trial << " col " << col;
    }
  }
}

TEST(ColumnWalk, TabWithWrapStopsAtTheWrapEdge) {
  TColumnRule rule{8, 10};
  EXPECT_EQ(rule.TabCells(8), 2);
  EXPECT_EQ(rule.TabCells(10), 6);
  EXPECT_EQ(rule.TabCells(16), 4);
}

}  // namespace
}  // namespace vorn::test
