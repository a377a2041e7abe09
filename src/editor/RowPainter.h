// TRowPainter: one display row on the cell grid, on any QPainter (screen or printer), in the
// colours and marks its colouring decided.
#pragma once

#include <QFont>
#include <QRawFont>

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "editcore/RowColoring.h"
#include "editor/ColumnWalk.h"
#include "editor/EditColors.h"
#include "editor/PaintPalette.h"

class QPainter;

namespace vorn {

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
  TRowPainter();
  // The font's glyphs are placed on cells of cellWidth; rows are rowHeight high with the
  // baseline at ascent.
  void SetFont(const QFont& font, int cellWidth, int rowHeight, int ascent);
  // The colour table the cells' entries name.
  void SetPalette(const TPaintPalette& palette) { palette_ = palette; }
  const TPaintPalette& Palette() const { return palette_; }
  // Plain rows (PaintRow) take these colours instead of the table's.
  void SetColors(const TEditColors& colors);
  void SetColumnRule(const TColumnRule& rule) { rule_ = rule; }
  const TColumnRule& ColumnRule() const { return rule_; }
  // Glyphs may overhang their cells (italic, bold): they are not clipped to them.
  void SetPerCharacterDrawing(bool on) { perChar_ = on; }
  // Draws the line-end glyph in place of the built-in one at the cell's top-left (x, y);
  // drawBack says whether the cell's background was painted. Empty: the built-in glyph.
  using TRetMarkHook = std::function<void(QPainter& p, int x, int y, bool drawBack)>;
  void SetRetMarkHook(TRetMarkHook hook) { retMarkHook_ = std::move(hook); }
  int CellWidth() const { return cellWidth_; }
  int RowHeight() const { return rowHeight_; }

  // A row without syntax colours: every character in the text colour, its end mark and
  // selection.
  void PaintRow(QPainter& p, const TRowBand& band, std::string_view row, TEndMark mark, TSelSpan sel);
  // The row as its colouring decided (cells with entries and marks, see TRowColorer).
  void PaintCells(QPainter& p, const TRowBand& band, std::string_view row, const TRowPaint& paint, TSelSpan sel);

private:
  struct TRun {
    QRgb Color;
    int Variant;
    QList<quint32> Glyphs;
    QList<QPointF> Positions;
  };
  struct TFontVariant {
    QFont Font;
    QRawFont Raw;
    std::vector<std::uint32_t> Glyphs;    // by UTF-16 unit
    std::vector<std::uint16_t> Advances;  // pixels, by UTF-16 unit
  };
  void FillBackgrounds(QPainter& p, const TRowBand& band, const TRowPaint& paint, TSelSpan sel);
  void DrawGlyphs(QPainter& p, const TRowBand& band, std::string_view row, const TRowPaint& paint, TSelSpan sel);
  void DrawStyleLines(QPainter& p, const TRowBand& band, const TRowPaint& paint);
  void DrawMarks(QPainter& p, const TRowBand& band, std::string_view row, const TRowPaint& paint);
  void DrawControl(QPainter& p, const TRowBand& band, const TPaintCell& c, unsigned char byte);
  void DrawEndMark(QPainter& p, const TRowBand& band, const TRowPaint& paint);
  // clipCells 0: not clipped (overhang wanted).
  void DrawClippedGlyph(QPainter& p, const TRowBand& band, int variant, char16_t unit, int col, const QColor& color,
                        int clipCol, int clipCells);
  QColor TextOf(const TPaintCell& c) const;
  int XOf(const TRowBand& band, int col) const { return band.Left + (col - band.LeftCol) * cellWidth_; }
  TFontVariant& Variant(int index);
  std::uint32_t GlyphOf(int variant, char16_t unit, int cells);

  QFont font_;
  int cellWidth_ = 8;
  int rowHeight_ = 16;
  int ascent_ = 13;
  bool perChar_ = false;
  TPaintPalette palette_;
  TColumnRule rule_;
  static constexpr std::uint32_t kUnknownGlyph = 0xFFFFFFFFu;
  static constexpr std::uint32_t kFallbackGlyph = 0xFFFFFFFEu;
  // Regular, bold, italic, bold italic; built on first use.
  std::array<TFontVariant, 4> variants_;
  std::array<bool, 4> variantReady_{};
  std::vector<TRun> runs_;
  std::vector<std::size_t> fallback_;
  TRetMarkHook retMarkHook_;
  TRowColorer plain_;
  TRowPaint plainPaint_;
};

}  // namespace vorn
