// TVornEdit: dragging the selection (within the pane, to another pane or window, to other
// programs), drops from elsewhere, row selection in the left margin, double-clicks on hot spots,
// the focus-click guard and the mouse cursor.
//
// One mechanism carries every selection drag: the platform's drag (QDrag). A drop on the pane
// the drag came from moves or copies the selection; a drop elsewhere copies; the source clears
// its selection when the drag ends, whatever became of it.
#include <QApplication>
#include <QDesktopServices>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

#include "editor/VornEdit.h"

namespace vorn {

namespace {

// A press within this long after the focus came back only focuses the pane.
constexpr qint64 kFocusGuardMs = 100;

// The arrow that points into the text from the left margin.
QCursor RightArrowCursor() {
  QPixmap pix(16, 16);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF arrow[] = {{15, 0}, {15, 13}, {11.5, 10}, {8.5, 15}, {6.5, 14}, {9.5, 9}, {4, 9}};
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(Qt::black);
  p.drawPolygon(arrow, 7);
  return QCursor(pix, 15, 0);
}

QCursor CursorOfRole(TVornCursorId id) {
  switch (id) {
    case TVornCursorId::cuIBeam: return Qt::IBeamCursor;
    case TVornCursorId::cuDrag: return Qt::DragMoveCursor;
    case TVornCursorId::cuDragSelCopy: return Qt::DragCopyCursor;
    case TVornCursorId::cuRightArrow: return RightArrowCursor();
    case TVornCursorId::cuDefault: break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

bool TVornEdit::SelectionDraggable() const {
  return !core_->ReadOnly() && core_->HasSelection() && core_->CaretOptions().SelMove;
}

// --- the mouse cursor -----------------------------------------------------------------------

void TVornEdit::SetCursorKind(TCursorKind kind) {
  if (!core_->CaretOptions().AutoCursor || kind == cursorKind_) return;
  cursorKind_ = kind;
  const TVornEditCursorValues& roles = cursorRoles_;
  QCursor cursor;
  switch (kind) {
    case TCursorKind::Default: cursor = CursorOfRole(roles.DefaultCursor); break;
    case TCursorKind::LeftMargin: cursor = CursorOfRole(roles.LeftMarginCursor); break;
    case TCursorKind::InSelection: cursor = CursorOfRole(roles.InSelCursor); break;
    case TCursorKind::DragMove: cursor = CursorOfRole(roles.DragSelCursor); break;
    case TCursorKind::DragCopy: cursor = CursorOfRole(roles.DragSelCopyCursor); break;
    case TCursorKind::Hand: cursor = Qt::PointingHandCursor; break;
    case TCursorKind::Platform: cursor = Qt::ArrowCursor; break;
    case TCursorKind::None: cursor = Qt::BlankCursor; break;
  }
  viewport()->setCursor(cursor);
}

TVornEdit::TCursorKind TVornEdit::CursorKindAt(QPoint p) const {
  if (!hasFocus()) return TCursorKind::Platform;
  if (p.x() < metrics_.TextLeft()) return TCursorKind::LeftMargin;
  if (SelectionDraggable() && !core_->BoxMode() && core_->CellInSelection(CellAt(p, false))) return TCursorKind::InSelection;
  if (!OutsideTextArea(p)) {
    const TTokenKind kind = core_->TokenAtCell(CellAt(p, true)).Kind;
    if (kind == tkUrl || kind == tkMailAddress || kind == tkFileName || kind == tkMailId) return TCursorKind::Hand;
  }
  return TCursorKind::Default;
}

void TVornEdit::HoverAt(QPoint p) { SetCursorKind(CursorKindAt(p)); }

// --- the focus-click guard ------------------------------------------------------------------

bool TVornEdit::FocusClickGuarded() {
  if (!focusLost_) return false;
  if (hasFocus() && focusBack_.isValid() && focusBack_.elapsed() > kFocusGuardMs) {
    focusLost_ = false;
    return false;
  }
  return true;
}

// --- row selection in the left margin ----------------------------------------------------------

// The last row, when it holds no line break, is selected to its end and not past it.
int TVornEdit::MarginRow(int row) const {
  const int n = core_->RowCount();
  int limit = n;
  if (n > 0 && core_->RowKind(n - 1) != reLineEnd) limit = n - 1;
  return std::clamp(row, 0, std::max(0, limit));
}

void TVornEdit::SelectMarginRows(int row) {
  row = MarginRow(row);
  const int first = std::min(rowDragFirst_, row);
  const int last = std::max(rowDragFirst_, row);
  core_->BeginCaretHide();
  if (last >= core_->RowCount()) {
    // The empty row after the final line break: nothing there to select.
    core_->ClearSelection();
    core_->SetCaretPos(last, 0);
  } else if (row < rowDragFirst_) {
    // Upwards the caret leads at the top, so the selection is made from the bottom.
    core_->SelectRows(first, last + 1);
    const TTextRange r = core_->SelectionOffsets();
    core_->ClearSelection();
    const TRowCol end = core_->OffsetToPos(r.End), start = core_->OffsetToPos(r.Start);
    core_->SetCaretPos(end.Row, end.Col);
    core_->StartSelection();
    core_->SetCaretPos(start.Row, start.Col);
    core_->ExtendSelection();
  } else {
    core_->SelectRows(first, last + 1);
  }
  core_->EndCaretHide();
}

// --- selection drags -----------------------------------------------------------------------

void TVornEdit::StartSelectionDrag(bool copy) {
  dragState_ = TDragState::Dragging;
  SetCursorKind(copy ? TCursorKind::DragCopy : TCursorKind::DragMove);
  auto* drag = new QDrag(this);
  drag->setMimeData(TQtClipboard::MakeMimeData(core_->GetSelText(), core_->BoxMode()));
  drag->setDragCursor(CursorOfRole(cursorRoles_.DragSelCursor).pixmap(), Qt::MoveAction);
  drag->setDragCursor(CursorOfRole(cursorRoles_.DragSelCopyCursor).pixmap(), Qt::CopyAction);
  dropHandledHere_ = false;
  const TRowCol home = core_->Caret();
  drag->exec(Qt::CopyAction | Qt::MoveAction, copy ? Qt::CopyAction : Qt::MoveAction);
  // Whatever the drop did, the drag is over: the source's selection goes, unless a double-click
  // made it.
  dragState_ = TDragState::None;
  selecting_ = false;
  core_->SetLeftButtonDown(false);
  if (!dropHandledHere_) {
    if (!dblClickGuard_) core_->ClearSelection();
    if (!dblClickGuard_) core_->SetCaretPos(home.Row, home.Col);
  }
  dblClickGuard_ = false;
  SetCursorKind(TCursorKind::Default);
  Flush();
}

bool TVornEdit::AcceptsDrop(const QMimeData* data) const {
  if (!data || core_->ReadOnly()) return false;
  // Files dropped from a file manager are for the window to open, not text to insert.
  if (data->hasUrls() && !data->hasFormat(QString::fromLatin1(kSjisMimeType))) {
    const QList<QUrl> urls = data->urls();
    if (!urls.isEmpty() && std::all_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); }))
      return false;
  }
  return data->hasText() || data->hasFormat(QString::fromLatin1(kSjisMimeType));
}

TRowCol TVornEdit::DropCell(QPoint p) const {
  TRowCol cell = CellAt(p, false);
  if (p.y() <= metrics_.TextTop()) cell.Row = std::max(0, core_->TopRow() - 1);
  cell.Row = std::max(0, cell.Row);
  return cell;
}

void TVornEdit::dragEnterEvent(QDragEnterEvent* event) {
  if (!AcceptsDrop(event->mimeData())) {
    event->ignore();
    return;
  }
  dragMoveEvent(event);
}

// The target shows where the text would go with its caret, but leaves its selection alone: a
// drag from this very pane still needs it.
void TVornEdit::dragMoveEvent(QDragMoveEvent* event) {
  if (!AcceptsDrop(event->mimeData())) {
    event->ignore();
    return;
  }
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  const TRowCol cell = DropCell(event->position().toPoint());
  const bool fromHere = event->source() == this;
  if (fromHere) {
    dropCaret_ = cell;
    core_->SetCaretPos(cell.Row, cell.Col);
    const bool copy = event->modifiers() & Qt::ControlModifier;
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
  } else {
    core_->ClearSelection();
    core_->SetCaretPos(cell.Row, cell.Col);
    event->setDropAction(Qt::CopyAction);
  }
  event->accept();
  Flush();
}

void TVornEdit::dragLeaveEvent(QDragLeaveEvent* event) { event->accept(); }

void TVornEdit::dropEvent(QDropEvent* event) {
  if (!AcceptsDrop(event->mimeData())) {
    event->ignore();
    return;
  }
  const TRowCol cell = DropCell(event->position().toPoint());
  if (event->source() == this) {
    const bool copy = event->modifiers() & Qt::ControlModifier;
    core_->DropSelectionAt(cell, copy);
    dropHandledHere_ = true;
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
  } else {
    const std::optional<TClipboardText> text = TQtClipboard::ReadMimeData(event->mimeData());
    core_->SetCaretPos(cell.Row, cell.Col);
    if (text) {
      core_->InsertDropped(text->Sjis, text->Box);
      if (text->Unheld > 0) Q_EMIT CharactersDropped(text->Unheld);
    }
    // Between panes the text is copied, never taken from its source.
    event->setDropAction(Qt::CopyAction);
  }
  event->accept();
  activateWindow();
  Flush();
}

// --- double-clicks on hot spots -------------------------------------------------------------

void TVornEdit::DoubleClickAt(QPoint p) {
  const TVornEditCore::THotSpot spot = core_->TokenAtCell(CellAt(p, true));
  bool handled = false;
  switch (spot.Kind) {
    case tkUrl:
    case tkMailAddress:
    case tkFileName:
    case tkMailId: {
      Q_EMIT HotSpotDoubleClicked(static_cast<int>(spot.Kind), QString::fromStdString(spot.Text), &handled);
      if (handled) return;
      const QString text = QString::fromLatin1(spot.Text.data(), static_cast<qsizetype>(spot.Text.size()));
      if (spot.Kind == tkUrl) {
        OpenWithDesktop(text);
      } else if (spot.Kind == tkMailAddress) {
        Q_EMIT MailDoubleClicked(text, &handled);
        if (!handled) OpenWithDesktop(QStringLiteral("mailto:") + text);
      } else if (spot.Kind == tkFileName) {
        // "file://" and its quotes come off; what is left names the file.
        QString name = text;
        name.remove(QLatin1Char('"'));
        name = name.mid(7);
        OpenWithDesktop(QUrl::fromLocalFile(name).toString());
      } else {
        Q_EMIT MailIdDoubleClicked(text, &handled);
      }
      return;
    }
    default: break;
  }
  core_->SelectWord();
  dblClickGuard_ = true;
}

void TVornEdit::OpenWithDesktop(const QString& target) {
  if (opener_) {
    opener_(target);
    return;
  }
  QDesktopServices::openUrl(QUrl(target));
}

}  // namespace vorn
