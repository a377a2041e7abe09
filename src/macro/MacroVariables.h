// The variables a macro step's arguments and typed text may hold ("%SELTEXT%", "%COPYSTR%",
// "%MACROSTR0%".."%MACROSTR9%", "%CHARCODE%", "%RETURNCODE%") and the numbers macros give the
// character codes and line breaks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "encoding/jconvert.h"
#include "textfile/JConvStrList.h"

namespace vorn {

// Where the values come from; each is asked for only when the text names it.
class TMacroVariableSource {
public:
  virtual ~TMacroVariableSource() = default;
  virtual std::string SelectedText() = 0;  // Shift_JIS
  virtual std::string ClipboardText() = 0;  // Shift_JIS
  virtual std::string MacroString(int index) = 0;  // 0..9
  virtual TCharCodeKind CharCode() = 0;
  virtual TLineBreakKind LineBreak() = 0;
};

// Replaces each variable (any letter case) wherever it stands, the variables one after the
// other in the order above; a value put in is never searched again, so a selection that holds
// "%SELTEXT%" or "%COPYSTR%" comes out as it is.
std::string ReplaceMacroVariables(std::string_view text, TMacroVariableSource& source);

// 0 SJIS, 1 JIS(RO), 2 EUC, 3 UNICODE(LE), 4 UNICODE(BE), 5 UTF-8N, 6 UTF-8, 7 UTF-7, 8 JIS(AS);
// a kind a document never carries counts as SJIS.
int MacroCodeNumber(TCharCodeKind kind);
std::optional<TCharCodeKind> CodeOfMacroNumber(int number);
// 0 CRLF, 1 CR, 2 LF.
int MacroLineBreakNumber(TLineBreakKind kind);
std::optional<TLineBreakKind> LineBreakOfMacroNumber(int number);

}  // namespace vorn
