// TReadableFile: the kind of a path is settled by stat before open, and again by fstat after,
// since the path may be swapped between the two.
#include "platform/ReadableFile.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

namespace vorn {

namespace {

TFileRefusal RefusalOfMode(mode_t mode) {
  if (S_ISREG(mode)) return frNone;
  if (S_ISDIR(mode)) return frFolder;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return frDevice;
  if (S_ISFIFO(mode)) return frFifo;
  if (S_ISSOCK(mode)) return frSocket;
  return frOther;
}

// File systems whose files are made up by the kernel as they are read.
bool IsPseudoFileSystem(const struct statfs& fs) {
  switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case BPF_FS_MAGIC:
      return true;
    default:
      return false;
  }
}

// A figure in kB from a "Name:   123 kB" line of /proc/meminfo, 0 when absent.
std::uint64_t MemInfoBytes(const std::string& text, const char* name) {
  const std::size_t at = text.find(name);
  if (at == std::string::npos) return 0;
  unsigned long long kb = 0;
  if (std::sscanf(text.c_str() + at + std::strlen(name), " %llu", &kb) != 1) return 0;
  return static_cast<std::uint64_t>(kb) * 1024;
}

// Address space still left under RLIMIT_AS, or 0 when unlimited or unknown.
std::uint64_t AddressSpaceLeft() {
  struct rlimit lim {};
  if (::getrlimit(RLIMIT_AS, &lim) != 0 || lim.rlim_cur == RLIM_INFINITY) return 0;
  std::ifstream statm("/proc/self/statm");
  unsigned long long pages = 0;
  if (!(statm >> pages)) return 0;
  const std::uint64_t used = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
  const std::uint64_t limit = static_cast<std::uint64_t>(lim.rlim_cur);
  return used >= limit ? 1 : limit - used;
}

}  // namespace

std::string RefusalReason(TFileRefusal refusal) {
  switch (refusal) {
    case frNone: return {};
    case frFolder: return "フォルダ";
    case frDevice: return "デバイス";
    case frFifo: return "名前付きパイプ";
    case frSocket: return "ソケット";
    case frPseudo: return "システムの仮想ファイル";
    case frTooLarge: return "使えるメモリより大きいファイル";
    case frOther: break;
  }
  return "通常のファイル以外";
}

TReadableFile::~TReadableFile() { Close(); }

TReadableFile::TReadableFile(TReadableFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), error_(other.error_) {}

TReadableFile& TReadableFile::operator=(TReadableFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
    error_ = other.error_;
  }
  return *this;
}

void TReadableFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

TFileRefusal TReadableFile::Open(const std::string& path) {
  Close();
  error_ = 0;
  size_ = 0;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && RefusalOfMode(st.st_mode) != frNone) return RefusalOfMode(st.st_mode);
  // O_NONBLOCK: should the path turn into a FIFO after the stat, open must not wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    error_ = errno;
    return frOther;
  }
  TFileRefusal refusal = frNone;
  if (::fstat(fd, &st) != 0) {
    error_ = errno;
    refusal = frOther;
  } else {
    refusal = RefusalOfMode(st.st_mode);
    struct statfs fs {};
    if (refusal == frNone && ::fstatfs(fd, &fs) == 0 && IsPseudoFileSystem(fs)) refusal = frPseudo;
  }
  if (refusal != frNone) {
    ::close(fd);
    return refusal;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fd_ = fd;
  size_ = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  return frNone;
}

TFileRefusal RefusalOfPath(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return frNone;
  if (const TFileRefusal refusal = RefusalOfMode(st.st_mode); refusal != frNone) return refusal;
  // Only its file system tells a pseudo-file from a regular file.
  struct statfs fs {};
  return ::statfs(path.c_str(), &fs) == 0 && IsPseudoFileSystem(fs) ? frPseudo : frNone;
}

std::uint64_t AvailableMemoryBytes() {
  std::ifstream in("/proc/meminfo");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::uint64_t available = MemInfoBytes(text, "MemAvailable:");
  if (available > 0) available += MemInfoBytes(text, "SwapFree:");
  const std::uint64_t left = AddressSpaceLeft();
  if (left > 0 && (available == 0 || left < available)) available = left;
  return available;
}

bool FitsInMemory(std::uint64_t fileBytes, std::uint64_t available, unsigned storeEighths) {
  if (available == 0) return true;
  constexpr std::uint64_t kMargin = 32ull << 20;
  const std::uint64_t eighths = std::max(storeEighths, 1u);
  // A size whose product would not fit in 64 bits needs more than any memory there is.
  if (fileBytes / 8 > (~std::uint64_t{0} - kMargin - eighths) / eighths) return false;
  const std::uint64_t needed = fileBytes / 8 * eighths + (fileBytes % 8) * eighths / 8 + kMargin;
  return needed <= available;
}

}  // namespace vorn
