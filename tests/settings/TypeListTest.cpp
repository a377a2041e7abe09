// The type list on disk: index and FSet files, renumbering, first start, export and import.
#include "settings/TypeList.h"

#include "SettingsTestUtil.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

using test::Exists;
using test::ReadFile;
using test::TScratchFolder;
using test::WriteFile;

class TTypeListFiles : public ::testing::Test {
protected:
  TSettingFolders Folders() const { return {user, setting}; }
  // Types "T1".."Tn" after "共通", each with its own tab width, keyword, extension and a
  // "Find" section of its own that another part keeps in the type's ini file.
  void SaveNumberedTypes(int n) {
    TTypeList list(Folders(), nullptr);
    for (int i = 1; i <= n; ++i) {
      TFileSetting& t = list.Insert(i);
      t.Name = "T" + std::to_string(i);
      t.TabCol = 10 + i;
      t.SetExtensions({".e" + std::to_string(i)});
      t.Keywords().Add().SetPattern("kw" + std::to_string(i));
    }
    list.Save();
    for (int i = 1; i <= n; ++i) {
      TVornMemInifile ini(user + "FSet" + std::to_string(i) + ".ini");
      ini.WriteString("Find", "Marker", "T" + std::to_string(i));
      ini.UpdateFile();
    }
  }
  // Every type's own settings must be the ones it was saved with, whatever its position now.
  void ExpectTypesIntact(TTypeList& list) {
    for (int i = 0; i < list.Count(); ++i) {
      TFileSetting& t = list.Items(i);
      if (t.Name.size() < 2 || t.Name[0] != 'T') continue;
      const std::string n = t.Name.substr(1);
      list.EnsureLoaded(t);
      EXPECT_EQ(t.TabCol, 10 + std::stoi(n)) << t.Name;
      ASSERT_EQ(t.Keywords().Count(), 1) << t.Name;
      EXPECT_EQ(t.Keywords().Items(0).Pattern(), "kw" + n);
      EXPECT_EQ(TVornMemInifile(t.IniFileName()).ReadString("Find", "Marker", ""), t.Name);
    }
  }
  TScratchFolder scratch;
  std::string user = scratch.Sub("user");
  std::string setting = scratch.Sub("Setting");
};

TEST_F(TTypeListFiles, RemovingAMiddleTypeBeforeTheLaterOnesWereReadKeepsEveryTypesOwnFiles) {
  SaveNumberedTypes(4);
  TTypeList list(Folders(), nullptr);
  list.Load();  // lazily: only names and extensions
  ASSERT_EQ(list.Items(2).Name, "T2");
  ASSERT_TRUE(list.Remove(2));
  list.Save();
  TTypeList again(Folders(), nullptr);
  again.Load();
  ASSERT_EQ(again.Count(), 5);  // 共通, T1, T3, T4, GREP
  EXPECT_EQ(again.Items(2).Name, "T3");
  ExpectTypesIntact(again);
  EXPECT_FALSE(Exists(user + "FSet5.ini"));
}

TEST_F(TTypeListFiles, MovingTypesAroundKeepsEveryTypesOwnFiles) {
  SaveNumberedTypes(4);
  TTypeList list(Folders(), nullptr);
  list.Load();
  ASSERT_TRUE(list.Move(1, 4));  // T1 to after T4
  ASSERT_TRUE(list.Move(3, 1));
  list.Save();
  TTypeList again(Folders(), nullptr);
  again.Load();
  ExpectTypesIntact(again);
  EXPECT_FALSE(list.Remove(0));
  EXPECT_FALSE(list.Move(0, 2));
}

TEST_F(TTypeListFiles, SavingFewerTypesErasesTheirSectionsAndFiles) {
  SaveNumberedTypes(3);  // 共通, T1..T3, GREP: five types
  WriteFile(user + "FSet.ini", "");  // no digits: number 0, kept
  WriteFile(user + "FSet12.fbd", "");
  WriteFile(user + "Other.ini", "");
  TTypeList list(Folders(), nullptr);
  list.Load();
  ASSERT_EQ(list.Count(), 5);
  list.Remove(3);
  list.Remove(2);
  list.Save();
  const TVornMemInifile common(user + "Common.ini");
  EXPECT_EQ(common.ReadInteger("Type", "Count", 0), 3);
  EXPECT_FALSE(common.SectionExists("Type3"));
  EXPECT_FALSE(common.SectionExists("Type4"));
  for (const char* gone : {"FSet3.ini", "FSet4.ini", "FSet3.fbd", "FSet4.fbd", "FSet12.fbd"})
    EXPECT_FALSE(Exists(user + gone)) << gone;
  for (const char* kept : {"FSet2.ini", "FSet2.fbd", "FSet.ini", "Other.ini"}) EXPECT_TRUE(Exists(user + kept)) << kept;
}

