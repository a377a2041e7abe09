// Reading a document file for an editor window: the bytes, the code, the line break, and
// whatever the user must be told about the reading.
#pragma once

#include "shell/CommandLine.h"
#include "text/jconvert.h"

#include <string>

namespace vorn {

struct TDocumentReadResult {
  std::string text;  // Shift_JIS with CR LF line ends
  TCharCodeKind charCode = ckSjis;
  TLineBreakKind lineBreak = lbCRLF;
  bool readOnly = false;
  std::string message;  // UTF-8; why the document opened read-only, empty when it did not
};

// False with a message in error (UTF-8) when the file cannot be read.
bool ReadDocumentForWindow(const std::string& path, bool openCodeGiven, TCharCodeKind openCode,
                           TDocumentReadResult& result, std::string& error);

}  // namespace vorn
