// The writer thread: batches whatever was queued while it wrote, syncs at most every
// kSyncInterval and at once when asked.
#include "document/JournalWriter.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorn {

TJournalWriter::~TJournalWriter() { Stop(); }

TJournalWriter::TStart TJournalWriter::Start(const std::string& path, THeaderMaker header) {
  Stop();
  // Opened without truncating: the file may be another process's live journal, which only the
  // lock may tell.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    Fail(errno);
    return jsFailed;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return jsLocked;
  }
  // Another process may have deleted and made the file again between the open and the lock.
  struct stat held {}, named {};
  if (::fstat(fd, &held) != 0 || ::stat(path.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
      held.st_dev != named.st_dev) {
    ::close(fd);
    return jsLocked;
  }
  if (::ftruncate(fd, 0) != 0 || ::fchmod(fd, 0600) != 0) {
    Fail(errno);
    ::close(fd);
    return jsFailed;
  }
  path_ = path;
  fd_ = fd;
  failed_ = false;
  failure_ = 0;
  stop_ = false;
  thread_ = std::thread([this, header = std::move(header)]() mutable { Run(std::move(header)); });
  return jsStarted;
}

void TJournalWriter::Append(std::string&& bytes) {
  if (fd_ < 0 || Failed()) return;
  bool wake;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queued_.empty()) queued_ = std::move(bytes);
    else queued_ += bytes;
    wake = waiting_;
  }
  if (wake) wake_.notify_one();
}

void TJournalWriter::SyncNow(std::chrono::milliseconds timeout) {
  if (fd_ < 0) return;
  std::unique_lock<std::mutex> lock(mutex_);
  const std::uint64_t ticket = ++syncRequests_;
  syncWanted_ = true;
  wake_.notify_one();
  synced_.wait_for(lock, timeout, [&] { return syncsDone_ >= ticket || stop_; });
}

void TJournalWriter::Remove() {
  Stop(true);
  path_.clear();
}

std::string TJournalWriter::FailureText() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failure_ != 0 ? std::strerror(failure_) : std::string();
}

void TJournalWriter::Fail(int err) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    failure_ = err;
  }
  failed_ = true;
}

bool TJournalWriter::WriteAll(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Fail(n < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void TJournalWriter::Run(THeaderMaker header) {
  bool ok = WriteAll(header());
  auto lastSync = std::chrono::steady_clock::now();
  bool unsynced = ok;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (queued_.empty() && !syncWanted_ && !stop_) {
      waiting_ = true;
      if (unsynced) wake_.wait_until(lock, lastSync + kSyncInterval);
      else wake_.wait(lock);
      waiting_ = false;
    }
    std::string batch;
    batch.swap(queued_);
    const bool syncNow = syncWanted_ || stop_;
    const std::uint64_t ticket = syncRequests_;
    syncWanted_ = false;
    const bool stopping = stop_;
    lock.unlock();
    if (ok && !batch.empty()) {
      ok = WriteAll(batch);
      unsynced = true;
    }
    const auto now = std::chrono::steady_clock::now();
    if (ok && unsynced && (syncNow || now - lastSync >= kSyncInterval)) {
      if (::fdatasync(fd_) != 0) {
        Fail(errno);
        ok = false;
      }
      lastSync = now;
      unsynced = false;
    }
    lock.lock();
    syncsDone_ = std::max(syncsDone_, ticket);
    synced_.notify_all();
    if (stopping && queued_.empty()) break;
  }
}

void TJournalWriter::Stop(bool unlinkFile) {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  // Unlinked while still locked: a process that opens the name after it gets a new file.
  if (fd_ >= 0 && unlinkFile) ::unlink(path_.c_str());
  if (fd_ >= 0) ::close(fd_);  // also drops the lock
  fd_ = -1;
  std::lock_guard<std::mutex> lock(mutex_);
  queued_.clear();
  stop_ = false;
}

}  // namespace vorn
