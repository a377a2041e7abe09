// TVornEdit keys: every key-down goes to the window's key map; the pane only types text.
#include <QKeyEvent>

#include "base/sjis.h"
#include "editor/VornEdit.h"

namespace vorn {

// Single-byte characters go through the character filter; a double-byte character typed
// without the input method is typed as its pair.
void TVornEdit::TypeText(const QString& text) {
  int dropped = 0;
  const std::string sjis = HoldableSjis(text, dropped);
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    if (sjis::IsLeadByte(b) && i + 1 < sjis.size()) {
      core_->TypeText(std::string_view(sjis).substr(i, 2));
      core_->AutoSeikei(std::string_view(sjis).substr(i, 2));
      ++i;
    } else if (core_->TypeCharMessage(b)) {
      core_->AutoSeikei(std::string_view(sjis).substr(i, 1));
    }
  }
  if (dropped > 0) Q_EMIT CharactersDropped(dropped);
}

void TVornEdit::TypeKeyText(const QKeyEvent& event) {
  if (event.text().isEmpty() || (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier))) return;
  TypeText(event.text());
}

// Alt and Meta chords nobody took go on to the window, whose menu bar answers Alt+letter.
void TVornEdit::keyPressEvent(QKeyEvent* event) {
  core_->SetKeyRepeat(event->isAutoRepeat());
  if (keyRoute_) {
    keyRoute_->KeyDown(*this, *event);
  } else if (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) {
    event->ignore();
    return;
  } else {
    TypeKeyText(*event);
  }
  event->accept();
  Flush();
}

void TVornEdit::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) core_->SetKeyRepeat(false);
  QAbstractScrollArea::keyReleaseEvent(event);
}

// Tab and Shift+Tab are keys of the key map, not focus moves.
bool TVornEdit::focusNextPrevChild(bool) { return false; }

bool TVornEdit::event(QEvent* event) {
  // A key the key map runs a command for must not be taken by a window shortcut (a menu's
  // Alt+letter) first.
  if (event->type() == QEvent::ShortcutOverride && keyRoute_ && keyRoute_->Assigned(*static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

}  // namespace vorn
