// The loader's row scan: cut into any number of parts, it finds the rows one plain scan finds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "encoding/LineSplit.h"
#include "store/HeadlessView.h"
#include "store/LoadedRows.h"
#include "store/ScreenStrings.h"

namespace vorn {
namespace {

std::vector<std::string> RowsOfBlocks(const std::vector<TPackedRows>& blocks, std::size_t blockRows) {
  std::vector<std::string> rows;
  for (const TPackedRows& b : blocks) {
    EXPECT_LE(b.Size(), blockRows);
    for (std::size_t j = 0; j < b.Size(); ++j) rows.emplace_back(b.Base() + b.Begin(j), b.Length(j));
  }
  return rows;
}

std::vector<std::string> RowsOfOneScan(const std::string& text, bool stopAtNul) {
  std::vector<std::string> rows;
  ForEachLine(text.data(), text.data() + text.size(), stopAtNul,
              [&](const char* b, const char* e) { rows.emplace_back(b, e); });
  return rows;
}

// Texts made of the pieces where cuts go wrong: CR LF pairs, lone CR and LF, empty rows, NULs.
std::string RandomText(std::mt19937& rng) {
  static const char* const kPieces[] = {"\r\n", "\r", "\n", "ab", "\x82\xA0", "x", "\r\n\r\n", "\r\r\n\n"};
  std::string text;
  const int n = static_cast<int>(rng() % 300);
  for (int i = 0; i < n; ++i) text += kPieces[rng() % 8];
  if (rng() % 4 == 0 && !text.empty()) text[rng() % text.size()] = '\0';
  return text;
}

TEST(LoadedRows, AnyCutIntoPartsFindsTheRowsOfOneScan) {
  std::mt19937 rng(33);
  for (int round = 0; round < 2000; ++round) {
    const std::string text = RandomText(rng);
    const bool stopAtNul = rng() % 2 != 0;
    const unsigned parts = 1 + rng() % 6;
    const std::size_t blockRows = 1 + rng() % 9;
    const auto blocks = ScanLoadedRows(text.data(), text.data() + text.size(), stopAtNul, blockRows, parts);
    ASSERT_EQ(RowsOfBlocks(blocks, blockRows), RowsOfOneScan(text, stopAtNul))
        << "round " << round << " parts " << parts << " stopAtNul " << stopAtNul;
  }
}

TEST(LoadedRows, ALoadedTextStaysPackedUntilEditedAndEditsKeepEveryOtherByte) {
  TVornEditHeadlessView view;
  TVornEditScreenStrings& store = *view.Store();
  std::string text;
  constexpr int kRows = 5 * TRowIndex::kPackedBlockRows;
  for (int i = 0; i < kRows; ++i) text += std::to_string(i) + (i % 3 ? "\r\n" : "\n");
  view.Lines().SetTextStr(text);
  ASSERT_EQ(store.Count(), kRows);
  // The bulk word writes that follow a load keep every block packed.
  EXPECT_EQ(store.PackedRowCount(), kRows);
  EXPECT_LT(store.RowIndexBytes(), static_cast<std::size_t>(kRows) * 5);

  // An edit unpacks its own block only.
  store.ReplaceRows(kRows / 2, 1, "edited\r\n");
  EXPECT_EQ(store.PackedRowCount(), kRows - TRowIndex::kPackedBlockRows);
  std::string expected;
  for (int i = 0; i < kRows; ++i) expected += (i == kRows / 2 ? std::string("edited") : std::to_string(i)) + "\r\n";
  EXPECT_EQ(view.Lines().GetTextStr(), expected);
  const std::string last = std::to_string(kRows - 1) + "\r\n";
  EXPECT_EQ(store.TextOffsetOfRow(kRows - 1), static_cast<std::int64_t>(expected.size() - last.size()));
}

}  // namespace
}  // namespace vorn
