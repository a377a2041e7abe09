// The row colouring as a cell dump: token kinds to colour entries, marks, regions across rows,
// keywords at character starts only, emphasis and find matches, and resuming inside long lines.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editcore/RowColoring.h"

namespace vorn {
namespace {

// A C-like view: "/*" ... "*/" brackets in entry 17, "//" comments, double quotes.
struct TCView {
  TCView() {
    view.SetQuotation("\"");
    view.SetUrl(true);
    view.SetKeyword(true);
    TVornEditBracketItem& b = view.Brackets().Add();
    b.LeftBracket().SetPlainText(true);
    b.LeftBracket().SetPattern("/*");
    b.RightBracket().SetPlainText(true);
    b.RightBracket().SetPattern("*/");
    b.SetColorIndex(19);
    view.Commenter1().SetPlainText(true);
    view.Commenter1().SetPattern("//");
  }
  TVornEditKeyword& AddKeyword(const std::string& pattern, int entry) {
    TVornEditKeyword& k = view.Keywords().AddItem();
    k.SetPattern(pattern);
    k.SetColorIndex(entry);
    return k;
  }
  TVornEditViewInfo view;
};

TRowSpan WholeRow(std::string_view text, int state = -1, int leftCol = 0, int lastCol = 1000) {
  TRowSpan s;
  s.Line = text;
  s.LineState = state;
  s.RowEnd = static_cast<int>(text.size());
  // The tests' rows have no tabs or double-byte characters before leftCol.
  s.StartByte = leftCol;
  s.StartCol = leftCol;
  s.LastCol = lastCol;
  return s;
}

// Each text stands for other rows than the last: what the colorer remembered of tokens goes.
std::string Dump(TRowColorer& colorer, std::string_view text, TEndMark end = TEndMark::None, int state = -1) {
  TRowPaint paint;
  colorer.ForgetText();
  colorer.ColorRow(WholeRow(text, state), end, paint);
  return DumpRowPaint(text, paint);
}

TRowColorer Colorer(const TVornEditViewInfo* view, TVornEditMarksValues marks = {}) {
  TRowColorer c;
  TColoringSetup setup;
  setup.View = view;
  setup.Marks = marks;
  setup.TabWidth = 4;
  c.SetSetup(setup);
  return c;
}

TEST(RowColoring, EveryTokenKindTakesItsEntry) {
  TCView c;
  TRowColorer colorer = Colorer(&c.view);
  // identifier, number, symbol, quotation, kanji, half-width katakana, URL, comment.
  const std::string text = "ab 12;\"q\"\x8a\xbf\xb1 http://x.jp // c";
  EXPECT_EQ(Dump(colorer, text, TEndMark::LineEnd),
            "0-2 'ab' c7 b7 s0 m-\n"
            "2-3 ' ' c0 b0 s0 m-\n"
            "3-5 '12' c8 b8 s0 m-\n"
            "5-6 ';' c11 b11 s0 m-\n"
            "6-9 '\"q\"' c10 b10 s0 m-\n"
            "9-11 '\x8a\xbf' c6 b6 s0 m-\n"
            "11-12 '\xb1' c29 b29 s0 m-\n"
            "12-13 ' ' c0 b0 s0 m-\n"
            "13-24 'http://x.jp' c13 b13 s4 m-\n"
            "24-25 ' ' c0 b0 s0 m-\n"
            "25-29 '// c' c5 b5 s0 m-\n"
            "ret at 29\n"
            "tail b5\n");
}

TEST(RowColoring, MarksTakeTheirEntriesOutsideRegionsAndTheRegionsColoursInside) {
  TCView c;
  TVornEditMarksValues marks;
  marks.TabMark = marks.SpaceMark = marks.DBSpaceMark = true;
  TRowColorer colorer = Colorer(&c.view, marks);
  // tab, space, full-width space, control character; then the same inside a comment.
  const std::string text = "\t \x81\x40\x01//\t \x81\x40\x01";
  EXPECT_EQ(Dump(colorer, text),
            "0-4 '\t' c2 b2 s0 mT\n"
            "4-5 ' ' c40 b40 s0 mS\n"
            "5-7 '\x81\x40' c3 b3 s0 mW\n"
            "7-8 '\x01' c38 b38 s0 mC\n"
            "8-10 '//' c5 b5 s0 m-\n"
            "10-12 '\t' c5 b5 s0 mT\n"
            "12-13 ' ' c5 b5 s0 mS\n"
            "13-15 '\x81\x40' c5 b5 s0 mW\n"
            "15-16 '\x01' c5 b5 s0 mC\n"
            "tail b5\n");
  // Without the switches blanks are plain cells; control characters always show their mark.
  TRowColorer plain = Colorer(&c.view);
  EXPECT_EQ(Dump(plain, "\t \x01"), "0-5 '\t ' c0 b0 s0 m-\n5-6 '\x01' c38 b38 s0 mC\n");
}

TEST(RowColoring, BracketRegionRunsOverRowsAndEndsAtItsCloser) {
  TCView c;
  TRowColorer colorer = Colorer(&c.view);
  // The first row opens the region: the rest of it is filled in the bracket's colour.
  EXPECT_EQ(Dump(colorer, "x /* a", TEndMark::LineEnd),
            "0-1 'x' c7 b7 s0 m-\n1-2 ' ' c0 b0 s0 m-\n2-6 '/* a' c19 b19 s0 m-\nret at 6\ntail b19\n");
  // The next row starts inside it (state 0) and leaves it after "*/".
  EXPECT_EQ(Dump(colorer, "b */ y", TEndMark::LineEnd, 0),
            "0-4 'b */' c19 b19 s0 m-\n4-5 ' ' c0 b0 s0 m-\n5-6 'y' c7 b7 s0 m-\nret at 6\n");
  // An empty row inside the region is the region's colour to its right edge.
  EXPECT_EQ(Dump(colorer, "", TEndMark::LineEnd, 0), "ret at 0\ntail b19\n");
}

TEST(RowColoring, KeywordsMatchAtCharacterStartsOnly) {
  TCView c;
  c.AddKeyword("A", 17);
  TRowColorer colorer = Colorer(&c.view);
  // ア is 83 41: its trail byte is the keyword's byte, and is never coloured.
  EXPECT_EQ(Dump(colorer, "\x83\x41" "A"), "0-2 '\x83\x41' c6 b6 s0 m-\n2-3 'A' c17 b17 s1 m-\n");
  // Nor inside a quotation or comment.
  EXPECT_EQ(Dump(colorer, "\"A\"//A"), "0-3 '\"A\"' c10 b10 s0 m-\n3-6 '//A' c5 b5 s0 m-\ntail b5\n");
}

TEST(RowColoring, WholeWordKeywordsMatchAtTokenStartsAndEarlierEntriesWin) {
  TCView c;
  c.AddKeyword("int", 17).SetWholeWord(true);
  c.AddKeyword("in", 18);
  TRowColorer colorer = Colorer(&c.view);
  // "print" holds "int" inside a token: only "in" (not whole-word) colours there. "int" at a
  // token start wins over "in", being earlier in the list.
  EXPECT_EQ(Dump(colorer, "print int"),
            "0-2 'pr' c7 b7 s0 m-\n2-4 'in' c18 b18 s1 m-\n4-5 't' c7 b7 s0 m-\n5-6 ' ' c0 b0 s0 m-\n"
            "6-9 'int' c17 b17 s1 m-\n");
}

TEST(RowColoring, EmphasisFillsTheRowAndTheFindHighlightWinsOverKeywords) {
  TCView c;
  c.AddKeyword("TODO", 24);
  c.AddKeyword("x", 17);
  TVornEditKeyword find;
  find.SetPattern("x");
  TRowColorer colorer = Colorer(&c.view);
  EXPECT_EQ(Dump(colorer, "a TODO"), "0-6 'a TODO' c24 b24 s1 m-\nrow b24\n");
  colorer.SetFind(&find);
  EXPECT_EQ(Dump(colorer, "x\"x\""), "0-1 'x' c31 b31 s0 m-\n1-2 '\"' c10 b10 s0 m-\n2-3 'x' c31 b31 s0 m-\n"
                                     "3-4 '\"' c10 b10 s0 m-\n");
}

TEST(RowColoring, SelectionMarksWholeAndCutCells) {
  TRowColorer colorer = Colorer(nullptr);
  TRowPaint paint;
  const std::string text = "a\x82\xa0" "b";
  colorer.ColorRow(WholeRow(text), TEndMark::LineEnd, paint);
  TRowColorer::ApplySelection(paint, 2, 100);
  EXPECT_EQ(DumpRowPaint(text, paint), "0-1 'a' c7 b7 s0 m-\n1-3 '\x82\xa0' c6 b6 s0 m- cut\n3-4 'b' c7 b7 s0 m- sel\n"
                                       "ret at 4 sel\n");
}

// Rows of one long line coloured in any order, from remembered token boundaries, look as they
// do coloured afresh from the line's start.
TEST(RowColoring, ResumingInsideALongLineEqualsColouringFromItsStart) {
  TCView c;
  c.AddKeyword("if", 17);
  const char* const pieces[] = {"if ", "x", " /* ", " */ ", "\"s ", "\" ", "// ", "\x82\xa0", "\t", "12 ", "ab "};
  std::mt19937 rng(7);
  for (int round = 0; round < 4; ++round) {
    std::string line;
    while (line.size() < 40000) line += pieces[rng() % std::size(pieces)];
    // Cut into rows of about 80 bytes at character starts.
    std::vector<int> starts{0};
    for (std::size_t b = 0; b < line.size();) {
      const std::size_t next = std::min(line.size(), b + 80);
      std::size_t cut = b;
      while (cut < next) cut += (static_cast<unsigned char>(line[cut]) == 0x82) ? 2 : 1;
      b = cut;
      starts.push_back(static_cast<int>(b));
    }
    TRowColorer warm = Colorer(&c.view);
    for (int probe = 0; probe < 60; ++probe) {
      const std::size_t r = rng() % (starts.size() - 1);
      TRowSpan span = WholeRow(line);
      span.RowBegin = span.StartByte = starts[r];
      span.RowEnd = starts[r + 1];
      span.StartCol = 0;
      TRowPaint a, b;
      warm.ColorRow(span, TEndMark::None, a);
      TRowColorer fresh = Colorer(&c.view);
      fresh.ColorRow(span, TEndMark::None, b);
      const std::string_view row(line.data() + span.RowBegin, static_cast<std::size_t>(span.RowEnd - span.RowBegin));
      ASSERT_EQ(DumpRowPaint(row, a), DumpRowPaint(row, b)) << "round " << round << " row " << r;
    }
  }
}

}  // namespace
}  // namespace vorn
