// Virtual keys from Qt keys. Letters follow the layout, as the virtual keys of letters do;
// the digit row and the punctuation keys follow the physical key.
#include "qtplatform/KeyCodeMap.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <X11/keysym.h>

#include <array>
#include <utility>

namespace vorn {
namespace {

constexpr int kShortcutShift = 0x2000, kShortcutCtrl = 0x4000, kShortcutAlt = 0x8000;

// Keys with a name, both directions.
constexpr std::pair<int, int> kNamedKeys[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},       {Qt::Key_Backtab, 0x09},    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},     {Qt::Key_Shift, 0x10},     {Qt::Key_Control, 0x11},    {Qt::Key_Alt, 0x12},
    {Qt::Key_Pause, 0x13},     {Qt::Key_CapsLock, 0x14},  {Qt::Key_Escape, 0x1B},     {Qt::Key_Henkan, 0x1C},
    {Qt::Key_Muhenkan, 0x1D},  {Qt::Key_Space, 0x20},     {Qt::Key_PageUp, 0x21},     {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},       {Qt::Key_Home, 0x24},      {Qt::Key_Left, 0x25},       {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},     {Qt::Key_Down, 0x28},      {Qt::Key_Print, 0x2C},      {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},    {Qt::Key_Help, 0x2F},      {Qt::Key_Meta, 0x5B},       {Qt::Key_Menu, 0x5D},
    {Qt::Key_NumLock, 0x90},   {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Eisu_toggle, 0xF0}, {Qt::Key_Eisu_Shift, 0xF0},
    {Qt::Key_Hiragana_Katakana, 0xF2}, {Qt::Key_Hiragana, 0xF2}, {Qt::Key_Katakana, 0xF2},
    {Qt::Key_Zenkaku_Hankaku, 0xF4},   {Qt::Key_Zenkaku, 0xF4},  {Qt::Key_Hankaku, 0xF4},
};

// Keypad keys while Qt flags the keypad.
constexpr std::pair<int, int> kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

// Symbols as a Japanese keyboard prints them, unshifted and shifted.
constexpr std::pair<int, int> kSymbolKeys[] = {
    {Qt::Key_Colon, 0xBA},      {Qt::Key_Asterisk, 0xBA},   {Qt::Key_Semicolon, 0xBB}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},      {Qt::Key_Less, 0xBC},       {Qt::Key_Minus, 0xBD},     {Qt::Key_Equal, 0xBD},
    {Qt::Key_Period, 0xBE},     {Qt::Key_Greater, 0xBE},    {Qt::Key_Slash, 0xBF},     {Qt::Key_Question, 0xBF},
    {Qt::Key_At, 0xC0},         {Qt::Key_QuoteLeft, 0xC0},  {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},  {Qt::Key_yen, 0xDC},        {Qt::Key_Bar, 0xDC},       {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD}, {Qt::Key_AsciiCircum, 0xDE}, {Qt::Key_AsciiTilde, 0xDE}, {Qt::Key_Underscore, 0xE2},
    {Qt::Key_Exclam, 0x31},     {Qt::Key_QuoteDbl, 0x32},   {Qt::Key_NumberSign, 0x33}, {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},    {Qt::Key_Ampersand, 0x36},  {Qt::Key_Apostrophe, 0x37}, {Qt::Key_ParenLeft, 0x38},
    {Qt::Key_ParenRight, 0x39},
};

// X key codes (evdev code + 8) of the digit row and the punctuation keys, by position on a
// Japanese keyboard.
int VirtualKeyFromScanCode(quint32 code) {
  if (code >= 10 && code <= 18) return 0x31 + static_cast<int>(code - 10);  // 1 to 9
  switch (code) {
    case 19: return 0x30;   // 0
    case 20: return 0xBD;   // -
    case 21: return 0xDE;   // ^
    case 34: return 0xC0;   // @
    case 35: return 0xDB;   // [
    case 47: return 0xBB;   // ;
    case 48: return 0xBA;   // :
    case 49: return 0xF4;   // half/full width
    case 51: return 0xDD;   // ]
    case 59: return 0xBC;   // ,
    case 60: return 0xBE;   // .
    case 61: return 0xBF;   // /
    case 97: return 0xE2;   // ro
    case 132: return 0xDC;  // yen
    default: return 0;
  }
}

