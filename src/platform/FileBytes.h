// Reading a whole file into one buffer, as documents and lists are read.
#pragma once

#include <string>

#include "base/ByteBuffer.h"

namespace vorn {

// Reads the bytes of fileName up to the size it had when opened (others may read and write it
// meanwhile). Raises EFileOpenError, also for a path that is not a regular file (a folder, a
// device, a pipe, a socket, a kernel pseudo-file) and for a file the available memory cannot
// hold: nothing is read then.
TByteBuffer ReadFileBytes(const std::string& fileName);

}  // namespace vorn
