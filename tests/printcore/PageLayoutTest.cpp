// Page geometry, line wrapping, the page layout and page ranges.
#include "printcore/PageGeometry.h"
#include "printcore/PageLayout.h"
#include "printcore/PageRange.h"

#include <gtest/gtest.h>

#include <random>

namespace vorn {
namespace {

// 254 dpi makes one millimetre ten pixels; the printable page is 5 mm short of A4 each side.
TPrinterPage A4At254() {
  TPrinterPage page;
  page.Dpi = 254;
  page.PageWidth = 2000;
  page.PageHeight = 2870;
  page.PaperWidthMm = 210;
  page.PaperHeightMm = 297;
  return page;
}

constexpr TPrintCell kCell{10, 20};

TEST(PageGeometry, UnprintableOffsetsAndBodyFollowTheMargins) {
  TPrinterPage page = A4At254();
  EXPECT_EQ(MmToPixels(600, 10), 236);
  EXPECT_EQ(UnprintableOffsets(page), (TPxRect{50, 50, 50, 50}));
  page.Landscape = true;
  page.PageWidth = 2870;
  page.PageHeight = 2000;
  EXPECT_EQ(UnprintableOffsets(page), (TPxRect{50, 50, 50, 50}));
  page = A4At254();
  page.PaperWidthMm = page.PaperHeightMm = 0;  // unknown paper: nothing is unprintable
  EXPECT_EQ(UnprintableOffsets(page), (TPxRect{0, 0, 0, 0}));

  TStringsPrinterValues s;
  s.MarginLeft = 20;
  s.MarginTop = 2;  // inside the unprintable edge: the body starts at the page's edge
  s.MarginRight = 10;
  s.MarginBottom = 30;
  std::string message;
  const TPageFrame f = ComputePageFrame(s, A4At254(), kCell, 10, message);
  EXPECT_EQ(message, "");
  EXPECT_EQ(f.Body, (TPxRect{150, 0, 1950, 2620}));
  EXPECT_EQ(f.TextTop(), 0);
  EXPECT_EQ(f.TextBottom(), 2620);
}

TEST(PageGeometry, BandsNumberBoxAndColumns) {
  TStringsPrinterValues s;
  s.LineNumber = true;
  s.ColumnCount = 2;
  s.ColumnSpace = 4;
  s.Header = "%p";
  s.HeaderAlign = haCenter;
  s.Footer = "x";  // without an alignment the footer takes no room
  std::string message;
  const TPageFrame f = ComputePageFrame(s, A4At254(), kCell, 12345, message);
  EXPECT_EQ(f.NumberWidth, (5 + 1 + 1) * 10);
  EXPECT_EQ(f.HeaderBand.Height(), 30);
  EXPECT_EQ(f.FooterBand.Height(), 0);
  EXPECT_EQ(f.TextWidth, (2000 - 40 - 2 * 70) / 2);
  EXPECT_EQ(f.ColumnStep, 40 + 70 + f.TextWidth);
  EXPECT_LE(f.TextLeft + f.ColumnStep + f.TextWidth, f.Body.Right);
}

TEST(PageGeometry, NoRoomForOneCharacterIsReported) {
  std::string message;
  TStringsPrinterValues s;
  s.MarginLeft = 100;
  s.MarginRight = 100;  // 10 mm are left of 210 mm: five cells of 20 px, no double-byte cell of 60
  ComputePageFrame(s, A4At254(), TPrintCell{20, 20}, 10, message);
  EXPECT_EQ(message, "");
  ComputePageFrame(s, A4At254(), TPrintCell{60, 20}, 10, message);
  EXPECT_NE(message, "");
  TPrinterPage a5{254, 1400, 2000, 148, 210, false};  // the margins cross: a negative width
  ComputePageFrame(s, a5, kCell, 10, message);
  EXPECT_NE(message, "");
  s = {};
  s.ColumnCount = 3;
  s.ColumnSpace = 100;
  ComputePageFrame(s, A4At254(), kCell, 10, message);
  EXPECT_NE(message, "");
  s = {};
  ComputePageFrame(s, A4At254(), TPrintCell{10, 3000}, 10, message);  // a font taller than the page
  EXPECT_NE(message, "");
  ComputePageFrame(s, A4At254(), TPrintCell{1001, 20}, 10, message);  // wider than half the body
  EXPECT_NE(message, "");
  ComputePageFrame(s, A4At254(), TPrintCell{1000, 20}, 10, message);  // exactly one double-byte character
  EXPECT_EQ(message, "");
}

TEST(WrapPrintLine, CutsByColumnsKeepingCharactersAndWords) {
  using V = std::vector<std::string>;
  EXPECT_EQ(WrapPrintLine("", 5), V{""});
  EXPECT_EQ(WrapPrintLine("abcdefgh", 3), (V{"abc", "def", "gh"}));
  EXPECT_EQ(WrapPrintLine("ab cdef", 5), (V{"ab ", "cdef"}));
  // A double-byte character that would cross the edge goes to the next row whole.
  EXPECT_EQ(WrapPrintLine("a\x82\xa0\x82\xa2", 4), (V{"a\x82\xa0", "\x82\xa2"}));
  // Narrower than a double-byte character: it still takes one per row, and the walk ends.
  EXPECT_EQ(WrapPrintLine("\x82\xa0\x82\xa2", 1), (V{"\x82\xa0", "\x82\xa2"}));
  EXPECT_EQ(ExpandTabsPlain("a\tb\x82\xa0\tc", 4), "a   b\x82\xa0 c");
}

// Random documents in random frames against what must hold of any layout: lines in order and
// whole, every row inside its column between the bands, numbers beside first rows, the header
// on every page with that page's number.
TEST(PageLayouter, RandomDocumentsKeepEveryLineInOrderInsideTheBoxes) {
  std::mt19937 rng(31);
  for (int round = 0; round < 60; ++round) {
    TStringsPrinterValues s;
    s.ColumnCount = 1 + static_cast<int>(rng() % 3);
    s.ColumnSpace = static_cast<int>(rng() % 20);
    s.LineNumber = rng() % 2;
    s.Header = "P%p";
    s.HeaderAlign = static_cast<TStringsPrinterHeaderAlign>(rng() % 4);
    s.Footer = "end";
    s.FooterAlign = static_cast<TStringsPrinterHeaderAlign>(rng() % 4);
    s.MarginTop = static_cast<int>(rng() % 60);
    s.MarginBottom = static_cast<int>(rng() % 60);
    const TPrintCell cell{10 + static_cast<int>(rng() % 40), 20 + static_cast<int>(rng() % 200)};
    std::vector<std::string> lines;
    const int count = static_cast<int>(rng() % 300);
    for (int i = 0; i < count; ++i) {
      std::string line;
      const int len = static_cast<int>(rng() % 400);
      for (int k = 0; k < len; ++k) {
        const unsigned r = rng() % 10;
        line += r < 2 ? std::string("\x93\xfa") : r < 3 ? std::string(" ") : std::string(1, static_cast<char>('a' + r));
      }
      lines.push_back(line);
    }
    std::string message;
    const TPageFrame f = ComputePageFrame(s, A4At254(), cell, count, message);
    if (!message.empty()) continue;
    TPageLayouter layouter(s, f, lines, nullptr, {});
    while (!layouter.Step(37)) {
    }
    const auto& pages = layouter.Pages();
    ASSERT_FALSE(pages.empty());
    std::vector<std::string> rebuilt;
    int expectNumber = 1;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      bool sawHeader = false;
      for (const TPrintRow& row : pages[p].Rows) {
        if (row.Y < f.TextTop() || row.Y >= f.TextBottom()) {
          const bool inHeader = row.Y == f.HeaderBand.Top && f.HeaderBand.Height() > 0;
          if (inHeader) {
            EXPECT_EQ(row.Text, "P" + std::to_string(p + 1));
            sawHeader = true;
          } else {
            EXPECT_EQ(row.Text, "end");
            EXPECT_EQ(row.Y, f.FooterBand.Top);
          }
          continue;
        }
        EXPECT_LE(row.Y + cell.LineHeight, f.TextBottom());
        const int column = (row.X - f.Body.Left) / f.ColumnStep;
        ASSERT_LT(column, f.Columns);
        const int textLeft = f.TextLeft + column * f.ColumnStep;
        if (row.X < textLeft) {  // a line number, right-aligned in its box
          EXPECT_EQ(row.Text, std::to_string(expectNumber) + ":");
          EXPECT_EQ(row.X + row.Width, textLeft);
          ++expectNumber;
          continue;
        }
        EXPECT_EQ(row.X, textLeft);
        EXPECT_LE(TextColumns(row.Text) * cell.Width, f.TextWidth);
        EXPECT_LE(row.X + row.Width, f.Body.Right) << "a column past the right margin";
        rebuilt.push_back(row.Text);
      }
      EXPECT_EQ(sawHeader, s.HeaderAlign != haNone);
    }
    if (s.LineNumber) {
      EXPECT_EQ(expectNumber, count + 1);
    }
    std::vector<std::string> expected;
    for (const std::string& line : lines)
      for (std::string& row : WrapPrintLine(line, f.TextColumns())) expected.push_back(std::move(row));
    EXPECT_EQ(rebuilt, expected) << "round " << round;
  }
}

TEST(PageLayouter, ALineThatFitsMovesWholeToTheNextColumn) {
  TStringsPrinterValues s;
  s.ColumnCount = 2;
  s.ColumnSpace = 0;
  TPrinterPage page{254, 400, 100, 0, 0, false};  // 5 lines of 20 px per column, 20 columns of 10 px
  std::string message;
  const TPageFrame f = ComputePageFrame(s, page, kCell, 4, message);
  ASSERT_EQ(message, "");
  const std::string wide(50, 'x');  // three rows
  TPageLayouter layouter(s, f, {"a", "b", "c", wide, wide}, nullptr, {});
  layouter.Step(100);
  const auto& pages = layouter.Pages();
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].Rows.size(), 6u);
  EXPECT_EQ(pages[0].Rows[3].X, 200);  // the first wide line starts the second column
  EXPECT_EQ(pages[0].Rows[3].Y, 0);
  EXPECT_EQ(pages[1].Rows[0].Y, 0);
  EXPECT_EQ(layouter.Percent(), 100);
}

