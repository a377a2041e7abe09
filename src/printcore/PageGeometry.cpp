// Page geometry: millimetres to printer pixels and the boxes every page shares.
#include "printcore/PageGeometry.h"

#include <algorithm>
#include <cmath>

namespace vorn {

int MmToPixels(int dpi, int mm) { return static_cast<int>(std::lround(dpi * mm / 25.4)); }

TPxRect UnprintableOffsets(const TPrinterPage& page) {
  int wMm = page.PaperWidthMm;
  int hMm = page.PaperHeightMm;
  if (page.Landscape) std::swap(wMm, hMm);
  const int w = MmToPixels(page.Dpi, wMm);
  const int h = MmToPixels(page.Dpi, hMm);
  TPxRect r;
  r.Left = std::max(0, (w - page.PageWidth) / 2);
  r.Top = std::max(0, (h - page.PageHeight) / 2);
  r.Right = std::max(0, w - page.PageWidth - r.Left);
  r.Bottom = std::max(0, h - page.PageHeight - r.Top);
  return r;
}

int DigitCount(int n) {
  int digits = 1;
  for (; n >= 10; n /= 10) ++digits;
  return digits;
}

namespace {

TPxRect BodyOf(const TStringsPrinterValues& s, const TPrinterPage& page) {
  const TPxRect off = UnprintableOffsets(page);
  TPxRect body;
  body.Left = std::max(0, MmToPixels(page.Dpi, s.MarginLeft) - off.Left);
  body.Top = std::max(0, MmToPixels(page.Dpi, s.MarginTop) - off.Top);
  body.Right = std::min(page.PageWidth, page.PageWidth + off.Right - MmToPixels(page.Dpi, s.MarginRight));
  body.Bottom = std::min(page.PageHeight, page.PageHeight + off.Bottom - MmToPixels(page.Dpi, s.MarginBottom));
  return body;
}

int BandHeight(TStringsPrinterHeaderAlign align, const std::string& text, int lineHeight) {
  return align != haNone && !text.empty() ? lineHeight * 3 / 2 : 0;
}

}  // namespace

TPageFrame ComputePageFrame(const TStringsPrinterValues& s, const TPrinterPage& page, TPrintCell cell,
                            int lineCount, std::string& message) {
  TPageFrame f;
  f.Cell = cell;
  f.Columns = std::clamp(s.ColumnCount, 1, TStringsPrinter::kMaxColumns);
  f.Body = BodyOf(s, page);
  const int headerH = BandHeight(s.HeaderAlign, s.Header, cell.LineHeight);
  const int footerH = BandHeight(s.FooterAlign, s.Footer, cell.LineHeight);
  f.HeaderBand = {f.Body.Left, f.Body.Top, f.Body.Right, f.Body.Top + headerH};
  f.FooterBand = {f.Body.Left, f.Body.Bottom - footerH, f.Body.Right, f.Body.Bottom};
  f.NumberLeft = f.Body.Left;
  f.NumberWidth =
      s.LineNumber ? (DigitCount(std::max(1, lineCount)) + static_cast<int>(s.LineNumberSeparator.size()) + 1) * cell.Width
                   : 0;
  f.TextLeft = f.NumberLeft + f.NumberWidth;
  const int space = MmToPixels(page.Dpi, s.ColumnSpace);
  // Every column has its number box, the last one included: taking off one box fewer than
  // there are columns would push the last column's text past the right margin by one box.
  f.TextWidth = (f.Body.Width() - space * (f.Columns - 1) - f.NumberWidth * f.Columns) / f.Columns;
  f.ColumnStep = space + f.NumberWidth + f.TextWidth;
  message.clear();
  // A double-byte character takes two cells: with less the wrap could place nothing, and with
  // no line of height between the bands no page would ever take a line.
  if (cell.Width <= 0 || cell.LineHeight <= 0 || f.TextWidth < 2 * cell.Width ||
      f.TextBottom() - f.TextTop() < cell.LineHeight)
    message = "余白、段の間隔、フォントの大きさの設定では、ページに1文字も印刷できません";
  return f;
}

}  // namespace vorn
