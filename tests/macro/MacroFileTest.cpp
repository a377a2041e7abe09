// The ".mac" grammar as a golden table of lines and the steps they give, the file reader's
// refusals with their line numbers, and the writer against the reader on random sets.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "macro/MacroFile.h"
#include "macro/MacroText.h"
#include "macro/MacroVariables.h"
#include "platform/PathPolicy.h"
#include "shellcore/TagJump.h"
#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

std::string Hex(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

std::string Dump(const TMacroLine& line) {
  switch (line.Kind) {
    case TMacroLine::lkNothing: return "-";
    case TMacroLine::lkComment: return "// " + Hex(line.Comment);
    case TMacroLine::lkError: return "! " + line.Error;
    case TMacroLine::lkStep: break;
  }
  const TMacroItem& s = line.Step;
  if (s.IsText()) return "Text[" + Hex(s.Text) + "]";
  std::string out(FunctionByNumber(s.Function)->Name);
  if (s.Shift) out += "+S";
  out += "[";
  for (std::size_t i = 0; i < s.Arguments.size(); ++i) out += (i ? "|" : "") + Hex(s.Arguments[i]);
  return out + "]";
}

TEST(MacroGrammar, LinesGiveTheStepsOfTheGoldenTable) {
  const std::pair<std::string, std::string> kLines[] = {
      {"cursorDown,shift", "CursorDown+S[]"},
      {"CursorDown ,SHIFT", "CursorDown+S[]"},
      {"JumpRow(\"12\")", "JumpRow[12]"},
      {"  JumpRow(12);\t", "JumpRow[12]"},
      {"\x81\x40JumpRow( 12 )\x81\x40", "JumpRow[12]"},
      {"InputStr('it''s')", "Text[it's]"},
      {"InputStr(\"\")", "Text[]"},
      {"inputstr(\"%SELTEXT%\")", "Text[%SELTEXT%]"},
      {"InputStr", "-"},
      {"InputStr()", "-"},
      {"Find('a)',1)", "Find[a)|1]"},
      {"Find(\"a\"\"b\",  c d ,e)", "Find[a\"b|c d |e]"},
      {"Message(\"x\" tail)", "Message[xtail]"},
      {"Find(\"a\",)", "Find[a]"},
      {"Find(1,2,3,4,5,6,7,8,9,10)", "Find[1|2|3|4|5|6|7|8|9|10]"},
      {"Find(1,2,3,4,5,6,7,8,9,10,11)", "! 引数が10個を超えています"},
      {"Find(\"abc", "! 引用符が閉じていません"},
      {"InputStr('abc", "! 引用符が閉じていません"},
      {"CursorDown(\"1\") ,SHIFT", "CursorDown+S[1]"},
      // 83 53 is one character whose trail byte is "S": no Shift suffix there.
      {"Message(\x83SHIFT", "Message[\\x83SHIFT]"},
      // 82 81 40: the last 81 40 is a trail byte and "@", not a full-width space.
      {"InputStr(\x82\x81\x40", "Text[\\x82\\x81@]"},
      {"// first  ", "// first"},
      {"//", "// "},
      {"NoSuchCommand(1)", "-"},
      {"CursorDownAction", "-"},
      {"SaveKeyMap", "-"},
      {"", "-"},
      {"\t \x81\x40", "-"},
  };
  for (const auto& [line, expected] : kLines) EXPECT_EQ(Dump(ParseMacroLine(line)), expected) << Hex(line);
}

TEST(MacroGrammar, FilesReadEveryLineEndAndRefuseDamageByLine) {
  TMacroSet set;
  ASSERT_TRUE(ReadMacroText("// old\r\nCursorDown\nBogus(1)\r// new\r\n\r\nInputStr(\"x\")", set).Ok);
  EXPECT_EQ(set.Description, "new");
  ASSERT_EQ(set.Steps.size(), 2u);
  EXPECT_EQ(set.Steps[1], TMacroItem::Typed("x"));

  const TMacroSet before = set;
  struct TCase {
    std::string bytes;
    TMacroReadLimits limits;
    int line;
    std::string reason;
  } const kCases[] = {
      {"CursorUp\r\nInputStr(\"\x80\")\r\n", {}, 2, "11 バイト目が Shift_JIS の文字ではありません"},
      {"CursorUp\r\nCursorUp\r\nInputStr(\"\x82\")", {}, 3, "11 バイト目が Shift_JIS の文字ではありません"},
      {"CursorUp\r\nInputStr(\"0123456789\")\r\n", {16, 1024}, 2, "行が長すぎます（16 バイトまで）"},
      {"CursorUp\r\nCursorUp\r\n", {1024, 8}, 0, "ファイルが大きすぎます（8 バイトまで）"},
      {"\n\nFind(\"open", {}, 3, "引用符が閉じていません"},
      {"CursorUp\r\nInputStr(\"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\")\r\n", {}, 2,
       "Shift_JIS ではなく UTF-8 で書かれています。Shift_JIS で保存してください"},
  };
  for (const TCase& c : kCases) {
    const TMacroReadResult result = ReadMacroText(c.bytes, set, c.limits);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Line, c.line) << Hex(c.bytes);
    EXPECT_EQ(result.Reason, c.reason);
    EXPECT_EQ(set, before) << "a damaged file must not replace the steps in part";
  }
  EXPECT_EQ(MacroReadMessage("/m/a.mac", TMacroReadResult{false, 3, "引用符が閉じていません"}),
            "マクロファイル「/m/a.mac」の 3 行目: 引用符が閉じていません");
  EXPECT_EQ(MacroListDescription("\x81\x40//  \x8c\xea  \r\n// later"), "\x8c\xea");
  EXPECT_EQ(MacroListDescription("CursorUp\r\n// later"), "");
}

