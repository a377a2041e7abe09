// TRowPainter: one display row on the cell grid, on any QPainter (screen or printer).
#pragma once

#include <QFont>
#include <QRawFont>

#include <climits>
#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/ColumnWalk.h"
#include "editor/EditColors.h"

class QPainter;

namespace vorn {

enum class TEndMark { None, LineEnd, Eof };

// Where a row goes: its top, the text area's left and right edges in pixels and the first
// visible column. Column c starts at Left + (c - LeftCol) * cell width.
struct TRowBand {
  int Top = 0;
  int Left = 0;
  int Right = 0;
  int LeftCol = 0;
};

// Selected columns of one row, [Start, End); End INT_MAX runs to the band's right edge.
struct TSelSpan {
  int Start = 0;
  int End = 0;
  bool Empty() const { return Start >= End; }
  static TSelSpan None() { return {0, 0}; }
};

class TRowPainter {
public:
  // The font's glyphs are placed on cells of cellWidth; rows are rowHeight high with the
  // baseline at ascent.
  void SetFont(const QFont& font, int cellWidth, int rowHeight, int ascent);
  void SetColors(const TEditColors& colors) { colors_ = colors; }
  void SetColumnRule(const TColumnRule& rule) { rule_ = rule; }
  const TColumnRule& ColumnRule() const { return rule_; }
  int CellWidth() const { return cellWidth_; }
  int RowHeight() const { return rowHeight_; }

  // Fills the band and draws the visible characters of row with its end mark and selection.
  void PaintRow(QPainter& p, const TRowBand& band, std::string_view row, TEndMark mark, TSelSpan sel);

private:
  struct TCell {
    char16_t Unit;
    int Col;
    int Cells;
  };
  void CollectCells(std::string_view row, int firstCol, int lastCol, int& endCol);
  void DrawGlyphs(QPainter& p, const TRowBand& band, TSelSpan sel);
  void DrawClippedGlyph(QPainter& p, const TRowBand& band, const TCell& cell, const QRect& clip, const QColor& color);
  void DrawEndMark(QPainter& p, const TRowBand& band, TEndMark mark, int col, bool selected);
  int XOf(const TRowBand& band, int col) const { return band.Left + (col - band.LeftCol) * cellWidth_; }

  QFont font_;
  QRawFont raw_;
  int cellWidth_ = 8;
  int rowHeight_ = 16;
  int ascent_ = 13;
  TEditColors colors_;
  TColumnRule rule_;
  std::uint32_t GlyphOf(char16_t unit, int cells);
  static constexpr std::uint32_t kUnknownGlyph = 0xFFFFFFFFu;
  static constexpr std::uint32_t kFallbackGlyph = 0xFFFFFFFEu;

  std::vector<TCell> cells_;
  std::vector<std::uint32_t> glyphCache_;    // by UTF-16 unit
  std::vector<std::uint16_t> advanceCache_;  // pixels, by UTF-16 unit
  QList<quint32> runGlyphs_[2];
  QList<QPointF> runPositions_[2];
  std::vector<std::size_t> fallback_;
};

}  // namespace vorn
