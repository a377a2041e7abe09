// Starting and stopping helper processes for the bus tests.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::test {

// A child process whose first output line is read; killed and reaped on destruction.
class TChild {
public:
  TChild(const std::string& program, const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::close(out[0]);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line_ += c;
    ::close(out[0]);
  }
  ~TChild() { Kill(SIGKILL); }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;

  const std::string& Line() const { return line_; }
  // The endpoint id of a "ready <id>" line; 0 otherwise.
  std::int64_t Id() const { return line_.rfind("ready ", 0) == 0 ? std::stoll(line_.substr(6)) : 0; }
  pid_t Pid() const { return pid_; }
  // Kills and reaps; returns the wait status.
  int Kill(int signal) {
    if (pid_ <= 0) return status_;
    ::kill(pid_, signal);
    ::waitpid(pid_, &status_, 0);
    pid_ = -1;
    return status_;
  }
  int Wait() {
    if (pid_ > 0) ::waitpid(pid_, &status_, 0);
    pid_ = -1;
    return status_;
  }

private:
  pid_t pid_ = -1;
  int status_ = 0;
  std::string line_;
};

inline std::string PeerProgram() { return std::string(VORN_BIN_DIR) + "/bus_test_peer"; }

}  // namespace vorn::test
