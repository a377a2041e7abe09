// The window's size and bars end to end: a window sized by its file type shows exactly the
// columns and rows asked for, the bar switches outlive the window through "Common.ini", and
// vertical maximisation fills the work area's height and gives the old size back.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "editor/VornEdit.h"
#include "platform/VornUtil.h"
#include "settings/TypeList.h"
#include "settings/VornMemInifile.h"
#include "shell/CommandActions.h"
#include "shellcore/FunctionTable.h"
#include "ScriptedPrompts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QToolBar>

#include <sys/stat.h>

namespace vorn {
namespace {

using testing::TScriptedPrompts;

class MainLayoutTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(::mkdir((folder_ / "user").c_str(), 0700), 0);
    SetUserFolderOverride(folder_ / "user");
  }
  void TearDown() override { SetUserFolderOverride(std::string()); }

  std::unique_ptr<TVornEditMain> NewWindow(const std::vector<std::string>& args, TTypeList* types = nullptr) {
    auto w = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*w, prompts_, [](const QString& text) { ADD_FAILURE() << text.toStdString(); });
    if (types) w->Services().fileTypeFor = [types](const std::string& name) { return &types->FindByFileName(name); };
    EXPECT_TRUE(w->ProcessCommandLine(args));
    return w;
  }

  static void Show(TVornEditMain& w) {
    w.show();
    // Twice: the frame the window manager reports brings one more round of geometry.
    QApplication::processEvents();
    QApplication::processEvents();
  }
  static QAction* Toggle(TVornEditMain& w, const char* name) { return w.Actions()->ActionByName(name); }
  static QAction* MaximizeVertical(TVornEditMain& w) {
    return w.Actions()->Action(FunctionByName("MaximizeVertical")->Number);
  }
  bool StoredBar(const char* key) const {
    return TVornMemInifile(folder_ / "user/Common.ini").ReadBool("Standard", key, true);
  }

  vorn::testing::TTempFolder folder_;
  TScriptedPrompts prompts_;
};

// ".txt" sizes its window to columns × rows, ".log" to far more rows than the screen holds,
// and every other name leaves the window as it is.
TEST_F(MainLayoutTest, TheFileTypeSizesThePaneToItsColumnsAndRows) {
  TTypeList types({folder_ / "user/", folder_ / "setting/"}, nullptr);
  TFileSetting& text = types.Insert(types.Count());
  text.Name = "Text";
  text.SetExtensions({".txt"});
  text.FixWindow = true;
  text.FixWindowCol = 72;
  text.FixWindowRow = 20;
  TFileSetting& log = types.Insert(types.Count());
  log.Name = "Log";
  log.SetExtensions({".log"});
  log.FixWindow = true;
  log.FixWindowRow = 400;

  auto sized = NewWindow({folder_.Write("a.txt", "x\r\n")}, &types);
  Show(*sized);
  const TVornEdit& pane = *sized->Editor();
  const TEditMetrics& m = pane.Metrics();
  EXPECT_EQ(pane.viewport()->width(), m.TextLeft() + 72 * m.CellWidth() + 4);
  EXPECT_EQ(pane.viewport()->height(), m.TextTop() + 20 * m.RowHeight() + 4);

  auto tall = NewWindow({folder_.Write("b.log", "x\r\n")}, &types);
  Show(*tall);
  const QRect area = tall->screen()->availableGeometry();
  EXPECT_EQ(tall->frameGeometry().top(), area.top());
  EXPECT_EQ(tall->frameGeometry().height(), area.height());

  auto untouched = NewWindow({folder_.Write("c.dat", "x\r\n")}, &types);
  EXPECT_EQ(untouched->size(), QSize(800, 600));
}

// The switches store both check marks; the next window starts from them, and /t and /s on its
// command line win over them, check marks included.
TEST_F(MainLayoutTest, BarSwitchesAreStoredAndTheNextWindowStartsFromThem) {
  {
    auto first = NewWindow({});
    Show(*first);
    Toggle(*first, "ToolBarToggle")->trigger();
    EXPECT_TRUE(first->Actions()->ToolBar()->isHidden());
    EXPECT_FALSE(StoredBar("ToolBar"));
    EXPECT_TRUE(StoredBar("StatusBar"));
  }
  {
    auto second = NewWindow({});
    Show(*second);
    EXPECT_TRUE(second->Actions()->ToolBar()->isHidden());
    EXPECT_FALSE(Toggle(*second, "ToolBarToggle")->isChecked());
    Toggle(*second, "StatusBarToggle")->trigger();
    EXPECT_TRUE(second->StatusPanels()->isHidden());
    EXPECT_FALSE(StoredBar("ToolBar"));
    EXPECT_FALSE(StoredBar("StatusBar"));
  }
  auto third = NewWindow({"-t", "-s"});
  Show(*third);
  EXPECT_FALSE(third->Actions()->ToolBar()->isHidden());
  EXPECT_FALSE(third->StatusPanels()->isHidden());
  // The marks follow the switches, so the next toggle hides the bar instead of storing a
  // state the window does not show.
  Toggle(*third, "ToolBarToggle")->trigger();
  EXPECT_TRUE(third->Actions()->ToolBar()->isHidden());
  EXPECT_FALSE(StoredBar("ToolBar"));
  EXPECT_TRUE(StoredBar("StatusBar"));
}

TEST_F(MainLayoutTest, VerticalMaximisationFillsTheWorkAreaAndGivesTheSizeBack) {
  auto w = NewWindow({});
  Show(*w);
  w->setGeometry(40, 60, 500, 300);
  QApplication::processEvents();
  const QRect normal = w->geometry();
  const QRect area = w->screen()->availableGeometry();
  const int function = FunctionByName("MaximizeVertical")->Number;

  ASSERT_TRUE(w->RunFunction(function, false));
  QApplication::processEvents();
  EXPECT_TRUE(MaximizeVertical(*w)->isChecked());
  EXPECT_EQ(w->frameGeometry().top(), area.top());
  EXPECT_EQ(w->frameGeometry().height(), area.height());
  EXPECT_EQ(w->geometry().left(), normal.left());
  EXPECT_EQ(w->width(), normal.width());

  ASSERT_TRUE(w->RunFunction(function, false));
  QApplication::processEvents();
  EXPECT_FALSE(MaximizeVertical(*w)->isChecked());
  EXPECT_EQ(w->geometry(), normal);

  // A size given from outside ends the state; the command then maximises again.
  MaximizeVertical(*w)->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(w->VerticallyMaximized());
  w->resize(w->width(), 350);
  QApplication::processEvents();
  EXPECT_FALSE(w->VerticallyMaximized());
  EXPECT_FALSE(MaximizeVertical(*w)->isChecked());
  MaximizeVertical(*w)->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(MaximizeVertical(*w)->isChecked());
  EXPECT_EQ(w->frameGeometry().height(), area.height());
}

}  // namespace
}  // namespace vorn
