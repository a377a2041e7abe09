#include <gtest/gtest.h>

#include "shellcore/FileDialogFilters.h"

namespace vorn {
namespace {

std::vector<std::string> Descriptions(const TFilterList& list) {
  std::vector<std::string> out;
  for (const TFileFilter& f : list.filters) out.push_back(f.description);
  return out;
}

TEST(FileDialogFilters, OpenListAndTheOpenFilesExtension) {
  const TFilterList plain = OpenDialogFilters(false, "/w/a.cpp");
  EXPECT_EQ(Descriptions(plain),
            (std::vector<std::string>{"すべてのファイル(*.*)", "テキストファイル(*.txt)", "Ｃ言語関連(*.c *.cpp *.h)",
                                      "Delphi関連(*.pas *.dpr)", "アセンブラ関連(*.asm *.inc)", "HTML関連(*.html *.htm)"}));
  EXPECT_EQ(plain.selected, 0);
  EXPECT_EQ(plain.filters[2].patterns, (std::vector<std::string>{"*.c", "*.cpp", "*.h"}));
  const TFilterList offered = OpenDialogFilters(true, "/w.d/a.cpp");
  EXPECT_EQ(offered.filters[1].description, "開いているファイル(*.cpp)");
  EXPECT_EQ(offered.selected, 1);
  EXPECT_EQ(OpenDialogFilters(true, "/w.d/Makefile").filters.size(), 6u) << "the folder's dot is no extension";
}

TEST(FileDialogFilters, TypedNamesGetTheChosenFiltersExtension) {
  const TFilterList untitled = SaveDialogFilters("");
  EXPECT_EQ(untitled.filters[3].description, "Dephi関連(*.pas)");
  EXPECT_EQ(CompleteSaveName("/w/memo", untitled, 1), "/w/memo.txt");
  EXPECT_EQ(CompleteSaveName("/w/memo", untitled, 0), "/w/memo");
  EXPECT_EQ(CompleteSaveName("/w/memo.md", untitled, 1), "/w/memo.md");
  EXPECT_EQ(CompleteSaveName("/w/memo", untitled, 5), "/w/memo.html");

  const TFilterList saveAs = SaveDialogFilters("/w/a.c");
  EXPECT_EQ(saveAs.selected, 1);
  EXPECT_EQ(CompleteSaveName("/w/b", saveAs, 0), "/w/b.c");
  EXPECT_EQ(CompleteSaveName("/w/b", saveAs, 1), "/w/b") << "the open file's filter writes the name as typed";
  EXPECT_EQ(CompleteSaveName("/w/b", saveAs, 2), "/w/b.txt");
  EXPECT_EQ(CompleteSaveName("/w/b", saveAs, 6), "/w/b.html");
  EXPECT_EQ(RenameDialogFilters().filters.size(), 1u);
}

TEST(FileDialogFilters, FileTypeIsChosenAgainForANewExtensionOnly) {
  EXPECT_TRUE(FileTypeFollowsNewName("", "/w/a.txt"));
  EXPECT_FALSE(FileTypeFollowsNewName("/w/a.TXT", "/x/b.txt"));
  EXPECT_TRUE(FileTypeFollowsNewName("/w/a.txt", "/w/a.c"));
  EXPECT_TRUE(FileTypeFollowsNewName("/w/a.txt", "/w/a"));
}

TEST(FileDialogFilters, ToolkitFormMatchesEveryNameForStarDotStar) {
  const TFilterList list = OpenDialogFilters(false, "");
  EXPECT_EQ(ToolkitNameFilter(list.filters[0]), "すべてのファイル(*.*) (*)");
  EXPECT_EQ(ToolkitNameFilter(list.filters[2]), "Ｃ言語関連(*.c *.cpp *.h) (*.c *.cpp *.h)");
}

}  // namespace
}  // namespace vorn
