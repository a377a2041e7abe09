// Pane and window geometry.
#include "shellcore/PaneLayout.h"

#include <algorithm>

namespace vorn {

std::optional<TSplitPlan> PlanSplit(int visibleRows, int firstVisibleRow, int caretRow) {
  if (visibleRows < 2 * kMinimumPaneRows) return std::nullopt;
  const int caretLines = std::max(caretRow - firstVisibleRow + 1, kMinimumPaneRows);
  const int n = std::min(visibleRows - 5, caretLines);
  const int upperRows = std::clamp(n + 1, kMinimumPaneRows, visibleRows - kMinimumPaneRows);
  TSplitPlan plan{};
  plan.UpperRows = upperRows;
  plan.UpperFirstRow = std::max(0, caretRow - upperRows + 1);
  plan.LowerFirstRow = plan.UpperFirstRow + upperRows - 1;
  return plan;
}

int SplitterUp(int upperHeight, int rowHeight) {
  if (rowHeight <= 0 || upperHeight <= 4 * rowHeight) return upperHeight;
  return upperHeight - rowHeight;
}

int SplitterDown(int upperHeight, int lowerHeight, int rowHeight) {
  if (rowHeight <= 0 || lowerHeight <= 4 * rowHeight) return upperHeight;
  return upperHeight + rowHeight;
}

int NextPaneIndex(int paneCount, int current, bool backwards) {
  if (paneCount <= 0) return -1;
  if (current < 0 || current >= paneCount) return backwards ? paneCount - 1 : 0;
  return backwards ? (current + paneCount - 1) % paneCount : (current + 1) % paneCount;
}

TWindowSize WindowSizeFor(const TWindowMetrics& m, int columns, int rows) {
  const int charWidth = m.CharWidth > 0 ? m.CharWidth : 7;
  const int rowHeight = m.RowHeight > 0 ? m.RowHeight : 14;
  TWindowSize size{};
  size.Width = 2 * m.FrameWidth + m.LeftMargin + charWidth * columns + 2 * m.BorderWidth + 4 +
               m.VerticalScrollBarWidth;
  size.Height = m.MenuHeight + m.TopMargin + rowHeight * rows + m.CaptionHeight + 2 * m.FrameHeight +
                2 * m.BorderHeight + 4 + m.ToolBarHeight + m.StatusBarHeight + m.HorizontalScrollBarHeight;
  return size;
}

namespace {

bool Contains(const TRect& r, int x, int y) {
  return x >= r.Left && x < r.Left + r.Width && y >= r.Top && y < r.Top + r.Height;
}

}  // namespace

TRect PlaceSizedWindow(const TPlacement& p, TWindowSize size) {
  TRect r{p.Current.Left, p.Current.Top, size.Width, size.Height};
  TRect monitor = p.CurrentMonitor;
  if (p.FixedPosition) {
    r.Left = p.FixedPosition->first;
    r.Top = p.FixedPosition->second;
    // After the move the window is on the monitor that holds its new corner.
    for (const TRect& m : p.Monitors)
      if (Contains(m, r.Left, r.Top)) monitor = m;
  }
  if (p.MonitorIndex >= -1) {
    r.Left -= monitor.Left;
    r.Top -= monitor.Top;
    if (p.MonitorIndex >= 0 && p.MonitorIndex < static_cast<int>(p.Monitors.size())) {
      r.Left += p.Monitors[p.MonitorIndex].Left;
      r.Top += p.Monitors[p.MonitorIndex].Top;
    }
  }
  if (p.LimitHeight > 0) {
    r.Height = std::min(r.Height, p.LimitHeight);
    const int limitBottom = p.LimitTop + p.LimitHeight;
    if (r.Top + r.Height > limitBottom) r.Top = limitBottom - r.Height;
  }
  return r;
}

}  // namespace vorn
