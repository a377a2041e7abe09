// A second start of the real program on a file this process's window already shows: the window
// takes the start's line jump, and the second process ends without a window of its own.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "editor/VornEdit.h"
#include "TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace vorn {
namespace {

namespace fs = std::filesystem;

// A copy of the programs in a folder of the test's, so the second process keeps its settings
// there ("UsrDir.dat" names its user folder) and never in the build's.
std::string ProgramCopy(const testing::TTempFolder& tmp) {
  const std::string folder = tmp / "programs/";
  fs::create_directories(folder + "user");
  for (const char* name : {"VornEditor", "libVornRegexp.so"}) {
    const fs::path from = fs::path(VORN_BIN_DIR) / name;
    std::error_code linked;
    fs::create_hard_link(from, folder + name, linked);
    if (linked) fs::copy_file(from, folder + name);
  }
  std::ofstream(folder + "UsrDir.dat", std::ios::binary) << "user\r\n";
  std::ofstream(folder + "user/Common.ini", std::ios::binary) << "[Standard]\r\nRestrictAlreadyOpenMsg=1\r\n";
  return folder;
}

pid_t StartProgram(const std::string& exe, const std::vector<std::string>& args) {
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

TEST(SecondStart, OnAFileShownElsewhereJumpsThereAndEndsWithoutAWindow) {
  testing::TTempFolder tmp("vorn-second-start");
  const std::string program = ProgramCopy(tmp);
  const std::string notes = tmp.Write("notes.txt", "one\r\ntwo\r\nthree\r\nfour\r\n");
  testing::TQuietPrompts prompts;
  TVornEditMain first;
  testing::MakeQuiet(first, prompts);
  ASSERT_TRUE(first.ProcessCommandLine({notes}));
  ASSERT_EQ(first.OpenBus(TBusFolder::Default()), "");

  QElapsedTimer started;
  started.start();
  const pid_t second = StartProgram(program + "VornEditor", {notes, "-j3"});
  int status = -1;
  while (::waitpid(second, &status, WNOHANG) == 0 && started.elapsed() < 10000)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_TRUE(WIFEXITED(status)) << "the second process still runs or was killed";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  QApplication::processEvents();
  EXPECT_EQ(first.Editor()->Core().CaretRow(), 2);
  // Only the first window ever stood on the bus.
  EXPECT_EQ(TBusFolder::Default().List().size(), 1u);
}

}  // namespace
}  // namespace vorn
