// Starting another program with a parameter text, detached from this process.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vorn {

// The running executable's full path (/proc/self/exe).
std::string CurrentExecutablePath();

// Who collects a started child's exit status, so that it never lingers as a zombie.
enum class TChildReaping {
  crThread,      // a detached thread of this process waits for it (long-lived callers)
  crOwnerExits,  // nobody here: the caller ends at once and init adopts the child
};

// Starts program with the arguments split from paramText by the command-line rules and does
// not wait for it. The child runs in a session of its own, so closing the terminal or the
// session of this process does not end it. startedPid, when given, receives the child's
// process id. It starts in workingFolder, or in this process's current folder when that is
// empty. Returns false with an error text when it could not be started (a missing or
// non-executable program, or a working folder it cannot enter, included).
bool StartProgram(const std::string& program, const std::string& paramText, std::string* error = nullptr,
                  pid_t* startedPid = nullptr, TChildReaping reaping = TChildReaping::crThread,
                  const std::string& workingFolder = {});
bool StartProgramArgs(const std::string& program, const std::vector<std::string>& args, std::string* error = nullptr,
                      pid_t* startedPid = nullptr, TChildReaping reaping = TChildReaping::crThread,
                      const std::string& workingFolder = {});

// The standard streams a started child reads and writes; -1 leaves it this process's own.
struct TChildStdio {
  int in = -1;
  int out = -1;
  int err = -1;
};

// The one starter every child goes through: program with args (argv, never a shell line), in
// a session and process group of its own, with stdio in place of its standard streams. A
// program without a '/' is looked for along PATH when searchPath is set. The caller collects
// the child's status. Returns false with an error text when it could not be started.
bool SpawnChild(const std::string& program, const std::vector<std::string>& args, const TChildStdio& stdio,
                const std::string& workingFolder, pid_t& pid, std::string* error = nullptr, bool searchPath = false);

// Whether process pid still runs; an ended child not yet collected counts as ended.
bool ProcessRunning(pid_t pid);

}  // namespace vorn
