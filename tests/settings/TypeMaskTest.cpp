// Choosing a file type by name: extension entries, masks, order, and the matcher against a model.
#include "settings/TypeMask.h"
#include "settings/SjisText.h"
#include "settings/TypeList.h"

#include <gtest/gtest.h>

#include <random>

namespace vorn {
namespace {

// Independent model: plain recursion over characters (a double-byte character is one).
bool ModelMatch(const std::vector<std::string>& n, std::size_t i, const std::vector<std::string>& m, std::size_t j) {
  if (j == m.size()) return i == n.size();
  if (m[j] == "*") return ModelMatch(n, i, m, j + 1) || (i < n.size() && ModelMatch(n, i + 1, m, j));
  if (i == n.size()) return false;
  auto up = [](std::string s) {
    if (s.size() == 1 && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 32);
    return s;
  };
  return (m[j] == "?" || up(m[j]) == up(n[i])) && ModelMatch(n, i + 1, m, j + 1);
}

TEST(FileMask, MatcherAgreesWithModelOnRandomNamesAndMasks) {
  const std::vector<std::string> nameChars = {"a", "B", "b", ".", "\x82\xA0", "\x83\x5C", "\\"};
  const std::vector<std::string> maskChars = {"a", "A", "b", ".", "\x82\xA0", "\x83\x5C", "*", "?", "\\"};
  std::mt19937 rng(14);
  for (int round = 0; round < 20000; ++round) {
    std::vector<std::string> n, m;
    std::string name, mask;
    for (int k = rng() % 7; k > 0; --k) n.push_back(nameChars[rng() % nameChars.size()]);
    for (int k = rng() % 6; k > 0; --k) m.push_back(maskChars[rng() % maskChars.size()]);
    for (auto& c : n) name += c;
    for (auto& c : m) mask += c;
    ASSERT_EQ(MatchesTypeMask(name, mask), ModelMatch(n, 0, m, 0)) << "name " << name << " mask " << mask;
  }
}

TEST(FileMask, ExtensionOfTheNamePartOnlyAndNeverSplitInsideADoubleByteCharacter) {
  EXPECT_EQ(ExtractFileExt("dir.d/readme"), "");
  EXPECT_EQ(ExtractFileExt("dir.d\\readme"), "");
  EXPECT_EQ(ExtractFileExt("a.tar.gz"), ".gz");
  // 0x95 0x5C is one character whose trail byte is a backslash.
  EXPECT_EQ(ExtractFileExt("x.y\x95\x5Cz"), ".y\x95\x5Cz");
}

class TFindTypeTest : public ::testing::Test {
protected:
  TFindTypeTest() : list({"/nonexistent/", "/nonexistent/"}, nullptr) {}
  TFileSetting& AddType(const std::string& name, std::vector<std::string> entries) {
    TFileSetting& t = list.Add();
    t.Name = name;
    t.SetExtensions(std::move(entries));
    return t;
  }
  TTypeList list;
};

TEST_F(TFindTypeTest, ExtensionsMasksOrderAndFallback) {
  AddType("Text", {".TXT", "*."});
  AddType("Make", {"Makefile*"});
  AddType("C", {".c", ".H"});
  AddType("AlsoText", {".txt"});
  EXPECT_EQ(list.FindByFileName("/home/u/a.txt").Name, "Text");
  EXPECT_EQ(list.FindByFileName("B.TxT").Name, "Text");
  EXPECT_EQ(list.FindByFileName("/src/Makefile.am").Name, "Make");
  EXPECT_EQ(list.FindByFileName("/src/README").Name, "Text");
  EXPECT_EQ(list.FindByFileName("x.C").Name, "C");
  EXPECT_EQ(list.FindByFileName("x.h").Name, "C");
  // Nobody claims it: the common type.
  EXPECT_EQ(list.FindByFileName("a.bin").Name, CommonTypeName());
  // A name ending in a dot has an empty extension but is not given a second dot.
  EXPECT_EQ(list.FindByFileName("odd.").Name, "Text");
  // The GREP type claims nothing, and type 0 is never asked.
  list.Items(0).SetExtensions({".bin"});
  EXPECT_EQ(list.FindByFileName("a.bin").Name, CommonTypeName());
}

TEST_F(TFindTypeTest, ExtensionListEditsKeepTheMatcherInStep) {
  TFileSetting& t = AddType("T", {});
  t.AddExtensionOf("/p/file.md");
  t.AddExtensionOf("/p/OTHER.MD");  // already there, letter case ignored
  t.AddExtensionOf("/p/noext");
  EXPECT_EQ(t.Extensions(), std::vector<std::string>{".MD"});
  EXPECT_EQ(list.FindByFileName("x.md").Name, "T");
  EXPECT_TRUE(t.RemoveExtension(".md"));
  EXPECT_EQ(list.FindByFileName("x.md").Name, CommonTypeName());
}

TEST_F(TFindTypeTest, AssociatingAnExtensionMovesItToTheChosenTypeOnlyWhenNeeded) {
  TFileSetting& text = AddType("Text", {".LOG"});
  TFileSetting& other = AddType("Other", {".txt", "*.TXT"});
  TFileSetting& log = AddType("Log", {".TXT"});
  // Without Other's ".txt" its mask still claims the file: the chosen type gets the extension.
  list.AssociateExtension("/d/a.txt", text);
  EXPECT_EQ(text.Extensions(), (std::vector<std::string>{".LOG", ".TXT"}));
  EXPECT_EQ(other.Extensions(), std::vector<std::string>{"*.TXT"});
  EXPECT_TRUE(log.Extensions().empty());
  EXPECT_EQ(list.FindByFileName("/d/a.txt").Name, "Text");
  // The chosen type's own extension stays with it.
  list.AssociateExtension("/d/b.log", text);
  EXPECT_EQ(text.Extensions(), (std::vector<std::string>{".TXT", ".LOG"}));
  // Choosing "共通" takes the extension from everyone else and gives it to nobody.
  other.SetExtensions({});
  list.AssociateExtension("/d/a.txt", list.Items(0));
  EXPECT_EQ(text.Extensions(), std::vector<std::string>{".LOG"});
  EXPECT_EQ(list.FindByFileName("/d/a.txt").Name, CommonTypeName());
}

TEST_F(TFindTypeTest, NonAsciiFileNamesAreMatchedAsShiftJis) {
  AddType("Memo", {Sjis("メモ*")});
  EXPECT_EQ(list.FindByFileName("/home/u/メモ帳.txt").Name, "Memo");
  EXPECT_EQ(list.FindByFileName("/home/u/メ.txt").Name, CommonTypeName());
}

}  // namespace
}  // namespace vorn
