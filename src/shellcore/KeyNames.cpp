// Key names. Keys without a fixed name here are named after what a Japanese keyboard prints.
#include "shellcore/KeyNames.h"

#include <array>
#include <cstdio>
#include <vector>

#include "shellcore/KeyTable.h"

namespace vorn {
namespace {

std::vector<TKeyListEntry> BuildAssignableKeys() {
  // The names must outlive the span, so the numbered ones live in static arrays.
  static const std::array<std::string, 12> fkeys = [] {
    std::array<std::string, 12> a;
    for (int i = 0; i < 12; ++i) a[i] = "F" + std::to_string(i + 1);
    return a;
  }();
  static const std::array<std::string, 26> letters = [] {
    std::array<std::string, 26> a;
    for (int i = 0; i < 26; ++i) a[i] = std::string(1, static_cast<char>('A' + i));
    return a;
  }();
  static const std::array<std::string, 10> digits = [] {
    std::array<std::string, 10> a;
    for (int i = 0; i < 10; ++i) a[i] = std::string(1, static_cast<char>('0' + i));
    return a;
  }();
  static const std::array<std::string, 10> pad = [] {
    std::array<std::string, 10> a;
    for (int i = 0; i < 10; ++i) a[i] = "NumPad " + std::to_string(i);
    return a;
  }();

  std::vector<TKeyListEntry> keys{{"TAB", 0x09}};
  for (int i = 0; i < 12; ++i) keys.push_back({fkeys[i], vk::F1 + i});
  for (TKeyListEntry e : {TKeyListEntry{"Home", 0x24}, {"End", 0x23}, {"Space", 0x20}, {"BackSpace", 0x08},
                          {"Enter", 0x0D}, {"Insert", 0x2D}, {"Delete", 0x2E}, {"Up", 0x26}, {"Down", 0x28},
                          {"Right", 0x27}, {"Left", 0x25}, {"PageUp", 0x21}, {"PageDown", 0x22}, {"@", 0xC0}})
    keys.push_back(e);
  for (int i = 0; i < 26; ++i) keys.push_back({letters[i], vk::KeyA + i});
  for (int d = 1; d <= 9; ++d) keys.push_back({digits[d], vk::Digit(d)});
  keys.push_back({digits[0], vk::Key0});
  for (TKeyListEntry e : {TKeyListEntry{"-", 0xBD}, {"[", 0xDB}, {"\\", 0xDC}, {"]", 0xDD}, {"^", 0xDE},
                          {"\\  [ _ ]", 0xE2}, {",  [ < ]", 0xBC}, {".  [ > ]", 0xBE}, {";", 0xBB}, {":", 0xBA},
                          {"/", 0xBF}})
    keys.push_back(e);
  for (int d = 0; d <= 9; ++d) keys.push_back({pad[d], vk::Numpad0 + d});
  for (TKeyListEntry e : {TKeyListEntry{"NumPad /", 0x6F}, {"NumPad *", 0x6A}, {"NumPad -", 0x6D},
                          {"NumPad +", 0x6B}, {"NumPad .", 0x6E}, {"ESC", 0x1B}, {"半角／全角", 0xF4},
                          {"アプリケーションキー", 0x5D}, {"CAPS", 0xF0}, {"NFER", 0x1D}, {"XFER", 0x1C},
                          {"ひらがな", 0xF2}, {"SCROLL LOCK", 0x91}, {"PAUSE", 0x13}})
    keys.push_back(e);
  return keys;
}

// Names for the keys the shortcut text has no fixed word for.
std::string OtherKeyName(int key) {
  switch (key) {
    case 0xBA: return ":";
    case 0xBB: return ";";
    case 0xBC: return ",";
    case 0xBD: return "-";
    case 0xBE: return ".";
    case 0xBF: return "/";
    case 0xC0: return "@";
    case 0xDB: return "[";
    case 0xDC: return "\\";
    case 0xDD: return "]";
    case 0xDE: return "^";
    case 0xE2: return "_";
    case vk::Multiply: return "Num *";
    case vk::Add: return "Num +";
    case vk::Subtract: return "Num -";
    case vk::Decimal: return "Num Del";
    case vk::Divide: return "Num /";
    case vk::Pause: return "Pause";
    case vk::Scroll: return "Scroll Lock";
    case vk::Apps: return "Menu";
    case vk::Convert: return "Henkan";
    case vk::NonConvert: return "Muhenkan";
    case 0xF0: return "Eisu";
    case 0xF2: return "Hiragana";
    case 0xF4: return "Zenkaku/Hankaku";
    default: break;
  }
  if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9) return "Num " + std::to_string(key - vk::Numpad0);
  if (key >= vk::F1 && key <= vk::F1 + 23) return "F" + std::to_string(key - vk::F1 + 1);
  char text[16];
  std::snprintf(text, sizeof text, "Key %02X", static_cast<unsigned>(key) & 0xFF);
  return text;
}

}  // namespace

std::span<const TKeyListEntry> AssignableKeys() {
  static const std::vector<TKeyListEntry> keys = BuildAssignableKeys();
  return keys;
}

std::string AssignmentText(int modifiers, int key) {
  std::string text(ModifierPrefix(modifiers));
  for (const TKeyListEntry& e : AssignableKeys())
    if (e.Key == key) return text + std::string(e.Name);
  return text;
}

std::string KeyName(int key) {
  static constexpr std::pair<int, const char*> kFixed[] = {
      {vk::Back, "BkSp"}, {vk::Tab, "Tab"},   {vk::Escape, "Esc"},    {vk::Return, "Enter"}, {vk::Space, "Space"},
      {vk::Prior, "PgUp"}, {vk::Next, "PgDn"}, {vk::End, "End"},      {vk::Home, "Home"},    {vk::Left, "Left"},
      {vk::Up, "Up"},     {vk::Right, "Right"}, {vk::Down, "Down"},   {vk::Insert, "Ins"},   {vk::Delete, "Del"}};
  for (const auto& [k, name] : kFixed)
    if (k == key) return name;
  if ((key >= vk::Key0 && key <= vk::Digit(9)) || (key >= vk::KeyA && key <= vk::Letter('Z')))
    return std::string(1, static_cast<char>(key));
  if (key >= vk::F1 && key <= vk::F12) return "F" + std::to_string(key - vk::F1 + 1);
  return OtherKeyName(key);
}

std::string ShortcutText(int modifiers, int key) {
  std::string text;
  if (modifiers & kmShift) text += "Shift+";
  if (modifiers & kmCtrl) text += "Ctrl+";
  if (modifiers & kmAlt) text += "Alt+";
  return text + KeyName(key);
}

}  // namespace vorn
