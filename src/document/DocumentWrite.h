// Writing a document to a file after the questions a save must ask first.
#pragma once

#include <string>

#include "document/DocumentPrompts.h"
#include "document/VornDocument.h"
#include "store/VornEditStrings.h"

namespace vorn {

enum class TWriteOutcome {
  Written,   // the file holds the text, in full
  Declined,  // refused before writing (read-only file) or the user said no; the file is as it was
  Failed,    // the write failed and was reported; the file is as it was
};

// Writes the rows to name in the code and line break of settings, through the atomic document
// writer (a ".bak" copy first when settings ask for it). Before writing: a file without any
// write permission bit is refused with the read-only warning, whoever runs the program; saving
// over the file the document was read from asks when that read lost characters; characters
// the code cannot hold are counted and asked about. The document itself is not changed.
TWriteOutcome WriteDocumentAs(const TVornDocument& document, const TDocumentFileSettings& settings,
                              const TVornEditStrings& lines, const std::string& name, TDocumentPrompts& prompts);

// The same with the document's own code and line break.
TWriteOutcome WriteDocument(const TVornDocument& document, const TVornEditStrings& lines, const std::string& name,
                            TDocumentPrompts& prompts);

// The texts of the write's own questions and messages.
std::string ReadOnlyTargetMessage();
std::string LostOnReadQuestion(const TDocumentFileSettings& settings);
std::string UnencodableQuestion(TCharCodeKind code, std::size_t lost);
std::string SaveErrorMessage(const std::string& reason);

}  // namespace vorn
