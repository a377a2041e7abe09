#include "base/NotifyPersistent.h"
#include "base/sjis.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

struct TCounter : TNotifyPersistent {
  int value = 0;
  void SetValue(int v) {
    if (v == value) return;
    value = v;
    Changed();
  }
};

TEST(NotifyPersistent, NotifiesOnlyRealChangesAndOnceAfterAnUpdate) {
  TCounter c;
  int calls = 0;
  c.SetOnChange([&](TNotifyPersistent*) { ++calls; });
  c.SetValue(0);
  EXPECT_EQ(calls, 0);
  c.SetValue(3);
  EXPECT_EQ(calls, 1);
  c.BeginUpdate();
  c.SetValue(4);
  c.SetValue(5);
  EXPECT_EQ(calls, 1);
  c.EndUpdate();
  EXPECT_EQ(calls, 2);
}

TEST(NotifyPersistent, ChildChangesReachTheOwnerOnce) {
  TCounter owner, child;
  int calls = 0;
  owner.SetOnChange([&](TNotifyPersistent*) { ++calls; });
  owner.Adopt(child);
  child.SetValue(7);
  EXPECT_EQ(calls, 1);
  owner.BeginUpdate();
  child.SetValue(8);
  EXPECT_EQ(calls, 1);
  owner.EndUpdate();
  EXPECT_EQ(calls, 2);
}

TEST(SjisHelpers, UpperAsciiLeavesTrailBytesAlone) {
  // "ａ" is 82 81 and "ソ" is 83 5C: the trail bytes 0x81 and 0x5C must survive; 'a' after them is folded.
  EXPECT_EQ(sjis::UpperAscii("\x82\x81" "a\x83\x5c" "b"), "\x82\x81" "A\x83\x5c" "B");
  EXPECT_EQ(sjis::UpperAscii("\x82" "a"), "\x82" "a");  // 'a' is a trail byte here
  EXPECT_FALSE(sjis::IsCharBoundary("\x83\x5c", 1));
  EXPECT_TRUE(sjis::IsCharBoundary("\x83\x5c", 2));
}

}  // namespace
}  // namespace vorn
