// Runs a test body in a forked child without root's rights, so permission refusals are real.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

namespace vorn::testing {

// The ids of "nobody"; no file of a test belongs to them unless the test says so.
constexpr uid_t kNobodyUid = 65534;
constexpr gid_t kNobodyGid = 65534;

// Exit codes of the child that are not the body's answer.
constexpr int kDropFailed = 90;
constexpr int kChildCrashed = 99;

// Runs body in a forked child and returns its result (0 to 89 by convention), kDropFailed when
// the child could not shed root, kChildCrashed when it died by a signal or body raised (the
// exception must not carry the child on into the rest of the test run). A root parent's child
// drops the supplementary groups (root's group would still open group-writable files), then
// the group and the user, and checks that root cannot be taken back. A non-root parent's child
// runs with the parent's rights, which permission bits already bind.
inline int RunUnprivileged(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(kNobodyGid) != 0 || ::setuid(kNobodyUid) != 0) ::_exit(kDropFailed);
      if (::setuid(0) == 0 || ::geteuid() == 0) ::_exit(kDropFailed);
    }
    int result = kChildCrashed;
    try {
      result = body();
    } catch (...) {
    }
    ::_exit(result);
  }
  if (pid < 0) return kDropFailed;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : kChildCrashed;
}

}  // namespace vorn::testing
