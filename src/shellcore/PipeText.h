// The text that goes through an outside program: out in the document's code and line break,
// back through the editor's own detection, never assumed to be in any code.
#pragma once

#include "encoding/jconvert.h"
#include "textfile/JConvStrList.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vorn {

// The bytes a program reads for internal text (Shift_JIS, CR LF): lineBreak and charCode as a
// save would write them. lost counts the characters charCode cannot hold.
std::string PipeInputBytes(std::string_view sjisText, TCharCodeKind charCode, TLineBreakKind lineBreak,
                           std::size_t& lost);

struct TPipeOutput {
  std::string Text;              // Shift_JIS, every break CR LF, NUL bytes as spaces
  TCharCodeKind Detected = ckSjis;
  std::size_t Lost = 0;          // characters Shift_JIS cannot hold, as substitutes
};

// A program's output read back as a file would be: its code detected and converted, its line
// breaks (CR LF, CR, LF, mixed) made CR LF. sentCode is the code the program was given its
// input in: a short output the detection cannot tell from Shift_JIS (a few kana in EUC-JP are
// also well-formed Shift_JIS) is read in that code when it is well-formed there.
TPipeOutput PipeOutputText(std::string_view bytes, TCharCodeKind sentCode = ckSjis);

// Every CR LF, lone CR and lone LF of text as CR LF.
std::string NormalizeBreaksToCrLf(std::string_view text);

}  // namespace vorn
