// Key dispatch and the menu shortcuts, both read off the one key table.
#include "shellcore/KeyDispatch.h"

namespace vorn {

TKeyDispatch DispatchKey(const TKeyTable& table, int key, int modifiers) {
  TKeyDispatch result;
  if (key <= 0 || key >= kVirtualKeys || modifiers < 0 || modifiers >= kModifierStates) return result;
  const int function = table.At(modifiers, key);
  if (IsFunctionNumber(function)) return {function, ProducesCharacter(modifiers, key)};
  if (modifiers & kmShift) {
    const int unshifted = modifiers & ~kmShift;
    const int base = table.At(unshifted, key);
    if (!IsFunctionNumber(base) || !FunctionByNumber(base)->ShiftExtends) return result;
    result = {base, ProducesCharacter(unshifted, key)};
    // Shift+Ctrl+H would otherwise arrive as a backspace character.
    if (key == vk::Letter('H') && modifiers == (kmShift | kmCtrl)) result.SuppressChar = true;
    return result;
  }
  // Ctrl+H without a function of its own must not act as a backspace character.
  if (key == vk::Letter('H') && (modifiers & kmCtrl)) result.SuppressChar = true;
  return result;
}

TFunctionSet ShortcutFlags(const int* toolBarFunctions, int count) {
  TFunctionSet flags;
  for (const TFunctionInfo& f : AllFunctions())
    if (f.Shortcut) flags.set(f.Number);
  for (int i = 0; i < count; ++i)
    if (IsFunctionNumber(toolBarFunctions[i])) flags.set(toolBarFunctions[i]);
  return flags;
}

std::array<int, kFunctionCount> MenuShortcuts(const TKeyTable& table, const TFunctionSet& shortcutFlags) {
  std::array<int, kFunctionCount> shortcuts{};
  for (int m = 0; m < kModifierStates; ++m)
    for (int k = 0; k < kVirtualKeys; ++k) {
      const int f = table.At(m, k);
      if (!IsFunctionNumber(f) || shortcuts[f] != 0) continue;
      if ((m & kmAlt) || shortcutFlags.test(f) || (m == 0 && k == vk::F10))
        shortcuts[f] = k | ((m & kmShift) ? kShortcutShift : 0) | ((m & kmCtrl) ? kShortcutCtrl : 0) |
                       ((m & kmAlt) ? kShortcutAlt : 0);
    }
  return shortcuts;
}

}  // namespace vorn
