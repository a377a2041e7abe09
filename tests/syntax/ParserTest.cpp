// Tokenizer behaviour: character classes, numbers, brackets across rows, quotations, links and comments.
#include "ParserTestUtil.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

using testing::AddBracket;
using testing::Parse;
using testing::Tokens;
using testing::TToken;
using Toks = std::vector<TToken>;

TEST(ParserClasses, WithoutOwnerOnlyCharacterClassesAreRecognised) {
  // "ab_1 <TAB>" then "/*x*/" stays symbols and identifiers without an owner.
  EXPECT_EQ(Tokens(nullptr, "ab_1  \t/*"),
            (Toks{{tkIdentifier, "ab_1"}, {tkSpaces, "  "}, {tkTab, "\t"}, {tkSymbol, "/"}, {tkSymbol, "*"}}));
  EXPECT_EQ(Tokens(nullptr, "\x01\x02\x7f" "a"), (Toks{{tkControl, "\x01\x02\x7f"}, {tkIdentifier, "a"}}));
}

TEST(ParserClasses, JapaneseRunsTakeTheirMarks) {
  // あい followed by ー is one hiragana token; アイ followed by － is one katakana token.
  EXPECT_EQ(Tokens(nullptr, "\x82\xa0\x82\xa2\x81\x5b"), (Toks{{tkHiragana, "\x82\xa0\x82\xa2\x81\x5b"}}));
  EXPECT_EQ(Tokens(nullptr, "\x83\x41\x83\x43\x81\x7c"), (Toks{{tkKatakana, "\x83\x41\x83\x43\x81\x7c"}}));
  // ０，１．２ is one full-width digit run.
  EXPECT_EQ(Tokens(nullptr, "\x82\x4f\x81\x43\x82\x50\x81\x44\x82\x51"),
            (Toks{{tkWideDigits, "\x82\x4f\x81\x43\x82\x50\x81\x44\x82\x51"}}));
  // ー alone starts no run: it is a one-character double-byte symbol; so is ，.
  EXPECT_EQ(Tokens(nullptr, "\x81\x5b\x81\x43"), (Toks{{tkWideSymbol, "\x81\x5b"}, {tkWideSymbol, "\x81\x43"}}));
  // 漢字 then Ａ then ｱｲ then ｡
  EXPECT_EQ(Tokens(nullptr, "\x8a\xbf\x8e\x9a\x82\x60\xb1\xb2\xa1"),
            (Toks{{tkKanji, "\x8a\xbf\x8e\x9a"}, {tkWideLatin, "\x82\x60"}, {tkHalfKana, "\xb1\xb2"},
                  {tkHalfPunct, "\xa1"}}));
}

TEST(ParserClasses, RowEightyEightSplitsUnassignedFromKanji) {
  // 88 40 is unassigned (kind 25) and runs on into F0 40; 88 9F (亜) starts kanji and runs on into 89 40.
  EXPECT_EQ(Tokens(nullptr, "\x88\x40\xf0\x40\x88\x9f\x89\x40"),
            (Toks{{tkUnassigned, "\x88\x40\xf0\x40"}, {tkKanji, "\x88\x9f\x89\x40"}}));
  // ① (87 40) is a vendor character; α (83 BF) a double-byte symbol run; 84 40 likewise.
  EXPECT_EQ(Tokens(nullptr, "\x87\x40\x87\x41\x83\xbf\x83\xc0\x84\x40"),
            (Toks{{tkVendor, "\x87\x40\x87\x41"}, {tkWideSymbol, "\x83\xbf\x83\xc0"}, {tkWideSymbol, "\x84\x40"}}));
  // The unassigned code 82 FA is one whole character, not a lead byte followed by a stray trail byte.
  EXPECT_EQ(Tokens(nullptr, "\x82\xfa" "a"), (Toks{{tkUnassigned, "\x82\xfa"}, {tkIdentifier, "a"}}));
  EXPECT_EQ(Tokens(nullptr, "\x80\xa0\xfd"), (Toks{{tkSymbol, "\x80"}, {tkSymbol, "\xa0"}, {tkSymbol, "\xfd"}}));
}

TEST(ParserClasses, LeadByteNeverSwallowsTheLineEnd) {
  EXPECT_EQ(Tokens(nullptr, "a\x8a\r\nb"), (Toks{{tkIdentifier, "a"}, {tkSymbol, "\x8a"}}));
  EXPECT_EQ(Tokens(nullptr, std::string("\x8a\xbf\x84", 3)), (Toks{{tkKanji, "\x8a\xbf"}, {tkSymbol, "\x84"}}));
}

