// Writing the selected text to a file of its own, in a chosen code and line break.
#pragma once

#include <string>
#include <string_view>

#include "document/DocumentPrompts.h"
#include "encoding/jconvert.h"
#include "textfile/JConvStrList.h"

namespace vorn {

struct TSelectionTarget {
  std::string name;
  TCharCodeKind code = ckSjis;
  TLineBreakKind lineBreak = lbCRLF;
  bool append = false;  // add to an existing file instead of replacing it
};

// Encodes text (internal code, CR LF breaks) for target and writes it: a replaced file goes
// through the atomic writer, an appended one gets the bytes at its end. Characters the code
// cannot hold are asked about first; a refusal or an error leaves the file as it was. True
// when the file holds the text.
bool WriteSelectionToFile(std::string_view text, const TSelectionTarget& target, TDocumentPrompts& prompts);

}  // namespace vorn
