// The pre-execute step: fast repeats by time, and what a recording takes.
#include <gtest/gtest.h>

#include "shellcore/CommandPreExecute.h"

namespace vorn {
namespace {

int Fn(const char* name) { return FunctionByName(name)->Number; }

const TCommandRun kUndo{Fn("Undo"), false, 0};

TEST(CommandPreExecute, FastRepeatNeedsAPreviousActionWithin99Ms) {
  TCommandPreExecute pre;
  EXPECT_FALSE(pre.Step(1000, false, false, kUndo).FastRepeat);
  EXPECT_TRUE(pre.Step(1099, false, false, kUndo).FastRepeat);
  EXPECT_FALSE(pre.Step(1199, false, false, kUndo).FastRepeat);
  EXPECT_TRUE(pre.Step(1200, false, false, kUndo).FastRepeat);
  // A clock that went back is no fast repeat.
  EXPECT_FALSE(pre.Step(900, false, false, kUndo).FastRepeat);
  // The station neither sets the flag nor remembers the time.
  EXPECT_FALSE(pre.Step(950, true, false, kUndo).FastRepeat);
  EXPECT_TRUE(pre.Step(960, false, false, kUndo).FastRepeat);
}

TEST(CommandPreExecute, RecordingSkipsTheToggleAndNestedCommands) {
  TCommandPreExecute pre;
  EXPECT_FALSE(pre.Step(0, false, false, kUndo).Record);
  EXPECT_TRUE(pre.Step(0, false, true, kUndo).Record);
  EXPECT_FALSE(pre.Step(0, false, true, {Fn("ToggleMacroRecord"), false, 0}).Record);
  EXPECT_FALSE(pre.Step(0, false, true, {Fn("Undo"), false, 2}).Record);
  EXPECT_TRUE(pre.Step(0, false, true, {Fn("CursorDown"), true, 0}).RecordShift);
  EXPECT_FALSE(pre.Step(0, false, true, {Fn("Undo"), true, 0}).RecordShift);
  EXPECT_TRUE(pre.Step(0, false, true, {Fn("LineDown"), true, 0}).RecordShift);
  EXPECT_FALSE(pre.Step(0, false, true, {Fn("CursorDown"), false, 0}).RecordShift);
}

}  // namespace
}  // namespace vorn
