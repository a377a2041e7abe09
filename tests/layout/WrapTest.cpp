#include "layout/Wrap.h"

#include <gtest/gtest.h>

#include <random>

namespace vorn {
namespace {

// Shift_JIS characters used below.
const std::string kTouten = "\x81\x41";      // 、
const std::string kKagiOpen = "\x81\x75";    // 「
const std::string kKagiClose = "\x81\x76";   // 」
const std::string kA = "\x82\xA0";           // あ
const std::string kTable = "\x95\x5C";       // 表: trail byte 0x5C

struct TRowsOf {
  std::vector<std::string> text;
  std::vector<TRowEnd> ends;
};

TRowsOf Wrap(const std::string& line, const TVornEditWrapOption& opt, int tab = 8) {
  TWordWrapper w(opt, tab);
  std::vector<TWrapRow> rows;
  w.WrapLine(line, 0, rows);
  TRowsOf r;
  for (const TWrapRow& row : rows) {
    r.text.push_back(line.substr(row.Offset, row.Length));
    r.ends.push_back(row.End);
  }
  EXPECT_EQ(w.CountRowsOfLine(line), static_cast<int>(rows.size())) << "count differs for " << line;
  return r;
}

TVornEditWrapOption Width(int w) {
  TVornEditWrapOption o;
  o.SetWrapByte(w);
  return o;
}

std::string Rep(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(ColumnMap, CodesForEachKindOfColumn) {
  EXPECT_EQ(ColumnMap("a b" + kA + "=", 8, 0), "121452");
  // A tab stop at 8 columns, counted from the start of the text.
  EXPECT_EQ(ColumnMap("ab\tc", 8, 0), "112333331");
  // With word wrap on, a tab never crosses a multiple of the wrap width.
  EXPECT_EQ(ColumnMap("12345678\t", 8, 10), "1111111123");
  EXPECT_EQ(ColumnMap("123456789\tx", 8, 10), "11111111121");
  // Tab stops restart at the wrap width: a tab 2 columns into the second row runs to 8 there.
  EXPECT_EQ(ColumnMap(Rep("a", 12) + "\t", 8, 10).substr(12), "233333");
  // A lone lead byte at the end is a single column.
  EXPECT_EQ(ColumnMap("a\x82", 8, 0), "11");
}

TEST(AttributeArray, ByteIndexFollowsTheCharacterAcrossTabsAndDoubleBytes) {
  std::string text = "a\t" + kTable + "b";
  std::string map = ColumnMap(text, 4, 0) + cmEnd;  // "1233451"
  ASSERT_EQ(map, "12334510");
  TVornEditAttributeArray a(text, map);
  EXPECT_EQ(a.ColumnCount(), 7);
  a.MoveTo(4);  // the last column of the tab
  EXPECT_EQ(a.ByteIndex(), 2);
  EXPECT_EQ(a.Current(), "\t");
  EXPECT_EQ(a.PeekNext(), kTable);
  EXPECT_EQ(a.Column(), 4);
  a.Next();
  EXPECT_EQ(a.Current(), kTable);
  a.Next();
  EXPECT_EQ(a.ByteIndex(), 4);
  EXPECT_EQ(a.Current(), kTable);
  a.MoveTo(100);
  EXPECT_TRUE(a.OnEnd());
  EXPECT_EQ(a.Current(), "");
  EXPECT_EQ(a.ByteIndex(), 6);
  a.BackOneChar();
  EXPECT_EQ(a.Current(), "b");
  a.BackOneChar();  // from the last column of b to the last column of the double-byte character
  EXPECT_EQ(a.Column(), 6);
  a.BackOneChar();  // from there to the last column of the tab
  EXPECT_EQ(a.Column(), 4);
  a.MoveTo(1);
  EXPECT_EQ(a.ByteIndex(), 1);
  a.Prev();
  EXPECT_EQ(a.Column(), 1);
}

TEST(CharSet, MatchesOnlyWholeCharactersOfTheSet) {
  // "\x82\xA0\x41" holds the bytes 0xA0 0x41 at a trail position, which must not match.
  EXPECT_FALSE(InCharSet("\xA0", "\x82\xA0" "A"));
  EXPECT_TRUE(InCharSet("A", "\x82\xA0" "A"));
  EXPECT_FALSE(InCharSet("\xA0\x41", "\x82\xA0\x41"));
  EXPECT_TRUE(InCharSet(kTouten, TVornEditWrapOption::DefaultPunctuationStr()));
  EXPECT_FALSE(InCharSet("", "abc"));
  EXPECT_FALSE(InCharSet("a", ""));
}

TEST(WrapOption, WrapByteIsClampedAndAssignComparesFirst) {
  TVornEditWrapOption o;
  EXPECT_EQ(o.WrapByte(), 80);
  o.SetWrapByte(5);
  EXPECT_EQ(o.WrapByte(), 10);
  o.SetWrapByte(1000);
  EXPECT_EQ(o.WrapByte(), 500);
  int calls = 0;
  o.SetOnChange([&](TNotifyPersistent*) { ++calls; });
  TVornEditWrapOption src;
  src.SetWrapByte(500);
  o.Assign(src);
  EXPECT_EQ(calls, 0);
  src.SetLeading(true);
  src.SetFollowPunctuation(true);
  o.Assign(src);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(o == src);
  EXPECT_EQ(TVornEditWrapOption::DefaultFollowStr().size(), 56u);
  EXPECT_EQ(TVornEditWrapOption::DefaultLeadStr().size(), 14u);
}

TEST(WrapLine, PlainRowsOfTheWrapWidth) {
  TRowsOf r = Wrap(Rep("a", 25), Width(10));
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 10), Rep("a", 10), Rep("a", 5)}));
  EXPECT_EQ(r.ends, (std::vector<TRowEnd>{reWrapped, reWrapped, reLineEnd}));
  EXPECT_EQ(Wrap(Rep("a", 9), Width(10)).text.size(), 1u);
}

