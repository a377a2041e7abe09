// Named locks that stand in for named mutexes: a lock file in the per-user runtime folder,
// held through an open descriptor, so the kernel releases it when the process dies.
#pragma once

#include <string>

namespace vorn {

// The per-user runtime folder ($XDG_RUNTIME_DIR/VornEditor, else /tmp/VornEditor-<uid>),
// created with mode 0700 on first use.
std::string RuntimeFolder();

// Lock-file path for a name; names may hold spaces and any byte but "/" and NUL.
std::string NamedLockPath(const std::string& name);

class TNamedLock {
public:
  TNamedLock() = default;
  TNamedLock(const TNamedLock&) = delete;
  TNamedLock& operator=(const TNamedLock&) = delete;
  ~TNamedLock() { Release(); }

  // Takes the lock without waiting; false when another process (or descriptor) holds it.
  bool TryAcquire(const std::string& name);
  // Takes the lock, waiting at most timeoutMs milliseconds.
  bool Acquire(const std::string& name, int timeoutMs);
  void Release();
  bool Held() const { return fd_ >= 0; }

  // True when some process holds the named lock now.
  static bool IsHeld(const std::string& name);

private:
  int fd_ = -1;
};

}  // namespace vorn
