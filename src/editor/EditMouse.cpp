// TVornEdit mouse: click, Shift+click and drag selection, with auto-scroll past the edges.
#include <QMouseEvent>

#include <cstdlib>

#include "editor/VornEdit.h"

namespace vorn {

namespace {
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
}  // namespace

TRowCol TVornEdit::CellAt(QPoint p, bool rounded) const {
  const int cw = metrics_.CellWidth();
  const int x = p.x() + (rounded ? cw / 2 - 1 : 0);
  const int col = std::max(0, FloorDiv(x - metrics_.TextLeft(), cw) + core_->LeftCol());
  const int row = FloorDiv(p.y() - metrics_.TextTop(), metrics_.RowHeight()) + core_->TopRow();
  return {row, col};
}

bool TVornEdit::OutsideTextArea(QPoint p) const {
  const QRect area(metrics_.TextLeft(), metrics_.TextTop(), viewport()->width() - metrics_.TextLeft(),
                   core_->VisibleRows() * metrics_.RowHeight());
  return !area.contains(p);
}

void TVornEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint pos = event->position().toPoint();
  const TRowCol cell = CellAt(pos, true);
  core_->SetLeftButtonDown(true);
  const bool box = event->modifiers() & Qt::AltModifier;
  if (event->modifiers() & Qt::ShiftModifier) {
    // Leaving box mode clears a box selection, so Shift then starts afresh at the caret.
    core_->SetBoxMode(box);
    if (!core_->HasSelection()) core_->StartSelection();
    core_->SetCaretPos(std::max(0, cell.Row), cell.Col);
    core_->ExtendSelection();
  } else {
    // Clearing first: clearing a selection also ends box mode, which Alt then chooses anew.
    core_->BeginCaretHide();
    core_->ClearSelection();
    core_->SetBoxMode(box);
    core_->SetCaretPos(std::max(0, cell.Row), cell.Col);
    core_->StartSelection();
    core_->EndCaretHide();
  }
  selecting_ = true;
  pressPos_ = lastMouse_ = pos;
  Flush();
}

void TVornEdit::mouseMoveEvent(QMouseEvent* event) {
  if (!selecting_) return;
  lastMouse_ = event->position().toPoint();
  DragTo(lastMouse_);
  if (OutsideTextArea(lastMouse_))
    autoScrollTimer_.start();
  else
    autoScrollTimer_.stop();
}

// Above the text the row is one above the top row, so holding the mouse there scrolls up;
// below it the row lies past the window and the caret's scroll into view moves down.
void TVornEdit::DragTo(QPoint p) {
  TRowCol cell = CellAt(p, true);
  if (p.y() < metrics_.TextTop()) cell.Row = std::max(0, core_->TopRow() - 1);
  cell.Row = std::max(0, cell.Row);
  core_->SetCaretPos(cell.Row, cell.Col);
  const int threshold = metrics_.CellWidth() / 2;
  const bool movedEnough = std::abs(p.x() - pressPos_.x()) >= threshold || std::abs(p.y() - pressPos_.y()) >= threshold;
  if (core_->HasSelection() || (core_->Selection().State == TSelectionState::Anchored && movedEnough))
    core_->ExtendSelection();
  Flush();
}

void TVornEdit::AutoScrollTick() {
  if (!selecting_ || !OutsideTextArea(lastMouse_)) {
    autoScrollTimer_.stop();
    return;
  }
  DragTo(lastMouse_);
}

void TVornEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  selecting_ = false;
  autoScrollTimer_.stop();
  core_->SetLeftButtonDown(false);
  Flush();
}

void TVornEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  core_->SelectWord();
  selecting_ = false;
  Flush();
}

}  // namespace vorn
