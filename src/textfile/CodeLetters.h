// The one-letter names of character codes and line breaks that switches and tools use.
#pragma once

#include <optional>
#include <string>

#include "encoding/jconvert.h"
#include "textfile/JConvStrList.h"

namespace vorn {

// Letter of -o (any case): the kind it names, none for a letter that names no kind.
std::optional<TCharCodeKind> CodeKindOfKnownLetter(char letter);
// Letter of -o (any case); a missing or unknown letter gives SJIS.
TCharCodeKind CodeKindOfLetter(std::optional<char> letter);
// Letter of -r (any case); a missing or unknown letter gives CRLF.
TLineBreakKind LineBreakOfLetter(std::optional<char> letter);
// The switch spellings the program writes itself: "-os " ... "-o7 ", "-rc " "-rr " "-rn ".
std::string CodeSwitchText(TCharCodeKind kind);
std::string LineBreakSwitchText(TLineBreakKind kind);

}  // namespace vorn
