// The process's own memory figures as the kernel keeps them, for benchmarks that report them.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace vorn {

// A "/proc/self/status" field in kB (VmRSS:, VmHWM:), -1 when the kernel does not give it.
inline long StatusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
  return -1;
}

// Resets the kernel's peak-RSS mark, so that the next VmHWM reading covers only what follows.
inline void ResetPeakRss() {
  const int fd = ::open("/proc/self/clear_refs", O_WRONLY);
  if (fd < 0) return;
  if (::write(fd, "5", 1) != 1) {
    // An older kernel: the peak then covers the whole run, and the figure is an upper bound.
  }
  ::close(fd);
}

}  // namespace vorn
