// TMarginPainter: margin rows and the ruler band, drawn from their decided contents.
#include "editor/MarginPainter.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace vorn {
namespace {

// The numbers and the ruler want a fixed-pitch face whatever the text font is.
QFont FixedFace(const QFont& like, int pixelSize) {
  QFont f(like);
  f.setBold(false);
  f.setItalic(false);
  f.setUnderline(false);
  f.setStrikeOut(false);
  if (pixelSize > 0) f.setPixelSize(pixelSize);
  f.setStyleHint(QFont::TypeWriter);
  return f;
}

}  // namespace

void TMarginPainter::SetFont(const QFont& font) {
  numberFont_ = FixedFace(font, 0);
  const QFontMetrics m(numberFont_);
  digitWidth_ = std::max(1, m.horizontalAdvance(QLatin1Char('0')));
  numberAscent_ = m.ascent();
  markFont_ = FixedFace(font, std::max(6, look_.FontHeight * 2 / 3));
  rulerFont_ = FixedFace(font, std::max(6, look_.Top / 3 * 2));
}

int TMarginPainter::NumberMarginWidth() const { return QFontMetrics(numberFont_).horizontalAdvance(QStringLiteral("00000")) + 14; }

void TMarginPainter::PaintRow(QPainter& p, const TPaintPalette& colors, const TMarginRow& m, int y, int rowHeight) {
  const int left = look_.Left;
  if (left <= 0) return;
  p.save();
  p.setClipRect(0, y, left, rowHeight);
  const TPaintEntry& normal = colors[ce::Normal];
  const TPaintEntry& margin = colors[ce::LineNumber];
  const QColor numberBack = margin.BackClear ? normal.Back : margin.Back;
  if (look_.VerticalRuler) {
    p.fillRect(0, y, left, rowHeight, normal.Back);
    p.fillRect(0, y, std::max(0, left - 2), rowHeight, numberBack);
    p.fillRect(left - 2, y, 1, rowHeight, margin.Text);
    if (!m.Number.empty()) PaintNumber(p, colors, m, y);
    if (m.DiffMark) PaintDiffMark(p, colors, m.DiffMark, y, rowHeight);
  } else {
    p.fillRect(0, y, left, rowHeight, margin.BackClear ? colors.Control : margin.Back);
    if (look_.LeftMarginLine) p.fillRect(left - 2, y, 1, rowHeight, margin.Text);
  }
  const int cw = look_.CellWidth;
  if (m.FindRange && !colors[ce::Find].BackClear) p.fillRect(0, y, cw, look_.FontHeight, colors[ce::Find].Back);
  if (m.Bookmark >= 0) {
    const TPaintEntry& mark = colors[ce::Bookmark];
    p.fillRect(0, y, cw, rowHeight * 2 / 3, mark.Back);
    if (m.Bookmark < 10) {
      p.setFont(markFont_);
      p.setPen(mark.Text);
      p.drawText(QPointF(1, y + QFontMetrics(markFont_).ascent()), QString::number(m.Bookmark));
    }
  }
  p.restore();
}

void TMarginPainter::PaintNumber(QPainter& p, const TPaintPalette& colors, const TMarginRow& m, int y) {
  const TPaintEntry& margin = colors[ce::LineNumber];
  const TPaintEntry& e = colors[m.NumberEntry];
  QColor back = e.BackClear ? margin.Back : e.Back;
  if (e.BackClear && margin.BackClear) back = colors[ce::Normal].Back;
  const QColor text = e.TextClear ? colors[ce::Normal].Back : e.Text;
  p.fillRect(11, y, std::max(0, look_.Left - 2 - 11), look_.FontHeight, back);
  QFont f = numberFont_;
  f.setBold(e.Style & fsBold);
  f.setItalic(e.Style & fsItalic);
  f.setUnderline(e.Style & fsUnderline);
  f.setStrikeOut(e.Style & fsStrikeOut);
  p.setFont(f);
  p.setPen(text);
  const int len = static_cast<int>(m.Number.size());
  const int baseline = y + numberAscent_;
  // Digit by digit on a fixed pitch, so a styled font's wider digits stay in their places.
  for (int j = 0; j < len; ++j)
    p.drawText(QPointF((j - len + 5) * digitWidth_ + 11, baseline), QString(QLatin1Char(m.Number[static_cast<std::size_t>(j)])));
}

