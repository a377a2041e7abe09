// Shift_JIS helpers of the macro format: trimming spaces, tabs and full-width spaces as views,
// and whether bytes are Shift_JIS text at all.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorn {

std::string_view TrimMacroBlanksLeft(std::string_view text);
std::string_view TrimMacroBlanksRight(std::string_view text);
inline std::string_view TrimMacroBlanks(std::string_view text) { return TrimMacroBlanksRight(TrimMacroBlanksLeft(text)); }

// The offset of the first byte that is not part of a code page 932 character (a lone 80, A0,
// FD-FF, a lead byte without a valid trail, a pair the code page does not map); npos for none.
std::size_t FirstNonSjisByte(std::string_view text);

}  // namespace vorn

namespace vorn {

// A macro line as a command line gives it: native text (UTF-8) becomes Shift_JIS; bytes that
// are not UTF-8 are taken for Shift_JIS already.
std::string MacroLineFromCommandLine(std::string_view argument);

// Well-formed UTF-8 (ASCII included).
bool IsUtf8Text(std::string_view text);

}  // namespace vorn
