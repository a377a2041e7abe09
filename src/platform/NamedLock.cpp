// Named locks over flock(2) on lock files in the per-user runtime folder.
#include "platform/NamedLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace vorn {
namespace {

// The lock name is a file name here: "/" cannot appear in one.
std::string FileNameOf(const std::string& name) {
  std::string out = name;
  for (char& c : out)
    if (c == '/' || c == '\0') c = '_';
  return out + ".lock";
}

// Keeps one display's station apart from another's, as one station per desktop requires.
std::string DisplaySuffix() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* x11 = std::getenv("DISPLAY");
  std::string d = (wayland && *wayland) ? wayland : (x11 && *x11) ? x11 : "";
  for (char& c : d)
    if (c == '/') c = '_';
  return d.empty() ? std::string() : "-" + d;
}

int OpenLockFile(const std::string& name) {
  return ::open(NamedLockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

}  // namespace

std::string RuntimeFolder() {
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  std::string base = (xdg && *xdg) ? std::string(xdg) + "/VornEditor"
                                   : "/tmp/VornEditor-" + std::to_string(::getuid());
  base += DisplaySuffix();
  if (::mkdir(base.c_str(), 0700) != 0 && errno != EEXIST) return "/tmp";
  return base;
}

std::string NamedLockPath(const std::string& name) { return RuntimeFolder() + "/" + FileNameOf(name); }

bool TNamedLock::TryAcquire(const std::string& name) {
  Release();
  const int fd = OpenLockFile(name);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool TNamedLock::Acquire(const std::string& name, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!TryAcquire(name)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

void TNamedLock::Release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

bool TNamedLock::IsHeld(const std::string& name) {
  TNamedLock probe;
  return !probe.TryAcquire(name);
}

}  // namespace vorn
