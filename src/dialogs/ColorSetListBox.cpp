// TColorSetListBox and the sample painter: colour entries drawn by the row painter.
#include "dialogs/ColorSetListBox.h"

#include "editor/EditMetrics.h"
#include "settings/ColorSet.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace vorn {
namespace {

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// One row whose every cell carries the entry's colours and style.
TRowPaint SampleRow(const std::string& text, int entry, TFontStyles style) {
  TRowPaint row;
  int col = 0;
  for (std::size_t i = 0; i < text.size();) {
    TPaintCell c;
    c.Byte = static_cast<int>(i);
    c.Col = col;
    const bool wide = IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    c.Bytes = wide ? 2 : 1;
    c.Cells = wide ? 2 : 1;
    c.Color = static_cast<std::uint8_t>(entry);
    c.Back = static_cast<std::uint8_t>(entry);
    c.Style = style;
    row.Cells.push_back(c);
    i += c.Bytes;
    col += c.Cells;
  }
  row.EndCol = -1;
  return row;
}

}  // namespace

TColorSamplePainter::TColorSamplePainter(const QFont& font) {
  const QFontMetrics m(font);
  rowHeight_ = std::max(1, m.height() + m.leading());
  painter_.SetFont(font, std::max(1, m.averageCharWidth()), rowHeight_, m.ascent());
  painter_.SetPerCharacterDrawing(true);
}

void TColorSamplePainter::SetColors(const TVornEditColors& colors, const QPalette& palette) {
  TPaintPalette resolved;
  resolved.Resolve(&colors, palette);
  // Transparent values stand for entry 0's colours; an unnamed entry draws in entry 0's text.
  for (int i = 0; i < TPaintPalette::kEntries; ++i) {
    TPaintEntry& e = resolved.At(i);
    if (IsTransparentColor(colors[i].BkColor()) || e.BackClear) {
      e.Back = resolved[0].Back;
      e.BackClear = false;
    }
    if (IsTransparentColor(colors[i].Color()) || e.TextClear || colors[i].Name().empty()) {
      e.Text = resolved[0].Text;
      e.TextClear = false;
    }
  }
  painter_.SetPalette(resolved);
}

void TColorSamplePainter::Paint(QPainter& p, const QRect& rect, const std::string& sjisText, int entry,
                                int leftOffset) const {
  const TPaintEntry& look = painter_.Palette()[entry];
  p.fillRect(rect, look.Back);
  TRowBand band;
  band.Top = rect.top() + std::max(0, (rect.height() - rowHeight_) / 2);
  band.Left = rect.left() + leftOffset;
  band.Right = rect.right();
  const TRowPaint row = SampleRow(sjisText, entry, look.Style);
  p.save();
  p.setClipRect(rect);
  painter_.PaintCells(p, band, sjisText, row, TSelSpan::None());
  p.restore();
}

void TColorRowDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QVariant entry = index.data(EntryRole);
  if (!entry.isValid() || index.column() != 0) {
    QStyledItemDelegate::paint(p, option, index);
    return;
  }
  const QByteArray text = index.data(SjisTextRole).toByteArray();
  painter_->Paint(*p, option.rect, text.toStdString(), entry.toInt(), leftOffset_);
  if (option.state & QStyle::State_Selected) {
    // Two nested frames mark the selection without covering the colours being judged.
    p->save();
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white);
    pen.setStyle((option.state & QStyle::State_HasFocus) ? Qt::SolidLine : Qt::DotLine);
    p->setPen(pen);
    p->drawRect(option.rect.adjusted(0, 0, -1, -1));
    p->drawRect(option.rect.adjusted(1, 1, -2, -2));
    p->restore();
  }
}

QSize TColorRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize s = QStyledItemDelegate::sizeHint(option, index);
  s.setHeight(std::max(s.height(), painter_->RowHeight() + 3));
  return s;
}

TColorSetListBox::TColorSetListBox(QWidget* parent)
    : QListWidget(parent), painter_(std::make_shared<TColorSamplePainter>(DefaultEditFont())) {
  setItemDelegate(new TColorRowDelegate(painter_, 4, this));
  setUniformItemSizes(true);
  Fill();
}

void TColorSetListBox::SetEditorFont(const QFont& font) {
  painter_ = std::make_shared<TColorSamplePainter>(font);
  setItemDelegate(new TColorRowDelegate(painter_, 4, this));
  Refresh();
}

void TColorSetListBox::Assign(const TVornEditColors& colors) {
  colors_.Assign(colors);
  Refresh();
}

int TColorSetListBox::SelectedEntry() const {
  const int row = currentRow();
  const auto order = ColorDialogOrder();
  return row >= 0 && row < static_cast<int>(order.size()) ? order[static_cast<std::size_t>(row)] : -1;
}

void TColorSetListBox::Fill() {
  clear();
  for (int entry : ColorDialogOrder()) {
    const std::string& name = colors_[entry].Name();
    const std::string text = name.empty() ? std::string(kColorSeparatorLine) : name;
    auto* item = new QListWidgetItem(this);
    item->setData(TColorRowDelegate::EntryRole, entry);
    item->setData(TColorRowDelegate::SjisTextRole, QByteArray::fromStdString(text));
  }
  Refresh();
}

void TColorSetListBox::Refresh() {
  painter_->SetColors(colors_, palette());
  viewport()->update();
}

}  // namespace vorn
