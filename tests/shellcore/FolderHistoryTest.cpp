// The folder history in the ini file: the push-out rule with fixed entries and the stored keys.
#include <gtest/gtest.h>

#include "settings/VornMemInifile.h"
#include "shellcore/FolderHistory.h"

namespace vorn {
namespace {

TEST(FolderHistory, FixedEntriesSurviveAndOnlyTheNewestUnfixedStays) {
  std::vector<TFolderEntry> list{{"/fixed1", true}, {"/fixed2", true}};
  for (const char* f : {"/n1", "/n2", "/n3", "/n4"}) list = AddToFolderHistory(list, f, 3);
  EXPECT_EQ(list, (std::vector<TFolderEntry>{{"/n4", false}, {"/fixed1", true}, {"/fixed2", true}}));
  list = AddToFolderHistory(list, "/fixed2", 3);
  EXPECT_EQ(list.front(), (TFolderEntry{"/fixed2", true}));
  EXPECT_EQ(AddToFolderHistory(list, "/FIXED2", 3).front().folder, "/FIXED2") << "case is significant";
}

TEST(FolderHistory, StoredKeysFollowTheListAndReadingPutsFixedFirst) {
  TVornMemInifile ini("/nonexistent/vorn-folder-history.ini");
  for (int n = 0; n < 5; ++n) ini.WriteString("FolderHistory", "Folder" + std::to_string(n), "/old");
  WriteFolderHistory(ini, {{"/a", false}, {"/b", true}, {"/\xE3\x81\x82", false}, {"/\xF0\x9F\x98\x80", true}});
  EXPECT_EQ(ini.ReadInteger("FolderHistory", "Count", -1), 3);
  EXPECT_EQ(ini.ReadString("FolderHistory", "Folder2", ""), "/\x82\xA0");
  EXPECT_EQ(ini.ReadString("FolderHistory", "Folder3", "gone"), "gone");
  EXPECT_EQ(ini.ReadString("FolderHistory", "Folder4", "gone"), "gone");
  const std::vector<TFolderEntry> read = ReadFolderHistory(ini, 30);
  EXPECT_EQ(read, (std::vector<TFolderEntry>{{"/b", true}, {"/a", false}, {"/\xE3\x81\x82", false}}));
  EXPECT_EQ(ReadFolderHistory(ini, 1).size(), 1u);
}

}  // namespace
}  // namespace vorn
