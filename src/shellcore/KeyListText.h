// The readable list of the key table: every function with its keys, then every key with its
// function. Shift_JIS text with CR LF line ends, as the settings dialog writes it to a file.
#pragma once

#include <string>

#include "shellcore/KeyTable.h"

namespace vorn {

std::string KeyListText(const TKeyTable& table);

// Writes KeyListText(table) to path (a native name). Raises EFileCreateError.
void SaveKeyListText(const std::string& path, const TKeyTable& table);

// The display name right-aligned in 36 bytes and cut to 36 bytes (never inside a double-byte
// character), followed by the full-width colon. Shift_JIS in and out.
std::string KeyListHead(const std::string& sjisText);

}  // namespace vorn
