// The command table and the menus against frozen dumps, and name lookup as macros use it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "shellcore/CommandCaptions.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/MenuTree.h"

namespace vorn {
namespace {

std::string FunctionDump() {
  std::string out;
  for (const TFunctionInfo& f : AllFunctions())
    out += std::to_string(f.Number) + "\t" + std::string(f.Name) + "\t" + std::string(f.DisplayName) + "\t" +
           std::to_string(f.Category) + "\t" + (f.ShiftExtends ? "shift" : "-") + "\t" +
           (f.Shortcut ? "shortcut" : "-") + "\t" + std::to_string(ActionTag(f.Number)) + "\n";
  return out;
}

std::string ReadGolden(const std::string& name) {
  std::ifstream in(std::string(VORN_TEST_DATA_DIR) + "/shellcore/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// On a mismatch the actual dump is left beside the test binary for inspection.
void ExpectGolden(const std::string& name, const std::string& actual) {
  const std::string golden = ReadGolden(name);
  if (golden != actual) std::ofstream(std::string(VORN_BIN_DIR) + "/" + name + ".actual", std::ios::binary) << actual;
  EXPECT_EQ(golden, actual) << "dump written to " << VORN_BIN_DIR << "/" << name << ".actual";
}

TEST(CommandTable, FunctionsMatchTheFrozenDump) { ExpectGolden("functions.golden", FunctionDump()); }

TEST(CommandTable, MenusMatchTheFrozenDump) {
  const std::string dump = DumpMenuTree(MainMenuTree()) + "popup:\n" + DumpMenuTree(PanePopupTree().Children, 1);
  ExpectGolden("menus.golden", dump);
}

TEST(CommandTable, NamesAreUniqueAndResolveWithoutRegardToCase) {
  std::set<std::string> upper;
  for (const TFunctionInfo& f : AllFunctions()) {
    std::string name(f.Name);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(upper.insert(name).second) << f.Name;
    EXPECT_EQ(FunctionByName(name), &f);
    EXPECT_EQ(FunctionByName(name + "action"), &f);
    EXPECT_EQ(FunctionByNumber(f.Number), &f);
  }
  EXPECT_EQ(FunctionByName("toggleMark")->Number, 34);
  EXPECT_EQ(FunctionByName("Action"), nullptr);
  EXPECT_EQ(FunctionByName(""), nullptr);
  EXPECT_EQ(FunctionByName("ToggleMarkActionAction"), nullptr);
  EXPECT_EQ(FunctionByNumber(-1), nullptr);
  EXPECT_EQ(FunctionByNumber(168), nullptr);
}

TEST(CommandTable, FunctionTreeCoversEveryListedFunctionOnce) {
  EXPECT_TRUE(FunctionsOfCategory(0).empty());
  std::size_t listed = 0;
  for (int c = 1; c < kCategoryCount; ++c) {
    const std::vector<int> numbers = FunctionsOfCategory(c);
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    EXPECT_FALSE(CategoryName(c).empty());
    listed += numbers.size();
  }
  EXPECT_EQ(listed, 168u - 4u);  // the four macro-only functions stay out
}

TEST(CommandTable, EveryMenuCommandHasACaptionAndExists) {
  for (const std::string& name : CommandsInMenus()) {
    EXPECT_TRUE(FunctionByName(name) || ExtraActionByName(name)) << name;
    EXPECT_FALSE(MenuCaption(name).empty()) << name;
  }
  for (const TExtraAction& extra : ExtraActions()) EXPECT_EQ(FunctionByName(extra.Name), nullptr) << extra.Name;
}

TEST(CommandTable, AcceleratorGoesBeforeTrailingDots) {
  EXPECT_EQ(CaptionWithAccelerator("開く...", 'O'), "開く(&O)...");
  EXPECT_EQ(CaptionWithAccelerator("コピー", 'C'), "コピー(&C)");
  EXPECT_EQ(CaptionWithAccelerator("..", 'X'), "..(&X)");
  EXPECT_EQ(MenuCaption("LoadFromFile"), "開く(&O)...");
  EXPECT_EQ(MenuCaption("Cut"), "切り取り(&T)");
  EXPECT_EQ(MenuCaption("InyouPaste"), "引用付き貼り付け");
  EXPECT_EQ(MenuCaption("NoSuchCommand"), "");
}

}  // namespace
}  // namespace vorn