// The X key symbols of the named virtual keys.
constexpr std::pair<int, quint32> kKeySyms[] = {
    {0x08, XK_BackSpace}, {0x09, XK_Tab},        {0x0D, XK_Return},    {0x13, XK_Pause},
    {0x14, XK_Caps_Lock}, {0x1B, XK_Escape},     {0x1C, XK_Henkan},    {0x1D, XK_Muhenkan},
    {0x20, XK_space},     {0x21, XK_Prior},      {0x22, XK_Next},      {0x23, XK_End},
    {0x24, XK_Home},      {0x25, XK_Left},       {0x26, XK_Up},        {0x27, XK_Right},
    {0x28, XK_Down},      {0x2C, XK_Print},      {0x2D, XK_Insert},    {0x2E, XK_Delete},
    {0x2F, XK_Help},      {0x5D, XK_Menu},       {0x6A, XK_KP_Multiply}, {0x6B, XK_KP_Add},
    {0x6D, XK_KP_Subtract}, {0x6E, XK_KP_Decimal}, {0x6F, XK_KP_Divide}, {0x90, XK_Num_Lock},
    {0x91, XK_Scroll_Lock}, {0xF0, XK_Eisu_toggle}, {0xF2, XK_Hiragana_Katakana}, {0xF4, XK_Zenkaku_Hankaku},
};

template <std::size_t N>
int Lookup(const std::pair<int, int> (&table)[N], int key) {
  for (const auto& [qt, vk] : table)
    if (qt == key) return vk;
  return 0;
}

}  // namespace

int ModifierIndex(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
         (modifiers & Qt::AltModifier ? 4 : 0);
}

int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
  if (modifiers & Qt::KeypadModifier) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x60 + (qtKey - Qt::Key_0);
    if (int vk = Lookup(kKeypadKeys, qtKey)) return vk;
  }
  if (int vk = Lookup(kNamedKeys, qtKey)) return vk;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 0x41 + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
  if (int vk = VirtualKeyFromScanCode(nativeScanCode)) return vk;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x30 + (qtKey - Qt::Key_0);
  return Lookup(kSymbolKeys, qtKey);
}

TKeyChord KeyChordFromEvent(const QKeyEvent& event) {
  return {VirtualKeyFromQt(event.key(), event.modifiers(), event.nativeScanCode()), ModifierIndex(event.modifiers())};
}

int QtKeyFromVirtualKey(int virtualKey) {
  if (virtualKey >= 0x41 && virtualKey <= 0x5A) return Qt::Key_A + (virtualKey - 0x41);
  if (virtualKey >= 0x30 && virtualKey <= 0x39) return Qt::Key_0 + (virtualKey - 0x30);
  if (virtualKey >= 0x70 && virtualKey <= 0x87) return Qt::Key_F1 + (virtualKey - 0x70);
  if (virtualKey >= 0x60 && virtualKey <= 0x69) return Qt::Key_0 + (virtualKey - 0x60);
  for (const auto& [qt, vk] : kNamedKeys)
    if (vk == virtualKey) return qt;
  for (const auto& [qt, vk] : kKeypadKeys)
    if (vk == virtualKey) return qt;
  for (const auto& [qt, vk] : kSymbolKeys)
    if (vk == virtualKey) return qt;
  return 0;
}

quint32 X11KeyCodeOfPhysicalKey(int virtualKey) {
  if (virtualKey == 0xF4) return 0;  // half/full width is named by its symbol, as on every layout
  for (quint32 code = 8; code < 256; ++code)
    if (VirtualKeyFromScanCode(code) == virtualKey) return code;
  return 0;
}

quint32 X11KeySymOfVirtualKey(int virtualKey) {
  if (virtualKey >= 0x41 && virtualKey <= 0x5A) return XK_a + static_cast<quint32>(virtualKey - 0x41);
  if (virtualKey >= 0x60 && virtualKey <= 0x69) return XK_KP_0 + static_cast<quint32>(virtualKey - 0x60);
  if (virtualKey >= 0x70 && virtualKey <= 0x87) return XK_F1 + static_cast<quint32>(virtualKey - 0x70);
  for (const auto& [vk, sym] : kKeySyms)
    if (vk == virtualKey) return sym;
  return 0;
}

QString ShortcutMenuText(int shortcut) {
  // Qt names keypad keys like the main ones; the caller's own names tell them apart.
  if ((shortcut & 0xFF) >= 0x60 && (shortcut & 0xFF) <= 0x6F) return {};
  const int qtKey = QtKeyFromVirtualKey(shortcut & 0xFF);
  if (qtKey == 0) return {};
  Qt::KeyboardModifiers modifiers;
  if (shortcut & kShortcutShift) modifiers |= Qt::ShiftModifier;
  if (shortcut & kShortcutCtrl) modifiers |= Qt::ControlModifier;
  if (shortcut & kShortcutAlt) modifiers |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(qtKey))).toString(QKeySequence::NativeText);
}

}  // namespace vorn
