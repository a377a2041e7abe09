// Starting another program detached, through a double fork so that init reaps it.
#include "platform/ProcessStart.h"

#include "platform/PathPolicy.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

extern char** environ;

namespace vorn {

std::string CurrentExecutablePath() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

bool StartProgram(const std::string& program, const std::string& paramText, std::string* error) {
  return StartProgramArgs(program, SplitParamText(paramText), error);
}

bool StartProgramArgs(const std::string& program, const std::vector<std::string>& args, std::string* error) {
  // Everything the children touch is prepared here: after fork only async-signal-safe calls.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int pipeFd[2];  // carries the grandchild's exec errno back; closed on a successful exec
  if (::pipe2(pipeFd, O_CLOEXEC) != 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  const pid_t child = ::fork();
  if (child < 0) {
    if (error) *error = std::strerror(errno);
    ::close(pipeFd[0]);
    ::close(pipeFd[1]);
    return false;
  }
  if (child == 0) {
    ::close(pipeFd[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::execve(program.c_str(), argv.data(), environ);
      const int e = errno;
      (void)!::write(pipeFd[1], &e, sizeof e);
      ::_exit(127);
    }
    if (grandchild < 0) {
      const int e = errno;
      (void)!::write(pipeFd[1], &e, sizeof e);
    }
    ::_exit(0);
  }
  ::close(pipeFd[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int childErrno = 0;
  ssize_t got;
  while ((got = ::read(pipeFd[0], &childErrno, sizeof childErrno)) < 0 && errno == EINTR) {
  }
  ::close(pipeFd[0]);
  if (got == static_cast<ssize_t>(sizeof childErrno)) {
    if (error) *error = std::strerror(childErrno);
    return false;
  }
  return true;
}

}  // namespace vorn
