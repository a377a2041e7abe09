// The key table: for each of 8 modifier states and 256 Windows virtual-key codes, the function
// the key runs. The virtual-key numbering is the stored key space; Qt events are mapped to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

constexpr int kModifierStates = 8;
constexpr int kVirtualKeys = 256;
constexpr int kKeyTableBytes = kModifierStates * kVirtualKeys * 4;

// Modifier index bits.
constexpr int kmShift = 1;
constexpr int kmCtrl = 2;
constexpr int kmAlt = 4;

// Entry values besides function numbers.
constexpr int kNoAssignment = -1;
constexpr int kHotKeyMarker = -2;  // the station's global hot key; no function in a window

// The virtual-key codes the code names.
namespace vk {
constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D, Pause = 0x13, Convert = 0x1C, NonConvert = 0x1D,
              Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24, Left = 0x25,
              Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E, Key0 = 0x30, KeyA = 0x41,
              Apps = 0x5D, Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D, Decimal = 0x6E,
              Divide = 0x6F, F1 = 0x70, F10 = 0x79, F12 = 0x7B, Scroll = 0x91;
constexpr int Letter(char c) { return KeyA + (c - 'A'); }
constexpr int Digit(int d) { return Key0 + d; }
}  // namespace vk

class TKeyTable {
public:
  // Every entry kNoAssignment.
  TKeyTable();
  // The table in force until a "Key.dat" is read.
  static TKeyTable BuiltIn();

  // kNoAssignment outside the table.
  int At(int modifiers, int key) const {
    return InRange(modifiers, key) ? entries_[modifiers * kVirtualKeys + key] : kNoAssignment;
  }
  void Set(int modifiers, int key, int value);

  // The stored form: entries row by row, m = 0 first, little-endian signed 32-bit.
  std::string ToBytes() const;
  // Reads as many whole entries as bytes holds; a value that is neither a function number nor
  // a marker becomes kNoAssignment, so no later lookup trusts a damaged file.
  void AssignFromBytes(std::string_view bytes);

  bool operator==(const TKeyTable&) const = default;

private:
  static bool InRange(int modifiers, int key) {
    return modifiers >= 0 && modifiers < kModifierStates && key >= 0 && key < kVirtualKeys;
  }
  std::array<std::int32_t, kModifierStates * kVirtualKeys> entries_;
};

// Whether the combination also produces a typed character (so running a function for it must
// swallow that character).
bool ProducesCharacter(int modifiers, int key);

// "", "SHIFT+", "CTRL+", "SHIFT+CTRL+", "ALT+", ... as the settings dialog names the rows.
std::string_view ModifierPrefix(int modifiers);

}  // namespace vorn
