// TVornEdit painting: the backing image repainted from the core's dirty rows, and the caret and
// pre-edit drawn over it on the screen.
#include <QGuiApplication>
#include <QInputMethod>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleHints>

#include <algorithm>
#include <climits>

#include "base/sjis.h"
#include "editor/VornEdit.h"

namespace vorn {

bool TVornEdit::EnsureImageSize() {
  const qreal dpr = devicePixelRatioF();
  const QSize logical = viewport()->size();
  const QSize device(qRound(logical.width() * dpr), qRound(logical.height() * dpr));
  if (image_.size() == device && qFuzzyCompare(image_.devicePixelRatio(), dpr)) return false;
  image_ = QImage(device, QImage::Format_RGB32);
  image_.setDevicePixelRatio(dpr);
  return true;
}

TSelSpan TVornEdit::SelectionSpanOf(int row) const {
  const TSelection& sel = core_->Selection();
  if (sel.State != TSelectionState::Active || row < sel.Cols.StartRow || row > sel.Cols.EndRow) return TSelSpan::None();
  if (sel.Box) return {std::min(sel.Cols.StartCol, sel.Cols.EndCol), std::max(sel.Cols.StartCol, sel.Cols.EndCol)};
  // A stream selection runs to the right edge on every row but its last.
  const int start = row == sel.Cols.StartRow ? sel.Cols.StartCol : 0;
  const int end = row == sel.Cols.EndRow ? sel.Cols.EndCol : INT_MAX;
  return {start, end};
}

TEndMark TVornEdit::EndMarkOf(int row) const {
  const int n = core_->RowCount();
  const bool ret = look_.Marks.RetMark;
  const bool eof = look_.Marks.EofMark;
  if (row < n) {
    switch (core_->RowKind(row)) {
      case reLineEnd: return ret ? TEndMark::LineEnd : TEndMark::None;
      case reTextEnd: return eof ? TEndMark::Eof : TEndMark::None;
      default: return TEndMark::None;
    }
  }
  if (eof && row == n && (n == 0 || core_->RowKind(n - 1) != reTextEnd)) return TEndMark::Eof;
  return TEndMark::None;
}

// The caret row carries the underline while no selection exists.
int TVornEdit::UnderlineRow() const {
  if (!look_.Marks.Underline || core_->HasSelection() || !core_->CaretVisible()) return -1;
  return core_->CaretRow();
}

// The formatting width's line, or -1 where it is not shown.
int TVornEdit::WrapLineX() const {
  if (!look_.Marks.WordWrapLine || !look_.WrapMarker || core_->Store().WordWrap() || core_->ReadOnly()) return -1;
  if (look_.WrapCount < core_->LeftCol()) return -1;
  return metrics_.TextLeft() + (look_.WrapCount - core_->LeftCol()) * metrics_.CellWidth();
}

void TVornEdit::PaintRowInto(QPainter& p, int row) {
  const int top = metrics_.TextTop() + (row - core_->TopRow()) * metrics_.RowHeight();
  const TRowBand band{top, metrics_.TextLeft(), viewport()->width(), core_->LeftCol()};
  const std::string_view text = row < core_->RowCount() ? core_->Store().Row(row) : std::string_view();
  ColorRowInto(row, rowPaint_);
  const TSelSpan sel = SelectionSpanOf(row);
  painter_.PaintCells(p, band, text, rowPaint_, sel);
  if (onDrawLine_ && row < core_->RowCount()) RaiseDrawLine(p, row, band, sel);
  PaintRowExtras(p, row, top);
}

// The row's text with the rows of its line before it and, on a wrapped row, the next one,
// each expanded from its own column 0 as the painter counts columns.
std::string TVornEdit::DrawLineText(int row) const {
  TVornEditScreenStrings& store = core_->Store();
  const TColumnRule& rule = painter_.ColumnRule();
  int last = row;
  if (store.WordWrap() && row + 1 < core_->RowCount() && core_->RowKind(row) == reWrapped) last = row + 1;
  std::string out;
  for (int r = store.WordWrap() ? store.FirstRowOfLine(row) : row; r <= last; ++r) {
    int col = 0;
    for (char c : store.Row(r)) {
      if (c != '\t') {
        out += c;
        ++col;
        continue;
      }
      const int cells = rule.TabCells(col);
      out.append(static_cast<std::size_t>(cells), ' ');
      col += cells;
    }
  }
  return out;
}

// One call per painted piece: the parts outside the selection, then the selected one.
void TVornEdit::RaiseDrawLine(QPainter& p, int row, const TRowBand& band, TSelSpan sel) {
  const std::string line = DrawLineText(row);
  const int cw = metrics_.CellWidth();
  const int h = metrics_.RowHeight();
  TDrawLineArgs args{line, band.Left - band.LeftCol * cw, band.Top, row, {}, false, true};
  const auto xOf = [&](int col) {
    const long long x = static_cast<long long>(band.Left) + (static_cast<long long>(col) - band.LeftCol) * cw;
    return static_cast<int>(std::clamp<long long>(x, band.Left, band.Right));
  };
  const auto raise = [&](int left, int right, bool selected) {
    if (left >= right) return;
    args.ARect = QRect(left, band.Top, right - left, h);
    args.Selected = selected;
    args.Last = !selected;
    p.save();
    p.setClipRect(args.ARect);
    onDrawLine_(*this, p, args);
    p.restore();
  };
  const int selLeft = sel.Empty() ? band.Right : xOf(sel.Start);
  const int selRight = sel.Empty() ? band.Right : (sel.End == INT_MAX ? band.Right : xOf(sel.End));
  raise(band.Left, selLeft, false);
  raise(selLeft, selRight, true);
  raise(selRight, band.Right, false);
}

TMarginSetup TVornEdit::MarginSetup() const {
  return TMarginSetup{look_.PhysicalLineNum, &core_->FindCondition(), lastLineInfo_};
}

// What lies beside and below a row's cells: its margin, the underline pixel row and the
// formatting width's line.
void TVornEdit::PaintRowExtras(QPainter& p, int row, int top) {
  const int fh = metrics_.FontHeight();
  const int rh = metrics_.RowHeight();
  const int width = viewport()->width();
  const int left = metrics_.TextLeft();
  if (rh > fh) {
    p.fillRect(left, top + fh, width - left, rh - fh, palette_[ce::Normal].Back);
    if (row == UnderlineRow()) p.fillRect(left, top + fh, width - left, 1, palette_[ce::Underline].Text);
  }
  const int x = WrapLineX();
  if (x >= left && x < width) p.fillRect(x, top, 1, rh, palette_[ce::WrapLine].Text);
  const TMarginRow m = row <= core_->RowCount() ? MarginRowOf(core_->Store(), MarginSetup(), row) : TMarginRow{};
  margin_.PaintRow(p, palette_, m, top, rh);
}

void TVornEdit::PaintRuler(QPainter& p) {
  const int width = viewport()->width();
  const int top = metrics_.TextTop();
  paintedRulerCaret_ = core_->CaretCol();
  if (!look_.HorizontalRuler) {
    p.fillRect(0, 0, width, top, palette_[ce::Normal].Back);
    return;
  }
  TRulerState r;
  r.Width = width;
  r.LeftCol = core_->LeftCol();
  const int left = metrics_.TextLeft();
  const int cw = metrics_.CellWidth();
  TVornEditScreenStrings& store = core_->Store();
  if (store.WordWrap())
    r.End = left + cw * (store.Wrapper().WrapByte() - r.LeftCol + 4);
  else
    r.End = std::min(width, left + cw * (HorizontalLimit() - r.LeftCol + 4));
  r.CaretCol = core_->CaretVisible() || !core_->BrowseMode() ? core_->CaretCol() : -1;
  if (look_.WrapMarker && (!store.WordWrap() || store.Wrapper().WrapByte() >= look_.WrapCount))
    r.WrapMarkCol = look_.WrapCount;
  margin_.PaintRuler(p, palette_, r);
}

void TVornEdit::PaintRows(int firstRow, int lastRow) {
  if (image_.isNull()) return;
  const int top = core_->TopRow();
  firstRow = std::max(firstRow, top);
  lastRow = std::min(lastRow, top + metrics_.PaintedRows() - 1);
  if (firstRow > lastRow) return;
  SyncColoring();
  QPainter p(&image_);
  for (int row = firstRow; row <= lastRow; ++row) PaintRowInto(p, row);
  if (onDrawMarginLeft_ && metrics_.TextLeft() > 0) {
    p.save();
    p.setClipRect(QRect(0, 0, metrics_.TextLeft(), viewport()->height()).intersected(RowsRect(firstRow, lastRow)));
    onDrawMarginLeft_(*this, p);
    p.restore();
  }
}

void TVornEdit::SetOnDrawLine(TDrawLineHandler handler) {
  onDrawLine_ = std::move(handler);
  imageValid_ = false;
  Flush();
}

void TVornEdit::SetOnDrawRetMark(TDrawRetMarkHandler handler) {
  onDrawRetMark_ = std::move(handler);
  if (onDrawRetMark_)
    painter_.SetRetMarkHook([this](QPainter& p, int x, int y, bool drawBack) { onDrawRetMark_(*this, p, x, y, drawBack); });
  else
    painter_.SetRetMarkHook(nullptr);
  imageValid_ = false;
  Flush();
}

void TVornEdit::SetOnDrawMarginLeft(TDrawMarginLeftHandler handler) {
  onDrawMarginLeft_ = std::move(handler);
  imageValid_ = false;
  Flush();
}

void TVornEdit::SetLastLineInfo(int kind) {
  if (kind == lastLineInfo_) return;
  lastLineInfo_ = kind;
  const int n = core_->RowCount();
  PaintRows(n, n);
  viewport()->update(RowsRect(n, n));
}

void TVornEdit::RepaintAll() {
  EnsureImageSize();
  TVornEditScreenStrings& store = core_->Store();
  painter_.SetColumnRule({core_->CaretOptions().TabSpaceCount, store.WordWrap() ? store.Wrapper().WrapByte() : 0});
  paintedTop_ = core_->TopRow();
  paintedLeft_ = core_->LeftCol();
  paintedUnderline_ = UnderlineRow();
  imageValid_ = true;
  if (image_.isNull()) return;
  {
    QPainter p(&image_);
    PaintRuler(p);
    // Below the last row a part row may remain: the margin's colours reach down to it.
    p.fillRect(0, metrics_.TextTop(), metrics_.TextLeft(), viewport()->height() - metrics_.TextTop(),
               palette_[ce::Normal].Back);
  }
  PaintRows(paintedTop_, paintedTop_ + metrics_.PaintedRows() - 1);
}

QRect TVornEdit::RowsRect(int firstRow, int lastRow) const {
  const int top = core_->TopRow();
  firstRow = std::max(firstRow, top);
  lastRow = std::min(lastRow, top + metrics_.PaintedRows());
  if (firstRow > lastRow) return {};
  const int h = metrics_.RowHeight();
  return QRect(0, metrics_.TextTop() + (firstRow - top) * h, viewport()->width(), (lastRow - firstRow + 1) * h);
}

// The core names the dirty rows, those of its text changes and of its selection alike.
void TVornEdit::Flush() {
  const TDirtyRegion dirty = core_->TakeDirty();
  UpdateScrollBars();
  const bool resized = EnsureImageSize();
  QRegion changed;
  if (resized || !imageValid_ || dirty.All || core_->TopRow() != paintedTop_ || core_->LeftCol() != paintedLeft_) {
    RepaintAll();
    changed = viewport()->rect();
  } else {
    if (dirty.FirstRow >= 0) {
      PaintRows(dirty.FirstRow, dirty.LastRow);
      changed += RowsRect(dirty.FirstRow, dirty.LastRow);
    }
    // The underline follows the caret row, the ruler's marker its column.
    const int underline = UnderlineRow();
    if (underline != paintedUnderline_) {
      for (int row : {paintedUnderline_, underline}) {
        if (row < 0) continue;
        PaintRows(row, row);
        changed += RowsRect(row, row);
      }
      paintedUnderline_ = underline;
    }
    if (look_.HorizontalRuler && paintedRulerCaret_ != core_->CaretCol() && !image_.isNull()) {
      QPainter p(&image_);
      PaintRuler(p);
      changed += QRect(0, 0, viewport()->width(), metrics_.TextTop());
    }
  }
  const QRect caret = CaretRect();
  if (caret != paintedCaret_ || dirty.Caret) {
    changed += paintedCaret_;
    changed += caret;
    paintedCaret_ = caret;
    RestartBlink();
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
  }
  if (!changed.isEmpty()) viewport()->update(changed);
  if (core_->Store().RewrapPending() && !rewrapTimer_.isActive()) rewrapTimer_.start();
  EmitPending();
}

// --- caret and overlays -------------------------------------------------------------------------

bool TVornEdit::CaretShown() const { return core_->CaretVisible() && preedit_.isEmpty(); }

QRect TVornEdit::CaretRect() const {
  const int cw = metrics_.CellWidth();
  const int fh = metrics_.FontHeight();
  const int x = metrics_.TextLeft() + (core_->CaretCol() - core_->LeftCol()) * cw;
  const int rowTop = metrics_.TextTop() + (core_->CaretRow() - core_->TopRow()) * metrics_.RowHeight();
  int w = 2;
  int h = fh;
  const TVornEditCaretStyle style = core_->CaretOptions().Style;
  if (core_->OverwriteMode() || style != csDefault) {
    const int row = core_->CaretRow();
    const std::string_view text = row < core_->RowCount() ? core_->Store().Row(row) : std::string_view();
    const TColumnStart at = FindColumnStart(text, painter_.ColumnRule(), core_->CaretCol());
    const auto b = static_cast<std::size_t>(at.Byte);
    const bool pair = at.Col == core_->CaretCol() && b + 1 < text.size() && sjis::IsLeadByte(text[b]);
    w = pair ? 2 * cw : cw;
    if (!core_->OverwriteMode()) h = style == csBrief ? 2 : fh / 2;
  }
  // The caret sits at the bottom of its row.
  return QRect(x, rowTop + fh - h, w, h);
}

void TVornEdit::DrawCaret(QPainter& p) const {
  if (!CaretShown() || !blinkOn_) return;
  p.save();
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p.fillRect(CaretRect(), Qt::white);
  p.restore();
}

// The pre-edit is drawn over the text at the caret, never put into the document; the part
// after the pre-edit cursor is underlined the same way.
void TVornEdit::DrawPreedit(QPainter& p) const {
  if (preedit_.isEmpty()) return;
  const QRect caret = CaretRect();
  const int rowTop = metrics_.TextTop() + (core_->CaretRow() - core_->TopRow()) * metrics_.RowHeight();
  const int cw = metrics_.CellWidth();
  int cells = 0;
  int cursorX = caret.left();
  for (int i = 0; i < preedit_.size(); ++i) {
    if (i == preeditCursor_) cursorX = caret.left() + cells * cw;
    const char16_t u = preedit_[i].unicode();
    if (QChar::isLowSurrogate(u)) continue;
    cells += (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
  }
  if (preeditCursor_ >= preedit_.size()) cursorX = caret.left() + cells * cw;
  const QRect box(caret.left(), rowTop, cells * cw, metrics_.FontHeight());
  p.save();
  p.fillRect(box, colors_.PreeditBack);
  QFont font = font_;
  font.setUnderline(true);
  p.setFont(font);
  p.setPen(colors_.Text);
  p.drawText(QPointF(box.left(), rowTop + metrics_.Ascent()), preedit_);
  p.fillRect(QRect(cursorX, rowTop, 1, metrics_.FontHeight()), colors_.Text);
  p.restore();
}

QImage TVornEdit::ComposedImage() const {
  QImage frame = image_;
  QPainter p(&frame);
  DrawCaret(p);
  DrawPreedit(p);
  return frame;
}

void TVornEdit::paintEvent(QPaintEvent* event) {
  // A move to a screen of another pixel ratio shows first as a paint request.
  if (!qFuzzyCompare(image_.devicePixelRatio(), devicePixelRatioF())) imageValid_ = false;
  if (!imageValid_ || !core_->Dirty().Empty()) Flush();
  QPainter p(viewport());
  const QRect r = event->rect();
  const qreal dpr = image_.devicePixelRatio();
  p.drawImage(r, image_, QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
  DrawCaret(p);
  DrawPreedit(p);
}

void TVornEdit::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  metrics_.SetClientSize(viewport()->width(), viewport()->height());
  imageValid_ = false;
  Flush();
}

void TVornEdit::RestartBlink() {
  blinkOn_ = true;
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (flash > 0 && hasFocus())
    blinkTimer_.start(flash / 2);
  else
    blinkTimer_.stop();
}

void TVornEdit::BlinkTick() {
  blinkOn_ = !blinkOn_;
  viewport()->update(paintedCaret_);
}

}  // namespace vorn
