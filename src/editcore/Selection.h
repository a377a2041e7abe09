// The selection's data: stream or box, anchor, inclusive byte range, exclusive column range.
#pragma once

namespace vorn {

enum class TSelectionState { None, Anchored, Active };

struct TSelectionAnchor {
  int Row = 0;
  int Byte = 0;  // limited to the row's length
  int Col = 0;   // in box mode the caret column unchanged, else limited to the row's width
};

// Rows and bytes of the selected text; EndByte is the last selected byte of EndRow, -1 when
// the selection ends at the start of that row.
struct TByteRange {
  int StartRow = 0;
  int EndRow = 0;
  int StartByte = 0;
  int EndByte = -1;
  friend bool operator==(const TByteRange&, const TByteRange&) = default;
};

// Columns the painter fills; EndCol is exclusive. In box mode StartCol/EndCol are the box's
// left and right edges on every row. In stream mode StartCol belongs to StartRow (selected from
// there to the row's end) and EndCol to EndRow (selected from column 0); rows between are whole.
struct TColumnRange {
  int StartRow = 0;
  int EndRow = 0;
  int StartCol = 0;
  int EndCol = 0;
  bool Empty() const { return StartRow == EndRow && StartCol >= EndCol; }
  friend bool operator==(const TColumnRange&, const TColumnRange&) = default;
};

struct TSelection {
  TSelectionState State = TSelectionState::None;
  bool Box = false;
  TSelectionAnchor Anchor;
  TByteRange Bytes;
  TColumnRange Cols;
  TColumnRange PrevCols;  // what the last repaint showed, so only the difference is repainted
};

}  // namespace vorn
