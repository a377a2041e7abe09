// How a display row ends: the 4-bit RowEnd field of a row word.
#pragma once

#include <cstdint>

namespace vorn {

enum TRowEnd : uint8_t {
  reLineEnd = 0,  // a line break follows the row
  reWrapped = 1,  // the logical line continues on the next row
  reTextEnd = 2,  // last row of a text without a final line break
  reNone = 3,     // nothing: an empty run of rows, an undo record without text
};

}  // namespace vorn
