// What a key-down does: the function it runs, whether the pane must ignore the key and whether
// the character the key also types must be dropped. Also which key each action shows in menus.
#pragma once

#include <array>
#include <bitset>

#include "shellcore/FunctionTable.h"
#include "shellcore/KeyTable.h"

namespace vorn {

using TFunctionSet = std::bitset<kFunctionCount>;

// The set of the named functions (names the program itself spells).
template <class TNames>
TFunctionSet FunctionSetOf(const TNames& names) {
  TFunctionSet set;
  for (std::string_view name : names) set.set(static_cast<std::size_t>(FunctionNumber(name)));
  return set;
}

struct TKeyDispatch {
  int Function = kNoAssignment;  // the function to run, or kNoAssignment
  bool Consumed = false;         // the pane does nothing more with the key-down
  bool SuppressChar = false;     // the pane drops the next typed character
};

// Looks up key (a virtual-key code) under modifiers (kmShift | kmCtrl | kmAlt). withAction says
// which functions have an action in this window. A shift-extending function reached through the
// unshifted assignment runs while Shift is still held, so movements extend the selection.
TKeyDispatch DispatchKey(const TKeyTable& table, int key, int modifiers, const TFunctionSet& withAction);

// The functions whose keys show in menus: the built-in flags plus the tool-bar functions.
TFunctionSet ShortcutFlags(const int* toolBarFunctions, int count);

// Menu shortcut per function: key + Shift 0x2000 + Ctrl 0x4000 + Alt 0x8000, or 0 for none. The
// first assignment in table order wins; a key shows only where Alt is part of it, the function
// carries the shortcut flag, or it is the plain F10.
constexpr int kShortcutShift = 0x2000;
constexpr int kShortcutCtrl = 0x4000;
constexpr int kShortcutAlt = 0x8000;
std::array<int, kFunctionCount> MenuShortcuts(const TKeyTable& table, const TFunctionSet& shortcutFlags);

// Splits a menu shortcut value back into key and modifier index.
constexpr int ShortcutKey(int shortcut) { return shortcut & 0xFF; }
constexpr int ShortcutModifiers(int shortcut) {
  return ((shortcut & kShortcutShift) ? kmShift : 0) | ((shortcut & kShortcutCtrl) ? kmCtrl : 0) |
         ((shortcut & kShortcutAlt) ? kmAlt : 0);
}

}  // namespace vorn
