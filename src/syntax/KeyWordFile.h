// The ".hil" keyword file: a file type's keywords, quotation, comment pattern and brackets as Shift_JIS text.
#pragma once

#include "syntax/KeyWord.h"

#include <string>
#include <string_view>

namespace vorn {

// The message of a keyword file that lacks a required line.
extern const char* const kInvalidFileFormatMessage;

// The parts of one file type that the keyword file carries; the file type owns them.
struct TKeyWordFileData {
  TKeyWordList& KeyWords;
  std::string& Quotation;
  std::string& Canceler;
  TBregexpObj& Commenter;
  TBracketList& Brackets;
};

// The whole file text in the current layout, lines ended by CR LF.
std::string SaveKeyWordFile(const TKeyWordFileData& data);

// Reads either layout. Raises EKeyWordError with kInvalidFileFormatMessage when a bracket lacks a required
// line; what was read before stays in the lists.
void LoadKeyWordFile(std::string_view text, const TKeyWordFileData& data);

}  // namespace vorn
