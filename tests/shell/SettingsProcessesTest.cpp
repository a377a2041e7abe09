// Two editors, each a process of the built program, share one user folder. The file-type
// dialog's OK — its save, then the announcement its window sends — reaches both: each paints with
// the new tab width and colour without a restart, as their answers over the bus show.
#include "dialogs/ColorSetListBox.h"
#include "dialogs/ExtSetForm.h"
#include "platform/BusClient.h"
#include "platform/BusFolder.h"
#include "shellcore/BusEditQuery.h"
#include "shellcore/InstanceCoordination.h"
#include "ProgramCopy.h"
#include "TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>

namespace vorn {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class SettingsProcesses : public ::testing::Test {
protected:
  void TearDown() override {
    for (const pid_t pid : pids_) {
      ::kill(pid, SIGTERM);
      int status = 0;
      ::waitpid(pid, &status, 0);
    }
  }

  pid_t Start(const std::string& file) {
    const pid_t pid = testing::StartProgram(program_ + "VornEditor", {file});
    pids_.push_back(pid);
    return pid;
  }

  // The main editors on the bus, once count of them stand there.
  std::vector<std::int64_t> WaitForEditors(std::size_t count) {
    QElapsedTimer t;
    t.start();
    std::vector<std::int64_t> ids;
    while (t.elapsed() < 20000) {
      ids.clear();
      for (const TBusPeer& p : TBusFolder::Default().List())
        if (p.className == "TVornEditMain") ids.push_back(p.id);
      if (ids.size() >= count) break;
      ::usleep(50 * 1000);
    }
    return ids;
  }

  static TBusReply Ask(std::int64_t id, TBusMessage message, std::int64_t wParam = 0) {
    return SendBusMessage(TBusFolder::Default(), id, MakeBusRequest(message, wParam));
  }
  // The column of the character after the document's leading tab: the tab width it is shown with.
  static std::int64_t TabColumn(std::int64_t id) { return Ask(id, TBusMessage::bmCharToCol, 1).result; }
  static std::string View(std::int64_t id) {
    TBusRequest dump;
    dump.name = std::string(kDumpViewMessage);
    return SendBusMessage(TBusFolder::Default(), id, dump).text.value_or("");
  }

  testing::TTempFolder tmp_{"vorn-settings-processes"};
  std::string program_ = testing::ProgramCopy(tmp_);
  std::vector<pid_t> pids_;
};

TEST_F(SettingsProcesses, OkOfTheFileTypeDialogRepaintsTwoRunningEditorsWithTheNewTabWidthAndColour) {
  Start(tmp_.Write("a.txt", "\tA\r\n"));
  ASSERT_EQ(WaitForEditors(1).size(), 1u) << "the first editor never came up";
  Start(tmp_.Write("b.txt", "\tB\r\n"));
  const std::vector<std::int64_t> editors = WaitForEditors(2);
  ASSERT_EQ(editors.size(), 2u) << "the second editor never came up";
  for (const std::int64_t id : editors) {
    ASSERT_NE(TabColumn(id), 3);
    ASSERT_THAT(View(id), Not(HasSubstr("Color7=000000FF,")));
  }

  TExtSetContext context;
  context.Folders = {program_ + "user/", program_ + "Setting/"};
  context.DocumentName = tmp_ / "a.txt";
  TExtSetForm form(std::move(context));
  form.FieldByCaption(QStringLiteral("タブ幅"))->setText(QStringLiteral("3"));
  form.ColorList()->Colors()[7].SetColor(0x000000FF);  // half-width characters in red
  ASSERT_TRUE(form.SaveAndClose());
  QElapsedTimer announced;
  announced.start();
  TBroadcast broadcast;
  broadcast.request = MakeBusRequest(TBusMessage::bmLoadExtSet);
  ASSERT_EQ(BroadcastPost(TBusFolder::Default(), broadcast), 2);

  // Applied means both show it; the deadline is generous, the time taken is only reported.
  auto applied = [&] {
    for (const std::int64_t id : editors)
      if (TabColumn(id) != 3 || View(id).find("Color7=000000FF,") == std::string::npos) return false;
    return true;
  };
  while (!applied() && announced.elapsed() < 10000) ::usleep(5 * 1000);
  std::printf("both editors showed the change %lld ms after the announcement\n",
              static_cast<long long>(announced.elapsed()));
  for (const std::int64_t id : editors) {
    EXPECT_EQ(TabColumn(id), 3);
    EXPECT_THAT(View(id), HasSubstr("TabWidth=3\n"));
    EXPECT_THAT(View(id), HasSubstr("Color7=000000FF,"));
  }
}

}  // namespace
}  // namespace vorn
