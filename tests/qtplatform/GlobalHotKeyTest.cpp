// The global hot key on a real X server: an XTest key press from another client reaches it
// whatever the lock keys say, a key another client grabbed first is refused with its reason,
// and unregistering gives the key back.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSignalSpy>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <initializer_list>

#include "qtplatform/GlobalHotKey.h"

namespace vorn {
namespace {

constexpr int kShift = 1, kCtrl = 2, kAlt = 4;

// Another X client: the one that presses keys through XTest, or holds a grab of its own.
class TOtherClient {
public:
  TOtherClient() : connection_(xcb_connect(nullptr, nullptr)) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    symbols_ = xcb_key_symbols_alloc(connection_);
  }
  ~TOtherClient() {
    xcb_key_symbols_free(symbols_);
    xcb_disconnect(connection_);
  }
  bool Connected() const { return xcb_connection_has_error(connection_) == 0; }

  xcb_keycode_t Code(xcb_keysym_t sym) {
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols_, sym);
    const xcb_keycode_t code = codes ? codes[0] : 0;
    std::free(codes);
    return code;
  }
  // Presses the keys in order and releases them in reverse, as fingers do.
  void Press(std::initializer_list<xcb_keysym_t> syms) {
    for (xcb_keysym_t s : syms) xcb_test_fake_input(connection_, XCB_KEY_PRESS, Code(s), XCB_CURRENT_TIME, root_, 0, 0, 0);
    for (auto it = std::rbegin(syms); it != std::rend(syms); ++it)
      xcb_test_fake_input(connection_, XCB_KEY_RELEASE, Code(*it), XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_flush(connection_);
  }
  bool Grab(xcb_keysym_t sym, uint16_t modifiers) {
    xcb_generic_error_t* e = xcb_request_check(connection_, xcb_grab_key_checked(connection_, 1, root_, modifiers, Code(sym),
                                                                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::free(e);
    return e == nullptr;
  }
  void Ungrab(xcb_keysym_t sym, uint16_t modifiers) {
    xcb_ungrab_key(connection_, Code(sym), root_, modifiers);
    xcb_flush(connection_);
  }

private:
  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
  xcb_key_symbols_t* symbols_ = nullptr;
};

// Waits for count signals, processing events; the presses travel through the X server.
bool Receives(QSignalSpy& spy, int count) {
  QElapsedTimer timer;
  timer.start();
  while (spy.count() < count && timer.elapsed() < 5000) spy.wait(50);
  return spy.count() == count;
}

TEST(GlobalHotKey, AKeyPressFromAnotherClientFiresItWithAndWithoutNumLock) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  TOtherClient keyboard;
  ASSERT_TRUE(keyboard.Connected());
  TGlobalHotKey hotKey;
  QSignalSpy pressed(&hotKey, &TGlobalHotKey::Pressed);
  ASSERT_EQ(hotKey.Register({0x56, kCtrl | kAlt}), TGlobalHotKey::grRegistered);  // Ctrl+Alt+V

  keyboard.Press({XK_Control_L, XK_Alt_L, XK_v});
  EXPECT_TRUE(Receives(pressed, 1));
  keyboard.Press({XK_Control_L, XK_v});  // another chord of the same key does not fire
  keyboard.Press({XK_Num_Lock});         // Num Lock on: the user's state must not matter
  keyboard.Press({XK_Control_L, XK_Alt_L, XK_v});
  EXPECT_TRUE(Receives(pressed, 2));
  keyboard.Press({XK_Num_Lock});

  // A named key without modifiers, found through the key map's symbol: F12 and the keypad.
  ASSERT_EQ(hotKey.Register({0x7B, 0}), TGlobalHotKey::grRegistered);
  keyboard.Press({XK_Control_L, XK_Alt_L, XK_v});  // the earlier chord is released
  keyboard.Press({XK_F12});
  EXPECT_TRUE(Receives(pressed, 3));
  ASSERT_EQ(hotKey.Register({0x67, kShift}), TGlobalHotKey::grRegistered);  // Shift+keypad 7
  keyboard.Press({XK_Shift_L, XK_KP_Home});
  EXPECT_TRUE(Receives(pressed, 4));
}

TEST(GlobalHotKey, AKeyAnotherProgramGrabbedIsRefusedAndUnregisteringGivesItBack) {
  TOtherClient other;
  ASSERT_TRUE(other.Connected());
  ASSERT_TRUE(other.Grab(XK_b, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
  TGlobalHotKey hotKey;
  EXPECT_EQ(hotKey.Register({0x42, kCtrl | kAlt}), TGlobalHotKey::grTaken);  // Ctrl+Alt+B
  // A refusal holds nothing: the other client keeps every lock state of its key to itself.
  other.Ungrab(XK_b, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
  EXPECT_TRUE(other.Grab(XK_b, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2));
  other.Ungrab(XK_b, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2);

  EXPECT_EQ(hotKey.Register({0x42, kCtrl | kAlt}), TGlobalHotKey::grRegistered);
  EXPECT_FALSE(other.Grab(XK_b, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));  // now ours
  hotKey.Unregister();
  EXPECT_TRUE(other.Grab(XK_b, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
}

TEST(GlobalHotKey, AVirtualKeyNoKeyOfTheKeyboardGivesIsSaidSo) {
  TGlobalHotKey hotKey;
  EXPECT_EQ(hotKey.Register({0xFF, 0}), TGlobalHotKey::grNoKey);
}

}  // namespace
}  // namespace vorn
