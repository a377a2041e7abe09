// The three-byte forms of EUC-JP (8F xx xx) as code page 932, built from the system iconv.
#pragma once

#include <cstdint>

#include "platform/cp932.h"

namespace vorn {

// The code page 932 code of the three-byte form 8F b2 b3 read through the eucJP-ms mapping
// (JIS X 0212, the IBM extensions, the user-defined area), as TCp932Table::fromU16 gives it:
// a single byte as 0x00XX, a pair as lead << 8 | trail. Cp932NoMapping where code page 932
// has no such character, or where b2 or b3 lies outside A1-FE. The table is built from the
// system's EUC-JP-MS converter at the first call (thread-safe); without one, every form is
// Cp932NoMapping.
std::uint16_t EucMsThreeByteToCp932(unsigned b2, unsigned b3);

}  // namespace vorn
