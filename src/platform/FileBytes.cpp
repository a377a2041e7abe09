// ReadFileBytes: one read of the file's size into a huge-page-friendly buffer.
#include "platform/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "base/VornError.h"
#include "platform/ReadableFile.h"

namespace vorn {

TByteBuffer ReadFileBytes(const std::string& fileName) {
  TReadableFile file;
  const TFileRefusal refusal = file.Open(fileName);
  if (refusal == frOther && file.Error() != 0) throw EFileOpenError(fileName, std::strerror(file.Error()));
  if (refusal != frNone) throw EFileOpenError(fileName, RefusalReason(refusal));
  // Asked before the read, so that a file the memory cannot hold is refused with a message
  // instead of the kernel ending the process halfway through.
  if (!FitsInMemory(file.Size(), AvailableMemoryBytes())) throw EFileOpenError(fileName, RefusalReason(frTooLarge));
  // The size at opening is as far as the file is read: one that grows meanwhile still ends.
  TByteBuffer buffer(static_cast<std::size_t>(file.Size()));
  std::size_t done = 0;
  while (done < buffer.Size()) {
    const ssize_t n = ::read(file.Fd(), buffer.Data() + done, buffer.Size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EFileOpenError(fileName, std::strerror(errno));
    if (n == 0) break;  // shrank meanwhile
    done += static_cast<std::size_t>(n);
  }
  buffer.Truncate(done);
  return buffer;
}

}  // namespace vorn
