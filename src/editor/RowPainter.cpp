// TRowPainter: cells from Shift_JIS bytes, glyph runs placed on the grid, clipped fallbacks.
#include "editor/RowPainter.h"

#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "base/sjis.h"
#include "editcore/EditCore.h"
#include "platform/cp932.h"

namespace vorn {

void TRowPainter::SetFont(const QFont& font, int cellWidth, int rowHeight, int ascent) {
  font_ = font;
  raw_ = QRawFont::fromFont(font);
  glyphCache_.assign(65536, kUnknownGlyph);
  advanceCache_.assign(65536, 0);
  cellWidth_ = std::max(1, cellWidth);
  rowHeight_ = std::max(1, rowHeight);
  ascent_ = ascent;
}

// The characters from firstCol up to lastCol; endCol receives the column after the row's last
// character when the row ends before lastCol, else -1.
void TRowPainter::CollectCells(std::string_view row, int firstCol, int lastCol, int& endCol) {
  const TCp932Table& table = Cp932Table();
  cells_.clear();
  const TColumnStart start = FindColumnStart(row, rule_, firstCol);
  std::size_t i = static_cast<std::size_t>(start.Byte);
  int col = start.Col;
  const std::size_t n = row.size();
  while (i < n && col < lastCol) {
    const auto b = static_cast<unsigned char>(row[i]);
    if (sjis::IsLeadByte(b) && i + 1 < n) {
      const char16_t u = table.dbcs[b << 8 | static_cast<unsigned char>(row[i + 1])];
      cells_.push_back({u ? u : Cp932InvalidUnit, col, 2});
      col += 2;
      i += 2;
    } else if (b == '\t') {
      col += rule_.TabCells(col);
      ++i;
    } else {
      // Spaces have no ink; control characters get their marks with the colouring and until
      // then show blank.
      if (b > 0x20 && b != 0x7F) cells_.push_back({table.single[b], col, 1});
      ++col;
      ++i;
    }
  }
  endCol = i >= n ? col : -1;
}

void TRowPainter::PaintRow(QPainter& p, const TRowBand& band, std::string_view row, TEndMark mark, TSelSpan sel) {
  if (band.Right <= band.Left) return;
  p.save();
  p.setClipRect(band.Left, band.Top, band.Right - band.Left, rowHeight_);
  p.fillRect(band.Left, band.Top, band.Right - band.Left, rowHeight_, colors_.Back);
  const int lastCol = band.LeftCol + (band.Right - band.Left + cellWidth_ - 1) / cellWidth_ + 1;
  if (!sel.Empty() && sel.End > band.LeftCol) {
    const int from = XOf(band, std::max(sel.Start, band.LeftCol));
    const int to = sel.End >= lastCol ? band.Right : XOf(band, sel.End);
    if (to > from) p.fillRect(from, band.Top, to - from, rowHeight_, colors_.SelBack);
  }
  int endCol = -1;
  CollectCells(row, band.LeftCol, lastCol, endCol);
  DrawGlyphs(p, band, sel);
  // A row cut at the widest column continues on the next row: it shows no line end.
  if (mark == TEndMark::LineEnd && endCol == MaxColumns) mark = TEndMark::None;
  if (endCol >= 0 && mark != TEndMark::None)
    DrawEndMark(p, band, mark, endCol, endCol >= sel.Start && endCol < sel.End);
  p.restore();
}

// The glyph of a unit and whether it must be drawn on its own, looked up once per font.
std::uint32_t TRowPainter::GlyphOf(char16_t unit, int cells) {
  std::uint32_t& slot = glyphCache_[unit];
  if (slot == kUnknownGlyph) {
    const QChar ch(unit);
    quint32 glyph = 0;
    int count = 1;
    QPointF advance;
    slot = kFallbackGlyph;
    if (raw_.isValid() && raw_.glyphIndexesForChars(&ch, 1, &glyph, &count) && count == 1 && glyph != 0) {
      raw_.advancesForGlyphIndexes(&glyph, &advance, 1);
      slot = glyph;
      advanceCache_[unit] = static_cast<std::uint16_t>(std::min(65535.0, std::ceil(advance.x() - 0.5)));
    }
  }
  // The same unit can stand for one cell or two (the substitute of an ill-formed byte or pair).
  if (slot != kFallbackGlyph && advanceCache_[unit] > cells * cellWidth_) return kFallbackGlyph;
  return slot;
}

// One glyph run per colour. A glyph the font lacks, or one wider than its cells, is drawn on
// its own through the font's fallback and clipped to its cells so it cannot cover neighbours.
void TRowPainter::DrawGlyphs(QPainter& p, const TRowBand& band, TSelSpan sel) {
  if (cells_.empty()) return;
  for (int s = 0; s < 2; ++s) {
    runGlyphs_[s].clear();
    runPositions_[s].clear();
  }
  fallback_.clear();
  for (std::size_t k = 0; k < cells_.size(); ++k) {
    const TCell& cell = cells_[k];
    const std::uint32_t glyph = GlyphOf(cell.Unit, cell.Cells);
    // A character cut by a box edge shows each part in the colours of its side.
    const bool cut = (sel.Start > cell.Col && sel.Start < cell.Col + cell.Cells) ||
                     (sel.End > cell.Col && sel.End < cell.Col + cell.Cells);
    if (glyph == kFallbackGlyph || cut) {
      fallback_.push_back(k);
      continue;
    }
    const int selected = cell.Col >= sel.Start && cell.Col < sel.End ? 1 : 0;
    runGlyphs_[selected].append(glyph);
    runPositions_[selected].append(QPointF(XOf(band, cell.Col), 0));
  }
  const QColor colors[2] = {colors_.Text, colors_.SelText};
  for (int s = 0; s < 2; ++s) {
    if (runGlyphs_[s].isEmpty()) continue;
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(runGlyphs_[s]);
    run.setPositions(runPositions_[s]);
    p.setPen(colors[s]);
    p.drawGlyphRun(QPointF(0, band.Top + ascent_), run);
  }
  for (std::size_t k : fallback_) {
    const TCell& cell = cells_[k];
    for (int c = cell.Col; c < cell.Col + cell.Cells; ++c) {
      // One cell at a time, so each half of a cut character takes its own colour.
      const QRect cellRect(XOf(band, c), band.Top, cellWidth_, rowHeight_);
      DrawClippedGlyph(p, band, cell, cellRect, c >= sel.Start && c < sel.End ? colors_.SelText : colors_.Text);
    }
  }
}

void TRowPainter::DrawClippedGlyph(QPainter& p, const TRowBand& band, const TCell& cell, const QRect& clip,
                                   const QColor& color) {
  const QRect cellRect(XOf(band, cell.Col), band.Top, cell.Cells * cellWidth_, rowHeight_);
  p.save();
  p.setClipRect(clip, Qt::IntersectClip);
  p.setFont(font_);
  p.setPen(color);
  p.drawText(QPointF(cellRect.left(), band.Top + ascent_), QString(QChar(cell.Unit)));
  p.restore();
}

void TRowPainter::DrawEndMark(QPainter& p, const TRowBand& band, TEndMark mark, int col, bool selected) {
  const int x = XOf(band, col);
  const int y = band.Top;
  if (mark == TEndMark::Eof) {
    p.setFont(font_);
    p.setPen(colors_.Eof);
    p.drawText(QPointF(x, y + ascent_), QStringLiteral("[EOF]"));
    return;
  }
  // A bent arrow inside the cell, as the line-end glyph is drawn everywhere in this control.
  const int w = cellWidth_;
  const int h = rowHeight_;
  const int stem = x + w * 2 / 3 + 1;
  p.setPen(QPen(selected ? colors_.SelText : colors_.RetMark, 1));
  p.drawLine(x, y + h - 4, stem - 1, y + h - 4);
  p.drawLine(x + 1, y + h - 5, x + 1, y + h - 3);
  p.drawLine(x + 2, y + h - 6, x + 2, y + h - 2);
  p.drawLine(stem, y + h / 3, stem, y + h - 5);
}

}  // namespace vorn