TEST(PageLayouter, AnEmptyDocumentIsOnePageWithItsBands) {
  TStringsPrinterValues s;
  s.Header = "%p/%F";
  s.HeaderAlign = haRight;
  std::string message;
  const TPageFrame f = ComputePageFrame(s, A4At254(), kCell, 0, message);
  TTemplateValues v;
  v.FileName = "/a/b.txt";
  TPageLayouter layouter(s, f, {}, nullptr, v);
  EXPECT_TRUE(layouter.Step(1));
  ASSERT_EQ(layouter.Pages().size(), 1u);
  ASSERT_EQ(layouter.Pages()[0].Rows.size(), 1u);
  const TPrintRow& header = layouter.Pages()[0].Rows[0];
  EXPECT_EQ(header.Text, "1/b.txt");
  EXPECT_EQ(header.X + 7 * kCell.Width, f.Body.Right);
  EXPECT_EQ(layouter.Percent(), 100);
}

TEST(PageRange, PrintAndPreviewSpans) {
  EXPECT_EQ(PrintSpan(-1, -1, 5).First, 0);
  EXPECT_EQ(PrintSpan(-1, -1, 5).Last, 4);
  EXPECT_EQ(PrintSpan(2, 3, 5).Count(), 2);
  EXPECT_EQ(PrintSpan(9, 12, 5).First, 4);  // past the end: the last page
  EXPECT_EQ(PrintSpan(9, 12, 5).Last, 4);
  EXPECT_EQ(PrintSpan(4, 2, 5).Count(), 1);  // a range upside down prints its start page
  EXPECT_TRUE(PrintSpan(1, 1, 0).Empty());
  EXPECT_EQ(PreviewSpan(2, 4, 10).First, 1);
  EXPECT_EQ(PreviewSpan(2, 4, 10).Last, 3);
  EXPECT_EQ(PreviewSpan(-1, -1, 3).Count(), 3);
  EXPECT_TRUE(PreviewSpan(5, 8, 3).Empty());
}

TEST(PageRange, DialogBoxesDragEachOtherAlong) {
  TPageRangeBoxes b;
  b.SetTo(5);
  b.SetFrom(8);
  EXPECT_EQ(b.From, 8);
  EXPECT_EQ(b.To, 8);
  b.SetTo(3);
  EXPECT_EQ(b.From, 3);
  EXPECT_EQ(b.To, 3);
  b.SetTo(5000);
  EXPECT_EQ(b.To, 1000);
  b.SetFrom(0);
  EXPECT_EQ(b.From, 1);
}

}  // namespace
}  // namespace vorn