std::string RandomText(std::mt19937& rng, int maxChars) {
  static const std::vector<std::string> kPieces = {
      "a", "Z", "0", " ", "\t", "\"", "'", ",", "(", ")", ";", "%", "/", "SHIFT", "\x81\x40",
      "\x83\x5c", "\x82\xa0", "\x88\x9f", "\xb1", "\x82\x81\x40"};
  std::string out;
  const int n = std::uniform_int_distribution<int>(0, maxChars)(rng);
  for (int i = 0; i < n; ++i) out += kPieces[std::uniform_int_distribution<std::size_t>(0, kPieces.size() - 1)(rng)];
  return out;
}

TMacroSet RandomSet(std::mt19937& rng) {
  TMacroSet set;
  set.Description = RandomText(rng, 6);
  const int steps = std::uniform_int_distribution<int>(0, 12)(rng);
  for (int i = 0; i < steps; ++i) {
    if (rng() % 3 == 0) {
      set.Steps.push_back(TMacroItem::Typed(RandomText(rng, 8)));
      continue;
    }
    std::vector<std::string> arguments(std::uniform_int_distribution<std::size_t>(0, 10)(rng));
    for (std::string& a : arguments) a = RandomText(rng, 5);
    set.Steps.push_back(TMacroItem::Command(static_cast<int>(rng() % kFunctionCount), rng() % 2 == 0, arguments));
  }
  return set;
}

TEST(MacroGrammar, WrittenSetsReadBackToTheSameStepsAndWriteAgainByteForByte) {
  std::mt19937 rng(28);
  for (int round = 0; round < 2000; ++round) {
    const TMacroSet set = RandomSet(rng);
    std::string error;
    const std::string text = MacroFileText(set, &error);
    ASSERT_TRUE(error.empty()) << error;
    TMacroSet read;
    ASSERT_TRUE(ReadMacroText(text, read).Ok) << Hex(text);
    EXPECT_EQ(read.Steps, set.Steps) << Hex(text);
    EXPECT_EQ(MacroFileText(read, &error), text);
  }
}

TEST(MacroGrammar, StepsThatNoLineCanHoldAreRefusedNotWrittenDamaged) {
  std::string error;
  TMacroSet set;
  set.Steps = {TMacroItem::Command(FunctionNumber("CursorUp")), TMacroItem::Typed("two\r\nlines")};
  EXPECT_EQ(MacroFileText(set, &error), "");
  EXPECT_EQ(error, "2 番目のステップをマクロファイルに書けません: 改行を含む文字列は1行に書けません");
  set.Steps = {TMacroItem::Command(FunctionNumber("Find"), false, {"\xff"})};
  EXPECT_EQ(MacroFileText(set, &error), "");
  EXPECT_NE(error.find("Shift_JIS でない文字"), std::string::npos);
  set.Steps.clear();
  set.Description = "  two\r\nlines ";
  EXPECT_EQ(MacroFileText(set, &error), "// two  lines\r\n");
  EXPECT_EQ(SaveMacroFile(TMacroSet{}), "ERROR:マクロのファイル名なし");
}

class TFixedValues : public TMacroVariableSource {
public:
  int asked = 0;
  std::string SelectedText() override { return ++asked, "<%SELTEXT% %copystr%>"; }
  std::string ClipboardText() override { return ++asked, "clip"; }
  std::string MacroString(int i) override { return ++asked, "m" + std::to_string(i); }
  TCharCodeKind CharCode() override { return ++asked, ckUtf8; }
  TLineBreakKind LineBreak() override { return ++asked, lbLF; }
};

TEST(MacroVariables, EachIsReplacedInItsOrderAndNoValueIsSearchedAgain) {
  TFixedValues v;
  EXPECT_EQ(ReplaceMacroVariables("plain text", v), "plain text");
  EXPECT_EQ(v.asked, 0);
  EXPECT_EQ(ReplaceMacroVariables("%SelText%|%COPYSTR%|%macrostr3%%MACROSTR9%|%CHARCODE%%RETURNCODE%", v),
            "<%SELTEXT% %copystr%>|clip|m3m9|62");
  // The selection is looked for first, so the "%" closing the clipboard's name starts it.
  EXPECT_EQ(ReplaceMacroVariables("%COPYSTR%SELTEXT%", v), "%COPYSTR<%SELTEXT% %copystr%>");
  for (int n = 0; n < 9; ++n) EXPECT_EQ(MacroCodeNumber(*CodeOfMacroNumber(n)), n);
  EXPECT_FALSE(CodeOfMacroNumber(9));
  EXPECT_EQ(MacroLineBreakNumber(lbCR), 1);
}

// A grep result's find step goes to a new copy on its command line, which is native text.
TEST(MacroCommandLine, ATagJumpsFindStepCrossesTheCommandLineIntact) {
  TTagJumpFind find;
  find.Keyword = "\x93\xfa\x96\x7b it's";
  const std::string macro = TagJumpFindMacro(find);
  const std::vector<std::string> args = SplitParamText(TagJumpParameters(TTagJumpTarget{"/a.txt", true, 3}, macro, 0));
  ASSERT_EQ(args.size(), 4u);
  ASSERT_EQ(args[2].substr(0, 2), "-l");
  EXPECT_EQ(MacroLineFromCommandLine(args[2].substr(2)), macro);
  EXPECT_EQ(MacroLineFromCommandLine("Find(\"\xe6\x97\xa5\")"), "Find(\"\x93\xfa\")");
  EXPECT_EQ(MacroLineFromCommandLine("Find(\"\x93\xfa\")"), "Find(\"\x93\xfa\")") << "not UTF-8: Shift_JIS already";
}

}  // namespace
}  // namespace vorn
