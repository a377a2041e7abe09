// TFixedGeometry: window measures stated instead of measured, for tools, tests and benchmarks.
#pragma once

#include "store/VornEditView.h"

namespace vorn {

struct TFixedGeometry : TVornEditGeometry {
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

}  // namespace vorn
