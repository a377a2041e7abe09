// Conversions between the UTF-8 of source code and paths and the Shift_JIS of stored settings.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// UTF-8 text (a literal in the source, a native path) as Shift_JIS.
std::string Sjis(std::string_view utf8);
// Shift_JIS text (an ini value) as UTF-8, for paths and messages.
std::string Utf8(std::string_view sjis);

// Names that the settings files and their messages use.
const std::string& CommonTypeName();   // "共通"
const std::string& UnnamedTypeName();  // "名称未設定"
const std::string& GrepTypeName();     // "GREP"

}  // namespace vorn