TEST(ParserNumbers, FractionsAndExponents) {
  EXPECT_EQ(Tokens(nullptr, "12.5e-3+"), (Toks{{tkReal, "12.5e-3"}, {tkSymbol, "+"}}));
  EXPECT_EQ(Tokens(nullptr, "12.x"), (Toks{{tkReal, "12"}, {tkSymbol, "."}, {tkIdentifier, "x"}}));
  EXPECT_EQ(Tokens(nullptr, "7.E5"), (Toks{{tkReal, "7.E5"}}));
  EXPECT_EQ(Tokens(nullptr, "3e"), (Toks{{tkReal, "3e"}}));
  EXPECT_EQ(Tokens(nullptr, "42;"), (Toks{{tkInteger, "42"}, {tkSymbol, ";"}}));
  EXPECT_EQ(Tokens(nullptr, "0x1F"), (Toks{{tkInteger, "0"}, {tkIdentifier, "x1F"}}));
}

class ParserWithView : public ::testing::Test {
protected:
  TVornEditViewInfo view;
};

TEST_F(ParserWithView, BlockCommentCarriesItsStateAcrossRows) {
  AddBracket(view, "/*", "*/").SetColorIndex(5);
  auto first = Parse(&view, "int a; /* open");
  EXPECT_EQ(first.tokens.back(), (TToken{tkBracket, "/* open"}));
  EXPECT_EQ(first.endState, 0);
  auto middle = Parse(&view, "still inside", 0);
  EXPECT_EQ(middle.tokens, (Toks{{tkBracket, "still inside"}}));
  EXPECT_EQ(middle.endState, 0);
  auto last = Parse(&view, "end */ x", 0);
  EXPECT_EQ(last.tokens, (Toks{{tkBracket, "end */"}, {tkSpaces, " "}, {tkIdentifier, "x"}}));
  EXPECT_EQ(last.endState, -1);
  // An empty row inside the comment keeps the state.
  EXPECT_EQ(Parse(&view, "", 0).endState, 0);
}

TEST_F(ParserWithView, FirstMatchingItemWinsAndUnknownStateSuppressesBrackets) {
  AddBracket(view, "/*", "*/");
  AddBracket(view, "/", "/");
  auto r = Parse(&view, "/*a*/ /b/");
  EXPECT_EQ(r.tokens, (Toks{{tkBracket, "/*a*/"}, {tkSpaces, " "}, {tkBracket, "/b/"}}));
  EXPECT_EQ(Parse(&view, "/*a", -2).tokens, (Toks{{tkSymbol, "/"}, {tkSymbol, "*"}, {tkIdentifier, "a"}}));
  // A state beyond the collection (left from a longer one) is treated as outside.
  EXPECT_EQ(Parse(&view, "x", 9).tokens, (Toks{{tkIdentifier, "x"}}));
}

TEST_F(ParserWithView, LineOnlyBracketEndsWithItsRow) {
  AddBracket(view, "'", "'").SetLineOnly(true);
  auto r = Parse(&view, "a 'open");
  EXPECT_EQ(r.tokens.back(), (TToken{tkBracket, "'open"}));
  EXPECT_EQ(r.endState, -1);
}

TEST_F(ParserWithView, EscapeCharacterKeepsTheBracketOpen) {
  AddBracket(view, "\"", "\"").SetRightBracketEscapeChar("\\\\ignored");
  EXPECT_EQ(view.Brackets().Items(0).RightBracketEscapeChar(), "\\");
  auto r = Parse(&view, "\"a\\\"b\" c");
  EXPECT_EQ(r.tokens, (Toks{{tkBracket, "\"a\\\"b\""}, {tkSpaces, " "}, {tkIdentifier, "c"}}));
  // A trailing escape character does not step over the line end.
  auto open = Parse(&view, "\"a\\");
  EXPECT_EQ(open.tokens, (Toks{{tkBracket, "\"a\\"}}));
  EXPECT_EQ(open.endState, 0);
  // The trail byte 5C of ソ (83 5C) is not an escape character.
  EXPECT_EQ(Parse(&view, "\"\x83\x5c\" x").tokens, (Toks{{tkBracket, "\"\x83\x5c\""}, {tkSpaces, " "},
                                                        {tkIdentifier, "x"}}));
}

