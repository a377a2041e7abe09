// The page list of one print: the laid-out pages and the painter that draws any of them.
#pragma once

#include "editor/RowPainter.h"
#include "printcore/PageLayout.h"
#include "printcore/StringsPrinter.h"

#include <QFont>

#include <vector>

class QPainter;
class QPrinter;

namespace vorn {

// Every page in printer pixels, with what the preview needs to draw the paper around them.
struct TPrintPages {
  std::vector<TPagePlan> Plans;
  TPrinterPage Page;
  TPxRect Unprintable;
  QFont Font;
  TPrintCell Cell;
  int Ascent = 0;
  int Count() const { return static_cast<int>(Plans.size()); }
};

// The printing font: its pixel size stands for its point size at the printer's resolution.
// A face that is not installed prints in the editor's default face, as the screen shows it.
QFont PrintFontFor(const TStringsPrinter& settings, int dpi);
// Measures font for the layout: the cell of a single-byte character and the line height.
void MeasurePrintFont(const QFont& font, TPrintCell& cell, int& ascent);

// The printer's page as the layout sees it.
TPrinterPage PrinterPageOf(const QPrinter& printer);

// Draws pages with the editor's row painter, so paper shows what the screen shows.
class TPagePainter {
public:
  explicit TPagePainter(const TPrintPages& pages);
  // Paints page index at the painter's origin, in printer pixels.
  void Paint(QPainter& p, int index);

private:
  const TPrintPages& pages_;
  TRowPainter rows_;
};

}  // namespace vorn
