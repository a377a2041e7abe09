#include "layout/WrapRows.h"

#include <gtest/gtest.h>

#include <random>

namespace vorn {
namespace {

struct TVecRows {
  std::vector<std::string> text;
  std::vector<TRowEnd> ends;
  std::vector<int> tags;  // stands for the other fields of the row word

  int Count() const { return static_cast<int>(text.size()); }
  template <class F>
  void ForEachLine(std::string& scratch, F&& f) const {
    for (int r = 0; r < Count();) {
      int n = 1;
      while (ends[r + n - 1] == reWrapped && r + n < Count()) ++n;
      f(n, Line(r, n, scratch));
      r += n;
    }
  }
  std::string_view Line(int first, int n, std::string& scratch) const {
    scratch.clear();
    for (int i = 0; i < n; ++i) scratch += text[first + i];
    return scratch;
  }
  void SetText(int i, std::string_view s) { text[i] = s; }
  TRowEnd RowEnd(int i) const { return ends[i]; }
  void SetRowEnd(int i, TRowEnd e) { ends[i] = e; }
  void AppendEmptyRows(int n) {
    text.resize(text.size() + n);
    ends.resize(ends.size() + n, reLineEnd);
    tags.resize(tags.size() + n, -1);
  }
  void DeleteLastRows(int n) {
    text.resize(text.size() - n);
    ends.resize(ends.size() - n);
    tags.resize(tags.size() - n);
  }
  bool operator==(const TVecRows& o) const { return text == o.text && ends == o.ends; }
};

TVecRows RowsOf(const std::string& text, TWordWrapper& w, bool wrap) {
  std::vector<TWrapRow> cut;
  w.TextToRows(text, wrap, cut);
  TVecRows r;
  for (std::size_t i = 0; i < cut.size(); ++i) {
    r.text.emplace_back(text.substr(cut[i].Offset, cut[i].Length));
    r.ends.push_back(cut[i].End);
    r.tags.push_back(static_cast<int>(i));
  }
  return r;
}

std::string RandomText(std::mt19937& rng, int lines, bool tabs) {
  const std::vector<std::string> pieces = {"a", "bc", " ", ",", "\x82\xA0", "\x81\x41",
                                           "\x81\x75", "\x81\x76", "(", "\xB0", "\x95\x5C"};
  std::string t;
  for (int l = 0; l < lines; ++l) {
    int len = rng() % 4 == 0 ? static_cast<int>(rng() % 150) : static_cast<int>(rng() % 30);
    for (int i = 0; i < len; ++i) t += (tabs && rng() % 15 == 0) ? "\t" : pieces[rng() % pieces.size()];
    t += "\r\n";
  }
  return t;
}

TVornEditWrapOption RandomOption(std::mt19937& rng) {
  TVornEditWrapOption o;
  o.SetWrapByte(10 + static_cast<int>(rng() % 60));
  o.SetFollowPunctuation(rng() & 1);
  o.SetLeading(rng() & 1);
  o.SetWordBreak(rng() & 1);
  o.SetFollowRetMark(rng() & 1);
  return o;
}

class WrapRowsProperty : public ::testing::TestWithParam<int> {};

// Re-wrapping in place under any change of options, including changes that make some lines
// longer and others shorter, gives the rows of a wrap from scratch.
TEST_P(WrapRowsProperty, RewrapInPlaceEqualsWrapFromScratch) {
  std::mt19937 rng(GetParam());
  for (int iter = 0; iter < 40; ++iter) {
    const std::string text = RandomText(rng, 1 + static_cast<int>(rng() % 60), iter % 2 == 0);
    TWordWrapper w(RandomOption(rng));
    TVecRows flat = RowsOf(text, w, false);
    TVecRows rows = flat;
    RewrapRows(rows, w, false);
    ASSERT_TRUE(rows == RowsOf(text, w, true)) << iter;
    for (int change = 0; change < 4; ++change) {
      w.Configure(RandomOption(rng));
      RewrapRows(rows, w, true);
      ASSERT_TRUE(rows == RowsOf(text, w, true)) << iter << "/" << change;
    }
    UnwrapRows(rows);
    ASSERT_TRUE(rows == flat);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, WrapRowsProperty, ::testing::Values(11, 12, 13));

TEST(WrapRows, WrapOffAndOnAgainGivesTheSameRows) {
  TVornEditWrapOption o;
  o.SetWrapByte(10);
  TWordWrapper w(o);
  const std::string text = std::string(25, 'a') + "\r\nshort\r\n" + std::string(10, 'b') + "\r\n";
  TVecRows rows = RowsOf(text, w, true);
  ASSERT_EQ(rows.Count(), 6);  // 10, 10, 5, short, 10, empty
  TVecRows wrapped = rows;
  UnwrapRows(rows);
  EXPECT_EQ(rows.Count(), 3);
  RewrapRows(rows, w, false);
  EXPECT_TRUE(rows == wrapped);
}

TEST(WrapRows, LastRowKeepsItsEndAndOtherFieldsStayInPlace) {
  TVornEditWrapOption o;
  o.SetWrapByte(10);
  TWordWrapper w(o);
  TVecRows rows = RowsOf(std::string(3, 'x') + "\r\n" + std::string(25, 'a'), w, false);
  rows.ends.back() = reTextEnd;
  RewrapRows(rows, w, false);
  ASSERT_EQ(rows.Count(), 4);
  EXPECT_EQ(rows.ends.back(), reTextEnd);
  EXPECT_EQ(rows.tags, (std::vector<int>{0, 1, -1, -1}));
  // A wrapped last row unwraps into a text end.
  rows.ends.back() = reWrapped;
  UnwrapRows(rows);
  EXPECT_EQ(rows.ends, (std::vector<TRowEnd>{reLineEnd, reTextEnd}));
}

TVecRows Layout(const std::vector<std::vector<std::string>>& lines) {
  TVecRows r;
  for (const auto& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      r.text.push_back(line[i]);
      r.ends.push_back(i + 1 < line.size() ? reWrapped : reLineEnd);
      r.tags.push_back(0);
    }
  }
  return r;
}

// One line shrinks while the next grows more (and the reverse): writing all lines in the one
// direction that the overall change suggests would overwrite rows before reading them.
TEST(WrapRows, LinesChangingInOppositeDirectionsAreNotOverwrittenBeforeRead) {
  TVornEditWrapOption o;
  o.SetWrapByte(10);
  TWordWrapper w(o);
  const std::string longA(50, 'a'), longB(50, 'b');
  TVecRows grows = Layout({{"a", "a", "a", "a", "a"}, {longB}});
  RewrapRows(grows, w, true);
  EXPECT_TRUE(grows == Layout({{"aaaaa"}, {"bbbbbbbbbb", "bbbbbbbbbb", "bbbbbbbbbb", "bbbbbbbbbb",
                                            "bbbbbbbbbb", ""}}));
  TVecRows shrinks = Layout({{longA}, {"b", "b", "b", "b", "b", "b", "b", "b", "b", "b"}});
  RewrapRows(shrinks, w, true);
  EXPECT_TRUE(shrinks == Layout({{"aaaaaaaaaa", "aaaaaaaaaa", "aaaaaaaaaa", "aaaaaaaaaa",
                                  "aaaaaaaaaa", ""}, {"bbbbbbbbbb", ""}}));
}

TEST(WrapRows, EmptyListStaysEmpty) {
  TWordWrapper w;
  TVecRows rows;
  EXPECT_EQ(RewrapRows(rows, w, true), 0);
  UnwrapRows(rows);
  EXPECT_EQ(rows.Count(), 0);
}

}  // namespace
}  // namespace vorn
