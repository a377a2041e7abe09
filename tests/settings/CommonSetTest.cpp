// Common settings on disk: defaults, every key's round trip, what a save must leave alone,
// two real processes saving one after another, and applying them to the windows.
#include "settings/CommonSet.h"

#include "ApplyTargetDouble.h"
#include "SettingsTestUtil.h"
#include "syntax/KeyWord.h"

#include <gtest/gtest.h>

#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace vorn {
namespace {

using test::Exists;
using test::ReadFile;
using test::TScratchFolder;
using test::WriteFile;

class TCommonSetFiles : public ::testing::Test {
protected:
  TScratchFolder scratch;
  std::string program = scratch.Sub("prog");
  std::string ini = scratch.Sub("prog/user") + "Common.ini";
};

TEST_F(TCommonSetFiles, AFreshFileGivesTheDefaults) {
  TCommonSet set(program, nullptr);
  set.LoadFrom(ini);
  EXPECT_TRUE(set.ToolBar);
  EXPECT_TRUE(set.StatusBar);
  EXPECT_EQ(set.UndoSize, 10000);
  EXPECT_EQ(set.FileHistMenuCount, 10);
  EXPECT_EQ(set.HotKey, -1);
  EXPECT_EQ(set.QuoteHeader, "> ");
  EXPECT_FALSE(set.UserFolderFix);
  EXPECT_TRUE(set.TakeMessages().empty());
}

void Randomize(TCommonSet& s, std::mt19937& rng) {
  auto b = [&] { return rng() % 2 == 1; };
  auto n = [&] { return static_cast<int>(rng() % 1000) - 1; };
  auto text = [&] { return std::string(1 + rng() % 3, static_cast<char>('a' + rng() % 26)); };
  s.QuoteHeader = text(); s.UndoSize = n(); s.IntellCount = n(); s.ReserveCaret = b();
  s.FileHistMenuCount = n(); s.FolderHistCount = n(); s.StationFileHistMenuCount = n(); s.ReserveMark = b();
  s.Maximize = b(); s.Station = b(); s.CloseAtAllClose = b(); s.HotKey = n(); s.HotKeyModifier = n();
  s.ToneFindStr = b(); s.BrowseModeAsReadOnlyBehavior = b(); s.SelMove = b(); s.CaretStyle = rng() % 3;
  s.FollowPunctuation = b(); s.Leading = b(); s.FollowRetMark = b(); s.WordBreak = b(); s.LeadStr = text();
  s.FollowStr = text(); s.MoveNextLine = b(); s.FixCaretOnScroll = b(); s.UseOpenFileExtAsFilter = b();
  s.QueryCloseAllMultiWindow = b(); s.RestrictAlreadyOpenMsg = b(); s.CopyAndSelClear = b();
  for (auto& m : s.Macros) m = b() ? s.ProgramFolder() + "Macro/" + text() + ".mac" : std::string();
  for (auto& m : s.MacroStr) m = text();
  s.UserFolderFix = true;
  s.UserFolderName = text();
  s.Seikei().SetCommentThrough(b());
  s.Seikei().SetInsertSpace(b());
  s.Seikei().SetWordWrap(b());
  s.Seikei().SetTabToSpace(b());
  s.Seikei().SetRightUninsertSpaceStr(text());
  s.Seikei().SetLeftUninsertSpaceStr(text());
  TKeyWordList comments(nullptr);
  comments.Add().SetPattern(text());
  s.Seikei().SetCommentList(comments);
}

TEST_F(TCommonSetFiles, RandomSettingsSurviveSaveAndLoad) {
  std::mt19937 rng(3);
  for (int round = 0; round < 30; ++round) {
    TCommonSet saved(program, nullptr);
    saved.LoadFrom(ini);
    Randomize(saved, rng);
    saved.SaveTo(ini);
    TCommonSet loaded(program, nullptr);
    loaded.LoadFrom(ini);
    // The window-owned keys are not written by a save: compare them as loaded.
    saved.ToolBar = loaded.ToolBar;
    saved.StatusBar = loaded.StatusBar;
    ASSERT_TRUE(static_cast<const TCommonValues&>(loaded) == static_cast<const TCommonValues&>(saved)) << round;
    ASSERT_EQ(loaded.Seikei().RightUninsertSpaceStr(), saved.Seikei().RightUninsertSpaceStr());
    ASSERT_EQ(loaded.Seikei().CommentThrough(), saved.Seikei().CommentThrough());
    ASSERT_TRUE(loaded.Seikei().CommentList().Equals(saved.Seikei().CommentList()));
  }
}

TEST_F(TCommonSetFiles, MacroNamesAreStoredRelativeToTheProgramFolderAndBackslashesStillResolve) {
  TCommonSet set(program, nullptr);
  set.LoadFrom(ini);
  set.Macros[0] = program + "Macro/a.mac";
  set.Macros[1] = "/elsewhere/b.mac";
  set.SaveTo(ini);
  const TVornMemInifile stored(ini);
  EXPECT_EQ(stored.ReadString("Macros", "0", ""), "Macro/a.mac");
  EXPECT_EQ(stored.ReadString("Macros", "1", ""), "/elsewhere/b.mac");
  WriteFile(ini, "[Macros]\r\n0=Macro\\sub\\c.mac\r\n");
  TCommonSet copied(program, nullptr);
  copied.LoadFrom(ini);
  EXPECT_EQ(copied.Macros[0], program + "Macro/sub/c.mac");
  EXPECT_EQ(copied.Macros[1], "");
}

TEST_F(TCommonSetFiles, LoadingLeavesTheCurrentFolderAlone) {
  char before[4096];
  ASSERT_NE(getcwd(before, sizeof before), nullptr);
  WriteFile(ini, "[Macros]\r\n0=Macro\\a.mac\r\n");
  TCommonSet set(program, nullptr);
  set.LoadFrom(ini);
  char after[4096];
  ASSERT_NE(getcwd(after, sizeof after), nullptr);
  EXPECT_STREQ(before, after);
}

TEST_F(TCommonSetFiles, UserFolderFileIsWrittenOnlyForAFixedNonEmptyName) {
  TCommonSet set(program, nullptr);
  set.LoadFrom(ini);
  set.UserFolderFix = true;
  set.UserFolderName = "Work";
  set.SaveTo(ini);
  EXPECT_EQ(ReadFile(program + "UsrDir.dat"), "Work\r\n");
  TCommonSet loaded(program, nullptr);
  loaded.LoadFrom(ini);
  EXPECT_TRUE(loaded.UserFolderFix);
  EXPECT_EQ(loaded.UserFolderName, "Work");
  loaded.UserFolderName.clear();
  loaded.SaveTo(ini);
  EXPECT_FALSE(Exists(program + "UsrDir.dat"));
}

TEST_F(TCommonSetFiles, ASaveLeavesTheKeysOtherWritersOwn) {
  TCommonSet set(program, nullptr);
  set.LoadFrom(ini);
  // Written after this process read the file: the window's tool bar, printing, the type index.
  TVornMemInifile other(ini);
  other.WriteBool("Standard", "ToolBar", false);
  other.WriteInteger("Print", "Copies", 3);
  other.WriteInteger("Type", "Count", 7);
  other.WriteInteger("Standard", "FolderHistCount", 20);
  other.UpdateFile();
  set.UndoSize = 500;
  set.SaveTo(ini);
  const TVornMemInifile stored(ini);
  EXPECT_FALSE(stored.ReadBool("Standard", "ToolBar", true));
  EXPECT_EQ(stored.ReadInteger("Print", "Copies", 0), 3);
  EXPECT_EQ(stored.ReadInteger("Type", "Count", 0), 7);
  EXPECT_EQ(stored.ReadInteger("Standard", "FolderHistCount", 0), 20);
  EXPECT_EQ(stored.ReadInteger("Standard", "UndoSize", 0), 500);
}

// Runs body in a child process after reading one byte from go; reports "loaded" through ready.
pid_t StartSaver(const std::string& program, const std::string& ini, int ready, int go,
                 void (*change)(TCommonSet&)) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  int code = 1;
  try {
    TCommonSet set(program, nullptr);
    set.LoadFrom(ini);
    char c = 1;
    if (write(ready, &c, 1) == 1 && read(go, &c, 1) == 1) {
      change(set);
      set.SaveTo(ini);
      code = 0;
    }
  } catch (...) {
  }
  _exit(code);
}

