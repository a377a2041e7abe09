// Reading a document file for an editor window: the pipeline's read, plus what the user must
// be told when the document had to open read-only.
#pragma once

#include "textfile/JConvStrList.h"
#include "store/VornEditStrings.h"

#include <string>

namespace vorn {

// Reads path into lines with the window's fixed code and line break (when given). On success
// fills document and returns an empty error; message receives (UTF-8) why the document opened
// read-only when characters were lost, empty otherwise. On failure lines are untouched and the
// error (UTF-8) says why.
std::string ReadDocumentForWindow(const std::string& path, TDocumentFileSettings& document,
                                  TVornEditStrings& lines, std::string& message);

// The message for a read that replaced characters the internal code cannot hold.
std::string LossyReadMessage(std::size_t charsSubstituted);

}  // namespace vorn