TEST_F(ParserWithView, RightBracketCountNeedsSeveralClosings) {
  TVornEditBracketItem& item = AddBracket(view, "[", "|");
  item.SetRightBracketCount(2);
  EXPECT_TRUE(item.LineOnly());
  item.SetLineOnly(false);
  EXPECT_TRUE(item.LineOnly());
  // After the first closing match one further character is stepped over.
  EXPECT_EQ(Tokens(&view, "[a|b|c|d"), (Toks{{tkBracket, "[a|b|"}, {tkIdentifier, "c"}, {tkSymbol, "|"},
                                             {tkIdentifier, "d"}}));
}

TEST_F(ParserWithView, QuotationsWithOneCanceler) {
  view.SetQuotation("\"'");
  view.SetQuotationCanceler("\\");
  EXPECT_EQ(Tokens(&view, "\"a\\\"b\"c"), (Toks{{tkQuotation, "\"a\\\"b\""}, {tkIdentifier, "c"}}));
  // The second quote kind has no canceler: a backslash does not escape, a doubled quote does.
  EXPECT_EQ(Tokens(&view, "'a\\'b"), (Toks{{tkQuotation, "'a\\'"}, {tkIdentifier, "b"}}));
  EXPECT_EQ(Tokens(&view, "'a''b' c"), (Toks{{tkQuotation, "'a''b'"}, {tkSpaces, " "}, {tkIdentifier, "c"}}));
  // A doubled first quote never closes either, and an unclosed quotation ends at the line end.
  EXPECT_EQ(Tokens(&view, "\"x\"\"y"), (Toks{{tkQuotation, "\"x\"\"y"}}));
  // ソ (83 5C) is skipped whole: its trail byte is not the canceler.
  EXPECT_EQ(Tokens(&view, "\"\x83\x5c\"z"), (Toks{{tkQuotation, "\"\x83\x5c\""}, {tkIdentifier, "z"}}));
}

TEST_F(ParserWithView, CancelerEqualToQuoteMeansDoubling) {
  view.SetQuotation("'");
  view.SetQuotationCanceler("'");
  EXPECT_EQ(Tokens(&view, "'it''s' x"), (Toks{{tkQuotation, "'it''s'"}, {tkSpaces, " "}, {tkIdentifier, "x"}}));
}

TEST_F(ParserWithView, UrlPrefixesAreCaseSensitive) {
  view.SetUrl(true);
  EXPECT_EQ(Tokens(&view, "http://a.jp/x?y=1 z"),
            (Toks{{tkUrl, "http://a.jp/x?y=1"}, {tkSpaces, " "}, {tkIdentifier, "z"}}));
  EXPECT_EQ(Tokens(&view, "https://a.jp")[0], (TToken{tkUrl, "https://a.jp"}));
  EXPECT_EQ(Tokens(&view, "ftp://f.jp")[0], (TToken{tkUrl, "ftp://f.jp"}));
  EXPECT_EQ(Tokens(&view, "www.a.jp")[0], (TToken{tkUrl, "www.a.jp"}));
  EXPECT_EQ(Tokens(&view, "HTTP://a")[0], (TToken{tkIdentifier, "HTTP"}));
  EXPECT_EQ(Tokens(&view, "httpx")[0], (TToken{tkIdentifier, "httpx"}));
}

TEST_F(ParserWithView, MailAddressesNeedAtThenDot) {
  view.SetMail(true);
  EXPECT_EQ(Tokens(&view, "a.b@c.jp, x"), (Toks{{tkMailAddress, "a.b@c.jp,"}, {tkSpaces, " "}, {tkIdentifier, "x"}}));
  EXPECT_EQ(Tokens(&view, "@c.jp")[0], (TToken{tkSymbol, "@"}));
  EXPECT_EQ(Tokens(&view, "a.b@c")[0], (TToken{tkIdentifier, "a"}));
  EXPECT_EQ(Tokens(&view, "x@y.z")[0], (TToken{tkMailAddress, "x@y.z"}));
}

TEST_F(ParserWithView, MailIdInAnyCaseRunsToTheClosingAngle) {
  view.SetMailId(true);
  EXPECT_EQ(Tokens(&view, "mailid:<\x82\xa0>x"), (Toks{{tkMailId, "mailid:<\x82\xa0>"}, {tkIdentifier, "x"}}));
  EXPECT_EQ(Tokens(&view, "MailId:<open")[0], (TToken{tkMailId, "MailId:<open"}));
  EXPECT_EQ(Tokens(&view, "MAILID:x")[0], (TToken{tkIdentifier, "MAILID"}));
}

