// A pane's key-down: key table, dispatcher, typed text.
#include "shell/PaneKeys.h"

#include <QKeyEvent>

#include "qtplatform/KeyCodeMap.h"

namespace vorn {

void TPaneKeys::KeyDown(TVornEdit& pane, const QKeyEvent& event) {
  if (makeCurrent_) makeCurrent_(pane);
  const TKeyChord chord = KeyChordFromEvent(event);
  if (path_.KeyDown(chord.Key, chord.Modifiers)) pane.TypeKeyText(event);
}

bool TPaneKeys::Assigned(const QKeyEvent& event) const {
  const TKeyChord chord = KeyChordFromEvent(event);
  return path_.Assigned(chord.Key, chord.Modifiers);
}

}  // namespace vorn
