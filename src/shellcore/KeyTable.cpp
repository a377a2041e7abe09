// The built-in assignments and the character table.
#include "shellcore/KeyTable.h"

#include <algorithm>

#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

struct TBuiltInKey {
  int modifiers;
  int key;
  const char* function;
};

constexpr TBuiltInKey kBuiltInKeys[] = {
    {0, vk::Back, "BackSpace"},
    {0, vk::Tab, "InsertIndent"},
    {0, vk::Return, "Enter"},
    {0, vk::Prior, "PrevPage"},
    {0, vk::Next, "NextPage"},
    {0, vk::End, "MoveLineEnd"},
    {0, vk::Home, "MoveLineStart"},
    {0, vk::Left, "CursorLeft"},
    {0, vk::Up, "CursorUp"},
    {0, vk::Right, "CursorRight"},
    {0, vk::Down, "CursorDown"},
    {0, vk::Insert, "ToggleInsertMode"},
    {0, vk::Delete, "Delete"},
    {0, vk::F1 + 1, "ExtMacroExecute"},
    {0, vk::F1 + 2, "FindDown"},
    {0, vk::F1 + 4, "DivideWindow"},
    {0, vk::F10, "TagJump"},
    {kmShift, vk::Tab, "ReverseIndent"},
    {kmShift, vk::Return, "Seikei"},
    {kmShift, vk::F1, "ToggleMacroRecord"},
    {kmShift, vk::F1 + 1, "ReplayMacro"},
    {kmShift, vk::F1 + 2, "FindUp"},
    {kmCtrl, vk::Return, "DivideLine"},
    {kmCtrl, vk::Space, "ExecInputMacro"},
    {kmCtrl, vk::End, "MoveFileEnd"},
    {kmCtrl, vk::Home, "MoveFileStart"},
    {kmCtrl, vk::Left, "WordLeft"},
    {kmCtrl, vk::Up, "FindOverMark"},
    {kmCtrl, vk::Right, "WordRight"},
    {kmCtrl, vk::Down, "FindUnderMark"},
    {kmCtrl, vk::Letter('A'), "SelectAll"},
    {kmCtrl, vk::Letter('C'), "Copy"},
    {kmCtrl, vk::Letter('F'), "Find"},
    {kmCtrl, vk::Letter('G'), "Grep"},
    {kmCtrl, vk::Letter('J'), "JumpRow"},
    {kmCtrl, vk::Letter('M'), "ToggleMark"},
    {kmCtrl, vk::Letter('N'), "NewFile"},
    {kmCtrl, vk::Letter('O'), "LoadFromFile"},
    {kmCtrl, vk::Letter('P'), "Print"},
    {kmCtrl, vk::Letter('Q'), "QuickSeikeiSet"},
    {kmCtrl, vk::Letter('R'), "Replace"},
    {kmCtrl, vk::Letter('S'), "SaveFile"},
    {kmCtrl, vk::Letter('V'), "Paste"},
    {kmCtrl, vk::Letter('W'), "ToggleWindowFocus"},
    {kmCtrl, vk::Letter('X'), "Cut"},
    {kmCtrl, vk::Letter('Z'), "Undo"},
    {kmShift | kmCtrl, vk::Letter('M'), "ShowMarkList"},
    {kmShift | kmCtrl, vk::Letter('Z'), "Redo"},
};

void SetByName(TKeyTable& table, int modifiers, int key, const std::string& name) {
  table.Set(modifiers, key, FunctionByName(name)->Number);
}

// One-byte keys that type a character without modifiers.
bool TypesPlain(int key) {
  if (key == vk::Back || key == vk::Tab || key == vk::Return || key == vk::Escape || key == vk::Space) return true;
  if (key >= vk::Key0 && key <= vk::Digit(9)) return true;
  if (key >= vk::KeyA && key <= vk::Letter('Z')) return true;
  if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9) return true;
  if (key == vk::Multiply || key == vk::Add || key == vk::Subtract || key == vk::Decimal || key == vk::Divide)
    return true;
  return (key >= 0xBA && key <= 0xC0) || (key >= 0xDB && key <= 0xDE) || key == 0xE2;
}

// With Shift, Esc, 0 (nothing on a Japanese layout), the keypad digits and point type nothing.
bool TypesShifted(int key) {
  if (key == vk::Escape || key == vk::Key0 || key == vk::Decimal) return false;
  if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9) return false;
  return TypesPlain(key);
}

}  // namespace

TKeyTable::TKeyTable() { entries_.fill(kNoAssignment); }

TKeyTable TKeyTable::BuiltIn() {
  TKeyTable table;
  for (const TBuiltInKey& k : kBuiltInKeys) SetByName(table, k.modifiers, k.key, k.function);
  for (int d = 0; d <= 9; ++d) {
    SetByName(table, kmCtrl, vk::Digit(d), "JumpMark" + std::to_string(d));
    SetByName(table, kmShift | kmCtrl, vk::Digit(d), "SetMark" + std::to_string(d));
    SetByName(table, kmAlt, vk::Digit(d), "Macro" + std::to_string(d + 1));
  }
  for (int n = 1; n <= 10; ++n) SetByName(table, kmCtrl, vk::F1 + n - 1, "Macro" + std::to_string(n));
  return table;
}

void TKeyTable::Set(int modifiers, int key, int value) {
  if (InRange(modifiers, key)) entries_[modifiers * kVirtualKeys + key] = value;
}

std::string TKeyTable::ToBytes() const {
  std::string bytes;
  bytes.reserve(kKeyTableBytes);
  for (std::int32_t v : entries_) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((u >> shift) & 0xFF);
  }
  return bytes;
}

void TKeyTable::AssignFromBytes(std::string_view bytes) {
  const std::size_t whole = std::min<std::size_t>(bytes.size() / 4, entries_.size());
  for (std::size_t i = 0; i < whole; ++i) {
    std::uint32_t u = 0;
    for (int b = 3; b >= 0; --b) u = (u << 8) | static_cast<unsigned char>(bytes[i * 4 + b]);
    const auto v = static_cast<std::int32_t>(u);
    entries_[i] = (IsFunctionNumber(v) || v == kHotKeyMarker) ? v : kNoAssignment;
  }
}

bool ProducesCharacter(int modifiers, int key) {
  switch (modifiers) {
    case 0: return TypesPlain(key);
    case kmShift: return TypesShifted(key);
    case kmCtrl: return key == vk::Letter('H') || key == vk::Letter('M');
    default: return false;
  }
}

std::string_view ModifierPrefix(int modifiers) {
  static constexpr std::string_view kPrefixes[kModifierStates] = {
      "", "SHIFT+", "CTRL+", "SHIFT+CTRL+", "ALT+", "ALT+SHIFT+", "ALT+CTRL+", "ALT+SHIFT+CTRL+"};
  return modifiers >= 0 && modifiers < kModifierStates ? kPrefixes[modifiers] : std::string_view();
}

}  // namespace vorn
