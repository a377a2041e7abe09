// TTempFile: mkstemps in the user's temporary folder.
#include "platform/TempFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vorn {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string UserTempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  struct stat st {};
  if (tmp && *tmp && ::stat(tmp, &st) == 0 && S_ISDIR(st.st_mode)) return tmp;
  return "/tmp";
}

TTempFile& TTempFile::operator=(TTempFile&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::move(other.path_);
    other.path_.clear();
  }
  return *this;
}

bool TTempFile::Create(std::string* error, const std::string& folder) {
  Remove();
  std::string base = folder.empty() ? UserTempFolder() : folder;
  if (base.empty() || base.back() != '/') base += '/';
  std::string name = base + "vorneXXXXXX.tmp";
  std::vector<char> buf(name.begin(), name.end());
  buf.push_back('\0');
  const int fd = ::mkostemps(buf.data(), 4, O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  ::close(fd);
  path_.assign(buf.data());
  return true;
}

bool TTempFile::Write(std::string_view bytes) const {
  if (path_.empty()) return false;
  return OverwriteFileNoFollow(path_, bytes);
}

void TTempFile::Remove() {
  if (!path_.empty()) ::unlink(path_.c_str());
  path_.clear();
}

std::string TTempFile::Release() {
  std::string path = std::move(path_);
  path_.clear();
  return path;
}

bool OverwriteFileNoFollow(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, bytes);
  return ::close(fd) == 0 && ok;
}

}  // namespace vorn
