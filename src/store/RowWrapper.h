// TRowWrapper: the hook that cuts text into display rows and re-cuts the store.
#pragma once

#include <string_view>

#include "store/PointerStringList.h"

namespace vorn {

class TVornEditScreenStrings;

// Splits text into one row per line (CR LF, CR or LF; no row for a final break; a NUL byte
// ends the text; an empty text gives one empty row). Every row gets the word 0.
void SplitTextToRows(std::string_view text, TVornEditStringList& rows);

// The store owns one wrapper. This base does what the store needs with word wrap off; the
// wrapping implementation derives from it.
class TRowWrapper {
public:
  virtual ~TRowWrapper() = default;

  virtual void TextToRows(TVornEditScreenStrings& store, std::string_view text, TVornEditStringList& rows);
  virtual int CountRowsOfLine(TVornEditScreenStrings& store, std::string_view line);
  virtual void RewrapAll(TVornEditScreenStrings& store);
  virtual void UnwrapAll(TVornEditScreenStrings& store);
  // Cuts rows first..first+n-1, whole logical lines, after the wrap width; answers how many rows
  // they became. Rows outside them keep their text and cut, and move by the difference.
  virtual int RewrapLines(TVornEditScreenStrings& store, int first, int n);
  // The row where the re-wrap of an edit of rows a..last (to become text) starts: one row
  // before the change, but not before the start of a's logical line.
  virtual int RewrapStartRow(TVornEditScreenStrings& store, int a, int last, std::string_view text);
  // The width in columns that wrapped rows were cut at; 0 where rows are never wrapped.
  virtual int WrapByte() const { return 0; }
};

}  // namespace vorn
