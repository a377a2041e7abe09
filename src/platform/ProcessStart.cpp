// Starting another program detached: one posix_spawn (a vfork-like clone, far cheaper than the
// fork of a large process), the child in a session of its own, its status collected off the
// caller's thread.
#include "platform/ProcessStart.h"

#include "platform/PathPolicy.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <thread>

extern char** environ;

namespace vorn {
namespace {

// RAII for the spawn attributes, so every return path destroys them.
class TSpawnAttributes {
public:
  TSpawnAttributes() { ok_ = ::posix_spawnattr_init(&attr_) == 0; }
  ~TSpawnAttributes() {
    if (ok_) ::posix_spawnattr_destroy(&attr_);
  }
  TSpawnAttributes(const TSpawnAttributes&) = delete;
  TSpawnAttributes& operator=(const TSpawnAttributes&) = delete;

  // A new session, an empty signal mask and SIGPIPE back to its default: the child must not
  // inherit the editor's blocked or ignored signals, and exec keeps both.
  void Prepare() {
    if (!ok_) return;
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
    flags |= POSIX_SPAWN_SETSID;
#endif
    sigset_t none, defaults;
    ::sigemptyset(&none);
    ::sigemptyset(&defaults);
    ::sigaddset(&defaults, SIGPIPE);
    ::posix_spawnattr_setsigmask(&attr_, &none);
    ::posix_spawnattr_setsigdefault(&attr_, &defaults);
    ::posix_spawnattr_setflags(&attr_, flags);
  }
  const posix_spawnattr_t* Get() const { return ok_ ? &attr_ : nullptr; }

private:
  posix_spawnattr_t attr_{};
  bool ok_ = false;
};

// Waits for the one child only (never -1), so QProcess and anyone else keep their own children.
void ReapInBackground(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

std::string CurrentExecutablePath() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

bool StartProgram(const std::string& program, const std::string& paramText, std::string* error, pid_t* startedPid,
                  TChildReaping reaping, const std::string& workingFolder) {
  return StartProgramArgs(program, SplitParamText(paramText), error, startedPid, reaping, workingFolder);
}

bool SpawnChild(const std::string& program, const std::vector<std::string>& args, const TChildStdio& stdio,
                const std::string& workingFolder, pid_t& pid, std::string* error, bool searchPath) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  TSpawnAttributes attributes;
  attributes.Prepare();
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  // dup2 clears close-on-exec on the target, so only these three reach the child.
  if (stdio.in >= 0) ::posix_spawn_file_actions_adddup2(&actions, stdio.in, STDIN_FILENO);
  if (stdio.out >= 0) ::posix_spawn_file_actions_adddup2(&actions, stdio.out, STDOUT_FILENO);
  if (stdio.err >= 0) ::posix_spawn_file_actions_adddup2(&actions, stdio.err, STDERR_FILENO);
  if (!workingFolder.empty()) ::posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
  // glibc reports a failed exec (missing file, no permission) as the result of the call itself.
  const int result = searchPath
                         ? ::posix_spawnp(&pid, program.c_str(), &actions, attributes.Get(), argv.data(), environ)
                         : ::posix_spawn(&pid, program.c_str(), &actions, attributes.Get(), argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (result != 0) {
    if (error) *error = std::strerror(result);
    return false;
  }
  return true;
}

bool StartProgramArgs(const std::string& program, const std::vector<std::string>& args, std::string* error,
                      pid_t* startedPid, TChildReaping reaping, const std::string& workingFolder) {
  pid_t pid = 0;
  if (!SpawnChild(program, args, TChildStdio{}, workingFolder, pid, error)) return false;
  if (startedPid) *startedPid = pid;
  if (reaping == TChildReaping::crThread) ReapInBackground(pid);
  return true;
}

bool ProcessRunning(pid_t pid) {
  if (pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH)) return false;
  // kill() answers for a zombie too; its state letter in /proc tells.
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
  FILE* f = std::fopen(path, "r");
  if (!f) return true;  // no /proc: trust kill()
  char buf[512] = {};
  const std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  const char* close = std::strrchr(buf, ')');
  return !(close && close + 2 < buf + n && close[2] == 'Z');
}

}  // namespace vorn
