// TVornEdit scrolling: the bars' ranges and requests, and the wheel.
#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "editor/VornEdit.h"

namespace vorn {

namespace {
// The ranges are stated the Windows way, where the maximum includes the page; a Qt bar's
// maximum is the last position its page can start at.
void SetWindowsRange(QScrollBar* bar, int windowsMax, int page, int value) {
  page = std::max(1, page);
  bar->setRange(0, std::max(0, windowsMax - page + 1));
  bar->setPageStep(page);
  bar->setSingleStep(1);
  bar->setValue(value);
  bar->setEnabled(windowsMax + 1 > page);
}
}  // namespace

void TVornEdit::UpdateScrollBars() {
  syncingBars_ = true;
  const int rows = core_->VisibleRows();
  const int largestTop = std::max(0, core_->RowCount() + rows - 2);
  SetWindowsRange(verticalScrollBar(), std::max(rows, largestTop), rows, core_->TopRow());
  const int cols = core_->VisibleCols();
  const bool wrap = core_->Store().WordWrap();
  const int page = wrap ? cols : std::max(cols, (MaxColumns + 1) / 20);
  const int extra = wrap ? 3 : page - cols + 4;
  SetWindowsRange(horizontalScrollBar(), extra + HorizontalLimit(), page, core_->LeftCol());
  syncingBars_ = false;
}

void TVornEdit::VerticalBarMoved(int value) {
  if (syncingBars_) return;
  ScrollRowsTo(value);
  Flush();
}

// With LockScroll the caret keeps its screen row: it moves by the rows the view moved.
void TVornEdit::ScrollRowsTo(int top) {
  const int before = core_->TopRow();
  core_->SetTopRow(top);
  const int moved = core_->TopRow() - before;
  if (moved != 0 && core_->CaretOptions().LockScroll) {
    const TRowCol caret = core_->Caret();
    core_->SetCaretPos(std::clamp(caret.Row + moved, 0, core_->LastCaretRow()), caret.Col);
    core_->SetTopRow(before + moved);
  }
}

void TVornEdit::HorizontalBarMoved(int value) {
  if (syncingBars_) return;
  core_->SetLeftCol(value);
  Flush();
}

// Deltas are summed until they make whole rows, so a touchpad's small steps scroll too.
void TVornEdit::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  event->accept();
  if (delta == 0) return;
  const int page = std::max(1, core_->VisibleRows() - 1);
  int lines = intelliMouseCount_ > 0 ? intelliMouseCount_ : QApplication::wheelScrollLines();
  if (lines <= 0 || lines > page) lines = page;
  if ((wheelRemainder_ > 0 && delta < 0) || (wheelRemainder_ < 0 && delta > 0)) wheelRemainder_ = 0;
  wheelRemainder_ += delta * lines;
  const int rows = wheelRemainder_ / 120;
  wheelRemainder_ -= rows * 120;
  if (rows == 0) return;
  ScrollRowsTo(core_->TopRow() - rows);
  Flush();
}

}  // namespace vorn