TEST_F(TCommonSetFiles, TwoProcessesSavingOneAfterAnotherKeepBothChanges) {
  int ready[2], goA[2], goB[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(goA), 0);
  ASSERT_EQ(pipe(goB), 0);
  const pid_t a = StartSaver(program, ini, ready[1], goA[0], [](TCommonSet& s) { s.UndoSize = 1234; });
  const pid_t b = StartSaver(program, ini, ready[1], goB[0], [](TCommonSet& s) { s.QuoteHeader = "| "; });
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);  // both have read the file before either writes
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  int status = 0;
  ASSERT_EQ(write(goA[1], &c, 1), 1);
  ASSERT_EQ(waitpid(a, &status, 0), a);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(write(goB[1], &c, 1), 1);
  ASSERT_EQ(waitpid(b, &status, 0), b);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (int fd : {ready[0], ready[1], goA[0], goA[1], goB[0], goB[1]}) close(fd);
  TCommonSet result(program, nullptr);
  result.LoadFrom(ini);
  EXPECT_EQ(result.UndoSize, 1234);
  EXPECT_EQ(result.QuoteHeader, "| ");
}

TEST_F(TCommonSetFiles, DamagedSkdKeepsTheDefaultListsWithAMessage) {
  const TVornEditSeikeiOption defaults(nullptr);
  WriteFile(program + "user/Common.skd", std::string("\x03\x00\x00\x00\x01\x00", 6));
  TCommonSet set(program, nullptr);
  set.LoadFrom(ini);
  EXPECT_TRUE(set.Seikei().CommentList().Equals(defaults.CommentList()));
  EXPECT_TRUE(set.Seikei().ItemizeList().Equals(defaults.ItemizeList()));
  const auto messages = set.TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Common.skd"), std::string::npos);
}

