// Connections of the sending side, driven together by one poll loop under one deadline.
#include "platform/BusClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

namespace vorn {
namespace {

using TClock = std::chrono::steady_clock;

struct TExchange {
  int fd = -1;
  std::string out;        // bytes still to write
  std::string in;         // reply bytes so far
  bool done = false;
  TBusReply reply;
};

void Finish(TExchange& x, TBusStatus status) {
  x.reply = TBusReply();
  x.reply.status = status;
  x.done = true;
}

// Connects without blocking. A full backlog (a peer that stopped accepting) counts as a
// time-out; a missing or refusing socket means the peer is gone, and its files are swept.
void Connect(const TBusFolder& folder, std::int64_t target, TExchange& x) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = folder.SocketPath(target);
  if (path.size() >= sizeof address.sun_path) return Finish(x, TBusStatus::bsNoPeer);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  x.fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (x.fd < 0) return Finish(x, TBusStatus::bsNoPeer);
  if (::connect(x.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return;
  if (errno == EAGAIN || errno == EINPROGRESS) return Finish(x, TBusStatus::bsTimedOut);
  folder.SweepIfDead(target);
  Finish(x, TBusStatus::bsNoPeer);
}

void Pump(TExchange& x, bool wantsReply) {
  while (!x.out.empty()) {
    const ssize_t n = ::send(x.fd, x.out.data(), x.out.size(), MSG_NOSIGNAL);
    if (n > 0) {
      x.out.erase(0, n);
      continue;
    }
    if (errno == EAGAIN || errno == EINTR) return;
    return Finish(x, TBusStatus::bsPeerClosed);
  }
  if (!wantsReply) {
    x.reply.status = TBusStatus::bsHandled;
    x.done = true;
    return;
  }
  char buffer[4096];
  bool ended = false;
  for (;;) {
    const ssize_t n = ::recv(x.fd, buffer, sizeof buffer, 0);
    if (n > 0) {
      x.in.append(buffer, n);
      continue;
    }
    ended = n == 0 || (errno != EAGAIN && errno != EINTR);
    break;
  }
  std::size_t used = 0;
  bool bad = false;
  if (auto reply = DecodeBusReply(x.in, used, bad)) {
    x.reply = *reply;
    x.done = true;
  } else if (bad || ended) {
    Finish(x, TBusStatus::bsPeerClosed);
  }
}

// A closed connection without a whole reply is a peer that died while handling.
void CheckHangUp(TExchange& x, short revents) {
  if (!x.done && (revents & (POLLHUP | POLLERR))) Finish(x, TBusStatus::bsPeerClosed);
}

void RunExchanges(std::vector<TExchange>& all, bool wantsReply, int timeoutMs) {
  const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
  for (TExchange& x : all)
    if (!x.done) Pump(x, wantsReply);
  for (;;) {
    std::vector<pollfd> waits;
    std::vector<TExchange*> owners;
    for (TExchange& x : all) {
      if (x.done) continue;
      waits.push_back({x.fd, static_cast<short>(x.out.empty() ? POLLIN : POLLOUT), 0});
      owners.push_back(&x);
    }
    if (waits.empty()) return;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    if (left <= 0 || ::poll(waits.data(), waits.size(), static_cast<int>(left)) == 0) break;
    for (std::size_t i = 0; i < waits.size(); ++i) {
      if (waits[i].revents == 0) continue;
      Pump(*owners[i], wantsReply);
      CheckHangUp(*owners[i], waits[i].revents);
    }
  }
  for (TExchange& x : all)
    if (!x.done) Finish(x, TBusStatus::bsTimedOut);
}

std::vector<TExchange> Exchange(const TBusFolder& folder, const std::vector<std::int64_t>& targets,
                                const TBusRequest& request, int timeoutMs) {
  const std::string frame = EncodeBusRequest(request);
  std::vector<TExchange> all(targets.size());
  for (std::size_t i = 0; i < targets.size(); ++i) {
    all[i].out = frame;
    Connect(folder, targets[i], all[i]);
  }
  RunExchanges(all, request.wantsReply, timeoutMs);
  for (TExchange& x : all)
    if (x.fd >= 0) ::close(x.fd);
  return all;
}

}  // namespace

std::vector<TBusReply> SendBusMessageToAll(const TBusFolder& folder, const std::vector<std::int64_t>& targets,
                                           TBusRequest request, int timeoutMs) {
  request.wantsReply = true;
  std::vector<TBusReply> replies;
  for (TExchange& x : Exchange(folder, targets, request, timeoutMs)) replies.push_back(std::move(x.reply));
  return replies;
}

TBusReply SendBusMessage(const TBusFolder& folder, std::int64_t target, TBusRequest request, int timeoutMs) {
  return SendBusMessageToAll(folder, {target}, std::move(request), timeoutMs).front();
}

bool PostBusMessage(const TBusFolder& folder, std::int64_t target, TBusRequest request) {
  request.wantsReply = false;
  // Our frames fit the socket buffer whole, so a short wait only covers a busy kernel.
  return Exchange(folder, {target}, request, 100).front().reply.status == TBusStatus::bsHandled;
}

}  // namespace vorn
