// TDirtyRegion: what the editor core asks the widget to repaint.
#pragma once

#include <climits>

namespace vorn {

// What the widget must repaint the next time it paints. The core only records; painting,
// scrolling pixels and moving the platform caret are the widget's business.
struct TDirtyRegion {
  static constexpr int kToEnd = INT_MAX;

  bool All = false;
  int FirstRow = -1;  // inclusive row range, -1 when no row is dirty
  int LastRow = -1;
  bool Caret = false;  // caret shape or place changed

  void AddRows(int first, int last) {
    if (first > last) return;
    FirstRow = FirstRow < 0 ? first : (first < FirstRow ? first : FirstRow);
    LastRow = last > LastRow ? last : LastRow;
  }
  bool RowDirty(int row) const { return All || (FirstRow >= 0 && row >= FirstRow && row <= LastRow); }
  bool Empty() const { return !All && FirstRow < 0 && !Caret; }
};

}  // namespace vorn
