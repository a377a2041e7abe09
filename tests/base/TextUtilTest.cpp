// Tests of the pure text helpers: sanitising, Shift_JIS-aware trimming, atom strings, version text.
#include "base/TextUtil.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(SanitizeFileName, ReplacesEveryForbiddenCharacterAndKeepsHighBytes) {
  EXPECT_EQ(SanitizeFileName("\"*,/:;<>?\\|ok"), "___________ok");
  EXPECT_EQ(SanitizeFileName("\xb1\x7f\x20"), "\xb1\x7f\x20");
  EXPECT_EQ(SanitizeFileName("\x95\x5c/\x83\x7c"), "\x95\x5c_\x83\x7c");  // 表 / ポ keep their trail bytes
}

TEST(TrimBlanks, TrimsSpacesAndOnlyTheAskedTabsAndWideSpaces) {
  const std::string text = " \t\x81\x40 a b\x81\x40\t ";
  EXPECT_EQ(TrimBlanks(text, false, false), "\t\x81\x40 a b\x81\x40\t");
  EXPECT_EQ(TrimBlanks(text, true, false), "\x81\x40 a b\x81\x40");
  EXPECT_EQ(TrimBlanks(text, true, true), "a b");
  EXPECT_EQ(TrimBlanksLeft(text, true, true), "a b\x81\x40\t ");
  EXPECT_EQ(TrimBlanksRight(text, true, true), " \t\x81\x40 a b");
  EXPECT_EQ(TrimBlanks("  ", true, true), "");
}

TEST(TrimBlanks, DoesNotTakeATrailByteFollowedByAtSignForAWideSpace) {
  // 0x81 0x81 0x40: the character 0x81 0x81 ("＝") followed by "@", not "＝" split.
  EXPECT_EQ(TrimBlanksRight("a\x81\x81\x40", true, true), "a\x81\x81\x40");
  EXPECT_EQ(TrimBlanksRight("a\x88\x81\x40", true, true), "a\x88\x81\x40");
}

TEST(TakeAtomString, FailsForNoAtomAndTakesTheTextOnce) {
  std::optional<std::string> atom;
  std::string text = "unchanged";
  EXPECT_FALSE(TakeAtomString(atom, text));
  EXPECT_EQ(text, "unchanged");
  atom = "C:/a.txt";
  EXPECT_TRUE(TakeAtomString(atom, text));
  EXPECT_EQ(text, "C:/a.txt");
  EXPECT_FALSE(atom.has_value());
}

TEST(TakeAtomString, CutsAt255BytesWithoutSplittingADoubleByteCharacter) {
  std::optional<std::string> atom = std::string(254, 'a') + "\x82\xa0" + "tail";
  std::string text;
  ASSERT_TRUE(TakeAtomString(atom, text));
  EXPECT_EQ(text, std::string(254, 'a'));
}

TEST(Version, TextHasTheReleaseForm) {
  std::string v = VersionText();
  EXPECT_EQ(v.rfind("r.", 0), 0u);
  EXPECT_NE(v.find(" Build "), std::string::npos);
}

}  // namespace
}  // namespace vorn
