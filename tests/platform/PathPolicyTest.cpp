#include "platform/PathPolicy.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

using Args = std::vector<std::string>;

TEST(SplitParamText, SeparatesOnControlCharactersAndSpaces) {
  EXPECT_EQ(SplitParamText("a  b\tc\r\nd"), (Args{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitParamText("   "), Args{});
  EXPECT_EQ(SplitParamText(""), Args{});
}

TEST(SplitParamText, QuotesToggleAndAreRemovedWithoutEscapes) {
  EXPECT_EQ(SplitParamText("\"a b\" c"), (Args{"a b", "c"}));
  EXPECT_EQ(SplitParamText("x\"y z\"w"), (Args{"xy zw"}));
  EXPECT_EQ(SplitParamText("\"\""), (Args{""}));
  EXPECT_EQ(SplitParamText("\"unterminated text"), (Args{"unterminated text"}));
  EXPECT_EQ(SplitParamText("a\\\"b c\""), (Args{"a\\b c"}));  // backslash escapes nothing
}

TEST(SplitParamText, KeepsShiftJisBytesWhole) {
  // "表" is 95 5C: its trail byte must not be taken for anything special.
  EXPECT_EQ(SplitParamText("\"\x95\x5c.txt\" -x0 "), (Args{"\x95\x5c.txt", "-x0"}));
}

TEST(IsSwitchArgument, DashAlwaysSlashOnlyWithoutSecondSlashOrExistingName) {
  const TPathExists none = [](const std::string&) { return false; };
  const TPathExists all = [](const std::string&) { return true; };
  EXPECT_TRUE(IsSwitchArgument("-h", none));
  EXPECT_TRUE(IsSwitchArgument("-h", all));
  EXPECT_TRUE(IsSwitchArgument("/h", none));
  EXPECT_FALSE(IsSwitchArgument("/h", all));
  EXPECT_FALSE(IsSwitchArgument("/tmp/new.txt", none));
  EXPECT_FALSE(IsSwitchArgument("/mnt/x", none));
  EXPECT_FALSE(IsSwitchArgument("file.txt", none));
  EXPECT_FALSE(IsSwitchArgument("", none));
}

TEST(IsSwitchArgument, RealRootEntriesAreFileNames) {
  EXPECT_FALSE(IsSwitchArgument("/tmp"));  // exists on every machine
  EXPECT_TRUE(IsSwitchArgument("/q-no-such-root-entry"));
}

TEST(PathParts, SplitAtTheLastSlash) {
  EXPECT_EQ(ExtractFilePath("/home/u/a.txt"), "/home/u/");
  EXPECT_EQ(ExtractFileName("/home/u/a.txt"), "a.txt");
  EXPECT_EQ(ExtractFilePath("a.txt"), "");
  EXPECT_EQ(ExtractFileName("dir/"), "");
}

}  // namespace
}  // namespace vorn
