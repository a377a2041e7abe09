#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs the real program in station mode with its own runtime folder, so tests never meet a
// station that a user runs on the same machine.
class StationGateTest : public ::testing::Test {
protected:
  void SetUp() override {
    runtime_ = fs::temp_directory_path() / ("vorn-station-" + std::to_string(::getpid()));
    fs::create_directories(runtime_);
    ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  void TearDown() override { fs::remove_all(runtime_); }

  pid_t Start(const char* arg) {
    const std::string exe = std::string(VORN_BIN_DIR) + "/VornEditor";
    char* argv[] = {const_cast<char*>(exe.c_str()), const_cast<char*>(arg), nullptr};
    pid_t pid = -1;
    EXPECT_EQ(::posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, environ), 0);
    return pid;
  }

  // True when the process ended within the time; its status is stored.
  static bool EndsWithin(pid_t pid, std::chrono::milliseconds limit, int* status = nullptr) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int st = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      if (::waitpid(pid, &st, WNOHANG) == pid) {
        if (status) *status = st;
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  static void Kill(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }

  fs::path runtime_;
};

TEST_F(StationGateTest, SecondStationEndsAtOnceAndANewOneStartsAfterTheFirstIsKilled) {
  const pid_t first = Start("/H");
  ASSERT_FALSE(EndsWithin(first, std::chrono::milliseconds(1500)));  // holds the gate and stays

  int status = -1;
  const pid_t second = Start("/h");
  ASSERT_TRUE(EndsWithin(second, std::chrono::seconds(20), &status));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(EndsWithin(first, std::chrono::milliseconds(100)));

  Kill(first);  // SIGKILL: nothing of the process runs, the kernel drops its lock
  const pid_t third = Start("/H");
  EXPECT_FALSE(EndsWithin(third, std::chrono::milliseconds(1500)));
  Kill(third);
}

TEST_F(StationGateTest, DashHGivesStationModeWithoutTheGate) {
  const pid_t gated = Start("/H");
  ASSERT_FALSE(EndsWithin(gated, std::chrono::milliseconds(1500)));
  const pid_t ungated = Start("-h");  // not the gate: it runs beside the gated station
  EXPECT_FALSE(EndsWithin(ungated, std::chrono::milliseconds(1500)));
  Kill(ungated);
  Kill(gated);
}

}  // namespace
