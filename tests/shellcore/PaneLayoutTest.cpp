// Pane and window geometry: the split of short and tall panes, border moves, focus cycling and
// window sizes and places.
#include <gtest/gtest.h>

#include "shellcore/PaneLayout.h"

namespace vorn {
namespace {

TEST(PaneLayout, SplitKeepsTheCaretRowsAndAtLeastThreeRowsEachSide) {
  // Caret on the first visible row: 3 rows + 1.
  const auto top = PlanSplit(30, 100, 100);
  ASSERT_TRUE(top);
  EXPECT_EQ(top->UpperRows, 4);
  EXPECT_EQ(top->UpperFirstRow, 97);
  EXPECT_EQ(top->LowerFirstRow, 100);
  // Caret far down: the upper pane may not take more than visible rows - 4.
  const auto low = PlanSplit(30, 0, 29);
  EXPECT_EQ(low->UpperRows, 26);
  EXPECT_EQ(low->UpperFirstRow, 4);
  for (int rows = 0; rows < 40; ++rows)
    for (int caret = 0; caret < rows + 2; ++caret)
      if (const auto plan = PlanSplit(rows, 0, caret)) {
        EXPECT_GE(plan->UpperRows, kMinimumPaneRows) << rows << " " << caret;
        EXPECT_GE(rows - plan->UpperRows, kMinimumPaneRows) << rows << " " << caret;
        EXPECT_GE(plan->UpperFirstRow, 0);
      } else {
        EXPECT_LT(rows, 2 * kMinimumPaneRows);
      }
}

TEST(PaneLayout, ShortPanesAreNotSplit) {
  EXPECT_FALSE(PlanSplit(3, 0, 0));  // would give a pane of no or negative height
  EXPECT_FALSE(PlanSplit(5, 0, 4));
  EXPECT_EQ(PlanSplit(6, 0, 0)->UpperRows, 3);
}

TEST(PaneLayout, BorderStopsAtFourRows) {
  EXPECT_EQ(SplitterUp(4 * 16, 16), 4 * 16);
  EXPECT_EQ(SplitterUp(5 * 16, 16), 4 * 16);
  EXPECT_EQ(SplitterDown(10 * 16, 4 * 16, 16), 10 * 16);
  EXPECT_EQ(SplitterDown(10 * 16, 5 * 16, 16), 11 * 16);
  EXPECT_EQ(SplitterUp(100, 0), 100);
}

TEST(PaneLayout, FocusCyclesThroughAllPanesBothWays) {
  // Two windows, the first split: three panes.
  int pane = 0;
  for (int step = 0; step < 3; ++step) pane = NextPaneIndex(3, pane, false);
  EXPECT_EQ(pane, 0);
  EXPECT_EQ(NextPaneIndex(3, 0, true), 2);
  EXPECT_EQ(NextPaneIndex(3, -1, false), 0);
  EXPECT_EQ(NextPaneIndex(0, 0, false), -1);
}

TEST(PaneLayout, WindowFitsTheColumnsAndRows) {
  TWindowMetrics m;
  m.CharWidth = 8;
  m.RowHeight = 16;
  m.LeftMargin = 30;
  m.VerticalScrollBarWidth = 15;
  m.MenuHeight = 22;
  m.ToolBarHeight = 26;
  m.HorizontalScrollBarHeight = 15;
  const TWindowSize size = WindowSizeFor(m, 80, 25);
  EXPECT_EQ(size.Width, 30 + 80 * 8 + 4 + 15);
  EXPECT_EQ(size.Height, 22 + 25 * 16 + 4 + 26 + 15);
  const TWindowSize noFont = WindowSizeFor(TWindowMetrics{}, 10, 10);
  EXPECT_EQ(noFont.Width, 70 + 4);
  EXPECT_EQ(noFont.Height, 140 + 4);
}

TEST(PaneLayout, PlacementFollowsTheMonitorIndexAndTheLimit) {
  TPlacement p;
  p.Current = {1930, 50, 500, 400};
  p.CurrentMonitor = {1920, 0, 1920, 1080};
  p.Monitors = {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}};
  const TWindowSize size{600, 500};
  p.MonitorIndex = -2;
  EXPECT_EQ(PlaceSizedWindow(p, size).Left, 1930);
  p.MonitorIndex = -1;
  EXPECT_EQ(PlaceSizedWindow(p, size).Left, 10);
  p.MonitorIndex = 1;
  EXPECT_EQ(PlaceSizedWindow(p, size).Left, 1930);
  p.MonitorIndex = 0;
  EXPECT_EQ(PlaceSizedWindow(p, size).Left, 10);
  p.FixedPosition = std::pair{100, 900};
  p.LimitTop = 0;
  p.LimitHeight = 1040;
  const TRect moved = PlaceSizedWindow(p, size);
  EXPECT_EQ(moved.Top, 1040 - 500);  // moved up to end at the limit
  EXPECT_EQ(moved.Left, 100);  // the fixed spot lies on monitor 0, which it stays on
  p.MonitorIndex = 1;
  EXPECT_EQ(PlaceSizedWindow(p, size).Left, 1920 + 100);  // the same offset on monitor 1
  const TRect tall = PlaceSizedWindow(p, {600, 2000});
  EXPECT_EQ(tall.Height, 1040);
  EXPECT_EQ(tall.Top, 0);
}

}  // namespace
}  // namespace vorn
