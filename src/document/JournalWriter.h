// TJournalWriter: appends journal bytes to a file from a thread of its own, so that the typing
// thread only hands over bytes and never waits on the disk.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace vorn {

class TJournalWriter {
public:
  // Runs on the writer thread before anything is written: answers the header (the file's hash
  // takes a while for a large file), which goes first.
  using THeaderMaker = std::function<std::string()>;

  enum TStart { jsStarted, jsLocked, jsFailed };

  // At most this long between a write and its fdatasync.
  static constexpr std::chrono::milliseconds kSyncInterval{2000};

  TJournalWriter() = default;
  ~TJournalWriter();  // writes what is pending and closes; the file stays
  TJournalWriter(const TJournalWriter&) = delete;
  TJournalWriter& operator=(const TJournalWriter&) = delete;

  // Creates path afresh (mode 0600) and holds an exclusive lock on it for as long as it is
  // open: a second process journalling the same document gets jsLocked and writes nothing.
  TStart Start(const std::string& path, THeaderMaker header);
  bool Started() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

  // Queues bytes for the writer thread; costs a lock and a move, never a system call unless
  // the writer sleeps.
  void Append(std::string&& bytes);
  // Writes what is queued and syncs it to the disk now (the window lost the focus); waits at
  // most timeout for it.
  void SyncNow(std::chrono::milliseconds timeout = std::chrono::milliseconds(500));
  // Stops, closes and deletes the file.
  void Remove();

  // A write or sync failed (disk full, folder gone): what was lost is no longer on the disk.
  // Once failed, the writer drops further bytes; FailureText names the system's reason.
  bool Failed() const { return failed_.load(std::memory_order_relaxed); }
  std::string FailureText() const;

private:
  void Run(THeaderMaker header);
  bool WriteAll(const std::string& bytes);
  void Fail(int err);
  void Stop(bool unlinkFile = false);

  std::string path_;
  int fd_ = -1;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable synced_;
  std::string queued_;
  bool stop_ = false;
  bool syncWanted_ = false;
  bool waiting_ = false;  // the writer sleeps on wake_
  std::uint64_t syncRequests_ = 0;
  std::uint64_t syncsDone_ = 0;
  std::atomic<bool> failed_{false};
  int failure_ = 0;
};

}  // namespace vorn
