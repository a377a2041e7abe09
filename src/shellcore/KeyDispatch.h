// What a key-down does: the function it runs and whether the character the key also types must
// be dropped. Also which key each action shows in menus.
#pragma once

#include <array>

#include "shellcore/FunctionTable.h"
#include "shellcore/KeyTable.h"

namespace vorn {

struct TKeyDispatch {
  int Function = kNoAssignment;  // the function to run, or kNoAssignment
  bool SuppressChar = false;     // the character the key types is not typed
};

// Looks up key (a virtual-key code) under modifiers (kmShift | kmCtrl | kmAlt). A
// shift-extending function reached through the unshifted assignment runs while Shift is still
// held, so movements extend the selection.
TKeyDispatch DispatchKey(const TKeyTable& table, int key, int modifiers);

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
