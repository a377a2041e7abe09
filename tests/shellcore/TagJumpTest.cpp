// Tag jump over lines as compilers, grep and people write them, against a fake file system.
#include <gtest/gtest.h>

#include <set>

#include "encoding/jconvert.h"
#include "shellcore/TagJump.h"

namespace vorn {
namespace {

std::string Sjis(const std::string& utf8) { return ConvertCharCode(utf8, ckUtf8N, ckSjis); }

class TagJumpTest : public ::testing::Test {
protected:
  std::set<std::string> files_{"/src/a b.c", "/src/main.c", "f(1).txt", "dir/x.h", Sjis("/資料/メモ.txt")};
  TTagJumpTarget Scan(const std::string& line) {
    return ScanTagJump(line, [this](const std::string& n) { return files_.count(n) > 0; });
  }
};

TEST_F(TagJumpTest, CompilerAndGrepLines) {
  const TTagJumpTarget quoted = Scan("\"/src/a b.c\"(12): error: oops");
  EXPECT_TRUE(quoted.Found);
  EXPECT_EQ(quoted.Name, "/src/a b.c");
  EXPECT_EQ(quoted.Line, 12);
  const TTagJumpTarget colon = Scan("  /src/main.c:345:7: warning");
  EXPECT_EQ(colon.Name, "/src/main.c");
  EXPECT_EQ(colon.Line, 345);
  const TTagJumpTarget bare = Scan("/src/main.c 34 more words");
  EXPECT_EQ(bare.Line, 34);
  const TTagJumpTarget japanese = Scan(Sjis("　/資料/メモ.txt(7)　説明"));
  EXPECT_EQ(japanese.Name, Sjis("/資料/メモ.txt"));
  EXPECT_EQ(japanese.Line, 7);
}

TEST_F(TagJumpTest, BackslashesBecomeSlashesAndNamesMayHoldParentheses) {
  EXPECT_EQ(Scan("dir\\x.h(3)").Name, "dir/x.h");
  const TTagJumpTarget paren = Scan("f(1).txt");
  EXPECT_TRUE(paren.Found);
  EXPECT_EQ(paren.Name, "f(1).txt");
  EXPECT_FALSE(paren.Line.has_value());
  // Characters no file name holds are dropped on the way.
  EXPECT_EQ(Scan("/src/ma*in.c|(9)").Name, "/src/main.c");
}

TEST_F(TagJumpTest, LineNumberSearchIsShort) {
  EXPECT_FALSE(Scan("/src/main.c       12").Line.has_value());  // more than five skipped
  EXPECT_EQ(Scan("/src/main.c (line 12)").Line, std::nullopt);
  EXPECT_EQ(Scan("/src/main.c  ( 12)").Line, 12);
  EXPECT_FALSE(Scan(Sjis("/src/main.c 行12")).Line.has_value());  // another double-byte character
  EXPECT_EQ(Scan("/src/main.c(99999999999999)").Line, 1000000000);  // clamped, never overflows
}

TEST_F(TagJumpTest, MissingFileReportsTheNameTried) {
  const TTagJumpTarget none = Scan("nothing/here.c(3): x");
  EXPECT_FALSE(none.Found);
  EXPECT_EQ(ConvertCharCode(TagJumpNotFoundText(none.Name), ckSjis, ckUtf8N),
            "ファイル nothing/here.c(3): x が見つかりません");
  EXPECT_FALSE(Scan("").Found);
}

TEST_F(TagJumpTest, ParametersAndFindMacro) {
  TTagJumpTarget target = Scan("/src/a b.c:4");
  TTagJumpFind find{"it's", {1, 0, 1, 0}};
  const std::string macro = TagJumpFindMacro(find);
  EXPECT_EQ(macro, "Find('it''s',1,0,1,0,1)");
  EXPECT_EQ(TagJumpParameters(target, macro, 2), "\"/src/a b.c\" -j4 \"-lFind('it''s',1,0,1,0,1)\" -x2");
  target.Line.reset();
  EXPECT_EQ(TagJumpParameters(target, "", 0), "\"/src/a b.c\" -x0");
}

TEST(EncodeQuote, QuotesDoubledAndFinalLineEndDropped) {
  bool dropped = false;
  EXPECT_EQ(EncodeQuote("say \"hi\"\r\n", &dropped), "\"say \"\"hi\"\"\"");
  EXPECT_TRUE(dropped);
  EXPECT_EQ(EncodeQuote("a\r\nb", &dropped), "\"a\r\nb\"");
  EXPECT_FALSE(dropped);
  EXPECT_EQ(EncodeQuote("\n"), "\"\"");
  EXPECT_EQ(EncodeQuote(""), "\"\"");
}

}  // namespace
}  // namespace vorn
