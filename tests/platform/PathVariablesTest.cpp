// Tests of the path variables and of path shortening for menus.
#include "platform/PathVariables.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/VornUtil.h"

namespace vorn {
namespace {

TPathVariableValues Values() {
  TPathVariableValues v;
  v.windows = "/etc/";
  v.system = "/usr/bin/";
  v.temp = "/tmp/";
  v.desktop = "/home/u/Desktop/";
  v.personal = "/home/u/Documents/";
  v.startMenu = "/home/u/.local/share/applications/";
  v.startup = "/home/u/.config/autostart/";
  v.exec = "/opt/vorn/";
  v.macro = "/opt/vorn/Macro/";
  v.user = "/opt/vorn/u/";
  v.openFileName = "/work/a/b.txt";
  return v;
}

TEST(ExpandPathVariables, NamesMatchInAnyCase) {
  EXPECT_EQ(ExpandPathVariables("%temp%x", Values()), "/tmp/x");
  EXPECT_EQ(ExpandPathVariables("%TEMP%x", Values()), "/tmp/x");
  EXPECT_EQ(ExpandPathVariables("%Temp%x", Values()), "/tmp/x");
}

TEST(ExpandPathVariables, EveryVariableOfTheTable) {
  const auto v = Values();
  EXPECT_EQ(ExpandPathVariables("%Windows%|%System%|%Desktop%|%Personal%", v),
            "/etc/|/usr/bin/|/home/u/Desktop/|/home/u/Documents/");
  EXPECT_EQ(ExpandPathVariables("%StartMenu%|%Startup%|%Exec%|%Macro%|%User%", v),
            "/home/u/.local/share/applications/|/home/u/.config/autostart/|/opt/vorn/|/opt/vorn/Macro/|/opt/vorn/u/");
  EXPECT_EQ(ExpandPathVariables("%OpenFileName%|%OpenFileNameWithoutExt%|%OpenFileFolder%", v),
            "/work/a/b.txt|/work/a/b|/work/a/");
  EXPECT_EQ(ExpandPathVariables("%OpenFileName2%|%OpenFileName2WithoutExt%", v), "b.txt|b");
}

TEST(ExpandPathVariables, FileNamePartsOfADottedFolderAndOfNoDocument) {
  auto v = Values();
  v.openFileName = "/work/v1.2/README";
  EXPECT_EQ(ExpandPathVariables("%OpenFileNameWithoutExt%|%OpenFileName2WithoutExt%", v), "/work/v1.2/README|README");
  v.openFileName.clear();
  EXPECT_EQ(ExpandPathVariables("[%OpenFileName%][%OpenFileFolder%][%OpenFileName2%]", v), "[][][]");
}

TEST(ExpandPathVariables, ATrailBytePercentDoesNotStartAVariable) {
  EXPECT_EQ(ExpandPathVariables("\x81%Temp%", Values()), "\x81%Temp%");
  EXPECT_EQ(ExpandPathVariables("\x82\xa0%Temp%", Values()), "\x82\xa0/tmp/");
}

TEST(ExpandPathVariables, TheDelimiterReplacesSlashesExceptInTheNameParts) {
  const auto v = Values();
  EXPECT_EQ(ExpandPathVariables("%Delimiter=\\%%OpenFileFolder%", v), "\\work\\a\\");
  EXPECT_EQ(ExpandPathVariables("%delimiter=::%%OpenFileName2%|%Temp%", v), "b.txt|::tmp::");
  // A lead byte takes the "%" after it into the delimiter; the next "%" ends it.
  EXPECT_EQ(ExpandPathVariables("%Delimiter=\x81%%%Temp%", v), "\x81%tmp\x81%");
}

TEST(ExpandPathVariables, AnEmptyDelimiterSwitchesReplacementOff) {
  EXPECT_EQ(ExpandPathVariables("%Delimiter=\\%%Temp%%Delimiter=%%Temp%", Values()), "\\tmp\\/tmp/");
  EXPECT_EQ(ExpandPathVariables("x%Delimiter=|", Values()), "x");
}

TEST(ExpandPathVariables, InsertedValuesAreNotScannedAgainAndUnknownNamesStay) {
  auto v = Values();
  v.openFileName = "/w/%Temp%.txt";
  EXPECT_EQ(ExpandPathVariables("%OpenFileName%", v), "/w/%Temp%.txt");
  EXPECT_EQ(ExpandPathVariables("%Nothing%%%", v), "%Nothing%%%");
}

TEST(ExpandPathVariables, DefaultValuesUseTheProcessFolders) {
  setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(ExpandPathVariables("%Temp%"), "/var/tmp/");
  unsetenv("TMPDIR");
  EXPECT_EQ(ExpandPathVariables("%Exec%Macro/a.mac|%Macro%"), ProgramFolder() + "Macro/a.mac|" + ProgramFolder() + "Macro/");
  EXPECT_EQ(ExpandPathVariables("%User%"), UserFolder());
  EXPECT_EQ(ExpandPathVariables("no variables"), "no variables");
}

// One pixel per byte keeps the arithmetic of the expectations visible.
struct TByteMeasure : TTextMeasure {
  int TextWidth(std::string_view text) const override { return static_cast<int>(text.size()); }
};

TEST(ShortenPath, CutsLeadingFoldersOneByOne) {
  TByteMeasure m;
  const std::string path = "/home/user/docs/file.txt";
  EXPECT_EQ(ShortenPath(path, m, 100), path);
  EXPECT_EQ(ShortenPath(path, m, 23), "/.../user/docs/file.txt");
  EXPECT_EQ(ShortenPath(path, m, 20), "/.../docs/file.txt");
  EXPECT_EQ(ShortenPath(path, m, 13), "/.../file.txt");
  EXPECT_EQ(ShortenPath("a/b/c.txt", m, 8), ".../c.txt");
}

TEST(ShortenPath, NeverCutsTheFileName) {
  TByteMeasure m;
  EXPECT_EQ(ShortenPath("/home/user/a-very-long-file-name.txt", m, 5), "/.../a-very-long-file-name.txt");
  EXPECT_EQ(ShortenPath("/a-very-long-file-name.txt", m, 5), "/a-very-long-file-name.txt");
  EXPECT_EQ(ShortenPath("plain-name.txt", m, 1), "plain-name.txt");
}

}  // namespace
}  // namespace vorn
