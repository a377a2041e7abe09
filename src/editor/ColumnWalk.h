// Finding the byte that shows at a display column without expanding the whole row.
#pragma once

#include <string_view>

namespace vorn {

// How a row's bytes become columns: a tab runs to the next tab stop (and, with word wrap, no
// further than the wrap edge); a lead byte with a byte after it takes two columns.
struct TColumnRule {
  int TabWidth = 8;
  int WrapWidth = 0;  // 0 without word wrap
  int TabCells(int col) const;
};

struct TColumnStart {
  int Byte = 0;  // a character start
  int Col = 0;   // its column, at most the asked column
};

// The character covering col (or the row's end when col lies past it). Rows without tabs
// cost a memchr plus a short backward scan, so the visible part of a 50 MB row is found
// without walking the bytes before it.
TColumnStart FindColumnStart(std::string_view row, const TColumnRule& rule, int col);

// True when the byte at pos is the second byte of a pair. segmentStart must be a character
// start at or before pos.
bool IsTrailAt(std::string_view row, std::size_t segmentStart, std::size_t pos);

}  // namespace vorn
