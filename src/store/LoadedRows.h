// ScanLoadedRows: a loaded text cut into packed row blocks, the parts scanned side by side.
#pragma once

#include <cstddef>
#include <vector>

#include "store/PackedRows.h"

namespace vorn {

// The rows of [begin, end) as packed blocks of at most blockRows rows each, in order: breaks
// CR LF, CR or LF, no row after a final break, none in an empty text; with stopAtNul the text
// ends at its first NUL. A text of some megabytes is cut at line breaks into up to `parts`
// parts scanned on threads of their own: finding the breaks is most of the time a large file
// takes to open. Raises std::length_error for a row of 2 GiB or more, as the store does.
std::vector<TPackedRows> ScanLoadedRows(const char* begin, const char* end, bool stopAtNul, std::size_t blockRows,
                                        unsigned parts);

// The parts a text of size bytes is scanned in on this machine.
unsigned LoadScanParts(std::size_t size);

}  // namespace vorn
