// Copying a file's bytes and permission bits through a temporary file and a rename.
#include "platform/FileCopy.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

std::string Reason(int err) { return std::strerror(err); }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Closes both descriptors and removes the unfinished copy on every way out.
struct TCopyFiles {
  int source = -1;
  int temp = -1;
  std::string tempPath;
  ~TCopyFiles() {
    if (source >= 0) ::close(source);
    if (temp >= 0) ::close(temp);
    if (!tempPath.empty()) ::unlink(tempPath.c_str());
  }
};

bool WriteAll(int fd, const char* data, std::size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(fd, data, count);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    data += n;
    count -= static_cast<std::size_t>(n);
  }
  return true;
}

// Plain read and write; copy_file_range would save little for the sizes edited here and is
// refused by several file systems anyway.
bool CopyBytes(int from, int to) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(to, buffer, static_cast<std::size_t>(n))) return false;
  }
}

}  // namespace

std::string CopyFileKeepingMode(const std::string& from, const std::string& to) {
  TCopyFiles files;
  files.source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (files.source < 0 || ::fstat(files.source, &st) != 0) return Reason(errno);
  std::string pattern = FolderOf(to) + "/.vorncopy.XXXXXX";
  files.temp = ::mkstemp(pattern.data());
  if (files.temp < 0) return Reason(errno);
  files.tempPath = pattern;
  if (::fchmod(files.temp, st.st_mode & 07777) != 0) return Reason(errno);
  if (!CopyBytes(files.source, files.temp)) return Reason(errno);
  if (::fsync(files.temp) != 0) return Reason(errno);
  const int temp = files.temp;
  files.temp = -1;
  if (::close(temp) != 0) return Reason(errno);
  if (::rename(files.tempPath.c_str(), to.c_str()) != 0) return Reason(errno);
  files.tempPath.clear();
  return {};
}

}  // namespace vorn
