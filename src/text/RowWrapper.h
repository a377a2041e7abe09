// TRowWrapper: the hook that cuts text into display rows and re-cuts the store.
#pragma once

#include <string_view>

#include "text/PointerStringList.h"

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
};

}  // namespace vorn
