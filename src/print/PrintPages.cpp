// The page list: the printing font, the printer's page and painting a page row by row.
#include "print/PrintPages.h"

#include "editor/EditMetrics.h"
#include "platform/cp932.h"
#include "printcore/PaperSizes.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace vorn {

QFont PrintFontFor(const TStringsPrinter& settings, int dpi) {
  const std::u16string face = Cp932ToUtf16(settings.FontName());
  QFont font = DefaultEditFont();
  const QString family = QString::fromStdU16String(face);
  if (!family.isEmpty() && QFontDatabase::hasFamily(family)) font.setFamily(family);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(settings.FontSize() * dpi / 72.0))));
  return font;
}

void MeasurePrintFont(const QFont& font, TPrintCell& cell, int& ascent) {
  TEditMetrics metrics;
  metrics.Measure(font);
  cell.Width = metrics.CellWidth();
  cell.LineHeight = metrics.RowHeight() + 1;
  ascent = metrics.Ascent();
}

TPrinterPage PrinterPageOf(const QPrinter& printer) {
  TPrinterPage page;
  page.Dpi = printer.resolution();
  const QRect paint = printer.pageLayout().paintRectPixels(page.Dpi);
  page.PageWidth = paint.width();
  page.PageHeight = paint.height();
  page.Landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  PaperSizeMm(printer.pageLayout().pageSize().windowsId(), page.PaperWidthMm, page.PaperHeightMm);
  return page;
}

TPagePainter::TPagePainter(const TPrintPages& pages) : pages_(pages) {
  rows_.SetFont(pages.Font, pages.Cell.Width, pages.Cell.LineHeight, pages.Ascent);
  rows_.SetColors(TEditColors{});
}

void TPagePainter::Paint(QPainter& p, int index) {
  if (index < 0 || index >= pages_.Count()) return;
  for (const TPrintRow& row : pages_.Plans[static_cast<std::size_t>(index)].Rows) {
    TRowBand band;
    band.Top = row.Y;
    band.Left = row.X;
    band.Right = row.X + row.Width;
    rows_.PaintRow(p, band, row.Text, TEndMark::None, TSelSpan::None());
  }
}

}  // namespace vorn
