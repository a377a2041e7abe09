// TChildRun: an outside program fed from memory and read back into memory, moved along a step
// at a time so that the caller's event loop keeps running while it works.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

namespace vorn {

class TChildRun {
public:
  TChildRun() = default;
  // A run still going is cancelled: nothing outlives the object that started it.
  ~TChildRun();
  TChildRun(const TChildRun&) = delete;
  TChildRun& operator=(const TChildRun&) = delete;

  // Starts program with args (argv, no shell) in folder, with input as its standard input
  // (closed at once when empty and feedInput is false: the child sees end of file, or no
  // input at all when feedInput is false). Returns false with a reason when it could not start.
  bool Start(const std::string& program, const std::vector<std::string>& args, std::string input,
             const std::string& folder, std::string* error, bool searchPath = true, bool feedInput = true);

  // Writes input and reads output at the same time for at most waitMs milliseconds, so a
  // child that fills its output pipe before it has read all its input never stalls either
  // side. Returns true once the child has ended and both its output streams are at their end.
  bool Pump(int waitMs);
  bool Finished() const { return finished_; }

  // Ends the child and everything it started (its process group): TERM, then KILL when it has
  // not gone within graceMs. Waits for it; the output read so far is kept.
  void Cancel(int graceMs = 300);
  // Stops waiting but lets the child run on: our ends of the pipes are closed and the child's
  // status is collected in the background.
  void Abandon();

  bool Cancelled() const { return cancelled_; }
  // The exit code once finished; -1 after a signal.
  int ExitCode() const { return exitCode_; }
  pid_t Pid() const { return pid_; }
  const std::string& Output() const { return output_; }
  const std::string& Errors() const { return errors_; }
  std::string TakeOutput() { return std::move(output_); }

private:
  void CloseInput();
  // Reads what is there; false at the end of the stream.
  bool Drain(int& fd, std::string& into);
  void Reap(bool block);
  void CloseAll();

  pid_t pid_ = 0;
  int in_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string input_;
  std::size_t written_ = 0;
  std::string output_;
  std::string errors_;
  bool reaped_ = false;
  bool finished_ = false;
  bool cancelled_ = false;
  int exitCode_ = -1;
};

}  // namespace vorn
