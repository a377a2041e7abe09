// TVornEdit keys: the navigation and editing keys the control handles itself, and typed text.
#include <QKeyEvent>

#include "editor/VornEdit.h"

namespace vorn {

namespace {
bool NavKeyOf(int key, TNavKey& out) {
  switch (key) {
    case Qt::Key_PageUp: out = nkPageUp; return true;
    case Qt::Key_PageDown: out = nkPageDown; return true;
    case Qt::Key_End: out = nkEnd; return true;
    case Qt::Key_Home: out = nkHome; return true;
    case Qt::Key_Left: out = nkLeft; return true;
    case Qt::Key_Right: out = nkRight; return true;
    case Qt::Key_Up: out = nkUp; return true;
    case Qt::Key_Down: out = nkDown; return true;
    default: return false;
  }
}
}  // namespace

// Shift and Ctrl come from the event, never from the keyboard's state now, so a replayed or
// synthesised key decides its own selection extension.
bool TVornEdit::HandleControlKey(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  TNavKey nav{};
  if (NavKeyOf(event->key(), nav)) {
    core_->NavigationKey(nav, shift, ctrl);
    return true;
  }
  const bool ownHandler = !core_->NotUseKeyboardHandler;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (ownHandler) core_->InsertLineBreak(shift, ctrl);
      return true;
    case Qt::Key_Tab:
      if (ownHandler) core_->TabKey(shift, ctrl);
      return true;
    case Qt::Key_Backtab:
      if (ownHandler) core_->TabKey(true, ctrl);
      return true;
    case Qt::Key_Backspace:
      if (ownHandler) core_->BackSpace();
      return true;
    case Qt::Key_Delete:
      core_->DeleteChar();
      return true;
    case Qt::Key_Insert:
      if (event->modifiers() != Qt::NoModifier) return false;
      core_->SetOverwriteMode(!core_->OverwriteMode());
      caretMovedPending_ = true;  // the window shows the mode beside the caret's place
      return true;
    default: return false;
  }
}

// Single-byte characters go through the character filter; a double-byte character typed
// without the input method is typed as its pair.
void TVornEdit::TypeKeyText(const QString& text) {
  int dropped = 0;
  const std::string sjis = HoldableSjis(text, dropped);
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    if (((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < sjis.size()) {
      core_->TypeText(std::string_view(sjis).substr(i, 2));
      ++i;
    } else {
      core_->TypeCharMessage(b);
    }
  }
  if (dropped > 0) Q_EMIT CharactersDropped(dropped);
}

void TVornEdit::keyPressEvent(QKeyEvent* event) {
  core_->SetKeyRepeat(event->isAutoRepeat());
  if (!HandleControlKey(event)) {
    // Alt and Meta chords are menu and system keys; the text some platforms attach to them
    // is not typed.
    if (event->text().isEmpty() || (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
      event->ignore();
      return;
    }
    TypeKeyText(event->text());
  }
  event->accept();
  Flush();
}

void TVornEdit::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) core_->SetKeyRepeat(false);
  QAbstractScrollArea::keyReleaseEvent(event);
}

// Tab and Shift+Tab are the control's own keys, not focus moves.
bool TVornEdit::focusNextPrevChild(bool) { return false; }

bool TVornEdit::event(QEvent* event) {
  // Keys the control handles must not be taken by window shortcuts bound to the same key.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    TNavKey nav{};
    const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
    if (plain && (NavKeyOf(key->key(), nav) || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backspace ||
                  key->key() == Qt::Key_Delete || key->key() == Qt::Key_Return || !key->text().isEmpty())) {
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

}  // namespace vorn