TEST(WrapLine, ExactFitGivesAnEmptyLastRowUnlessFollowRetMark) {
  TRowsOf r = Wrap(Rep("a", 10), Width(10));
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 10), ""}));
  EXPECT_EQ(r.ends, (std::vector<TRowEnd>{reWrapped, reLineEnd}));
  TVornEditWrapOption o = Width(10);
  o.SetFollowRetMark(true);
  r = Wrap(Rep("a", 20), o);
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 10), Rep("a", 10)}));
  EXPECT_EQ(r.ends, (std::vector<TRowEnd>{reWrapped, reLineEnd}));
}

TEST(WrapLine, DoubleByteCharacterAtTheEdgeStartsTheNextRow) {
  TRowsOf r = Wrap(Rep("a", 9) + kA + "b", Width(10));
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 9), kA + "b"}));
  // A trail byte of 0x5C is never mistaken for a character of its own.
  r = Wrap(Rep(kTable, 6), Width(10));
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep(kTable, 5), kTable}));
}

TEST(WrapLine, HangingPunctuationStaysOnTheRow) {
  TVornEditWrapOption o = Width(10);
  o.SetFollowPunctuation(true);
  TRowsOf r = Wrap(Rep("a", 10) + kTouten + "bcd", o);
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 10) + kTouten, "bcd"}));
  // Two single-byte marks may hang, a third may not.
  r = Wrap(Rep("a", 10) + ",.,b", o);
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 10) + ",.", ",b"}));
  // Without the option the mark starts the next row.
  r = Wrap(Rep("a", 10) + kTouten + "bcd", Width(10));
  EXPECT_EQ(r.text[1], kTouten + "bcd");
}

TEST(WrapLine, OpeningBracketIsPushedToTheNextRow) {
  TVornEditWrapOption o = Width(10);
  o.SetLeading(true);
  TRowsOf r = Wrap(Rep("a", 8) + kKagiOpen + "bcde", o);
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 8), kKagiOpen + "bcde"}));
}

TEST(WrapLine, ClosingBracketPullsItsNeighbourAlong) {
  TVornEditWrapOption o = Width(10);
  o.SetLeading(true);
  TRowsOf r = Wrap(Rep("a", 9) + "b" + kKagiClose + "cc", o);
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 9), "b" + kKagiClose + "cc"}));
  // The pull stops once the row is down to four fifths of the width.
  r = Wrap(Rep("a", 8) + Rep(kKagiClose, 3) + "x", o);
  EXPECT_EQ(r.text[0], Rep("a", 8));
  EXPECT_EQ(r.text[1], Rep(kKagiClose, 3) + "x");
}

TEST(WrapLine, WordBreakCutsAfterADelimiterInTheLastTwoThirds) {
  TVornEditWrapOption o = Width(30);
  o.SetWordBreak(true);
  TRowsOf r = Wrap(Rep("a", 23) + " " + Rep("b", 15), o);
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 23) + " ", Rep("b", 15)}));
  // Double-byte characters are break points of their own.
  r = Wrap(Rep("a", 20) + kA + Rep("b", 15), o);
  EXPECT_EQ(r.text[0], Rep("a", 20) + kA);
}

