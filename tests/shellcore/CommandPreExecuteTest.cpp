// The pre-execute step: fast repeats by time, and what a recording takes.
#include <gtest/gtest.h>

#include "shellcore/CommandPreExecute.h"

namespace vorn {
namespace {

TEST(CommandPreExecute, FastRepeatNeedsAPreviousActionWithin99Ms) {
  TCommandPreExecute pre;
  EXPECT_FALSE(pre.Step(1000, false, false, false, false, false).FastRepeat);
  EXPECT_TRUE(pre.Step(1099, false, false, false, false, false).FastRepeat);
  EXPECT_FALSE(pre.Step(1199, false, false, false, false, false).FastRepeat);
  EXPECT_TRUE(pre.Step(1200, false, false, false, false, false).FastRepeat);
  // A clock that went back is no fast repeat.
  EXPECT_FALSE(pre.Step(900, false, false, false, false, false).FastRepeat);
  // The station neither sets the flag nor remembers the time.
  EXPECT_FALSE(pre.Step(950, true, false, false, false, false).FastRepeat);
  EXPECT_TRUE(pre.Step(960, false, false, false, false, false).FastRepeat);
}

TEST(CommandPreExecute, RecordingSkipsTheToggleAndNestedCommands) {
  TCommandPreExecute pre;
  EXPECT_FALSE(pre.Step(0, false, false, false, false, false).Record);
  EXPECT_TRUE(pre.Step(0, false, true, false, false, false).Record);
  EXPECT_FALSE(pre.Step(0, false, true, true, false, false).Record);
  {
    TCommandPreExecute::TNested outer(pre);
    TCommandPreExecute::TNested inner(pre);
    EXPECT_FALSE(pre.Step(0, false, true, false, false, false).Record);
  }
  EXPECT_EQ(pre.Nesting(), 0);
  EXPECT_TRUE(pre.Step(0, false, true, false, true, true).RecordShift);
  EXPECT_FALSE(pre.Step(0, false, true, false, false, true).RecordShift);
  EXPECT_FALSE(pre.Step(0, false, true, false, true, false).RecordShift);
}

}  // namespace
}  // namespace vorn
