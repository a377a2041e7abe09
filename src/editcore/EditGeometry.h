// The window measures the editor core needs, and what the core asks the window to repaint.
#pragma once

#include <climits>

#include "store/VornEditView.h"

namespace vorn {

// Measured by the widget from its font, margins and size; stated by tests. The core clamps the
// row and column counts to at least 1 itself, so a collapsed pane cannot turn a page down
// into a page up.
class TVornEditCoreGeometry : public TVornEditGeometry {
public:
  virtual int VisibleCols() const = 0;
  virtual int CellWidth() const = 0;
  // Font height plus line margin plus the underline pixel.
  virtual int RowHeight() const = 0;
  // Pixel position of the first text cell (the left and top margins).
  virtual int TextLeft() const = 0;
  virtual int TextTop() const = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
};

// A geometry stated instead of measured, for tools and tests.
struct TFixedEditGeometry : TVornEditCoreGeometry {
  int Rows = 20;
  int Cols = 80;
  int Screen = 20;
  int Cell = 8;
  int Height = 16;
  int Left = 10;
  int Top = 2;
  int Width = 800;
  int ClientH = 400;
  int VisibleRows() const override { return Rows; }
  int ScreenRows() const override { return Screen; }
  int VisibleCols() const override { return Cols; }
  int CellWidth() const override { return Cell; }
  int RowHeight() const override { return Height; }
  int TextLeft() const override { return Left; }
  int TextTop() const override { return Top; }
  int ClientWidth() const override { return Width; }
  int ClientHeight() const override { return ClientH; }
};

// What the widget must repaint the next time it paints. The core only records; painting,
// scrolling pixels and moving the platform caret are the widget's business.
struct TDirtyRegion {
  static constexpr int kToEnd = INT_MAX;

  bool All = false;
  int FirstRow = -1;  // inclusive row range, -1 when no row is dirty
  int LastRow = -1;
  bool LeftMargin = false;
  bool Caret = false;  // caret shape or place changed
  bool Ruler = false;  // the ruler's caret marker moved
  bool Now = false;    // repaint at once rather than when idle

  void AddRows(int first, int last) {
    if (first > last) return;
    FirstRow = FirstRow < 0 ? first : (first < FirstRow ? first : FirstRow);
    LastRow = last > LastRow ? last : LastRow;
  }
  bool RowDirty(int row) const { return All || (FirstRow >= 0 && row >= FirstRow && row <= LastRow); }
  bool Empty() const { return !All && FirstRow < 0 && !LeftMargin && !Caret && !Ruler; }
};

}  // namespace vorn
