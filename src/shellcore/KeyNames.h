// Names of keys: the keys the settings dialog offers, and the shortcut text of an assignment.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vorn {

struct TKeyListEntry {
  std::string_view Name;  // UTF-8
  int Key;                // virtual-key code
};

// The 98 keys the settings dialog lets the user assign, in its order.
std::span<const TKeyListEntry> AssignableKeys();

// The dialog's text for an assignment: the modifier prefix and the key's name from the list
// above (the prefix alone for a key not in the list).
std::string AssignmentText(int modifiers, int key);

// The key-list text's name of an assignment: "Shift+", "Ctrl+", "Alt+" in that order, then
// the key's name ("BkSp", "PgUp", "A", "F5", ...).
std::string ShortcutText(int modifiers, int key);

// The name of a key alone, as ShortcutText uses it.
std::string KeyName(int key);

}  // namespace vorn
