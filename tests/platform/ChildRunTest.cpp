// The piped child: both directions at once, the end of a program group, and failures.
#include "platform/ChildRun.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>

#include "TempFolder.h"

namespace vorn {
namespace {

bool RunToEnd(TChildRun& run, int limitMs = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!run.Pump(20))
    if (std::chrono::steady_clock::now() > deadline) return false;
  return true;
}

// cat echoes as it reads: with 8 MB in and out, a writer that waits to finish writing before
// it reads would stall once both pipes are full.
TEST(ChildRun, LargeInputAndOutputFlowAtTheSameTime) {
  std::string input;
  for (int i = 0; input.size() < 8u << 20; ++i) input += "line " + std::to_string(i) + " \x82\xa0\x82\xa2\n";
  TChildRun run;
  std::string error;
  ASSERT_TRUE(run.Start("cat", {}, input, {}, &error)) << error;
  ASSERT_TRUE(RunToEnd(run));
  EXPECT_EQ(run.ExitCode(), 0);
  EXPECT_TRUE(run.Output() == input);
}

TEST(ChildRun, ExitCodeErrorsAndAProgramThatReadsNothing) {
  TChildRun run;
  std::string error;
  // head stops reading after one line: the rest of the input must not break the editor.
  ASSERT_TRUE(run.Start("sh", {"-c", "head -n 1; echo oops >&2; exit 3"}, std::string(4 << 20, 'x') + "\n", {},
                        &error));
  ASSERT_TRUE(RunToEnd(run));
  EXPECT_EQ(run.ExitCode(), 3);
  EXPECT_EQ(run.Errors(), "oops\n");
  EXPECT_EQ(run.Output().size(), (4u << 20) + 1);

  TChildRun missing;
  EXPECT_FALSE(missing.Start("/nonexistent/program", {}, {}, {}, &error));
  EXPECT_FALSE(error.empty());
}

// Cancel ends the child and what it started: the grandchild holds the output pipe open, so a
// run that only killed the child would never see its end.
TEST(ChildRun, CancelEndsTheWholeGroupAndKeepsWhatWasRead) {
  testing::TTempFolder folder;
  const std::string pidFile = folder / "grandchild";
  TChildRun run;
  std::string error;
  ASSERT_TRUE(run.Start("sh", {"-c", "echo started; sleep 300 & echo $! > '" + pidFile + "'; wait"}, {}, {}, &error));
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (run.Output().empty() && std::chrono::steady_clock::now() < until) run.Pump(20);
  EXPECT_FALSE(run.Pump(200));
  const auto before = std::chrono::steady_clock::now();
  run.Cancel();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(3));
  EXPECT_TRUE(run.Cancelled());
  EXPECT_EQ(run.Output(), "started\n");
  int grandchild = 0;
  std::ifstream(pidFile) >> grandchild;
  ASSERT_GT(grandchild, 0);
  // The grandchild was reparented, so it may linger as a zombie for a moment; it must not run.
  bool gone = false;
  for (int i = 0; i < 200 && !gone; ++i) {
    std::ifstream stat("/proc/" + std::to_string(grandchild) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), {});
    const auto close = all.rfind(')');
    gone = all.empty() || (close != std::string::npos && close + 2 < all.size() && all[close + 2] == 'Z');
    if (!gone) ::usleep(10000);
  }
  EXPECT_TRUE(gone);
}

TEST(ChildRun, DestroyingARunningChildEndsIt) {
  pid_t pid = 0;
  {
    TChildRun run;
    std::string error;
    ASSERT_TRUE(run.Start("sleep", {"300"}, {}, {}, &error));
    pid = run.Pid();
  }
  EXPECT_NE(::kill(pid, 0), 0);
}

}  // namespace
}  // namespace vorn
