// A second start of the real program on a file this process's window already shows: the window
// takes the start's line jump, and the second process ends without a window of its own.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "editor/VornEdit.h"
#include "ProgramCopy.h"
#include "TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace vorn {
namespace {

using testing::ProgramCopy;
using testing::StartProgram;

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
