// TBregexpObj: the commands it builds, the character-group tables and their expansion.
#include <gtest/gtest.h>

#include "regex/BregexpGroups.h"
#include "regex/BregexpUtil.h"

namespace vorn {
namespace {

const std::string D = "\x01";

struct TOptions {
  bool ignoreCase = false, plainText = false, fuzzy = false, wholeWord = false;
};

// The text between the delimiters of the match command built for pattern.
std::string Built(const std::string& pattern, TOptions o) {
  TBregexpObj obj(nullptr);
  obj.SetPattern(pattern);
  obj.SetIgnoreCase(o.ignoreCase);
  obj.SetPlainText(o.plainText);
  obj.SetFuzzy(o.fuzzy);
  obj.SetWholeWord(o.wholeWord);
  obj.BuildCommand(false);
  const std::string& cmd = obj.MatchCommand();
  EXPECT_EQ(cmd.substr(0, 2), "m" + D);
  EXPECT_EQ(cmd.substr(cmd.size() - 2), D + "k");
  return cmd.substr(2, cmd.size() - 4);
}

TEST(BregexpCommand, IgnoreCaseExpandsLettersIntoAlternatives) {
  TBregexpObj obj(nullptr);
  obj.SetPattern("abc");
  obj.SetIgnoreCase(true);
  obj.BuildCommand(false);
  EXPECT_EQ(obj.MatchCommand(), "m" + D + "(?:A|a)(?:B|b)(?:C|c)" + D + "k");
  EXPECT_EQ(Built("[a-c]x", {.ignoreCase = true}), "[A-Ca-c](?:X|x)");
  EXPECT_EQ(Built("[0-9]", {.ignoreCase = true}), "[0-9]");  // no group: the range stays
  // columns that would form descending ranges ("二-Z") are left out rather than break the class
  EXPECT_EQ(Built("[2-z]", {.fuzzy = true}), "[2-\x82\x79\x82\x51-\x82\x9A]");
}

TEST(BregexpCommand, PlainWholeWordEscapesAndWraps) {
  EXPECT_EQ(Built("a.b", {.plainText = true, .wholeWord = true}), "\\b(?:a\\.b)\\b");
  EXPECT_EQ(Built("$()*+.?[\\]^{|}", {.plainText = true}), "\\$\\(\\)\\*\\+\\.\\?\\[\\\\\\]\\^\\{\\|\\}");
  // the trail byte 5C of "ソ" is not a backslash to escape
  EXPECT_EQ(Built("\x83\x5C", {.plainText = true}), "\x83\x5C");
  EXPECT_EQ(Built("a.b", {}), "a.b");
}

TEST(BregexpCommand, FuzzyExpandsCharactersClassesAndRanges) {
  EXPECT_EQ(Built("[a-c]", {.fuzzy = true}), "[\x82`-\x82" "b\x82\x81-\x82\x83" "A-Ca-c]");
  EXPECT_EQ(Built("\x82\xA9", {.fuzzy = true}), "(?:\x82\xA9|\x83J|\xB6)");  // "か"
  EXPECT_EQ(Built("0", {.fuzzy = true}), "(?:0|\x82O|\x97\xEB)");         // "0" -> 0, "０", "零"
  EXPECT_EQ(Built("(", {.plainText = true, .fuzzy = true}), "(?:\\(|\x81i)");
  // "ー" stands in rows 48 and 49: the first row wins
  EXPECT_EQ(Built("\x81[", {.fuzzy = true}), "(?:\x81[|\x81`|\xB0)");
  EXPECT_EQ(Built("\\", {.plainText = true, .fuzzy = true}), "(?:\\\\|\x81\x8F)");
}

TEST(BregexpCommand, FuzzyInsertsMetacharacterMembersAsLiterals) {
  // the full-width twin of "(" typed in a regular expression must not open a group
  EXPECT_EQ(Built("\x81i", {.fuzzy = true}), "(?:\\(|\x81i)");
  // inside a class a "-" member must not form a range
  EXPECT_EQ(Built("[x\x81|]", {.fuzzy = true}), "[\x82\x77\x82\x98Xx\\-\x81[\x81|\x81`\xB0]");
}

TEST(BregexpCommand, RegularExpressionSyntaxSurvivesExpansion) {
  TOptions fuzzy{.fuzzy = true};
  EXPECT_EQ(Built("(?:a){2,3}", fuzzy), "(?:(?:\x82`|\x82\x81|A|a)){2,3}");
  EXPECT_EQ(Built("(?<n>1)\\k<n>", fuzzy), "(?<n>(?:1|\x82P|\x88\xEA|\x87@|\x87T|\x88\xEB))\\k<n>");
  EXPECT_EQ(Built("\\x41\\p{Alpha}", {.ignoreCase = true}), "\\x41\\p{Alpha}");
  EXPECT_EQ(Built("[[:alpha:]]", {.ignoreCase = true}), "[[:alpha:]]");
  EXPECT_EQ(Built("\\d\\n", {.ignoreCase = true}), "\\d\\n");
  EXPECT_EQ(Built("[a-\\x7E]", {.ignoreCase = true}), "[a-\\x7E]");
  EXPECT_EQ(Built("\\cd[a[b]c]", {.ignoreCase = true}), "\\cd[Aa[Bb]Cc]");
  EXPECT_EQ(Built("[^a-]", {.ignoreCase = true}), "[^Aa\\-]");
}

TEST(BregexpCommand, LineBreakCountCountsEscapesOnlyInRegularExpressions) {
  TBregexpObj obj(nullptr);
  obj.SetPattern("\\n\\s");
  EXPECT_EQ(obj.LineBreakCount(), 2);
  obj.SetPattern("\\\\n\x83\x5Cn\\");  // escaped backslash, "ソ" then n, trailing backslash
  EXPECT_EQ(obj.LineBreakCount(), 0);
  obj.SetPattern("\\n\\s");
  obj.SetPlainText(true);
  EXPECT_EQ(obj.LineBreakCount(), 0);
}

TEST(BregexpCommand, SubstitutionCommandEscapesReplacementOnlyForPlainText) {
  TBregexpObj obj(nullptr);
  obj.SetPattern("a");
  obj.SetReplaceText("$1\\");
  obj.BuildCommand(true);
  EXPECT_EQ(obj.SubstCommand(), "s" + D + "a" + D + "$1\\" + D + "k");
  obj.SetPlainText(true);
  obj.SetGlobalReplace(true);
  obj.BuildCommand(true);
  EXPECT_EQ(obj.SubstCommand(), "s" + D + "a" + D + "\\$1\\\\" + D + "gmk");
}

TEST(BregexpCommand, SimplePathTakesUpperPatternForPlainLiterals) {
  TBregexpObj obj(nullptr);
  obj.SetPattern("ab\x82\x61");  // "ab" and a double-byte character whose trail byte is "a"
  obj.SetPlainText(true);
  obj.SetIgnoreCase(true);
  obj.BuildCommand(false);
  EXPECT_TRUE(obj.SimpleSearch());
  EXPECT_EQ(obj.UpperPattern(), "AB\x82\x61");
  obj.SetFuzzy(true);
  obj.BuildCommand(false);
  EXPECT_FALSE(obj.SimpleSearch());
}

TEST(BregexpGroupTables, RowsAreStoredAsTheTableSays) {
  ASSERT_EQ(CaseGroups().Count(), 26);
  ASSERT_EQ(FuzzyGroups().Count(), 145);
  EXPECT_EQ(CaseGroups().Row(25), (std::vector<std::string>{"Z", "z"}));
  EXPECT_EQ(FuzzyGroups().Row(26), (std::vector<std::string>{"0", "\x82O", "", "", "", "\x97\xEB"}));
  EXPECT_EQ(FuzzyGroups().Row(36), (std::vector<std::string>{"\x81\x40", " "}));
  EXPECT_EQ(FuzzyGroups().Row(38), (std::vector<std::string>{"\"", "\x81h"}));
  EXPECT_EQ(FuzzyGroups().Row(48).size(), 4u);
  EXPECT_EQ(FuzzyGroups().Row(48)[3], "");
  EXPECT_EQ(FuzzyGroups().Row(68)[0], ",");
  EXPECT_EQ(FuzzyGroups().Row(68).size(), 4u);
  EXPECT_EQ(FuzzyGroups().Find("\x81["), 48);
  EXPECT_EQ(FuzzyGroups().Find("z"), 25);
  EXPECT_EQ(FuzzyGroups().Find("\xDF"), 144);  // "ﾟ"
  EXPECT_EQ(CaseGroups().Find("1"), -1);
}

TEST(BregexpGroupTables, RowSplittingHonoursQuotes) {
  EXPECT_EQ(SplitGroupRow("a,\"b,c\",\"\"\"\",,d"), (std::vector<std::string>{"a", "b,c", "\"", "", "d"}));
  EXPECT_EQ(SplitGroupRow("x,"), (std::vector<std::string>{"x", ""}));
  EXPECT_EQ(SplitGroupRow("\x83\x5C,\x95\x5C"), (std::vector<std::string>{"\x83\x5C", "\x95\x5C"}));
}

}  // namespace
}  // namespace vorn
