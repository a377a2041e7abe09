// TColorSetListBox: the colour page's list of colour entries in the dialog order, each line
// drawn by the editor's own row painter in that entry's colours and style, so the preview is
// what the editor will show. Also the sample painting of keywords and comment sets.
#pragma once

#include "editor/RowPainter.h"
#include "syntax/EditColors.h"

#include <QListWidget>
#include <QStyledItemDelegate>

#include <functional>
#include <memory>

namespace vorn {

// Paints Shift_JIS text in the looks of one colour entry through the row painter.
class TColorSamplePainter {
public:
  explicit TColorSamplePainter(const QFont& font);
  void SetColors(const TVornEditColors& colors, const QPalette& palette);
  // Background and text of entry (entry 0's background where it is transparent), at x offset.
  void Paint(QPainter& p, const QRect& rect, const std::string& sjisText, int entry, int leftOffset) const;
  int RowHeight() const { return rowHeight_; }

private:
  mutable TRowPainter painter_;
  int rowHeight_ = 16;
};

// Paints each row of a view with the entry its data role 'EntryRole' names.
class TColorRowDelegate : public QStyledItemDelegate {
public:
  static constexpr int EntryRole = Qt::UserRole + 1;
  static constexpr int SjisTextRole = Qt::UserRole + 2;
  TColorRowDelegate(std::shared_ptr<TColorSamplePainter> painter, int leftOffset, QObject* parent)
      : QStyledItemDelegate(parent), painter_(std::move(painter)), leftOffset_(leftOffset) {}
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
  std::shared_ptr<TColorSamplePainter> painter_;
  int leftOffset_;
};

class TColorSetListBox : public QListWidget {
  Q_OBJECT
public:
  explicit TColorSetListBox(QWidget* parent = nullptr);
  // The list's own working copy of a colour table.
  TVornEditColors& Colors() { return colors_; }
  void Assign(const TVornEditColors& colors);
  // The table entry of the selected line, -1 for none.
  int SelectedEntry() const;
  void SetEditorFont(const QFont& font);
  // Repaints the lines after the table changed.
  void Refresh();

private:
  void Fill();
  TVornEditColors colors_;
  std::shared_ptr<TColorSamplePainter> painter_;
};

}  // namespace vorn
