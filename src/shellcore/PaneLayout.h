// The arithmetic of a window's panes: where a split puts the border and the two panes' scroll
// positions, how far the border may move, the pane focus cycle, and a window's size for a
// number of columns and rows. Measures come in from the toolkit; nothing here draws.
#pragma once

#include <optional>
#include <vector>

namespace vorn {

// The fewest rows a pane keeps on either side of the border.
constexpr int kMinimumPaneRows = 3;

struct TSplitPlan {
  int UpperRows;        // rows of the upper pane
  int UpperFirstRow;    // first visible row of the upper pane
  int LowerFirstRow;    // first visible row of the lower pane
};

// The split of a pane showing visibleRows rows from firstVisibleRow with the caret on caretRow:
// the upper pane keeps the rows down to the caret (at least three) and the lower pane starts
// where the upper one ends. Nothing when the pane is too short to leave both panes their
// minimum rows (the plain formula would give a pane of no or negative height).
std::optional<TSplitPlan> PlanSplit(int visibleRows, int firstVisibleRow, int caretRow);

// The border moves by one row: up unless the upper pane has 4 rows or fewer, down unless the
// lower pane has 4 rows or fewer. Returns the new height of the upper pane in pixels.
int SplitterUp(int upperHeight, int rowHeight);
int SplitterDown(int upperHeight, int lowerHeight, int rowHeight);

// The pane that gets the focus: the next in the list (backwards with Shift or macro argument
// "1"), wrapping around; -1 when there are no panes. current may be -1 (none has it).
int NextPaneIndex(int paneCount, int current, bool backwards);

// The measures of a window and its pane for sizing it by columns and rows.
struct TWindowMetrics {
  int FrameWidth = 0, FrameHeight = 0, BorderWidth = 0, BorderHeight = 0;
  int CaptionHeight = 0, MenuHeight = 0;
  int ToolBarHeight = 0;    // 0 when hidden
  int StatusBarHeight = 0;  // 0 when hidden
  int LeftMargin = 0, TopMargin = 0;
  int CharWidth = 0;        // 0 when the pane has no font yet
  int RowHeight = 0;
  int VerticalScrollBarWidth = 0;  // 0 when the pane shows none
  // Our pane may show a horizontal bar where the sized window had none; counting it keeps the
  // rows asked for visible. 0 when the pane shows none.
  int HorizontalScrollBarHeight = 0;
};

struct TWindowSize {
  int Width;
  int Height;
};

TWindowSize WindowSizeFor(const TWindowMetrics& metrics, int columns, int rows);

struct TRect {
  int Left, Top, Width, Height;
};

// Where a window sized by columns and rows goes. monitorIndex -2 leaves it where it is; -1
// keeps its offset from the origin of the whole desktop; n puts it at the same offset on
// monitor n. fixedPosition (when set) moves it there first. The height is at most LimitHeight
// (the maximised height less the edges), and a bottom below LimitTop + LimitHeight moves the
// window up to end there.
struct TPlacement {
  TRect Current;                   // the window now
  TRect CurrentMonitor;            // the monitor it is on
  std::vector<TRect> Monitors;     // all monitors by index
  int MonitorIndex = -2;
  std::optional<std::pair<int, int>> FixedPosition;
  int LimitTop = 0;
  int LimitHeight = 0;             // 0: no limit
};
TRect PlaceSizedWindow(const TPlacement& placement, TWindowSize size);

}  // namespace vorn
