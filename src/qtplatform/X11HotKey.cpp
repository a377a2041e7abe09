// TX11HotKey: the grab of the key on every lock-state variant, and the key presses it brings.
#include "qtplatform/X11HotKey.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <array>
#include <cstdlib>

namespace vorn {
namespace {

// A grab names the exact modifier state, so the key is grabbed once for every state of the
// locks a user may have on (Num Lock is Mod2, Caps Lock is Lock), or it would not fire with
// Num Lock on.
constexpr std::array<quint16, 4> kLockVariants = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                  XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr quint16 kChordMask = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

quint16 X11Modifiers(int modifiers) {
  return static_cast<quint16>((modifiers & 1 ? XCB_MOD_MASK_SHIFT : 0) | (modifiers & 2 ? XCB_MOD_MASK_CONTROL : 0) |
                              (modifiers & 4 ? XCB_MOD_MASK_1 : 0));
}

quint8 KeyCodeOf(xcb_connection_t* connection, int virtualKey) {
  if (quint32 code = X11KeyCodeOfPhysicalKey(virtualKey)) return static_cast<quint8>(code);
  const quint32 sym = X11KeySymOfVirtualKey(virtualKey);
  if (sym == 0) return 0;
  xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
  if (!symbols) return 0;
  quint8 code = 0;
  if (xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, sym)) {
    code = codes[0] == XCB_NO_SYMBOL ? 0 : codes[0];
    std::free(codes);
  }
  xcb_key_symbols_free(symbols);
  return code;
}

xcb_connection_t* QtConnection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

}  // namespace

TX11HotKey::TX11HotKey(QObject* parent) : QObject(parent) {
  connection_ = QtConnection();
  if (connection_) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
}

TX11HotKey::~TX11HotKey() {
  Ungrab();
  if (connection_ && QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool TX11HotKey::Available() { return QtConnection() != nullptr; }

TX11HotKey::TResult TX11HotKey::Grab(TKeyChord chord) {
  Ungrab();
  if (!connection_) return xrNoServer;
  const quint8 code = KeyCodeOf(connection_, chord.Key);
  if (code == 0) return xrNoKey;
  const quint16 modifiers = X11Modifiers(chord.Modifiers);
  std::array<xcb_void_cookie_t, kLockVariants.size()> cookies{};
  for (std::size_t i = 0; i < kLockVariants.size(); ++i)
    cookies[i] = xcb_grab_key_checked(connection_, 1, root_, modifiers | kLockVariants[i], code,
                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
  bool refused = false;
  for (const xcb_void_cookie_t& cookie : cookies) {
    if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
      refused = true;  // BadAccess: another client grabbed this key and state first
      std::free(error);
    }
  }
  keyCode_ = code;
  modifiers_ = modifiers;
  if (refused) {
    Ungrab();  // a key that fires only with some lock states would be worse than none
    return xrTaken;
  }
  return xrGrabbed;
}

void TX11HotKey::Ungrab() {
  if (!connection_ || keyCode_ == 0) return;
  for (quint16 lock : kLockVariants) xcb_ungrab_key(connection_, keyCode_, root_, modifiers_ | lock);
  // A round trip: the key is free once this returns, for the next program that asks for it.
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  keyCode_ = 0;
  modifiers_ = 0;
}

bool TX11HotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (keyCode_ == 0 || eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
  const auto* key = static_cast<const xcb_key_press_event_t*>(message);
  if (key->detail != keyCode_ || (key->state & kChordMask) != modifiers_) return false;
  Q_EMIT Pressed();
  return true;
}

}  // namespace vorn
