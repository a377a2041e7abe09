// The built program started as a real process of its own, from a copy in a test's folder.
#pragma once

#include "TempFolder.h"

#include <stdlib.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::testing {

// The common settings a copy starts with unless told otherwise: a second start hands its
// file over without a message box that nobody could answer.
inline constexpr std::string_view kQuietCommonIni = "[Standard]\r\nRestrictAlreadyOpenMsg=1\r\n";

// A copy of the programs in a folder of the test's, so the processes keep their settings there
// ("UsrDir.dat" names their user folder, "user/") and never in the build's. An empty commonIni
// leaves the copy with the built-in common settings.
inline std::string ProgramCopy(const TTempFolder& tmp, std::string_view commonIni = kQuietCommonIni) {
  namespace fs = std::filesystem;
  const std::string folder = tmp / "programs/";
  fs::create_directories(folder + "user");
  for (const char* name : {"VornEditor", "libVornRegexp.so"}) {
    const fs::path from = fs::path(VORN_BIN_DIR) / name;
    std::error_code linked;
    fs::create_hard_link(from, folder + name, linked);
    if (linked) fs::copy_file(from, folder + name);
  }
  std::ofstream(folder + "UsrDir.dat", std::ios::binary) << "user\r\n";
  if (!commonIni.empty()) std::ofstream(folder + "user/Common.ini", std::ios::binary) << commonIni;
  return folder;
}

// Starts exe with args on the offscreen platform; the child inherits the test's runtime folder,
// so it meets the test on the test's own bus.
inline pid_t StartProgram(const std::string& exe, const std::vector<std::string>& args) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(exe.c_str(), argv.data());
    ::_exit(127);
  }
  return pid;
}

}  // namespace vorn::testing
