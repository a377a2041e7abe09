// TStringsPrinterInfo over QPrinter: the page size's paper code looked up in the paper table.
#include "print/PrinterInfo.h"

#include "printcore/PaperSizes.h"

#include <QPrinter>

namespace vorn {

QString TStringsPrinterInfo::PrinterName() const {
  if (printer_.outputFormat() == QPrinter::PdfFormat) return QStringLiteral("PDF: ") + printer_.outputFileName();
  return printer_.printerName();
}

QString TStringsPrinterInfo::OrientationName() const {
  return printer_.pageLayout().orientation() == QPageLayout::Landscape ? QStringLiteral("poLandscape")
                                                                        : QStringLiteral("poPortrait");
}

int TStringsPrinterInfo::PaperCode() const {
  const int id = printer_.pageLayout().pageSize().windowsId();
  return id > 0 ? id : -1;
}

std::string TStringsPrinterInfo::PaperName() const { return vorn::PaperName(PaperCode()); }

void TStringsPrinterInfo::PaperSizeMm(int& widthMm, int& heightMm) const {
  vorn::PaperSizeMm(PaperCode(), widthMm, heightMm);
}

}  // namespace vorn
