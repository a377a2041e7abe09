// Atomic file replacement: temporary file, fsync, rename; in-place fallback for locked folders.
#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/VornError.h"

namespace vorn {

namespace {

constexpr std::size_t kBufferLimit = 1 << 20;
constexpr int kMaxLinkDepth = 40;

std::string Reason(int err) { return std::strerror(err); }

std::string DirName(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Follows a chain of symbolic links so that saving through a link updates the file it names
// instead of replacing the link with a plain file.
bool ResolveLinks(const std::string& path, std::string& out, std::string& error) {
  std::string current = path;
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      out = current;
      return true;
    }
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
    if (n < 0) {
      error = Reason(errno);
      return false;
    }
    link.resize(static_cast<std::size_t>(n));
    current = (!link.empty() && link[0] == '/') ? link : DirName(current) + "/" + link;
  }
  error = Reason(ELOOP);
  return false;
}

bool WriteAll(int fd, const char* data, std::size_t count, int& err) {
  while (count > 0) {
    ssize_t n = ::write(fd, data, count);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    data += n;
    count -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

TAtomicFileWriter::~TAtomicFileWriter() { Abort(); }

std::string TAtomicFileWriter::Fail(const std::string& reason) {
  if (error_.empty()) error_ = reason.empty() ? std::string("unknown error") : reason;
  Abort();
  return error_;
}

void TAtomicFileWriter::Abort() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
  buffer_.clear();
}

std::string TAtomicFileWriter::Open(const std::string& path) {
  Abort();
  error_.clear();
  inPlace_ = false;
  haveOldMode_ = false;
  std::string err;
  if (!ResolveLinks(path, target_, err)) return Fail(err);

  struct stat st;
  if (::stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Fail(Reason(EISDIR));
    // Renaming over a file the user may not write would defeat its write protection, which
    // an ordinary save honours.
    if (::access(target_.c_str(), W_OK) != 0) return Fail(Reason(errno));
    haveOldMode_ = true;
    oldMode_ = st.st_mode & 07777;
    oldUid_ = st.st_uid;
    oldGid_ = st.st_gid;
  }

  std::string base = target_.substr(target_.rfind('/') == std::string::npos ? 0 : target_.rfind('/') + 1);
  std::string pattern = DirName(target_) + "/." + base + ".XXXXXX";
  fd_ = ::mkstemp(pattern.data());
  if (fd_ >= 0) {
    tempPath_ = pattern;
    return {};
  }
  int createErr = errno;
  // A folder we may not create files in can still hold a file we may write: rewrite it in place.
  bool folderDenied = createErr == EACCES || createErr == EPERM || createErr == EROFS;
  if (folderDenied && haveOldMode_ && ::access(target_.c_str(), W_OK) == 0) {
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd_ < 0) return Fail(Reason(errno));
    inPlace_ = true;
    // Our own processes probe for writers through this lock; it is advisory, so a failure
    // to take it does not stop the save.
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ::fcntl(fd_, F_OFD_SETLK, &lock);
    return {};
  }
  return Fail(Reason(createErr));
}

std::string TAtomicFileWriter::FlushBuffer() {
  int err = 0;
  if (!buffer_.empty() && !WriteAll(fd_, buffer_.data(), buffer_.size(), err)) return Fail(Reason(err));
  buffer_.clear();
  return {};
}

std::string TAtomicFileWriter::Write(const void* data, std::size_t count) {
  if (!error_.empty()) return error_;
  if (fd_ < 0) return Fail(Reason(EBADF));
  const char* bytes = static_cast<const char*>(data);
  if (buffer_.size() + count <= kBufferLimit) {
    buffer_.append(bytes, count);
    return {};
  }
  if (std::string e = FlushBuffer(); !e.empty()) return e;
  if (count >= kBufferLimit) {
    int err = 0;
    if (!WriteAll(fd_, bytes, count, err)) return Fail(Reason(err));
    return {};
  }
  buffer_.append(bytes, count);
  return {};
}

std::string TAtomicFileWriter::Commit() {
  if (!error_.empty()) return error_;
  if (fd_ < 0) return Fail(Reason(EBADF));
  if (std::string e = FlushBuffer(); !e.empty()) return e;
  if (!inPlace_) {
    // mkstemp creates mode 0600; a replaced file keeps its bits, a new one gets the umask's.
    mode_t mode = haveOldMode_ ? static_cast<mode_t>(oldMode_) : 0;
    if (!haveOldMode_) {
      mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    if (haveOldMode_ && ::fchown(fd_, oldUid_, oldGid_) != 0) {
      // Only root may give a file away; the content matters more than the owner.
    }
    if (::fchmod(fd_, mode) != 0) return Fail(Reason(errno));
  }
  if (::fsync(fd_) != 0) return Fail(Reason(errno));
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Fail(Reason(errno));
  if (!inPlace_) {
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0) return Fail(Reason(errno));
    tempPath_.clear();
    int dirFd = ::open(DirName(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
      ::fsync(dirFd);  // makes the rename itself durable; a failure here loses nothing
      ::close(dirFd);
    }
  }
  return {};
}

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
  TAtomicFileWriter writer;
  if (std::string e = writer.Open(path); !e.empty()) return e;
  if (std::string e = writer.Write(bytes.data(), bytes.size()); !e.empty()) return e;
  return writer.Commit();
}

void WriteFileAtomicallyOrThrow(const std::string& path, std::string_view bytes) {
  std::string e = WriteFileAtomically(path, bytes);
  if (!e.empty()) throw EFileCreateError(path, e);
}

}  // namespace vorn
