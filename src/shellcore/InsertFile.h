// Reading a file as text to insert at the caret.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "document/DocumentPrompts.h"
#include "encoding/jconvert.h"

namespace vorn {

// The file's text in the internal code with CR LF breaks, ready to be inserted as typed text.
struct TInsertText {
  std::string text;
  TCharCodeKind code = ckSjis;      // the code the file was read in
  std::size_t nulBytesReplaced = 0;  // NUL bytes, which would end a typed text, became spaces
  std::size_t charsSubstituted = 0;  // characters the internal code lacks
};

// Reads name in code (detected when not given). A missing file is reported with its message
// and a read error with the system's; both answer nullopt.
std::optional<TInsertText> ReadFileForInsert(const std::string& name, std::optional<TCharCodeKind> code,
                                             TDocumentPrompts& prompts);

}  // namespace vorn
