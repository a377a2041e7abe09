// TVornEdit input method: commit typed as Shift_JIS, pre-edit drawn at the caret, focus.
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>

#include "editor/VornEdit.h"
#include "platform/cp932.h"

namespace vorn {

std::string TVornEdit::HoldableSjis(const QString& text, int& dropped) {
  return TQtClipboard::HoldableSjis(text, dropped);
}

void TVornEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty() && !core_->ReadOnly()) {
    int dropped = 0;
    const std::string sjis = HoldableSjis(event->commitString(), dropped);
    if (!sjis.empty()) {
      core_->TypeText(sjis);
      core_->AutoSeikei(sjis);
    }
    if (dropped > 0) Q_EMIT CharactersDropped(dropped);
  }
  int cursor = static_cast<int>(event->preeditString().size());
  for (const QInputMethodEvent::Attribute& a : event->attributes())
    if (a.type == QInputMethodEvent::Cursor) cursor = a.start;
  SetPreedit(event->preeditString(), cursor);
  event->accept();
  Flush();
}

// While a pre-edit shows, the caret is hidden through the core's counter, as an open
// candidate list hides it.
void TVornEdit::SetPreedit(const QString& text, int cursor) {
  const bool was = !preedit_.isEmpty();
  const bool now = !text.isEmpty();
  if (!was && now) core_->BeginCaretHide();
  if (was && !now) core_->EndCaretHide();
  preedit_ = text;
  preeditCursor_ = cursor;
  viewport()->update(RowsRect(core_->CaretRow(), core_->CaretRow()));
}

QVariant TVornEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle: {
      // The row's full height at the caret, so the candidate window opens just below it.
      const QRect caret = CaretRect();
      const int rowTop = metrics_.TextTop() + (core_->CaretRow() - core_->TopRow()) * metrics_.RowHeight();
      return QRect(caret.left(), rowTop, caret.width(), metrics_.RowHeight()).translated(viewport()->pos());
    }
    case Qt::ImFont: return font_;
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition: return 0;
    case Qt::ImSurroundingText:
    case Qt::ImCurrentSelection: return QString();
    case Qt::ImHints: return static_cast<int>(Qt::ImhMultiLine);
    default: return QAbstractScrollArea::inputMethodQuery(query);
  }
}

void TVornEdit::SetImeControl(bool on) {
  if (on == imeControl_) return;
  imeControl_ = on;
  if (on && hasFocus()) OpenInputMethod();
}

void TVornEdit::OpenInputMethod() {
  if (imeOpener_) {
    imeOpener_();
    return;
  }
  // The platform has no open state of its own to set: the input method is told that the
  // focused pane takes input and asked to show itself.
  QInputMethod* im = QGuiApplication::inputMethod();
  im->update(Qt::ImEnabled);
  im->show();
}

void TVornEdit::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  if (imeControl_) OpenInputMethod();
  if (focusLost_) focusBack_.start();
  core_->SetFocused(true);
  RestartBlink();
  Flush();
}

void TVornEdit::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  // Only leaving the window arms the focus-click guard: the click that brings it back is not
  // meant for the text. A menu or a dialog of this window does not.
  if (event->reason() == Qt::ActiveWindowFocusReason) {
    focusLost_ = true;
    focusBack_.invalidate();
  }
  // A composition left open is abandoned; the counter it holds is given back.
  if (!preedit_.isEmpty()) SetPreedit(QString(), 0);
  core_->SetFocused(false);
  blinkTimer_.stop();
  Flush();
}

}  // namespace vorn