TEST_F(TTypeListFiles, OldIndexReadsNamesFromTheTypeFilesAndIsRewrittenOnSave) {
  WriteFile(user + "Common.ini", "[Type]\r\nVersion=100\r\nCount=2\r\n");
  WriteFile(user + "FSet0.ini", "[General]\r\nName=" + CommonTypeName() + "\r\n[Display]\r\nTabCol=3\r\n");
  WriteFile(user + "FSet1.ini", "[General]\r\nName=Old\r\nExtCount=1\r\nExt0=.OLD\r\n[Display]\r\nTabCol=6\r\n");
  TTypeList list(Folders(), nullptr);
  list.Load();
  EXPECT_EQ(list.Version(), 100);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.FindByFileName("x.old").Name, "Old");
  list.EnsureLoaded(list.Items(1));
  EXPECT_EQ(list.Items(1).TabCol, 6);
  list.Save();
  const TVornMemInifile common(user + "Common.ini");
  EXPECT_EQ(common.ReadInteger("Type", "Version", 0), 146);
  EXPECT_EQ(common.ReadString("Type1", "Ext0", ""), ".OLD");
  TTypeList again(Folders(), nullptr);
  again.Load();
  again.EnsureLoaded(again.Items(0));
  EXPECT_EQ(again.Items(0).TabCol, 3);  // an unloaded type's settings were kept by the save
}

TEST_F(TTypeListFiles, FirstStartWithoutSettingTxtShowsTheMessageAndUsesDefaults) {
  TTypeList list(Folders(), nullptr);
  list.Load();
  const auto messages = list.TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], MissingSettingTxtMessage());
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0).Name, CommonTypeName());
  EXPECT_EQ(list.Items(1).Name, "GREP");
  EXPECT_EQ(list.Items(0).TabCol, 8);
  // Nothing written, so the next start shows the message again until the dialog saves.
  EXPECT_FALSE(Exists(user + "Common.ini"));
}

TEST_F(TTypeListFiles, FirstStartImportsListedTemplatesSkippingMissingOnes) {
  WriteFile(setting + "Setting.txt", "# comment\r\n\r\nA\r\nMissing\r\n  B \r\n");
  WriteFile(setting + "A.ini", "[General]\r\nName=Alpha\r\nExtCount=1\r\nExt0=.A\r\n[Display]\r\nTabCol=5\r\n");
  WriteFile(setting + "B.ini", "[General]\r\nName=Beta\r\n");
  WriteFile(setting + "Std.ini", "[Display]\r\nTabCol=7\r\n");
  TTypeList list(Folders(), nullptr);
  list.Load();
  EXPECT_TRUE(list.TakeMessages().empty());
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Items(0).Name, CommonTypeName());
  EXPECT_EQ(list.Items(0).TabCol, 7);
  EXPECT_EQ(list.Items(1).Name, "Alpha");
  EXPECT_EQ(list.Items(2).Name, "Beta");
  EXPECT_EQ(list.Items(3).Name, "GREP");
  // Stored in the user folder: a second start reads it from there.
  TTypeList again(Folders(), nullptr);
  again.Load();
  EXPECT_EQ(again.Version(), 146);
  EXPECT_EQ(again.FindByFileName("f.a").Name, "Alpha");
  again.EnsureLoaded(again.Items(1));
  EXPECT_EQ(again.Items(1).TabCol, 5);
}

TEST_F(TTypeListFiles, DamagedFbdGivesAMessageAndDefaultsNeverACrash) {
  SaveNumberedTypes(1);
  WriteFile(user + "FSet1.fbd", std::string("\x05\x00\x00\x00\x01", 5));
  TTypeList list(Folders(), nullptr);
  list.Load();
  list.EnsureLoaded(list.Items(1));
  EXPECT_EQ(list.Items(1).Keywords().Count(), 0);
  EXPECT_EQ(list.Items(1).TabCol, 11);
  const auto messages = list.TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("FSet1.fbd"), std::string::npos);
}

TEST_F(TTypeListFiles, ExportWritesStdForTheCommonTypeAndImportMakesNamesUnique) {
  SaveNumberedTypes(1);
  TTypeList list(Folders(), nullptr);
  list.Load();
  list.LoadAll();
  list.Items(0).TabCol = 4;
  EXPECT_EQ(list.Export(0), setting + "Std.ini");
  EXPECT_EQ(TVornMemInifile(setting + "Std.ini").ReadInteger("Display", "TabCol", 0), 4);
  list.Items(1).Name = "C";
  const std::string c = list.Export(1);
  EXPECT_EQ(c, setting + "C.ini");
  EXPECT_TRUE(Exists(setting + "C.fbd"));
  const int first = list.Import(c);
  const int second = list.Import(c);
  EXPECT_EQ(list.Items(first).Name, "C(1)");
  EXPECT_EQ(list.Items(second).Name, "C(2)");
  EXPECT_EQ(list.Items(second).TabCol, 11);
  ASSERT_EQ(list.Items(second).Keywords().Count(), 1);
  EXPECT_EQ(list.Items(second).Keywords().Items(0).Pattern(), "kw1");
  // Saved as a type of the user folder, not a reference to the template.
  list.Save();
  EXPECT_EQ(list.Items(second).IniFileName(), user + "FSet" + std::to_string(second) + ".ini");
}

TEST_F(TTypeListFiles, AnIndexCountBeyondTheStoredSectionsStopsAtTheFirstGap) {
  WriteFile(user + "Common.ini", "[Type]\r\nVersion=146\r\nCount=2000000000\r\n[Type0]\r\nName=" +
                                     CommonTypeName() + "\r\n[Type1]\r\nName=X\r\n");
  TTypeList list(Folders(), nullptr);
  list.Load();
  EXPECT_EQ(list.Count(), 3);  // 共通, X, GREP
}

}  // namespace
}  // namespace vorn