TEST_F(TCommonSetFiles, ApplyReachesEveryWindowAndPaneButLeavesTheTypesHalfOfTheSeikeiRecord) {
  TCommonSet set(program, nullptr);
  set.UndoSize = 77;
  set.CaretStyle = 2;
  set.MoveNextLine = false;
  set.WordBreak = true;
  set.Maximize = true;
  set.Macros[3] = "/m/x.mac";
  set.Seikei().SetCommentThrough(false);
  test::TProcessDouble process;
  auto panes = process.AllPanes();
  panes[0]->seikei.SetWrapCount(33);
  panes[0]->seikei.SetCommentOnly(true);  // the type's comment-only keeps comment-through on
  set.ApplyToWindows(process);
  EXPECT_EQ(process.macroFiles.size(), 20u);
  EXPECT_EQ(process.macroFiles[3], "/m/x.mac");
  EXPECT_EQ(process.macroStrings.size(), 10u);
  for (auto& w : process.windows) EXPECT_TRUE(w->commonOptions.Maximize);
  for (test::TPaneDouble* p : panes) {
    EXPECT_EQ(p->commonOptions.UndoListMax, 77);
    EXPECT_EQ(p->caret.Style(), csDos);
    EXPECT_FALSE(p->caret.NextLine());
    EXPECT_TRUE(p->wrap.WordBreak());
  }
  EXPECT_EQ(panes[0]->seikei.WrapCount(), 33);
  EXPECT_TRUE(panes[0]->seikei.CommentThrough());
  EXPECT_FALSE(panes[1]->seikei.CommentThrough());
}

}  // namespace
}  // namespace vorn
