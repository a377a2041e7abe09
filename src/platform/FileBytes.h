// Reading a whole file into one buffer, as documents and lists are read.
#pragma once

#include <string>

#include "base/ByteBuffer.h"

namespace vorn {

// Reads every byte of fileName (others may read and write it meanwhile). Raises EFileOpenError.
TByteBuffer ReadFileBytes(const std::string& fileName);

}  // namespace vorn
