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
#include <vector>

#include "platform/BusClient.h"
#include "platform/BusFolder.h"
#include "platform/NamedLock.h"
#include "shellcore/InstanceCoordination.h"

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

TEST_F(StationGateTest, StationsStartedAtTheSameMomentLeaveExactlyOne) {
  std::vector<pid_t> started;
  for (int i = 0; i < 4; ++i) started.push_back(Start("/H", "offscreen"));
  // All but one end at once through the gate; the one left holds it.
  std::vector<pid_t> running = started;
  int ended = 0;
  for (int waited = 0; waited < 1000 && ended < 3; ++waited) {
    for (auto it = running.begin(); it != running.end();) {
      int status = 0;
      if (::waitpid(*it, &status, WNOHANG) == *it) {
        EXPECT_TRUE(TurnedAwayByTheGate(status)) << status;
        ++ended;
        it = running.erase(it);
      } else {
        ++it;
      }
    }
    ::usleep(10000);
  }
  EXPECT_EQ(ended, 3);
  ASSERT_EQ(running.size(), 1u) << "two stations run";
  EXPECT_TRUE(vorn::TNamedLock::IsHeld(kStationLock));
  for (pid_t pid : running) Kill(pid);
}

TEST_F(StationGateTest, ExitAllEndsTheStationCleanlyAndFreesTheGate) {
  const pid_t station = Start("/H", "offscreen");
  ASSERT_TRUE(HoldsTheGate(station));
  const vorn::TBusFolder bus = vorn::TBusFolder::Default();
  std::int64_t id = 0;
  for (int waited = 0; waited < 1000 && id == 0; ++waited) {
    id = vorn::FindStation(bus.List());
    if (id == 0) ::usleep(10000);
  }
  ASSERT_NE(id, 0) << "the station never came onto the bus";
  // What an editor's exit all sends the station when "CloseAtAllClose" is on.
  ASSERT_TRUE(vorn::PostBusMessage(bus, id, vorn::MakeBusRequest(vorn::TBusMessage::bmClose)));
  const int status = WaitForEnd(station);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_FALSE(vorn::TNamedLock::IsHeld(kStationLock));
}

}  // namespace
