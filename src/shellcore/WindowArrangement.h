// Where the arrangement commands put the editor windows: the tiling grid, the cascade, the
// order of the next/previous editor, all from plain numbers so they can be checked exactly.
#pragma once

#include <cstdint>
#include <vector>

namespace vorn {

// A window's outer rectangle (frame included), in screen pixels.
struct TWindowRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const TWindowRect&) const = default;
};

enum class TTiling { tlVertical, tlHorizontal, tlOrder };

struct TGridSize {
  int columns = 1, rows = 1;
  bool operator==(const TGridSize&) const = default;
};

// Vertical lineup grows rows only, horizontal columns only, lineup order both, columns first.
TGridSize TilingGrid(TTiling tiling, int windows);

// The screen as the tiling formula sees it: a maximised window's size (its frame hangs over
// the screen's edges), the frame's width and height, and the origin, moved off a task bar at
// the top or left.
struct TTilingMetrics {
  int maximizedWidth = 0, maximizedHeight = 0;
  int frameWidth = 0, frameHeight = 0;
  int originX = 0, originY = 0;
};

// One cell per window, row by row in the order the windows are listed (topmost first).
std::vector<TWindowRect> TileWindows(TTiling tiling, int windows, const TTilingMetrics& metrics);

// The part of rect that lies in area when rect starts inside it: its size cut at the area's
// right and bottom edges, never below one pixel.
TWindowRect ClipToArea(TWindowRect rect, const TWindowRect& area);

// Cascade: sizes are the windows' current ones in stacking order, topmost first (a size of 0
// is unknown and stays so: the window's owner keeps its size and clips it). The bottom window
// goes to the work area's corner, each one above it one caption height further right and down.
// The answer is in the same order as sizes.
std::vector<TWindowRect> CascadeWindows(const std::vector<TWindowRect>& sizes, const TWindowRect& workArea,
                                        int captionHeight);

// Next or previous editor: the ids sorted ascending, the entry after (before) own, wrapping;
// own counts as position 0 when it is not in the list. 0 for an empty list.
std::int64_t NeighbourEditor(std::vector<std::int64_t> ids, std::int64_t own, bool next);

}  // namespace vorn
