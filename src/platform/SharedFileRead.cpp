// Deny-write reading through advisory locks, the only share mode a POSIX file system has.
#include "platform/SharedFileRead.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace vorn {

int ReadFileDenyingWriters(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  // Reading while a writer announces itself could see half a file: count it as a failure.
  int err = 0;
  if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
    err = errno;
  } else {
    struct flock fl {};
    fl.l_type = F_RDLCK;
    fl.l_whence = SEEK_SET;
    if (fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type == F_WRLCK) err = EWOULDBLOCK;
  }
  char buf[65536];
  while (err == 0) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) err = errno;
    if (n <= 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  close(fd);  // also drops the shared flock
  if (err != 0) bytes.clear();
  return err;
}

int ReadFileDenyingWritersWithRetry(const std::string& path, std::string& bytes, const TShareRetry& retry) {
  const int attempts = retry.attempts < 1 ? 1 : retry.attempts;
  int err = 0;
  for (int attempt = 1; attempt <= attempts; ++attempt) {
    err = ReadFileDenyingWriters(path, bytes);
    if (err == 0 || err == ENOENT) break;
    if (attempt < attempts) std::this_thread::sleep_for(retry.delay);
  }
  return err;
}

}  // namespace vorn
