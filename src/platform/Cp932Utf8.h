// Shift_JIS to UTF-8 through the shared code page 932 table, for names that leave as native paths.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorn {

// UTF-16 units to UTF-8. A lone surrogate becomes U+FFFD, so the result is always valid UTF-8.
std::string Utf16ToUtf8(std::u16string_view u16);

// Shift_JIS bytes to UTF-8 through Cp932ToUtf16; substituted counts the ill-formed sequences,
// which come out as Cp932InvalidUnit.
std::string Cp932ToUtf8(std::string_view sjis, std::size_t* substituted = nullptr);

}  // namespace vorn