TEST(WrapLine, WordBreakCutsALongWordAtTheFullWidth) {
  TVornEditWrapOption o = Width(30);
  o.SetWordBreak(true);
  TRowsOf r = Wrap(Rep("a", 70), o);
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 30), Rep("a", 30), Rep("a", 10)}));
  // A space in the first third is no break point either.
  r = Wrap("aaaa " + Rep("b", 40), o);
  EXPECT_EQ(r.text[0], "aaaa " + Rep("b", 25));
}

TEST(WrapLine, RestOfATabStaysOnItsRow) {
  // The tab at column 9 has 1 + 1 columns (to the wrap width); the next row starts after it.
  TRowsOf r = Wrap(Rep("a", 8) + "\tbbbbbbbbbbb", Width(10));
  EXPECT_EQ(r.text, (std::vector<std::string>{Rep("a", 8) + "\t", Rep("b", 10), "b"}));
  // A tab straddling the edge: the row ends inside the tab.
  r = Wrap(Rep("a", 9) + "\tbb", Width(10));
  EXPECT_EQ(r.text[0], Rep("a", 9) + "\t");
  EXPECT_EQ(r.text[1], "bb");
}

TEST(TextToRows, SplitsAtEveryBreakKindAndStopsAtNul) {
  TWordWrapper w(Width(10));
  std::vector<TWrapRow> rows;
  auto texts = [&](std::string_view t, bool wrap) {
    w.TextToRows(t, wrap, rows);
    std::vector<std::string> out;
    for (auto& r : rows) out.emplace_back(t.substr(r.Offset, r.Length));
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(texts("", false), V{""});
  EXPECT_EQ(texts("a\r\n", false), V{"a"});
  EXPECT_EQ(texts("\r\n", false), V{""});
  EXPECT_EQ(texts("a\n\rb", false), (V{"a", "", "b"}));
  EXPECT_EQ(texts("a\rb\r\n\nc", false), (V{"a", "b", "", "c"}));
  EXPECT_EQ(texts(std::string_view("a\r\n\0b", 5), false), V{"a"});
  for (auto& r : rows) EXPECT_EQ(r.End, reLineEnd);
  EXPECT_EQ(texts(Rep("x", 12) + "\r\nyy", false), (V{Rep("x", 12), "yy"}));
  EXPECT_EQ(texts(Rep("x", 12) + "\r\nyy", true), (V{Rep("x", 10), "xx", "yy"}));
  EXPECT_EQ(rows[0].End, reWrapped);
  EXPECT_EQ(rows[1].End, reLineEnd);
}

// Every row stays within W + 3 columns (hanging punctuation after a double-byte character
// that was moved down may add a double-byte mark to a row of W + 1), rows join back to the line, and counting agrees with
// cutting, whatever the options and the mix of characters.
class WrapProperty : public ::testing::TestWithParam<int> {};

TEST_P(WrapProperty, RowsRejoinTheLineAndStayNarrow) {
  std::mt19937 rng(GetParam());
  const std::vector<std::string> pieces = {"a", "b", " ", ",", "\t", kA, kTouten, kKagiOpen,
                                           kKagiClose, "(", ")", "\xB0", kTable, "\x82"};
  for (int iter = 0; iter < 300; ++iter) {
    TVornEditWrapOption o;
    o.SetWrapByte(10 + static_cast<int>(rng() % 40));
    o.SetFollowPunctuation(rng() & 1);
    o.SetLeading(rng() & 1);
    o.SetWordBreak(rng() & 1);
    o.SetFollowRetMark(rng() & 1);
    std::string line;
    int len = static_cast<int>(rng() % 200);
    for (int i = 0; i < len; ++i) {
      const std::string& p = pieces[rng() % pieces.size()];
      if (p == "\x82" && i + 1 < len) continue;  // lone lead byte only at the end
      line += p;
    }
    TRowsOf r = Wrap(line, o);
    std::string joined;
    for (std::size_t i = 0; i < r.text.size(); ++i) {
      joined += r.text[i];
      EXPECT_EQ(r.ends[i], i + 1 == r.text.size() ? reLineEnd : reWrapped);
      if (r.text[i].find('\t') == std::string::npos) {
        EXPECT_LE(static_cast<int>(r.text[i].size()), o.WrapByte() + 3) << ::testing::PrintToString(line);
      }
      if (i + 1 < r.text.size()) {
        EXPECT_FALSE(r.text[i].empty()) << line;
      }
    }
    ASSERT_EQ(joined, line);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, WrapProperty, ::testing::Values(1, 2, 3, 4));

}  // namespace
}  // namespace vorn
