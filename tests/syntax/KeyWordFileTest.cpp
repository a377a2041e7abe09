// The ".hil" keyword file: both layouts, the separator rules of keyword lines, brackets and format errors.
#include "syntax/KeyWordFile.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

struct TFileType {
  TKeyWordList keyWords;
  std::string quotation;
  std::string canceler;
  TBregexpObj commenter;
  TBracketList brackets;
  TKeyWordFileData Data() { return {keyWords, quotation, canceler, commenter, brackets}; }
  void Load(const std::string& text) { LoadKeyWordFile(text, Data()); }
};

TEST(KeyWordFile, WrittenFileReadsBackEqual) {
  TFileType t;
  TKeyWord& k = t.keyWords.Add();
  k.SetPattern(",,lead");
  k.SetColorIndex(17);
  k.SetHighlightGroup(2);
  k.SetPlainText(false);
  t.keyWords.Add().SetPattern("\x95\x5c\x8e\xa6");  // 表示: trail byte 5C
  t.quotation = "\"'";
  t.canceler = "\\";
  t.commenter.SetPattern("//");
  t.commenter.SetPlainText(true);
  TBracket& b = t.brackets.Add();
  b.LeftBracket().SetPattern("/*");
  b.RightBracket().SetPattern("*/");
  b.RightBracket().SetIgnoreCase(true);
  b.SetColorIndex(5);
  b.SetRightBracketCount(2);
  b.SetRightBracketEscapeChar("\\");
  const std::string text = SaveKeyWordFile(t.Data());
  EXPECT_EQ(text.substr(0, 30), "VERSION=1.4\r\n17,0,0,0,1,2,,,le");

  TFileType back;
  back.keyWords.Add().SetPattern("stale");
  back.Load(text);
  EXPECT_TRUE(back.keyWords.Equals(t.keyWords));
  EXPECT_EQ(back.quotation, t.quotation);
  EXPECT_EQ(back.canceler, t.canceler);
  EXPECT_TRUE(back.commenter.SameAs(t.commenter));
  EXPECT_EQ(SaveKeyWordFile(back.Data()), text);
}

TEST(KeyWordFile, CurrentLayoutSeparatorRules) {
  TFileType t;
  t.Load("version=1.4\r\n17,1,0,0,0,0,,abc\r\n5, 0, 1, 0, 1, 0, foo\n\t3\t1,1,1,0,0\tbar baz\r\n");
  ASSERT_EQ(t.keyWords.Count(), 3);
  const TKeyWord& a = t.keyWords.Items(0);
  EXPECT_EQ(a.Pattern(), ",abc");
  EXPECT_EQ(a.ColorIndex(), 17);
  EXPECT_TRUE(a.IgnoreCase());
  EXPECT_TRUE(a.PlainText());
  const TKeyWord& f = t.keyWords.Items(1);
  EXPECT_EQ(f.Pattern(), "foo");
  EXPECT_EQ(f.ColorIndex(), 5);
  EXPECT_FALSE(f.IgnoreCase());
  EXPECT_TRUE(f.WholeWord());
  EXPECT_FALSE(f.PlainText());
  EXPECT_EQ(t.keyWords.Items(2).Pattern(), "bar baz");
  EXPECT_TRUE(t.keyWords.Items(2).Fuzzy());
}

TEST(KeyWordFile, OlderLayoutFlagBits) {
  TFileType t;
  t.Load("72,int\r\n// a comment\r\n\r\n0x,none\r\n530,x,y\r\n4,row\r\n50,w\r\n");
  ASSERT_EQ(t.keyWords.Count(), 5);
  const TKeyWord& k = t.keyWords.Items(0);
  EXPECT_EQ(k.Pattern(), "int");
  EXPECT_TRUE(k.IgnoreCase());
  EXPECT_TRUE(k.PlainText());
  EXPECT_EQ(k.ColorIndex(), 18);
  EXPECT_EQ(t.keyWords.Items(1).ColorIndex(), 17);
  // 530 = 0x212: comment base 5, plus (0x212 >> 6) & 7 = 0, plus 4 for bit 0x02; the pattern keeps its comma.
  EXPECT_EQ(t.keyWords.Items(2).ColorIndex(), 9);
  EXPECT_EQ(t.keyWords.Items(2).Pattern(), "x,y");
  EXPECT_EQ(t.keyWords.Items(3).ColorIndex(), 23);
  // 50 = 0x32: regular expression, whole word.
  EXPECT_FALSE(t.keyWords.Items(4).PlainText());
  EXPECT_TRUE(t.keyWords.Items(4).WholeWord());
}

TEST(KeyWordFile, SettingsAndOlderBracketsWithoutOptionLines) {
  TFileType t;
  t.brackets.Add();
  t.Load("QUOTATION=\"\r\ncanceler=\\\r\nCommenter=#\r\nCommenterFirstToken=1\r\nCommenterRegExp=\r\n"
         "CommenterCase=0\r\nBracketCount=1\r\nBracketLeft=(*\r\nBracketRight=*)\r\nBracketColorIndex=4\r\n");
  EXPECT_EQ(t.quotation, "\"");
  EXPECT_EQ(t.canceler, "\\");
  EXPECT_EQ(t.commenter.Pattern(), "#");
  EXPECT_FALSE(t.commenter.PlainText());  // a missing number means regular expression
  EXPECT_TRUE(t.commenter.IgnoreCase());
  ASSERT_EQ(t.brackets.Count(), 1);
  EXPECT_EQ(t.brackets.Items(0).LeftBracket().Pattern(), "(*");
  EXPECT_TRUE(t.brackets.Items(0).RightBracket().PlainText());
  EXPECT_EQ(t.brackets.Items(0).ColorIndex(), 4);
  EXPECT_EQ(t.keyWords.Count(), 0);
}

TEST(KeyWordFile, MissingRequiredLineRaisesAndKeepsWhatWasRead) {
  TFileType t;
  const std::string head = "VERSION=1.4\r\n1,0,0,0,0,0,kw\r\nBracketCount=2\r\n"
                           "BracketLeft=a\r\nBracketRight=b\r\nBracketColorIndex=1\r\nBracketColorOnly=0\r\n"
                           "BracketRightCount=\r\nBracketEscape\r\n";
  t.Load(head + "BracketLeft=c\r\nBracketRight=d\r\nBracketColorIndex=2\r\nBracketColorOnly=1\r\n"
                "BracketRightCount=1\r\nBracketEscape!\r\n");
  ASSERT_EQ(t.brackets.Count(), 2);
  EXPECT_EQ(t.brackets.Items(0).RightBracketCount(), 1);
  EXPECT_TRUE(t.brackets.Items(1).LineOnly());
  EXPECT_EQ(t.brackets.Items(1).RightBracketEscapeChar(), "!");

  for (const std::string& broken : {head + "BracketLeft=c\r\n", head + "BracketRight=d\r\n",
                                    head + "BracketLeft=c\r\nBracketLeftRegExp=0\r\nBracketColorIndex=1\r\n"}) {
    TFileType u;
    try {
      u.Load(broken);
      FAIL() << "accepted: " << broken;
    } catch (const EKeyWordError& e) {
      EXPECT_STREQ(e.what(), "ファイル書式の不正です");
    }
    EXPECT_EQ(u.keyWords.Count(), 1);
    EXPECT_GE(u.brackets.Count(), 1);
  }
}

}  // namespace
}  // namespace vorn
