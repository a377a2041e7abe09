// vornconv: its commands, exit statuses and the rule that a lossy read writes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "encoding/jconvert.h"
#include "VornConvFixture.h"

namespace vorn {
namespace {

using VornConv = testing::VornConvFixture;

TEST_F(VornConv, HelpPrintsUsageAndSucceeds) {
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out_.str().find("vornconv convert"), std::string::npos);
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({"frobnicate"}), 2);
}

TEST_F(VornConv, DetectPrintsCodeBreakAndNamePerFile) {
  std::string a = Make("a.txt", "\x82\xa0\r\nb\r\n");
  std::string b = Make("b.txt", "\x82\xa0 no break");
  std::string c = Make("c.txt", "\x82\xa0\ny");
  EXPECT_EQ(Run({"detect", a, b, c}), 0);
  EXPECT_EQ(out_.str(), "SJIS\tCRLF\t" + a + "\nSJIS\tNONE\t" + b + "\nSJIS\tLF\t" + c + "\n");
  EXPECT_EQ(Run({"detect", a, dir_ + "/missing"}), 2);
  EXPECT_EQ(out_.str(), "SJIS\tCRLF\t" + a + "\n");
  EXPECT_FALSE(err_.str().empty());
}

TEST_F(VornConv, ConvertWritesAsTheEditorSaves) {
  std::string a = Make("a.txt", "a\rb\r\nc");
  EXPECT_EQ(Run({"convert", "--to=s", a}), 0);
  EXPECT_EQ(out_.str(), "a\rb\rc");
  EXPECT_EQ(Run({"convert", "--from=s", "--to=s", "--eol=n", a}), 0);
  EXPECT_EQ(out_.str(), "a\nb\nc");
  std::string target = dir_ + "/out.txt";
  EXPECT_EQ(Run({"convert", "--to=s", "--eol=c", "--output=" + target, a}), 0);
  EXPECT_EQ(Read(target), "a\r\nb\r\nc");
  EXPECT_TRUE(out_.str().empty());
}

TEST_F(VornConv, LossyReadExitsThreeAndWritesOnlyWithLossy) {
  std::string a = Make("nul.txt", std::string("a\0b\r\n", 5));
  std::string target = dir_ + "/out.txt";
  EXPECT_EQ(Run({"convert", "--to=s", "--output=" + target, a}), 3);
  EXPECT_NE(::access(target.c_str(), F_OK), 0);
  EXPECT_EQ(Run({"convert", "--to=s", a}), 3);
  EXPECT_TRUE(out_.str().empty());
  EXPECT_EQ(Run({"convert", "--to=s", "--lossy", a}), 3);
  EXPECT_EQ(out_.str(), "a b\r\n");
}

TEST_F(VornConv, BadArgumentsAreUsageErrors) {
  std::string a = Make("a.txt", "x");
  EXPECT_EQ(Run({"convert", a}), 2);
  EXPECT_EQ(Run({"convert", "--to=x", a}), 2);
  EXPECT_EQ(Run({"convert", "--to=s", "--eol=q", a}), 2);
  EXPECT_EQ(Run({"convert", "--to=s", "--bogus", a}), 2);
  EXPECT_EQ(Run({"convert", "--to=s", a, a}), 2);
  EXPECT_EQ(Run({"convert", "--to=s"}), 2);
  EXPECT_EQ(Run({"detect"}), 2);
  EXPECT_EQ(Run({"convert", "--to=s", dir_ + "/missing"}), 2);
  EXPECT_EQ(Run({"convert", "--to=s", "--output=" + dir_ + "/no/dir/x", a}), 2);
}

TEST_F(VornConv, DetectNamesTheKindsADocumentNeverCarries) {
  std::string a = Make("a.txt", "plain ascii\n");
  std::string b = Make("b.bin", std::string("\0\x01\x02\x03\0\0\xff\0", 8));
  EXPECT_EQ(Run({"detect", a, b}), 0);
  EXPECT_EQ(out_.str(), "ASCII\tLF\t" + a + "\nBINARY\tNONE\t" + b + "\n");
}

TEST_F(VornConv, CharactersShiftJisCannotHoldMakeTheReadLossy) {
  std::string a = Make("emoji.txt", "a\xf0\x9f\x98\x80" "b\n");
  EXPECT_EQ(Run({"convert", "--from=n", "--to=n", a}), 3);
  EXPECT_TRUE(out_.str().empty());
  std::string kana = Make("kana.txt", "\xe3\x81\x82\n");
  EXPECT_EQ(Run({"convert", "--from=n", "--to=s", kana}), 0);
  EXPECT_EQ(out_.str(), "\x82\xa0\n");
}

}  // namespace
}  // namespace vorn
