// Where things go on a printed page: body, header and footer bands, number and text boxes.
#pragma once

#include "printcore/StringsPrinter.h"

#include <string>

namespace vorn {

struct TPxRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TPxRect&, const TPxRect&) = default;
};

// What the printer reports of its page: the horizontal resolution (used for both axes), the
// printable page in pixels and the paper in millimetres as the paper code gives it.
struct TPrinterPage {
  int Dpi = 600;
  int PageWidth = 0;
  int PageHeight = 0;
  int PaperWidthMm = 0;  // 0 × 0 when the paper is unknown
  int PaperHeightMm = 0;
  bool Landscape = false;
};

int MmToPixels(int dpi, int mm);

// The paper's margins the printer cannot reach, as left, top, right and bottom widths.
TPxRect UnprintableOffsets(const TPrinterPage& page);

// The measured font: the cell of a single-byte character and the height of one line.
struct TPrintCell {
  int Width = 1;
  int LineHeight = 1;
};

struct TPageFrame {
  TPxRect Body;
  TPxRect HeaderBand;  // empty height without a header
  TPxRect FooterBand;
  int NumberLeft = 0;  // of the first column
  int NumberWidth = 0;
  int TextLeft = 0;
  int TextWidth = 0;
  int ColumnStep = 0;
  int Columns = 1;
  TPrintCell Cell;
  int TextTop() const { return HeaderBand.Bottom; }
  int TextBottom() const { return FooterBand.Top; }
  int TextColumns() const { return Cell.Width > 0 ? TextWidth / Cell.Width : 0; }
};

// The frame of every page for lineCount lines; an empty message when text fits on it,
// otherwise (UTF-8, for the user) why not one character does (the layout must not start then).
TPageFrame ComputePageFrame(const TStringsPrinterValues& s, const TPrinterPage& page, TPrintCell cell,
                            int lineCount, std::string& message);

int DigitCount(int n);

}  // namespace vorn
