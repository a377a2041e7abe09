#include "shellcore/CommandLine.h"

#include <gtest/gtest.h>

#include <set>

namespace vorn {
namespace {

using Args = std::vector<std::string>;

TPathExists Existing(std::set<std::string> names) {
  return [names = std::move(names)](const std::string& p) { return names.count(p) > 0; };
}

TEST(CommandLineLetters, CodeLettersInAnyCaseAndSjisForTheRest) {
  const std::pair<char, TCharCodeKind> cases[] = {
      {'s', ckSjis},      {'j', ckJis},       {'A', ckJisAscii}, {'e', ckEuc},   {'U', ckUnicodeLE},
      {'b', ckUnicodeBE}, {'8', ckUtf8},      {'N', ckUtf8N},    {'7', ckUtf7},  {'q', ckSjis}};
  for (auto [letter, kind] : cases) EXPECT_EQ(CodeKindOfLetter(letter), kind) << letter;
  EXPECT_EQ(CodeKindOfLetter(std::nullopt), ckSjis);
  for (auto [letter, kind] : cases) {
    if (letter != 'q') {
      EXPECT_EQ(CodeKindOfLetter(CodeSwitchText(kind)[2]), kind);
    }
  }
  EXPECT_EQ(CodeSwitchText(ckUtf8N), "-on ");
}

TEST(CommandLineLetters, LineBreakLettersAndCrlfForTheRest) {
  EXPECT_EQ(LineBreakOfLetter('c'), lbCRLF);
  EXPECT_EQ(LineBreakOfLetter('R'), lbCR);
  EXPECT_EQ(LineBreakOfLetter('n'), lbLF);
  EXPECT_EQ(LineBreakOfLetter('x'), lbCRLF);
  EXPECT_EQ(LineBreakOfLetter(std::nullopt), lbCRLF);
  EXPECT_EQ(LineBreakSwitchText(lbLF), "-rn ");
  EXPECT_STREQ(StatusBarLineBreakName(lbCR), "CR");
}

TEST(CommandLineValues, JumpAndMonitorValues) {
  EXPECT_TRUE(ParseJumpValue("e").toEnd);
  EXPECT_TRUE(ParseJumpValue("E").toEnd);
  EXPECT_FALSE(ParseJumpValue("ee").toEnd);
  EXPECT_EQ(ParseJumpValue("120").line, 120);
  EXPECT_EQ(ParseJumpValue("12x").line, 0);
  EXPECT_EQ(ParseJumpValue("").line, 0);
  EXPECT_EQ(ParseJumpValue("99999999999999").line, 0);
  EXPECT_EQ(ParseMonitorValue("1"), 1);
  EXPECT_EQ(ParseMonitorValue("one"), -1);
  EXPECT_EQ(ParseMonitorValue(""), -1);
}

TEST(StationGate, LooksForSlashHOrSlashAAnywhere) {
  EXPECT_TRUE(TakesStationGate({"/H"}));
  EXPECT_TRUE(TakesStationGate({"a.txt", "/a"}));
  EXPECT_FALSE(TakesStationGate({"-h"}));
  EXPECT_FALSE(TakesStationGate({"/Hx"}));
}

TEST(StationGate, StationModeNeedsTheSwitchAlone) {
  EXPECT_TRUE(IsStationModeCommand({"/H"}));
  EXPECT_TRUE(IsStationModeCommand({"-h"}));
  EXPECT_TRUE(IsStationModeCommand({"-A"}));
  EXPECT_FALSE(IsStationModeCommand({"/H", "a.txt"}));
  EXPECT_FALSE(IsStationModeCommand({"-hx"}));
  EXPECT_TRUE(IsDesktopStationCommand({"/a"}));
  EXPECT_FALSE(IsDesktopStationCommand({"/h"}));
  EXPECT_TRUE(StartsMinimized({"a", "-Z-"}));
  EXPECT_FALSE(StartsMinimized({"-z"}));
}

TEST(PlanCommandLine, NoArgumentsGiveAnUntitledSjisCrlfDocument) {
  const auto plan = PlanCommandLine({});
  EXPECT_TRUE(plan.namedFiles.empty());
  EXPECT_FALSE(plan.openCodeGiven);
  EXPECT_EQ(plan.openCode, ckSjis);
  EXPECT_EQ(plan.lineBreak, lbCRLF);
  EXPECT_EQ(plan.monitorIndex, -1);
}

TEST(PlanCommandLine, SettingsSwitches) {
  const auto plan = PlanCommandLine(
      {"-c.pl", "-f", "-g *.txt  ", "-jE", "-lInsert(1)", "-mrun.mac", "-oE", "-rn", "-x2", "-y", "-Q"},
      Existing({}));
  EXPECT_EQ(plan.fileTypeName, "c.pl");
  EXPECT_TRUE(plan.noHistory);
  EXPECT_EQ(plan.grepMask, "*.txt");
  ASSERT_TRUE(plan.jump);
  EXPECT_TRUE(plan.jump->toEnd);
  EXPECT_EQ(plan.macroLine, "Insert(1)");
  EXPECT_EQ(plan.macroFile, "run.mac");
  EXPECT_TRUE(plan.openCodeGiven);
  EXPECT_EQ(plan.openCode, ckEuc);
  EXPECT_TRUE(plan.lineBreakGiven);
  EXPECT_EQ(plan.lineBreak, lbLF);
  EXPECT_EQ(plan.monitorIndex, 2);
  EXPECT_TRUE(plan.stayOnTop);
  EXPECT_TRUE(plan.namedFiles.empty());
}

TEST(PlanCommandLine, ShortCodeSwitchesGiveSjisButStillFixTheCode) {
  auto plan = PlanCommandLine({"-o"});
  EXPECT_TRUE(plan.openCodeGiven);
  EXPECT_EQ(plan.openCode, ckSjis);
  plan = PlanCommandLine({"-oq", "-r"});
  EXPECT_EQ(plan.openCode, ckSjis);
  EXPECT_TRUE(plan.lineBreakGiven);
  EXPECT_EQ(plan.lineBreak, lbCRLF);
}

TEST(PlanCommandLine, DisplaySwitchesAndTheSwitchText) {
  const auto plan = PlanCommandLine({"-b", "/e", "-n", "-p/srv/work", "-s-", "-t", "-z-"}, Existing({}));
  EXPECT_TRUE(plan.browseMode);
  EXPECT_TRUE(plan.escCloses);
  EXPECT_TRUE(plan.forgetFileName);
  EXPECT_EQ(plan.currentFolder, "/srv/work");
  EXPECT_EQ(plan.statusBarVisible, false);
  EXPECT_EQ(plan.toolBarVisible, true);
  EXPECT_EQ(plan.maximized, false);
  EXPECT_EQ(plan.switchText, "-b /e -n -p/srv/work -s- -t -z- ");
}

TEST(HandOff, SwitchValuesWithBlanksSurviveTheHandOff) {
  const auto plan = PlanCommandLine({"-p/home/u/My Docs", "a.txt", "b.txt"}, Existing({}));
  const auto next = PlanCommandLine(SplitParamText(HandOffParamText(plan, 1)), Existing({}));
  EXPECT_EQ(next.currentFolder, "/home/u/My Docs");
  EXPECT_EQ(next.namedFiles, Args{"b.txt"});
  EXPECT_EQ(next.monitorIndex, 1);
}

TEST(PlanCommandLine, AbsolutePathsAreFilesNeverSwitches) {
  const auto plan = PlanCommandLine({"/tmp/new.txt", "/opt", "/b"}, Existing({"/opt"}));
  EXPECT_EQ(plan.namedFiles, (Args{"/tmp/new.txt", "/opt"}));
  EXPECT_FALSE(plan.openCodeGiven);
  EXPECT_TRUE(plan.browseMode);
}

TEST(PlanCommandLine, ADashSwitchNamingAnExistingFileIsAlsoAFile) {
  const auto plan = PlanCommandLine({"-x1"}, Existing({"-x1"}));
  EXPECT_EQ(plan.monitorIndex, 1);
  EXPECT_EQ(plan.namedFiles, Args{"-x1"});
}

TEST(HandOff, ThreeFilesGoToOneNewProcessWithQuotedNamesAndTheMonitor) {
  const auto plan = PlanCommandLine({"-ou", "a.txt", "-rc", "b b.txt", "c.txt"}, Existing({}));
  EXPECT_EQ(plan.namedFiles, (Args{"a.txt", "b b.txt", "c.txt"}));
  const std::string params = HandOffParamText(plan, 0);
  EXPECT_EQ(params, "-ou -rc \"b b.txt\" -x0 \"c.txt\" -x0 ");
  // The new process opens b b.txt and hands c.txt on in the same way.
  const auto next = PlanCommandLine(SplitParamText(params), Existing({}));
  EXPECT_EQ(next.namedFiles, (Args{"b b.txt", "c.txt"}));
  EXPECT_EQ(next.openCode, ckUnicodeLE);
  EXPECT_EQ(next.monitorIndex, 0);
  const auto last = PlanCommandLine(SplitParamText(HandOffParamText(next, 0)), Existing({}));
  EXPECT_EQ(last.namedFiles, Args{"c.txt"});
  EXPECT_EQ(HandOffParamText(last, 0).find('"'), std::string::npos);
}

}  // namespace
}  // namespace vorn
