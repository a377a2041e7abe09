// Loading the key map into a window: the files decide the keys, the tool bar and the menus; a
// file that cannot be read gives its message and leaves a working window.
#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <map>

#include "TempFolder.h"
#include "shell/CommandActions.h"
#include "shell/KeyMapLoad.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyPath.h"

namespace vorn {
namespace {

int Fn(const char* name) { return FunctionByName(name)->Number; }

// Every function runs here, whatever the program has built so far.
TCommandTraitsTable AllBuilt() {
  TCommandTraitsTable traits;
  for (TCommandTraits& t : traits) t.When = TEnabledWhen::Always;
  return traits;
}

class KeyMapLoadTest : public ::testing::Test {
protected:
  void SetUp() override {
    ProcessKeyTable() = TKeyTable::BuiltIn();
    for (int n = 0; n < kFunctionCount; ++n) dispatcher_.Set(n, [this, n](bool) { ++runs_[n]; });
    actions_ = new TCommandActions(&window_, dispatcher_, {});
    actions_->BuildMenus();
  }
  void TearDown() override { ProcessKeyTable() = TKeyTable::BuiltIn(); }

  testing::TTempFolder folder_{"keymapload"};
  TCommandTraitsTable traits_ = AllBuilt();
  TCommandDispatcher dispatcher_{[] { return TCommandState{}; }, traits_};
  TKeyPath path_{dispatcher_, ProcessKeyTable()};
  QMainWindow window_;
  TCommandActions* actions_ = nullptr;
  std::map<int, int> runs_;
};

TEST_F(KeyMapLoadTest, FilesDecideKeysToolBarAndMenus) {
  TKeyTable custom;
  custom.Set(0, vk::F1 + 7, Fn("Grep"));  // F8
  SaveKeyFile(folder_.Path(), custom);
  SaveToolBarFile(folder_.Path(), {kToolBarSeparator});
  const TKeyMapLoadResult result = LoadKeyMap(*actions_, folder_.Path(), false);
  EXPECT_TRUE(result.Error.empty());
  EXPECT_TRUE(result.ToolBarEmpty);
  EXPECT_FALSE(actions_->ActionByName("ToolBarToggle")->isChecked());
  EXPECT_TRUE(actions_->Action(Fn("Grep"))->text().endsWith(QStringLiteral("\tF8")));
  EXPECT_FALSE(actions_->Action(Fn("SaveFile"))->text().contains(QLatin1Char('\t')));

  path_.KeyDown(vk::F1 + 7, 0);
  path_.KeyDown(vk::Letter('S'), kmCtrl);
  EXPECT_EQ(runs_[Fn("Grep")], 1);
  EXPECT_EQ(runs_[Fn("SaveFile")], 0);
}

TEST_F(KeyMapLoadTest, HeldKeyFileGivesItsMessageAndKeepsTheTable) {
  TKeyTable custom;
  SaveKeyFile(folder_.Path(), custom);
  const std::string keyFile = folder_ / kKeyFileName;
  const int fd = ::open(keyFile.c_str(), O_RDWR);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  const TKeyMapLoadResult result = LoadKeyMap(*actions_, folder_.Path(), false, {2, std::chrono::milliseconds(1)});
  ::close(fd);
  EXPECT_EQ(result.Error.rfind("ファイル \"" + keyFile + "\". ", 0), 0u) << result.Error;
  EXPECT_TRUE(result.Error.ends_with(" は開けません"));
  EXPECT_EQ(ProcessKeyTable(), TKeyTable::BuiltIn());
  // The default tool bar and the built-in keys still work.
  EXPECT_FALSE(result.ToolBarEmpty);
  EXPECT_EQ(actions_->ToolBar()->actions().size(), 16);
  EXPECT_TRUE(actions_->Action(Fn("SaveFile"))->text().endsWith(QStringLiteral("\tCtrl+S")));
}

TEST_F(KeyMapLoadTest, SavedTableIsWhatTheNextWindowLoads) {
  ProcessKeyTable().Set(kmAlt, vk::Letter('Q'), Fn("AllClose"));
  SaveKeyMap(*actions_, folder_.Path(), false);
  EXPECT_TRUE(actions_->Action(Fn("AllClose"))->text().endsWith(QStringLiteral("\tAlt+Q")));
  const TKeyTable saved = ProcessKeyTable();
  ProcessKeyTable() = TKeyTable::BuiltIn();
  QMainWindow other;
  TCommandActions otherActions(&other, dispatcher_, {});
  LoadKeyMap(otherActions, folder_.Path(), true);
  EXPECT_EQ(ProcessKeyTable(), saved);
  EXPECT_TRUE(otherActions.Action(Fn("Close"))->text().endsWith(QStringLiteral("\tEsc")));
}

}  // namespace
}  // namespace vorn
