// Tag jump: the file name and line number a text line points at ("file.c(12): ...",
// "file.c:12:", "\"a b.c\" 12"), and the parameters that open it in a new editor.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

struct TTagJumpTarget {
  std::string Name;  // Shift_JIS, "/" as the separator ("\" read as "/")
  bool Found = false;
  std::optional<int> Line;
};

// Scans line (Shift_JIS). nameIsFile answers whether a candidate names an existing file (not
// a folder); the scan asks it wherever the name could end.
TTagJumpTarget ScanTagJump(std::string_view line, const std::function<bool(const std::string&)>& nameIsFile);

// The status text for a target whose name names no file.
std::string TagJumpNotFoundText(const std::string& name);

// The find step a grep result's tag jump hands to the opened file: the keyword quoted with
// single quotes (inner ones doubled), then the keyword's four option numbers, then 1.
struct TTagJumpFind {
  std::string Keyword;
  int Options[4] = {0, 0, 0, 0};
};
std::string TagJumpFindMacro(const TTagJumpFind& find);

// The parameters of a new editor on the target: the quoted name, " -j<line>", " \"-l<macro>\""
// (the Shift_JIS line written as native text) and " -x<monitor>", each part only when there
// is something to say.
std::string TagJumpParameters(const TTagJumpTarget& target, const std::string& macroLine, int monitor);

// The macro-language string of a selection: in double quotes with inner double quotes doubled;
// a selection ending in a line end loses it first (lineEndDropped tells the caller to shrink
// the selection by the two characters).
std::string EncodeQuote(std::string_view selected, bool* lineEndDropped = nullptr);

}  // namespace vorn
