// The station gate through the real program: who takes it, who ends, and who runs beside it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/NamedLock.h"

namespace {

namespace fs = std::filesystem;

// The lock every gated station takes; the program and its users agree on this name.
constexpr const char* kStationLock = "hVORNEDITOR STATION";

// A platform plugin that does not exist: a program that gets past the gate dies creating its
// application object, one that the gate turns away ends with 0 before it. Both end, so every
// outcome is seen by waiting for the process, never by a time window.
constexpr const char* kNoPlatform = "vorn-no-such-platform";

// Runs the real program in station mode with its own runtime folder, so tests never meet a
// station that a user runs on the same machine.
class StationGateTest : public ::testing::Test {
protected:
  void SetUp() override {
    runtime_ = fs::temp_directory_path() / ("vorn-station-" + std::to_string(::getpid()));
    fs::create_directories(runtime_);
    // The test takes and probes the lock in its own process, so it must name the same folder.
    ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
  }
  void TearDown() override { fs::remove_all(runtime_); }

  static pid_t Start(const char* arg, const char* platform) {
    const std::string exe = std::string(VORN_BIN_DIR) + "/VornEditor";
    const pid_t pid = ::fork();
    if (pid == 0) {
      const rlimit noCore = {0, 0};  // the refused platform aborts; no core file for that
      ::setrlimit(RLIMIT_CORE, &noCore);
      ::setenv("QT_QPA_PLATFORM", platform, 1);
      char* argv[] = {const_cast<char*>(exe.c_str()), const_cast<char*>(arg), nullptr};
      ::execv(exe.c_str(), argv);
      ::_exit(127);
    }
    return pid;
  }

  static int WaitForEnd(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
  }

  static bool TurnedAwayByTheGate(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }
  static bool GotPastTheGate(int status) {
    return (WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT) || (WIFEXITED(status) && WEXITSTATUS(status) != 0 &&
                                                                    WEXITSTATUS(status) != 127);
  }

  // Waits until pid holds the station lock; false when it ends first.
  static bool HoldsTheGate(pid_t pid) {
    while (!vorn::TNamedLock::IsHeld(kStationLock)) {
      if (::waitpid(pid, nullptr, WNOHANG) == pid) return false;
      ::usleep(5000);
    }
    return true;
  }

  static void Kill(pid_t pid) {
    ::kill(pid, SIGKILL);
    WaitForEnd(pid);
  }

  fs::path runtime_;
};

TEST_F(StationGateTest, SecondStationEndsAtOnceAndANewOneStartsAfterTheFirstIsKilled) {
  const pid_t first = Start("/H", "offscreen");
  ASSERT_TRUE(HoldsTheGate(first));

  const int second = WaitForEnd(Start("/h", kNoPlatform));
  EXPECT_TRUE(TurnedAwayByTheGate(second)) << second;
  EXPECT_EQ(::waitpid(first, nullptr, WNOHANG), 0);  // the first station runs on, gate held
  EXPECT_TRUE(vorn::TNamedLock::IsHeld(kStationLock));

  Kill(first);  // SIGKILL: nothing of the process runs, the kernel drops its lock
  EXPECT_FALSE(vorn::TNamedLock::IsHeld(kStationLock));
  const pid_t third = Start("/H", "offscreen");
  EXPECT_TRUE(HoldsTheGate(third));
  Kill(third);
}

TEST_F(StationGateTest, DashHGivesStationModeWithoutTheGate) {
  vorn::TNamedLock held;  // this test is the running gated station
  ASSERT_TRUE(held.TryAcquire(kStationLock));
  const int gated = WaitForEnd(Start("/A", kNoPlatform));
  EXPECT_TRUE(TurnedAwayByTheGate(gated)) << gated;
  const int ungated = WaitForEnd(Start("-h", kNoPlatform));  // not the gate: it goes on to start
  EXPECT_TRUE(GotPastTheGate(ungated)) << ungated;
  held.Release();
  const int free = WaitForEnd(Start("/H", kNoPlatform));  // with the gate free a station starts
  EXPECT_TRUE(GotPastTheGate(free)) << free;
}

}  // namespace
