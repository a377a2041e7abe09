// Page spans of printing and preview, and the corrected page range of the dialog.
#include "printcore/PageRange.h"

#include <algorithm>

namespace vorn {

TPageSpan PrintSpan(int first, int last, int pageCount) {
  if (pageCount <= 0) return {};
  if (last == -1) last = pageCount;
  TPageSpan span;
  span.First = std::min(std::max(0, first - 1), pageCount - 1);
  span.Last = std::max(span.First, std::min(pageCount - 1, last - 1));
  return span;
}

TPageSpan PreviewSpan(int first, int last, int pageCount) {
  TPageSpan span;
  span.First = first > 0 ? first - 1 : 0;
  span.Last = last > 0 ? std::min(last, pageCount) - 1 : pageCount - 1;
  return span;
}

void TPageRangeBoxes::SetFrom(int v) {
  From = std::clamp(v, kMin, kMax);
  if (From > To) To = From;
}

void TPageRangeBoxes::SetTo(int v) {
  To = std::clamp(v, kMin, kMax);
  if (To < From) From = To;
}

}  // namespace vorn
