// TVornEdit mouse: click, Shift+click and drag selection, with auto-scroll past the edges; a
// press in a draggable selection or the left margin hands over to EditDrag.cpp.
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
  if (event->button() != Qt::LeftButton || dragState_ != TDragState::None) return;
  const bool guarded = FocusClickGuarded();
  setFocus(Qt::MouseFocusReason);
  if (guarded) return;
  const QPoint pos = event->position().toPoint();
  const TRowCol cell = CellAt(pos, true);
  const bool box = event->modifiers() & Qt::AltModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  pressPos_ = lastMouse_ = pos;
  dblClickGuard_ = false;
  if (!shift && !box && SelectionDraggable() && pos.x() >= metrics_.TextLeft() && core_->CellInSelection(CellAt(pos, false))) {
    pressCell_ = CellAt(pos, false);
    dragState_ = TDragState::Pending;
    return;
  }
  core_->SetLeftButtonDown(true);
  if (!shift && pos.x() < metrics_.TextLeft() && core_->CaretOptions().RowSelect) {
    core_->SetBoxMode(false);
    rowDrag_ = true;
    rowDragFirst_ = MarginRow(cell.Row);
    SelectMarginRows(cell.Row);
    Flush();
    return;
  }
  if (shift) {
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
  Flush();
}

void TVornEdit::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (dragState_ == TDragState::Pending) {
    const int threshold = std::max(1, metrics_.CellWidth() / 2);
    if (std::abs(pos.x() - pressPos_.x()) >= threshold || std::abs(pos.y() - pressPos_.y()) >= threshold)
      StartSelectionDrag(event->modifiers() & Qt::ControlModifier);
    return;
  }
  if (rowDrag_) {
    const int row = pos.y() < metrics_.TextTop() ? core_->TopRow() - 1 : CellAt(pos, true).Row;
    SelectMarginRows(row);
    Flush();
    return;
  }
  if (!selecting_) {
    if (!(event->buttons() & Qt::LeftButton)) HoverAt(pos);
    return;
  }
  lastMouse_ = pos;
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
  if (dragState_ == TDragState::Pending) {
    // Released without moving: the press was a click that drops the selection.
    dragState_ = TDragState::None;
    core_->ClearSelection();
    core_->SetCaretPos(pressCell_.Row, pressCell_.Col);
    SetCursorKind(TCursorKind::Default);
    Flush();
    return;
  }
  rowDrag_ = false;
  selecting_ = false;
  autoScrollTimer_.stop();
  core_->SetLeftButtonDown(false);
  Flush();
}

void TVornEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || dragState_ == TDragState::Dragging) return;
  dragState_ = TDragState::None;
  DoubleClickAt(event->position().toPoint());
  selecting_ = false;
  rowDrag_ = false;
  Flush();
}

}  // namespace vorn
