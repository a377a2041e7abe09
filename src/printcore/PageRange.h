// Which pages a print or a preview takes, and the page range of the print dialog.
#pragma once

namespace vorn {

// Page indexes [First, Last], 0-based; empty when Last < First.
struct TPageSpan {
  int First = 0;
  int Last = -1;
  bool Empty() const { return Last < First; }
  int Count() const { return Empty() ? 0 : Last - First + 1; }
};

// first and last are 1-based page numbers; -1 means from the first page, to the last page.
// Printing always prints one page of a non-empty list, however the numbers lie.
TPageSpan PrintSpan(int first, int last, int pageCount);
// The preview keeps the pages from first up to last and shows nothing when none is left.
TPageSpan PreviewSpan(int first, int last, int pageCount);

// The dialog's from/to boxes: moving one past the other drags the other along.
struct TPageRangeBoxes {
  static constexpr int kMin = 1;
  static constexpr int kMax = 1000;
  int From = kMin;
  int To = kMax;
  void SetFrom(int v);
  void SetTo(int v);
};

}  // namespace vorn