void TMarginPainter::PaintDiffMark(QPainter& p, const TPaintPalette& colors, int kind, int y, int rowHeight) {
  const int cw = look_.CellWidth;
  if (kind >= 1 && kind <= 3) {
    static const char kSigns[] = {'+', '!', '-'};
    const TPaintEntry& e = colors[32 + kind];
    p.setFont(numberFont_);
    p.setPen(e.Text);
    p.drawText(QPointF(11, y + numberAscent_), QString(QLatin1Char(kSigns[kind - 1])));
    return;
  }
  const TPaintEntry& e = colors[kind == 4 ? ce::DiffAddedBelow : ce::DiffDeletedBelow];
  const QPoint down[3] = {{11, y}, {cw + 11, y}, {11, y + rowHeight / 2}};
  const QPoint up[3] = {{cw + 9, y}, {9, y}, {cw + 9, y + rowHeight / 2}};
  p.setPen(Qt::NoPen);
  p.setBrush(e.Back);
  p.drawPolygon(kind == 4 ? down : up, 3);
  p.setBrush(Qt::NoBrush);
}

void TMarginPainter::PaintRuler(QPainter& p, const TPaintPalette& colors, const TRulerState& r) {
  const int top = look_.Top;
  const int left = look_.Left;
  const int cw = look_.CellWidth;
  p.save();
  p.setClipRect(0, 0, r.Width, top);
  p.fillRect(0, 0, r.Width, top, colors[ce::Normal].Back);
  const int e = std::min(r.End, r.Width);
  p.fillRect(0, 0, e, top, colors.ButtonFace);
  p.setFont(rulerFont_);
  p.setPen(colors.WindowText);
  const QFontMetrics fm(rulerFont_);
  const int textY = (top - fm.height() - 1) / 2 + fm.ascent();
  for (int k = 0; k < (e - left) / cw - 1; ++k) {
    const int n = r.LeftCol + k + 1;
    if (n % 10 == 0)
      p.drawText(QPointF(left + cw * k, textY), QString::number(n));
    else if (n % 5 == 0)
      p.drawText(QPointF(left + cw * k, textY), QString(QChar(0xFF65)));
  }
  p.fillRect(0, 0, e, 1, colors.Highlight3D);
  p.fillRect(0, 0, 1, top, colors.Highlight3D);
  p.fillRect(0, top - 2, e, 1, colors.Shadow3D);
  p.fillRect(e - 1, 0, 1, top - 1, colors.Shadow3D);
  p.fillRect(0, top - 1, r.Width, 1, colors.Control);
  p.fillRect(left - 2, 2, 1, std::max(0, top - 5), colors.WindowText);
  if (r.WrapMarkCol >= 0) {
    const int x = left + (r.WrapMarkCol - r.LeftCol) * cw;
    p.fillRect(QRect(QPoint(x - 7, 2), QPoint(x + 1, top - 3)), colors.ButtonFace);
    p.setPen(colors.WindowFrame);
    p.drawLine(x - 5, 3, x + 1, 3);
    p.drawLine(x - 5, 4, x, 4);
    p.drawLine(x, 4, x, top - 4);
    p.drawLine(x + 1, 4, x + 1, top - 4);
  }
  if (r.CaretCol >= r.LeftCol) {
    // The caret's column looks like a raised button.
    const int c = left + (r.CaretCol - r.LeftCol) * cw;
    p.fillRect(c, 0, cw, top - 2, colors.ButtonFace);
    p.setPen(colors.WindowFrame);
    const QPoint outline[5] = {{c, 1}, {c, top - 4}, {c + cw - 1, top - 4}, {c + cw - 1, 1}, {c, 1}};
    p.drawPolyline(outline, 5);
    p.setPen(colors.Shadow3D);
    const QPoint shadow[3] = {{c + cw - 2, 2}, {c + cw - 2, top - 5}, {c + 1, top - 5}};
    p.drawPolyline(shadow, 3);
    p.setPen(colors.Highlight3D);
    const QPoint light[3] = {{c + 1, top - 5}, {c + 1, 2}, {c + cw - 2, 2}};
    p.drawPolyline(light, 3);
  }
  p.restore();
}

}  // namespace vorn
