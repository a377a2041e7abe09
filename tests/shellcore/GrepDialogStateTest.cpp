// The grep dialog's stored state and rules: "GREP.ini" written and read back through the ini
// class, the histories, mask completion and a macro's arguments.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "settings/SjisText.h"
#include "settings/VornMemInifile.h"
#include "shellcore/GrepDialogState.h"
#include "syntax/KeyWord.h"

namespace vorn {
namespace {

TEST(GrepDialogState, IniRoundTripKeepsCaseInvertedAndOpenFileOnlyWhenEnabled) {
  testing::TTempFolder dir;
  const std::string path = dir / "GREP.ini";
  TGrepDialogState s;
  s.SubFolder = s.UsePrevPathHist2 = s.OpenFileGrep = true;
  s.CaseSensitive = true;
  s.PrevGrepPath = "/w";
  s.Keywords = {Sjis("日本語"), "b"};
  s.Masks = {"*.c;*.h"};
  {
    TVornMemInifile ini(path);
    s.Save(ini, false);
    ini.UpdateFile();
  }
  TVornMemInifile ini(path);
  EXPECT_EQ(ini.ReadString("Setting", "IgnoreCase", ""), "0");
  EXPECT_EQ(ini.ReadString("Setting", "OpenFileGrep", "none"), "none");
  TGrepDialogState back;
  back.Load(ini, true);
  EXPECT_TRUE(back.SubFolder && back.CaseSensitive && back.UsePrevPathHist2);
  EXPECT_FALSE(back.OpenFileGrep);
  EXPECT_EQ(back.PrevGrepPath, "/w");
  EXPECT_EQ(back.Keywords, s.Keywords);
  EXPECT_EQ(back.Masks, s.Masks);
  EXPECT_TRUE(back.Folders.empty());

  // Without "UsePrevPathHist2" the last folder is not kept.
  back.UsePrevPathHist2 = false;
  TVornMemInifile again(path);
  back.Save(again, true);
  EXPECT_EQ(again.ReadString("Setting", "PrevGrepPath", "x"), "");
}

TEST(GrepDialogState, HistoriesSkipBlankEntriesAndMoveRepeatsToTheTopIgnoringCase) {
  TVornMemInifile ini("");
  ini.WriteString("KeywordHist", "Count", "3");
  ini.WriteString("KeywordHist", "0", "  a ");
  ini.WriteString("KeywordHist", "1", Sjis("　"));  // a full-width blank only
  ini.WriteString("KeywordHist", "2", "b");
  TGrepDialogState s;
  s.Load(ini, false);
  EXPECT_EQ(s.Keywords, (std::vector<std::string>{"a", "b"}));
  PushGrepHistory(s.Keywords, "B");
  PushGrepHistory(s.Keywords, " ");
  EXPECT_EQ(s.Keywords, (std::vector<std::string>{"B", "a"}));
  // A trail byte that looks like a letter is not folded: these two differ.
  std::vector<std::string> h{"\x83\x61"};
  PushGrepHistory(h, "\x83\x41");
  EXPECT_EQ(h.size(), 2u);
}

TEST(GrepDialogState, MasksWithoutANamePartSearchEveryFile) {
  EXPECT_EQ(CompleteGrepMask("src/"), "src/*.*");
  EXPECT_EQ(CompleteGrepMask("src\\"), "src/*.*");
  EXPECT_EQ(CompleteGrepMask(""), "*.*");
  EXPECT_EQ(CompleteGrepMask("*.c;*.h"), "*.c;*.h");
}

TEST(GrepDialogState, MacroArgumentsBuildTheConditionInTheirOrder) {
  TGrepKeyWord c;
  EXPECT_FALSE(GrepConditionFromMacroArgs({"", "*.c"}, "/w", c));
  ASSERT_TRUE(GrepConditionFromMacroArgs({"a+", "src/", "1", "1", "0", "1", "0", "1"}, "/w", c));
  EXPECT_EQ(c.Pattern(), "a+");
  EXPECT_EQ(c.FileMask, "src/*.*");
  EXPECT_EQ(c.BaseFolder, "/w");
  EXPECT_TRUE(c.SubFolders && !c.IgnoreCase() && !c.WholeWord() && !c.PlainText() && !c.Fuzzy());
  EXPECT_TRUE(c.IncludeBinary && c.DetectCode);
  ASSERT_TRUE(GrepConditionFromMacroArgs({"w"}, "/w", c));
  EXPECT_TRUE(c.IgnoreCase() && c.PlainText() && !c.SubFolders && !c.IncludeBinary);
  EXPECT_EQ(c.FileMask, "*.*");
}

}  // namespace
}  // namespace vorn
