// Keyboard macros through the window: recording typed Japanese and moves with the title saying
// so, replaying, saving and running the file from the menu's command; a macro line from
// another process over the bus; and a start on a file another editor shows, which hands that
// editor its macro line and ends.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "TempFolder.h"
#include "editor/VornEdit.h"
#include "macro/MacroFile.h"
#include "platform/BusClient.h"
#include "platform/BusFolder.h"
#include "shell/MacroPart.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/InstanceCoordination.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>

#include <csignal>
#include <future>

#include <sys/wait.h>
#include <unistd.h>

namespace vorn {
namespace {

using testing::ReadBytes;
using testing::TQuietPrompts;

void Settle(int ms = 50) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void Commit(TVornEdit& pane, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(&pane, &event);
}

class MacroWindowTest : public ::testing::Test {
protected:
  std::unique_ptr<TVornEditMain> NewWindow() {
    auto w = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*w, prompts_);
    w->Services().startProgram = [](const std::string&) {};
    return w;
  }
  bool Run(TVornEditMain& w, std::string_view name) { return w.RunFunction(FunctionNumber(name), false); }

  vorn::testing::TTempFolder dir_;
  TQuietPrompts prompts_;
};

TEST_F(MacroWindowTest, RecordedTypingAndMovesReplaySaveAndRunFromTheFile) {
  const std::string path = dir_.Write("doc.txt", "abc\r\ndef\r\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->LoadDocument(path, false));
  TVornEdit& pane = *w->Editor();
  ASSERT_TRUE(Run(*w, "ToggleMacroRecord"));
  EXPECT_TRUE(w->windowTitle().contains(QStringLiteral("[★記録中]"))) << w->windowTitle().toStdString();
  Commit(pane, QStringLiteral("日本"));
  // Commands closer than 100 ms count as a held key, which moves two rows at an edge.
  Settle(120);
  Run(*w, "CursorDown");
  Settle(120);
  Run(*w, "MoveLineEnd");
  Commit(pane, QStringLiteral("語"));
  ASSERT_TRUE(Run(*w, "ToggleMacroRecord"));
  EXPECT_FALSE(w->windowTitle().contains(QStringLiteral("記録中")));
  EXPECT_EQ(w->ShownText(), QStringLiteral("日本abc\ndef語\n"));

  pane.Core().SetCaretPos(0, 0);
  ASSERT_TRUE(Run(*w, "ReplayMacro"));
  EXPECT_EQ(w->ShownText(), QStringLiteral("日本日本abc\ndef語語\n"));
  EXPECT_EQ(w->MacroArguments(), nullptr);

  const std::string saved = dir_ / "typed.mac";
  w->Services().macroDialogs.askSaveName = [&](const std::string&) { return std::optional(saved); };
  w->Services().macroDialogs.askDescription = [](const std::string&) { return std::string("typing"); };
  ASSERT_TRUE(Run(*w, "SaveMacro"));
  EXPECT_EQ(ReadBytes(saved),
            "// typing\r\nInputStr(\"\x93\xfa\x96\x7b\")\r\nCursorDown\r\nMoveLineEnd\r\nInputStr(\"\x8c\xea\")\r\n");

  pane.Core().SetCaretPos(0, 0);
  w->Services().macroDialogs.chooseMacro = [&] { return std::optional(saved); };
  ASSERT_TRUE(Run(*w, "ExtMacroExecute"));
  EXPECT_TRUE(w->ShownText().startsWith(QStringLiteral("日本日本日本abc"))) << w->ShownText().toStdString();
  EXPECT_TRUE(prompts_.said.empty());
}

TEST_F(MacroWindowTest, AMacroLineFromAnotherProcessRunsInTheWindowAndASelfCallStops) {
  ASSERT_EQ(::mkdir((dir_ / "run").c_str(), 0700), 0);
  const TBusFolder folder(dir_ / "run");
  auto w = NewWindow();
  ASSERT_EQ(w->OpenBus(folder), "");
  const std::int64_t target = w->BusId();
  auto send = [&](TBusMessage message, const std::string& text) {
    TBusRequest request = MakeBusRequest(message, 0, 0, text);
    auto answer = std::async(std::launch::async, [=] { return SendBusMessage(folder, target, request, 5000); });
    while (answer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    return answer.get();
  };
  EXPECT_EQ(send(TBusMessage::bmLineMacroExec, "InputStr(\"\x82\xa0\")").status, TBusStatus::bsHandled);
  Settle();
  EXPECT_EQ(w->ShownText(), QStringLiteral("あ"));

  dir_.Write("self.mac", "ExtMacroExecute(\"" + dir_ / "self.mac" + "\")\r\n");
  send(TBusMessage::bmExternalMacroExec, dir_ / "self.mac");
  Settle();
  ASSERT_EQ(prompts_.said.size(), 1u);
  EXPECT_NE(prompts_.said[0].find("16 段を超えました"), std::string::npos);
}

// The editor that shows the file is a real process; this one starts as the program does on
// the same file with a macro line, hands the line over and ends without a window. The other
// editor then saves, and its file shows what the line typed.
TEST_F(MacroWindowTest, AStartOnAFileAnotherEditorShowsRunsTheLineThere) {
  const std::string path = dir_.Write("shown.txt", "tail\r\n");
  const std::string exe = std::string(VORN_BIN_DIR) + "/VornEditor";
  const pid_t shower = ::fork();
  if (shower == 0) {
    char* argv[] = {const_cast<char*>(exe.c_str()), const_cast<char*>("-f"), const_cast<char*>(path.c_str()), nullptr};
    ::execv(exe.c_str(), argv);
    ::_exit(127);
  }
  const TBusFolder& bus = TBusFolder::Default();
  std::int64_t other = 0;
  for (QElapsedTimer t; (t.isValid() || (t.start(), true)) && t.elapsed() < 20000 && other == 0;) {
    other = FindWindowShowingFile(bus, path, 0, std::string());
    if (other == 0) ::usleep(20000);
  }
  ASSERT_NE(other, 0) << "the other editor never showed the file";

  auto w = NewWindow();
  EXPECT_FALSE(w->ProcessCommandLine({path, "-lInputStr(\"\xe5\x85\x88\")"})) << "handed over: no window here";
  EXPECT_TRUE(w->FileName().empty());
  Settle(200);
  TBusRequest save = MakeBusRequest(TBusMessage::bmSave, 0, 0, std::nullopt);
  EXPECT_EQ(SendBusMessage(bus, other, save, 10000).status, TBusStatus::bsHandled);
  ::kill(shower, SIGKILL);
  ::waitpid(shower, nullptr, 0);
  EXPECT_EQ(ReadBytes(path), "\x90\xe6tail\r\n");
}

}  // namespace
}  // namespace vorn