TEST_F(ParserWithView, FileNamesQuotedOrToTheNextSpace) {
  view.SetFileObj(true);
  EXPECT_EQ(Tokens(&view, "file:///tmp/a.txt b")[0], (TToken{tkFileName, "file:///tmp/a.txt"}));
  EXPECT_EQ(Tokens(&view, "file:\"a b'c")[0], (TToken{tkFileName, "file:\"a b'"}));
  EXPECT_EQ(Tokens(&view, "File:x")[0], (TToken{tkIdentifier, "File"}));
  // Without the option an "f" word stays an identifier even with URLs on, unless it is "ftp:".
  view.SetFileObj(false);
  view.SetUrl(true);
  EXPECT_EQ(Tokens(&view, "file:x")[0], (TToken{tkIdentifier, "file"}));
}

TEST_F(ParserWithView, CommentRunsToTheLineEndAndPlainModeIgnoresIt) {
  view.Commenter1().SetPlainText(true);
  view.Commenter1().SetPattern("//");
  view.SetQuotation("\"");
  AddBracket(view, "/*", "*/");
  EXPECT_EQ(Tokens(&view, "a // \"b\" /*\r\nnext"), (Toks{{tkIdentifier, "a"}, {tkSpaces, " "},
                                                        {tkComment, "// \"b\" /*"}}));
  auto plain = Parse(&view, "\"/*", -1, true);
  EXPECT_EQ(plain.tokens, (Toks{{tkSymbol, "\""}, {tkSymbol, "/"}, {tkSymbol, "*"}}));
  EXPECT_EQ(plain.endState, -1);
}

TEST_F(ParserWithView, PatternChangesReachTheTokenizerAtOnce) {
  TVornEditBracketItem& item = AddBracket(view, "/*", "*/");
  EXPECT_EQ(Tokens(&view, "(*x*)")[0], (TToken{tkSymbol, "("}));
  item.LeftBracket().SetPattern("(*");
  item.RightBracket().SetPattern("*)");
  EXPECT_EQ(Tokens(&view, "(*x*)"), (Toks{{tkBracket, "(*x*)"}}));
  view.Commenter1().SetPlainText(true);
  view.Commenter1().SetPattern("rem");
  EXPECT_EQ(Tokens(&view, "REM x")[0], (TToken{tkIdentifier, "REM"}));
  view.Commenter1().SetIgnoreCase(true);
  EXPECT_EQ(Tokens(&view, "REM x"), (Toks{{tkComment, "REM x"}}));
  // A regular expression may start with any byte.
  view.Commenter1().SetPlainText(false);
  view.Commenter1().SetPattern("[;#]");
  EXPECT_EQ(Tokens(&view, "a #b"), (Toks{{tkIdentifier, "a"}, {tkSpaces, " "}, {tkComment, "#b"}}));
}

TEST_F(ParserWithView, BracketCollectionHoldsAtMostFourteenItems) {
  for (int i = 0; i < 14; ++i) view.Brackets().Add();
  try {
    view.Brackets().Add();
    FAIL() << "a fifteenth item was accepted";
  } catch (const EBracketCollectionError& e) {
    EXPECT_STREQ(e.what(), "TVornEditBracketCollection\r\nYou can not add item over 14");
  }
  EXPECT_EQ(view.Brackets().Count(), 14);
}

TEST_F(ParserWithView, ChangesReachTheViewOnceAndEqualAssignIsSilent) {
  int calls = 0;
  view.SetOnChange([&](TNotifyPersistent*) { ++calls; });
  AddBracket(view, "/*", "*/");
  const int afterAdd = calls;
  EXPECT_GT(afterAdd, 0);
  view.Brackets().Items(0).RightBracket().SetPattern("*)");
  EXPECT_EQ(calls, afterAdd + 1);

  TVornEditViewInfo other;
  AddBracket(other, "/*", "*)");
  other.SetMail(true);
  other.SetQuotation("'");
  other.Colors().Items(5).SetColor(0x123456);
  calls = 0;
  view.Assign(other);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(view.Mail());
  EXPECT_EQ(view.Quotation(), "'");
  EXPECT_TRUE(view.Colors() == other.Colors());
  EXPECT_TRUE(view.Brackets().Equals(other.Brackets()));
  TVornEditBracketCollection same;
  same.Assign(other.Brackets());
  calls = 0;
  view.Brackets().Assign(same);
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace vorn
