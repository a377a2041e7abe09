// Copying a file's bytes and permission bits to a new name, as a backup copy is made.
#pragma once

#include <string>

namespace vorn {

// Writes a copy of from (bytes and permission bits) as to, through a temporary file in to's
// folder that replaces to only once the copy is complete and on disk: a failure part-way leaves
// both from and any previous to as they were. Returns an empty text or the system's reason.
std::string CopyFileKeepingMode(const std::string& from, const std::string& to);

}  // namespace vorn
