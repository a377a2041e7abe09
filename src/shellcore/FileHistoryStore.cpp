// Locked reading and atomic rewriting of "FileHist.fhd".
#include "shellcore/FileHistoryStore.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/AtomicFile.h"

namespace vorn {
namespace {

// Reads the whole file; false with the reason when it exists but cannot be read.
bool ReadAll(const std::string& path, std::string& bytes, bool& missing, std::string& reason) {
  missing = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    missing = errno == ENOENT;
    reason = std::strerror(errno);
    return missing;
  }
  char buffer[65536];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, n);
  if (n < 0) reason = std::strerror(errno);
  ::close(fd);
  return n == 0;
}

class TLockHolder {
public:
  explicit TLockHolder(int fd) : fd_(fd) {}
  ~TLockHolder() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Held() const { return fd_ >= 0; }

private:
  int fd_;
};

}  // namespace

TFileHistoryStore::TFileHistoryStore(std::string userFolder, int lockTimeoutMs)
    : folder_(std::move(userFolder)), lockTimeoutMs_(lockTimeoutMs) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

std::string TFileHistoryStore::FilePath() const { return folder_ + kFileHistoryFileName; }
std::string TFileHistoryStore::LockPath() const { return folder_ + kFileHistoryLockName + ".lock"; }

// A bounded wait: a history holder that hangs must not hang every editor that opens a file.
int TFileHistoryStore::LockFile(std::string& message) const {
  const int fd = ::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    message = kMutexFailedMessage;
    return -1;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(lockTimeoutMs_);
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      ::close(fd);
      message = "ファイル \"" + FilePath() + "\". 他のプロセスが使用中のため開けません";
      return -1;
    }
    ::poll(nullptr, 0, 5);
  }
  return fd;
}

TFileHistoryStore::TResult TFileHistoryStore::Load(TFileHistory& history, std::string& message) const {
  if (::access(FilePath().c_str(), F_OK) != 0) return hrNoFile;
  TLockHolder lock(LockFile(message));
  if (!lock.Held()) return hrLockFailed;
  std::string bytes, reason;
  bool missing = false;
  if (!ReadAll(FilePath(), bytes, missing, reason)) {
    message = "ファイル \"" + FilePath() + "\". " + reason + " は開けません";
    return hrReadFailed;
  }
  if (missing) return hrNoFile;
  if (!LoadFileHistoryBytes(bytes, history)) {
    message = "ファイル履歴 \"" + FilePath() + "\" が壊れているため、履歴を空にしました";
    return hrDamaged;
  }
  return hrOk;
}

TFileHistoryStore::TResult TFileHistoryStore::WriteEntry(TFileHistory& history, const std::string& fileName,
                                                         const std::function<void(TFileInfo&)>& fill,
                                                         std::string& message) const {
  TLockHolder lock(LockFile(message));
  if (!lock.Held()) return hrLockFailed;
  std::string bytes, reason;
  bool missing = false;
  if (!ReadAll(FilePath(), bytes, missing, reason)) {
    message = "ファイル \"" + FilePath() + "\". " + reason + " は開けません";
    return hrReadFailed;
  }
  TFileHistory current;
  current.SetMenuCount(history.MenuCount());
  LoadFileHistoryBytes(bytes, current);  // a damaged file is replaced by a sound one
  if (!fileName.empty()) {
    TFileInfo& entry = current.Touch(fileName);
    if (fill) fill(entry);
  }
  if (std::string error = WriteFileAtomically(FilePath(), SaveFileHistoryBytes(current)); !error.empty()) {
    message = "ファイル \"" + FilePath() + "\" を作成できません. " + error;
    return hrWriteFailed;
  }
  history = std::move(current);
  history.SetMenuNeedsRebuild(true);
  return hrOk;
}

}  // namespace vorn
