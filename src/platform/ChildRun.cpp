// TChildRun: non-blocking pipes to and from one child, moved along with poll().
#include "platform/ChildRun.h"

#include "platform/ProcessStart.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <thread>

namespace vorn {
namespace {

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Non-blocking, and with a pipe of a megabyte where the system allows it: ten megabytes then
// cost a few dozen wake-ups of each side instead of hundreds.
void SetNonBlocking(int fd) {
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
#ifdef F_SETPIPE_SZ
  ::fcntl(fd, F_SETPIPE_SZ, 1 << 20);
#endif
}

constexpr std::size_t kChunk = 1 << 20;

// A pipe whose both ends close on exec; the child gets its end through dup2 only.
bool MakePipe(int (&fds)[2]) { return ::pipe2(fds, O_CLOEXEC) == 0; }

// A child that stops reading must cost a write error here, not the editor's life. Only a
// disposition still at its default is changed; the child gets the default back at its start.
void IgnoreBrokenPipes() {
  static const bool once = [] {
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) ::signal(SIGPIPE, SIG_IGN);
    return true;
  }();
  (void)once;
}

}  // namespace

TChildRun::~TChildRun() {
  if (pid_ > 0 && !reaped_) Cancel();
  CloseAll();
}

bool TChildRun::Start(const std::string& program, const std::vector<std::string>& args, std::string input,
                      const std::string& folder, std::string* error, bool searchPath, bool feedInput) {
  IgnoreBrokenPipes();
  int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
  int nullIn = -1;
  bool ok = MakePipe(out) && MakePipe(err);
  if (ok && feedInput) ok = MakePipe(in);
  if (ok && !feedInput) ok = (nullIn = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;
  if (!ok) {
    if (error) *error = "pipe";
    for (int* fd : {&in[0], &in[1], &out[0], &out[1], &err[0], &err[1], &nullIn}) CloseFd(*fd);
    return false;
  }
  const TChildStdio stdio{feedInput ? in[0] : nullIn, out[1], err[1]};
  const bool started = SpawnChild(program, args, stdio, folder, pid_, error, searchPath);
  CloseFd(in[0]);
  CloseFd(out[1]);
  CloseFd(err[1]);
  CloseFd(nullIn);
  in_ = in[1];
  out_ = out[0];
  err_ = err[0];
  if (!started) {
    pid_ = 0;
    CloseAll();
    return false;
  }
  for (int fd : {in_, out_, err_})
    if (fd >= 0) SetNonBlocking(fd);
  input_ = std::move(input);
  written_ = 0;
  if (input_.empty()) CloseInput();
  return true;
}

void TChildRun::CloseInput() {
  CloseFd(in_);
  input_.clear();
  input_.shrink_to_fit();
}

bool TChildRun::Drain(int& fd, std::string& into) {
  for (;;) {
    // Read straight into the string's spare room.
    const std::size_t used = into.size();
    if (into.capacity() - used < kChunk) into.reserve(std::max(into.capacity() * 2, used + kChunk));
    into.resize(into.capacity());
    const ssize_t n = ::read(fd, into.data() + used, into.size() - used);
    into.resize(used + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return true;
    CloseFd(fd);
    return false;
  }
}

void TChildRun::Reap(bool block) {
  if (reaped_ || pid_ <= 0) return;
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == pid_ || (r < 0 && errno == ECHILD)) {
    reaped_ = true;
    exitCode_ = r == pid_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
}

bool TChildRun::Pump(int waitMs) {
  if (finished_ || pid_ <= 0) return finished_;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    pollfd fds[3];
    int n = 0;
    if (in_ >= 0) fds[n++] = pollfd{in_, POLLOUT, 0};
    if (out_ >= 0) fds[n++] = pollfd{out_, POLLIN, 0};
    if (err_ >= 0) fds[n++] = pollfd{err_, POLLIN, 0};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const int timeout = static_cast<int>(std::max<long long>(0, left.count()));
    if (n == 0) {
      // Both streams ended: the child is about to end, or has closed them and runs on.
      Reap(false);
      if (reaped_) break;
      if (timeout == 0) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeout, 5)));
      continue;
    }
    const int ready = ::poll(fds, static_cast<nfds_t>(n), timeout);
    if (ready < 0 && errno != EINTR) return false;
    for (int i = 0; i < n && ready > 0; ++i) {
      if (fds[i].revents == 0) continue;
      if (fds[i].fd == in_) {
        if (fds[i].revents & (POLLERR | POLLHUP)) {
          CloseInput();  // the child stopped reading: what it did not take is dropped
          continue;
        }
        const ssize_t w = ::write(in_, input_.data() + written_, std::min(input_.size() - written_, kChunk));
        if (w > 0) written_ += static_cast<std::size_t>(w);
        if ((w < 0 && errno != EAGAIN && errno != EINTR) || written_ == input_.size()) CloseInput();
      } else if (fds[i].fd == out_) {
        Drain(out_, output_);
      } else if (fds[i].fd == err_) {
        Drain(err_, errors_);
      }
    }
    if (timeout == 0 && ready == 0) return false;
  }
  finished_ = true;
  return true;
}

void TChildRun::Cancel(int graceMs) {
  if (pid_ <= 0 || reaped_) return;
  cancelled_ = true;
  CloseAll();
  ::kill(-pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(graceMs);
  while (!reaped_ && std::chrono::steady_clock::now() < deadline) {
    Reap(false);
    if (!reaped_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // The group may hold more than the child: what it started ends with it.
  ::kill(-pid_, SIGKILL);
  Reap(true);
  finished_ = true;
}

void TChildRun::Abandon() {
  CloseAll();
  if (pid_ > 0 && !reaped_) {
    const pid_t pid = pid_;
    std::thread([pid] {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
    reaped_ = true;
  }
  finished_ = true;
}

void TChildRun::CloseAll() {
  CloseFd(in_);
  CloseFd(out_);
  CloseFd(err_);
}

}  // namespace vorn
