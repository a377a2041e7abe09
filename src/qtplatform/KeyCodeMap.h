// The one translation from Qt key events to the Windows virtual-key numbering that the key
// table stores, and back to Qt keys for the menus' shortcut texts.
#pragma once

#include <QString>
#include <Qt>

class QKeyEvent;

namespace vorn {

struct TKeyChord {
  int Key = 0;        // virtual-key code, 0 when the key has none
  int Modifiers = 0;  // Shift 1, Ctrl 2, Alt 4
};

// Shift 1, Ctrl 2, Alt 4 from Qt's modifiers (the keypad and Meta flags play no part).
int ModifierIndex(Qt::KeyboardModifiers modifiers);

// The virtual key of a Qt key. nativeScanCode is the X key code where the platform gives one;
// for the digit row and the punctuation keys it decides over the symbol, because Qt reports
// the shifted symbol ("!" for Shift+1) and the stored table names the physical key. Without a
// key code, symbols are read as a Japanese keyboard prints them.
int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode = 0);

TKeyChord KeyChordFromEvent(const QKeyEvent& event);

// The Qt key of a virtual key for showing it, or 0 when Qt has no key for it.
int QtKeyFromVirtualKey(int virtualKey);

// For a grab on the X server, which names keys by key code: the key code of the digit row and
// the punctuation keys, which the virtual keys name by their place on a Japanese keyboard (X
// key codes are evdev codes + 8, the same on every layout); 0 for every other key.
quint32 X11KeyCodeOfPhysicalKey(int virtualKey);
// The X key symbol of the other keys: letters as the layout places them, and the named keys
// (function keys, the keypad, cursor and editing keys, the Japanese input keys); 0 for none.
quint32 X11KeySymOfVirtualKey(int virtualKey);

// The text a menu shows for a shortcut value (key + Shift 0x2000 + Ctrl 0x4000 + Alt 0x8000);
// empty for keys Qt cannot name apart (the keypad, keys without a Qt key).
QString ShortcutMenuText(int shortcut);

}  // namespace vorn
