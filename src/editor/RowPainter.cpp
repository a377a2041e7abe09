// TRowPainter: backgrounds, glyph runs placed on the grid per colour and style, marks.
#include "editor/RowPainter.h"

#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "base/sjis.h"
#include "editcore/EditCore.h"
#include "platform/cp932.h"

namespace vorn {

TRowPainter::TRowPainter() {
  TColoringSetup plain;
  plain.Marks.EofMark = plain.Marks.RetMark = true;
  plain_.SetSetup(plain);
}

void TRowPainter::SetFont(const QFont& font, int cellWidth, int rowHeight, int ascent) {
  font_ = font;
  variantReady_.fill(false);
  cellWidth_ = std::max(1, cellWidth);
  rowHeight_ = std::max(1, rowHeight);
  ascent_ = ascent;
}

void TRowPainter::SetColors(const TEditColors& colors) {
  palette_.At(ce::Normal).Text = colors.Text;
  palette_.At(ce::Normal).Back = colors.Back;
  palette_.At(ce::Selection).Text = colors.SelText;
  palette_.At(ce::Selection).Back = colors.SelBack;
  palette_.At(ce::RetMark).Text = colors.RetMark;
  palette_.At(ce::Eof).Text = colors.Eof;
}

TRowPainter::TFontVariant& TRowPainter::Variant(int index) {
  TFontVariant& v = variants_[static_cast<std::size_t>(index)];
  if (!variantReady_[static_cast<std::size_t>(index)]) {
    v.Font = font_;
    if (index & 1) v.Font.setBold(true);
    if (index & 2) v.Font.setItalic(true);
    v.Raw = QRawFont::fromFont(v.Font);
    v.Glyphs.assign(65536, kUnknownGlyph);
    v.Advances.assign(65536, 0);
    variantReady_[static_cast<std::size_t>(index)] = true;
  }
  return v;
}

// The glyph of a unit and whether it must be drawn on its own, looked up once per font.
std::uint32_t TRowPainter::GlyphOf(int variant, char16_t unit, int cells) {
  TFontVariant& v = Variant(variant);
  std::uint32_t& slot = v.Glyphs[unit];
  if (slot == kUnknownGlyph) {
    const QChar ch(unit);
    quint32 glyph = 0;
    int count = 1;
    QPointF advance;
    slot = kFallbackGlyph;
    if (v.Raw.isValid() && v.Raw.glyphIndexesForChars(&ch, 1, &glyph, &count) && count == 1 && glyph != 0) {
      v.Raw.advancesForGlyphIndexes(&glyph, &advance, 1);
      slot = glyph;
      v.Advances[unit] = static_cast<std::uint16_t>(std::min(65535.0, std::ceil(advance.x() - 0.5)));
    }
  }
  // The same unit can stand for one cell or two (the substitute of an ill-formed byte or pair);
  // a glyph wider than its cells would cover its neighbours, unless overhang is wanted.
  if (slot != kFallbackGlyph && !perChar_ && v.Advances[unit] > cells * cellWidth_) return kFallbackGlyph;
  return slot;
}

void TRowPainter::PaintRow(QPainter& p, const TRowBand& band, std::string_view row, TEndMark mark, TSelSpan sel) {
  if (band.Right <= band.Left) return;
  const int lastCol = band.LeftCol + (band.Right - band.Left + cellWidth_ - 1) / cellWidth_ + 1;
  TColoringSetup setup = plain_.Setup();
  if (setup.TabWidth != rule_.TabWidth || setup.WrapWidth != rule_.WrapWidth) {
    setup.TabWidth = rule_.TabWidth;
    setup.WrapWidth = rule_.WrapWidth;
    plain_.SetSetup(setup);
  }
  const TColumnStart start = FindColumnStart(row, rule_, band.LeftCol);
  TRowSpan span;
  span.Line = row;
  span.RowEnd = static_cast<int>(row.size());
  span.StartByte = start.Byte;
  span.StartCol = start.Col;
  span.LastCol = lastCol;
  plain_.ForgetText();
  plain_.ColorRow(span, mark, plainPaint_);
  // Without syntax colours every token shows in the text colour.
  for (TPaintCell& c : plainPaint_.Cells)
    if (c.Mark == cmNone) c.Color = c.Back = ce::Normal;
  TRowColorer::ApplySelection(plainPaint_, sel.Start, sel.End);
  PaintCells(p, band, row, plainPaint_, sel);
}

void TRowPainter::PaintCells(QPainter& p, const TRowBand& band, std::string_view row, const TRowPaint& paint,
                             TSelSpan sel) {
  if (band.Right <= band.Left) return;
  p.save();
  p.setClipRect(band.Left, band.Top, band.Right - band.Left, rowHeight_);
  FillBackgrounds(p, band, paint, sel);
  DrawGlyphs(p, band, row, paint, sel);
  DrawStyleLines(p, band, paint);
  DrawMarks(p, band, row, paint);
  DrawEndMark(p, band, paint);
  p.restore();
}

QColor TRowPainter::TextOf(const TPaintCell& c) const {
  const TPaintEntry& e = palette_[c.Sel == 1 ? ce::Selection : c.Color];
  return e.TextClear ? palette_[ce::Normal].Text : e.Text;
}

void TRowPainter::FillBackgrounds(QPainter& p, const TRowBand& band, const TRowPaint& paint, TSelSpan sel) {
  QColor base = palette_[ce::Normal].Back;
  p.fillRect(band.Left, band.Top, band.Right - band.Left, rowHeight_, base);
  if (paint.RowBack >= 0 && !palette_[paint.RowBack].BackClear) {
    base = palette_[paint.RowBack].Back;
    p.fillRect(band.Left, band.Top, band.Right - band.Left, rowHeight_, base);
  }
  // Adjacent cells of one colour are filled as one rectangle.
  int runFrom = 0, runTo = 0;
  QColor runColor;
  auto flush = [&] {
    if (runTo > runFrom) p.fillRect(runFrom, band.Top, runTo - runFrom, rowHeight_, runColor);
    runFrom = runTo = 0;
  };
  auto fill = [&](int col, int cells, int entry) {
    const TPaintEntry& e = palette_[entry];
    if (e.BackClear || e.Back == base) return;
    const int x = XOf(band, col);
    if (runTo == x && runColor == e.Back) {
      runTo = x + cells * cellWidth_;
      return;
    }
    flush();
    runFrom = x;
    runTo = x + cells * cellWidth_;
    runColor = e.Back;
  };
  for (const TPaintCell& c : paint.Cells) {
    if (c.Sel == 2) {
      for (int col = c.Col; col < c.Col + c.Cells; ++col)
        fill(col, 1, col >= sel.Start && col < sel.End ? ce::Selection : c.Back);
    } else {
      fill(c.Col, c.Cells, c.Sel == 1 ? ce::Selection : c.Back);
    }
  }
  flush();
  if (paint.EndCol < 0) return;
  const int endX = XOf(band, paint.EndCol);
  if (paint.TailBack >= 0 && !palette_[paint.TailBack].BackClear)
    p.fillRect(endX, band.Top, band.Right - endX, rowHeight_, palette_[paint.TailBack].Back);
  // A stream selection runs on past the text to the right edge.
  if (!sel.Empty() && sel.End > paint.EndCol) {
    const int from = XOf(band, std::max(sel.Start, paint.EndCol));
    const int to = sel.End == INT_MAX ? band.Right : XOf(band, sel.End);
    if (to > from) p.fillRect(from, band.Top, to - from, rowHeight_, palette_[ce::Selection].Back);
  }
}

// One glyph run per colour and font style. A glyph the font lacks, one wider than its cells,
// or a character cut by a box edge is drawn on its own, clipped to its cells.
void TRowPainter::DrawGlyphs(QPainter& p, const TRowBand& band, std::string_view row, const TRowPaint& paint,
                             TSelSpan sel) {
  const TCp932Table& table = Cp932Table();
  for (TRun& r : runs_) {
    r.Glyphs.clear();
    r.Positions.clear();
  }
  std::size_t used = 0;
  fallback_.clear();
  for (std::size_t k = 0; k < paint.Cells.size(); ++k) {
    const TPaintCell& c = paint.Cells[k];
    if (c.Mark != cmNone) continue;
    const auto b = static_cast<unsigned char>(row[static_cast<std::size_t>(c.Byte)]);
    char16_t unit;
    if (c.Bytes == 2) {
      unit = table.dbcs[b << 8 | static_cast<unsigned char>(row[static_cast<std::size_t>(c.Byte) + 1])];
      if (!unit) unit = Cp932InvalidUnit;
    } else if (b > 0x20 && b != 0x7F) {
      unit = table.single[b];
    } else {
      continue;  // blanks have no ink
    }
    const int variant = ((c.Style & fsBold) ? 1 : 0) | ((c.Style & fsItalic) ? 2 : 0);
    const std::uint32_t glyph = GlyphOf(variant, unit, c.Cells);
    if (glyph == kFallbackGlyph || c.Sel == 2) {
      fallback_.push_back(k);
      continue;
    }
    const QRgb color = TextOf(c).rgba();
    std::size_t i = 0;
    while (i < used && !(runs_[i].Color == color && runs_[i].Variant == variant)) ++i;
    if (i == used) {
      if (used == runs_.size()) runs_.push_back({});
      runs_[i].Color = color;
      runs_[i].Variant = variant;
      ++used;
    }
    runs_[i].Glyphs.append(glyph);
    runs_[i].Positions.append(QPointF(XOf(band, c.Col), 0));
  }
  for (std::size_t i = 0; i < used; ++i) {
    QGlyphRun run;
    run.setRawFont(Variant(runs_[i].Variant).Raw);
    run.setGlyphIndexes(runs_[i].Glyphs);
    run.setPositions(runs_[i].Positions);
    p.setPen(QColor::fromRgba(runs_[i].Color));
    p.drawGlyphRun(QPointF(0, band.Top + ascent_), run);
  }
  for (std::size_t k : fallback_) {
    const TPaintCell& c = paint.Cells[k];
    const auto b = static_cast<unsigned char>(row[static_cast<std::size_t>(c.Byte)]);
    char16_t unit = c.Bytes == 2 ? table.dbcs[b << 8 | static_cast<unsigned char>(row[static_cast<std::size_t>(c.Byte) + 1])]
                                 : table.single[b];
    if (!unit) unit = Cp932InvalidUnit;
    const int variant = ((c.Style & fsBold) ? 1 : 0) | ((c.Style & fsItalic) ? 2 : 0);
    if (c.Sel != 2) {
      DrawClippedGlyph(p, band, variant, unit, c.Col, TextOf(c), c.Col, perChar_ ? 0 : c.Cells);
      continue;
    }
    // One cell at a time, so each half of a cut character takes its own colour.
    for (int col = c.Col; col < c.Col + c.Cells; ++col) {
      TPaintCell half = c;
      half.Sel = col >= sel.Start && col < sel.End ? 1 : 0;
      DrawClippedGlyph(p, band, variant, unit, c.Col, TextOf(half), col, 1);
    }
  }
}

void TRowPainter::DrawClippedGlyph(QPainter& p, const TRowBand& band, int variant, char16_t unit, int col,
                                   const QColor& color, int clipCol, int clipCells) {
  p.save();
  if (clipCells > 0) p.setClipRect(QRect(XOf(band, clipCol), band.Top, clipCells * cellWidth_, rowHeight_), Qt::IntersectClip);
  p.setFont(Variant(variant).Font);
  p.setPen(color);
  p.drawText(QPointF(XOf(band, col), band.Top + ascent_), QString(QChar(unit)));
  p.restore();
}

void TRowPainter::DrawStyleLines(QPainter& p, const TRowBand& band, const TRowPaint& paint) {
  const int under = std::min(band.Top + rowHeight_ - 1, band.Top + ascent_ + 1);
  const int strike = band.Top + ascent_ - std::max(1, ascent_ / 3);
  for (const TPaintCell& c : paint.Cells) {
    if (!(c.Style & (fsUnderline | fsStrikeOut))) continue;
    const QColor color = TextOf(c);
    const int x = XOf(band, c.Col);
    if (c.Style & fsUnderline) p.fillRect(x, under, c.Cells * cellWidth_, 1, color);
    if (c.Style & fsStrikeOut) p.fillRect(x, strike, c.Cells * cellWidth_, 1, color);
  }
}

void TRowPainter::DrawControl(QPainter& p, const TRowBand& band, const TPaintCell& c, unsigned char byte) {
  // In its own entry the mark shows as that entry says; inside a region, a match or the
  // selection it shows in the colours there, swapped.
  const int entry = c.Sel == 1 ? ce::Selection : c.Color;
  const TPaintEntry& e = palette_[entry];
  QColor text = e.TextClear ? palette_[ce::Normal].Text : e.Text;
  QColor back = e.BackClear ? palette_[ce::Normal].Back : e.Back;
  if (entry != ce::Control) std::swap(text, back);
  const int x = XOf(band, c.Col);
  p.fillRect(x, band.Top, cellWidth_, rowHeight_, back);
  const char16_t shown = byte == 0x7F ? u'?' : static_cast<char16_t>(byte + 0x40);
  DrawClippedGlyph(p, band, 0, shown, c.Col, text, c.Col, 1);
}

void TRowPainter::DrawMarks(QPainter& p, const TRowBand& band, std::string_view row, const TRowPaint& paint) {
  const int w = cellWidth_;
  const int h = rowHeight_;
  const int pen = w < 14 ? 1 : 2;
  for (const TPaintCell& c : paint.Cells) {
    if (c.Mark == cmNone) continue;
    const int x = XOf(band, c.Col);
    const int y = band.Top;
    if (c.Mark == cmControl) {
      DrawControl(p, band, c, static_cast<unsigned char>(row[static_cast<std::size_t>(c.Byte)]));
      continue;
    }
    p.setPen(QPen(TextOf(c), c.Mark == cmWideSpace ? 1 : pen));
    if (c.Mark == cmTab) {
      const int mid = y + h / 2;
      p.drawLine(x, mid, x + w - 2, mid);
      p.drawLine(x + w - 2, mid, x + w - 5, mid + 3);
      p.drawLine(x + w - 2, mid, x + w - 5, mid - 3);
    } else if (c.Mark == cmSpace) {
      const QPoint pts[4] = {{x + 1, y + h / 2 + 1}, {x + 1, y + h * 4 / 5}, {x + w - 2, y + h * 4 / 5},
                             {x + w - 2, y + h / 2 + pen - 1}};
      p.drawPolyline(pts, 4);
    } else if (c.Mark == cmWideSpace) {
      // The square is as wide as two cells, but never lower than its row.
      const int right = x + 2 * w - 4;
      const int bottom = std::min(y + 2 * w - 4, y + h - 2);
      const QPoint pts[5] = {{x + 2, y + 2}, {x + 2, bottom}, {right, bottom}, {right, y + 2}, {x + 2, y + 2}};
      p.drawPolyline(pts, 5);
    }
  }
}

void TRowPainter::DrawEndMark(QPainter& p, const TRowBand& band, const TRowPaint& paint) {
  if (paint.EndCol < 0 || paint.End == TEndMark::None) return;
  // A row cut at the widest column continues on the next row: it shows no line end.
  if (paint.End == TEndMark::LineEnd && paint.EndCol == MaxColumns) return;
  const int x = XOf(band, paint.EndCol);
  const int y = band.Top;
  const int w = cellWidth_;
  const int h = rowHeight_;
  if (paint.End == TEndMark::Eof) {
    const TPaintEntry& e = palette_[ce::Eof];
    if (!e.BackClear && !paint.EndSelected) p.fillRect(x, y, 5 * w, h, e.Back);
    const int variant = ((e.Style & fsBold) ? 1 : 0) | ((e.Style & fsItalic) ? 2 : 0);
    p.setFont(Variant(variant).Font);
    p.setPen(e.TextClear ? palette_[ce::Normal].Text : e.Text);
    static const QString kEof = QStringLiteral("[EOF]");
    for (int i = 0; i < kEof.size(); ++i) p.drawText(QPointF(x + i * w, y + ascent_), QString(kEof[i]));
    return;
  }
  const TPaintEntry& e = palette_[paint.EndSelected ? ce::Selection : ce::RetMark];
  const bool drawBack = !paint.EndSelected && !e.BackClear;
  if (drawBack) p.fillRect(x, y, w, h, e.Back);
  if (retMarkHook_) {
    p.save();
    retMarkHook_(p, x, y, drawBack);
    p.restore();
    return;
  }
  const int stem = x + w * 2 / 3 + 1;
  p.setPen(QPen(e.TextClear ? palette_[ce::Normal].Text : e.Text, 1));
  p.drawLine(x, y + h - 4, stem - 1, y + h - 4);
  p.drawLine(x + 1, y + h - 5, x + 1, y + h - 3);
  p.drawLine(x + 2, y + h - 6, x + 2, y + h - 2);
  p.drawLine(stem, y + h / 3, stem, y + h - 5);
}

}  // namespace vorn
