// Column walking over Shift_JIS rows: tab stops, pairs, and the backward parity scan.
#include "editor/ColumnWalk.h"

#include <algorithm>
#include <cstring>

#include "base/sjis.h"

namespace vorn {

int TColumnRule::TabCells(int col) const {
  const int t = std::max(1, TabWidth);
  int width = t - col % t;
  if (WrapWidth > 0) width = std::min(width, WrapWidth - col % WrapWidth);
  return std::max(1, width);
}

// Any byte outside the lead range ends a character, so the character starts are fixed by the
// parity of the run of lead-range bytes just before pos.
bool IsTrailAt(std::string_view row, std::size_t segmentStart, std::size_t pos) {
  std::size_t run = 0;
  while (pos > segmentStart + run && sjis::IsLeadByte(row[pos - run - 1])) ++run;
  return run % 2 == 1;
}

namespace {

// Byte-by-byte walk, for rows with word wrap (short) and around tabs.
TColumnStart WalkFrom(std::string_view row, const TColumnRule& rule, std::size_t byte, int col, int target) {
  const std::size_t n = row.size();
  while (byte < n) {
    int cells = 1;
    std::size_t len = 1;
    if (sjis::IsLeadByte(row[byte]) && byte + 1 < n) {
      cells = len = 2;
    } else if (row[byte] == '\t') {
      cells = rule.TabCells(col);
    }
    if (col + cells > target) break;
    col += cells;
    byte += len;
  }
  return {static_cast<int>(byte), col};
}

// The next tab at or after from that is a character of its own (a tab after an unpaired lead
// byte is that pair's second byte); npos when there is none.
std::size_t NextTab(std::string_view row, std::size_t segmentStart, std::size_t from) {
  while (from < row.size()) {
    const void* hit = std::memchr(row.data() + from, '\t', row.size() - from);
    if (!hit) return std::string_view::npos;
    const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - row.data());
    if (!IsTrailAt(row, segmentStart, at)) return at;
    from = at + 1;
  }
  return std::string_view::npos;
}

}  // namespace

TColumnStart FindColumnStart(std::string_view row, const TColumnRule& rule, int col) {
  col = std::max(0, col);
  if (rule.WrapWidth > 0 || row.size() < 256) return WalkFrom(row, rule, 0, 0, col);
  // Between tabs a column is a byte; hop from tab to tab.
  std::size_t segment = 0;
  int segmentCol = 0;
  while (true) {
    const std::size_t tab = NextTab(row, segment, segment);
    const std::size_t segmentEnd = tab == std::string_view::npos ? row.size() : tab;
    const auto length = static_cast<long long>(segmentEnd - segment);
    if (segmentCol + length > col || tab == std::string_view::npos) {
      std::size_t byte = segment + static_cast<std::size_t>(std::min<long long>(col - segmentCol, length));
      int at = segmentCol + static_cast<int>(byte - segment);
      if (byte < row.size() && byte > segment && IsTrailAt(row, segment, byte)) {
        --byte;
        --at;
      }
      return {static_cast<int>(byte), at};
    }
    segmentCol += static_cast<int>(length);
    const int cells = rule.TabCells(segmentCol);
    if (segmentCol + cells > col) return {static_cast<int>(tab), segmentCol};
    segmentCol += cells;
    segment = tab + 1;
  }
}

}  // namespace vorn
