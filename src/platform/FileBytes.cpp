// ReadFileBytes: one read of the file's size into a huge-page-friendly buffer.
#include "platform/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/VornError.h"

namespace vorn {

TByteBuffer ReadFileBytes(const std::string& fileName) {
  int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFileOpenError(fileName, std::strerror(errno));
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd);
    throw EFileOpenError(fileName, std::strerror(err));
  }
  std::size_t capacity = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 4096;
  TByteBuffer buffer(capacity);
  std::size_t done = 0;
  for (;;) {
    ssize_t n;
    if (done < buffer.Size()) {
      n = ::read(fd, buffer.Data() + done, buffer.Size() - done);
    } else {
      // The expected size is in; probe for more through a small buffer, so that the usual
      // case never doubles the memory of a large file.
      char probe[4096];
      n = ::read(fd, probe, sizeof probe);
      if (n > 0) {
        buffer.Grow(done + done / 2 + sizeof probe);
        std::memcpy(buffer.Data() + done, probe, static_cast<std::size_t>(n));
      }
    }
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      throw EFileOpenError(fileName, std::strerror(err));
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  buffer.Truncate(done);
  return buffer;
}

}  // namespace vorn
