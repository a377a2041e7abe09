// TEditMetrics: the editor control's measured geometry, as the editor core reads it.
#pragma once

#include <QFont>

#include "store/VornEditView.h"

namespace vorn {

// Cell and row sizes come from the font; rows and columns from the viewport's size. The
// arithmetic is in logical pixels whatever the device pixel ratio.
class TEditMetrics : public TVornEditGeometry {
public:
  // Measures font: the cell is the average character width (never isFixedPitch, which CJK
  // fonts answer wrongly) and the row the height plus the leading.
  void Measure(const QFont& font);
  void SetClientSize(int width, int height);
  void SetScreenHeight(int pixels) { screenHeight_ = pixels; }
  // The text area's top-left corner (the ruler band above it, the margin left of it) and the
  // pixel rows added below each row (the caret-row underline).
  void SetMargins(int left, int top) {
    left_ = left;
    top_ = top;
  }
  void SetUnderlineSpace(int pixels) { underline_ = pixels; }

  int FontHeight() const { return fontHeight_; }
  int Ascent() const { return ascent_; }
  // Rows that touch the text area, the last one possibly cut: what a full repaint paints.
  int PaintedRows() const;

  int VisibleRows() const override;
  int ScreenRows() const override;
  int VisibleCols() const override;
  int CellWidth() const override { return cellWidth_; }
  int RowHeight() const override { return fontHeight_ + underline_; }
  int TextLeft() const override { return left_; }
  int TextTop() const override { return top_; }
  int ClientWidth() const override { return width_; }
  int ClientHeight() const override { return height_; }

private:
  // The margins without rulers.
  int left_ = 10;
  int top_ = 2;
  int underline_ = 0;
  int cellWidth_ = 8;
  int fontHeight_ = 16;
  int ascent_ = 13;
  int width_ = 0;
  int height_ = 0;
  int screenHeight_ = 768;
};

// The control's default font: IPAGothic at 12 pt gives an exact grid of 8 × 16 pixel cells.
QFont DefaultEditFont();

}  // namespace vorn
