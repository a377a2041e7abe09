// Names between native (UTF-8) memory and the Shift_JIS of stored histories.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// False when code page 932 cannot hold the name exactly; such names are left out of stored
// histories rather than written damaged.
bool NativeNameToSjis(std::string_view name, std::string& sjis);
std::string SjisNameToNative(std::string_view sjis);

}  // namespace vorn
