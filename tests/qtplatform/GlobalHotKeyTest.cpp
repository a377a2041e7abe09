// The global hot key on a real X server: an XTest key press from another client reaches it
// whatever the lock keys say, a key another client grabbed first is refused with its reason,
// and unregistering gives the key back.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSignalSpy>

#include "X11TestKit.h"
#include "qtplatform/GlobalHotKey.h"

namespace vorn {
namespace {

constexpr int kShift = 1, kCtrl = 2, kAlt = 4;

// Waits for count signals, processing events; the presses travel through the X server.
bool Receives(QSignalSpy& spy, int count) {
  QElapsedTimer timer;
  timer.start();
  while (spy.count() < count && timer.elapsed() < 5000) spy.wait(50);
  return spy.count() == count;
}

TEST(GlobalHotKey, AKeyPressFromAnotherClientFiresItWithAndWithoutNumLock) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  TXTestClient keyboard;
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
  TXTestClient other;
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
