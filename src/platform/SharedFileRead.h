// Reading a settings file the way the system opens it "for reading, denying others write
// access": an attempt fails while another program holds the file for writing, and callers
// retry a bounded number of times.
#pragma once

#include <chrono>
#include <string>

namespace vorn {

// How often and how long a reader retries a file that another process holds.
struct TShareRetry {
  int attempts = 51;
  std::chrono::milliseconds delay{100};
};

// One attempt: reads the whole file unless a writer holds it (an exclusive flock, or an OFD or
// POSIX write lock). Returns 0 or the errno of the failure.
int ReadFileDenyingWriters(const std::string& path, std::string& bytes);

// Attempts until one succeeds or retry.attempts have failed (at least one attempt). Returns 0
// or the errno of the last failure.
int ReadFileDenyingWritersWithRetry(const std::string& path, std::string& bytes, const TShareRetry& retry);

}  // namespace vorn
