// TMarginPainter: the left margin beside each row (numbers, difference marks, bookmarks, the
// find-range bar) and the horizontal ruler with its caret marker, on any QPainter.
#pragma once

#include <QFont>

#include "editcore/MarginRows.h"
#include "editcore/RowColoring.h"
#include "editor/PaintPalette.h"

class QPainter;

namespace vorn {

struct TMarginLook {
  bool VerticalRuler = false;   // line numbers
  bool LeftMarginLine = false;
  int Left = 10;                // the text area's left edge
  int Top = 2;                  // its top edge (the ruler band's height)
  int CellWidth = 8;
  int FontHeight = 16;
};

// What the ruler shows: the visible columns from LeftCol, the end of the ruled part, the caret
// and the formatting width markers (-1: none).
struct TRulerState {
  int Width = 0;
  int LeftCol = 0;
  int End = 0;  // pixels
  int CaretCol = -1;
  int WrapMarkCol = -1;
};

class TMarginPainter {
public:
  // The numbers are drawn in font's size with a fixed-pitch face.
  void SetFont(const QFont& font);
  void SetLook(const TMarginLook& look) { look_ = look; }
  const TMarginLook& Look() const { return look_; }
  // The text area's left edge that fits five digits with the vertical ruler.
  int NumberMarginWidth() const;

  // One row of the margin, rowHeight pixels from y; m says what it shows.
  void PaintRow(QPainter& p, const TPaintPalette& colors, const TMarginRow& m, int y, int rowHeight);
  void PaintRuler(QPainter& p, const TPaintPalette& colors, const TRulerState& ruler);

private:
  void PaintNumber(QPainter& p, const TPaintPalette& colors, const TMarginRow& m, int y);
  void PaintDiffMark(QPainter& p, const TPaintPalette& colors, int kind, int y, int rowHeight);

  TMarginLook look_;
  QFont numberFont_;
  QFont markFont_;
  QFont rulerFont_;
  int digitWidth_ = 8;
  int numberAscent_ = 13;
};

}  // namespace vorn
