// TStringsPrinterInfo: what the print dialog shows of the current printer and its paper.
#pragma once

#include <QString>

#include <string>

class QPrinter;

namespace vorn {

class TStringsPrinterInfo {
public:
  explicit TStringsPrinterInfo(const QPrinter& printer) : printer_(printer) {}
  QString PrinterName() const;
  // "poPortrait" or "poLandscape".
  QString OrientationName() const;
  // The paper code of the printer's page size; -1 when it has none.
  int PaperCode() const;
  // "DMPAPER_A4", or empty when the code is not in the table.
  std::string PaperName() const;
  void PaperSizeMm(int& widthMm, int& heightMm) const;

private:
  const QPrinter& printer_;
};

}  // namespace vorn
