// Listening sockets of the bus, their registration and the request/reply exchange.
#include "platform/BusEndpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace vorn {
namespace {

// Our senders write the whole frame right after connecting; anything slower is not one of them.
constexpr int kFrameWaitMs = 250;

bool SocketAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Takes the endpoint's lock file and checks that the file locked is still the one at the
// path: a sweeper may unlink a lock file between our open and our flock.
int TakeLock(const std::string& path) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    struct stat held {}, now {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &now) == 0 &&
        held.st_ino == now.st_ino && held.st_dev == now.st_dev)
      return fd;
    ::close(fd);
  }
  return -1;
}

int Listen(const std::string& path) {
  sockaddr_un address;
  if (!SocketAddress(path, address)) return errno = ENAMETOOLONG, -1;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  ::unlink(path.c_str());  // left by a killed process of the same id: we hold its lock now
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 128) != 0) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
  }
  return fd;
}

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Reads until one whole request is in; nullopt on EOF, garbage or time-out.
std::optional<TBusRequest> ReadRequest(int fd) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kFrameWaitMs);
  std::string bytes;
  char buffer[4096];
  for (;;) {
    std::size_t used = 0;
    bool bad = false;
    if (auto request = DecodeBusRequest(bytes, used, bad)) return request;
    if (bad) return std::nullopt;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n > 0) {
      bytes.append(buffer, n);
      continue;
    }
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) return std::nullopt;
    pollfd p{fd, POLLIN, 0};
    const int left = RemainingMs(deadline);
    if (left == 0 || ::poll(&p, 1, left) == 0) return std::nullopt;
  }
}

void WriteAll(int fd, const std::string& bytes) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kFrameWaitMs);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += n;
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return;  // the sender gave up: nothing to do
    pollfd p{fd, POLLOUT, 0};
    const int left = RemainingMs(deadline);
    if (left == 0 || ::poll(&p, 1, left) == 0) return;
  }
}

}  // namespace

std::int64_t NextBusEndpointId() {
  static std::atomic<int> serial{0};
  return (static_cast<std::int64_t>(::getpid()) << 16) | ((++serial) & 0xFFFF);
}

TBusEndpoint::TBusEndpoint(TBusFolder folder) : folder_(std::move(folder)) {}

std::string TBusEndpoint::Open(const std::string& className, const std::string& title, THandler handler) {
  Close();
  if (std::string error = folder_.Prepare(); !error.empty()) return error;
  peer_ = TBusPeer();
  peer_.id = NextBusEndpointId();
  peer_.className = className;
  peer_.title = title;
  peer_.pid = ::getpid();
  peer_.activated = BusActivationStamp();
  handler_ = std::move(handler);
  lockFd_ = TakeLock(folder_.LockPath(peer_.id));
  if (lockFd_ < 0) return folder_.LockPath(peer_.id) + ": " + std::strerror(errno);
  listenFd_ = Listen(folder_.SocketPath(peer_.id));
  if (listenFd_ < 0 || !folder_.WriteRecord(peer_)) {
    const std::string reason = folder_.SocketPath(peer_.id) + ": " + std::strerror(errno);
    Close();
    return reason;
  }
  return {};
}

void TBusEndpoint::Close() {
  if (lockFd_ < 0 && listenFd_ < 0) return;
  ::unlink(folder_.RecordPath(peer_.id).c_str());
  ::unlink(folder_.SocketPath(peer_.id).c_str());
  if (listenFd_ >= 0) ::close(listenFd_);
  if (lockFd_ >= 0) {
    ::unlink(folder_.LockPath(peer_.id).c_str());
    ::close(lockFd_);
  }
  listenFd_ = lockFd_ = -1;
}

bool TBusEndpoint::SetTitle(const std::string& title) {
  peer_.title = title;
  return IsOpen() && folder_.WriteRecord(peer_);
}

bool TBusEndpoint::SetStates(bool enabled, bool minimized) {
  peer_.enabled = enabled;
  peer_.minimized = minimized;
  return IsOpen() && folder_.WriteRecord(peer_);
}

bool TBusEndpoint::MarkActivated() {
  peer_.activated = BusActivationStamp();
  return IsOpen() && folder_.WriteRecord(peer_);
}

void TBusEndpoint::Serve(int connection) {
  const std::optional<TBusRequest> request = ReadRequest(connection);
  TBusReply reply;
  if (!request) {
    reply.status = TBusStatus::bsBadRequest;
  } else if (handler_) {
    // A window may answer verbs beyond the registered names; its dispatch refuses the rest.
    reply = handler_(*request);
  } else if (!BusMessageFromName(request->name)) {
    reply.status = TBusStatus::bsUnknownMessage;
  }
  if (request && request->wantsReply) WriteAll(connection, EncodeBusReply(reply));
}

int TBusEndpoint::ProcessPending() {
  int handled = 0;
  while (listenFd_ >= 0) {
    const int connection = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      break;
    }
    Serve(connection);
    ::close(connection);
    ++handled;
  }
  return handled;
}

int TBusEndpoint::WaitAndProcess(int timeoutMs) {
  if (listenFd_ < 0) return 0;
  pollfd p{listenFd_, POLLIN, 0};
  if (::poll(&p, 1, timeoutMs) <= 0) return 0;
  return ProcessPending();
}

}  // namespace vorn
