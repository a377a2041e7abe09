// TBregexpObj searches on both paths, compile state, replace, back references and match records.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "regex/BregexpUtil.h"

namespace vorn {
namespace {

class BregexpSearch : public ::testing::Test {
protected:
  static void SetUpTestSuite() { engine_ = new TBregexp(VORN_BIN_DIR "/libVornRegexp.so"); }
  static void TearDownTestSuite() {
    delete engine_;
    engine_ = nullptr;
  }
  std::unique_ptr<TBregexpObj> Make(const std::string& pattern, bool plain = false) {
    auto obj = std::make_unique<TBregexpObj>(engine_);
    obj->SetPattern(pattern);
    obj->SetPlainText(plain);
    return obj;
  }
  static TBregexp* engine_;
};

TBregexp* BregexpSearch::engine_ = nullptr;

TEST_F(BregexpSearch, PlainWholeWordFindsOnlyWholeWords) {
  auto obj = Make("a.b", true);
  obj->SetWholeWord(true);
  int pos = 0, len = 0;
  ASSERT_TRUE(obj->FindIn("x a.b y", pos, len));
  EXPECT_TRUE(obj->SimpleSearch());
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(len, 3);
  pos = 0;
  EXPECT_FALSE(obj->FindIn("xa.b", pos, len));
  EXPECT_EQ(obj->Matches().Count(), 0);  // the simple path leaves Matches alone
}

TEST_F(BregexpSearch, NeitherPathMatchesOnATrailByte) {
  // "ソ" 83 5C, "表" 95 5C: a backslash search must skip both and find the real one at 4.
  const std::string text = "\x83\x5C\x95\x5C\x5C";
  for (bool plain : {true, false}) {
    auto obj = Make(plain ? "\\" : "\\\\", plain);
    int pos = 0, len = 0;
    ASSERT_TRUE(obj->FindIn(text, pos, len)) << plain;
    EXPECT_EQ(pos, 4) << plain;
    EXPECT_EQ(obj->SimpleSearch(), plain);
    int l = 0;
    EXPECT_FALSE(obj->MatchAt(text, 1, l)) << plain;
    EXPECT_FALSE(obj->MatchAt(text, 3, l)) << plain;
  }
  // a trail byte that looks like a letter: "Ｂ" is 82 61
  auto obj = Make("a", true);
  int pos = 0, len = 0;
  EXPECT_FALSE(obj->FindIn("\x82\x61\x82\x61", pos, len));
}

TEST_F(BregexpSearch, WholeWordTreatsDoubleByteNeighboursAsNonWord) {
  const std::string text = "\x82\x61" "abc";  // trail byte 61 before "abc" is not a word byte
  for (bool plain : {true, false}) {
    auto obj = Make("abc", plain);
    obj->SetWholeWord(true);
    int pos = 0, len = 0;
    ASSERT_TRUE(obj->FindIn(text, pos, len)) << plain;
    EXPECT_EQ(pos, 2);
  }
  EXPECT_TRUE(TBregexpObj::IsWordBoundary("ab\r\nc", 2, 5));
  EXPECT_TRUE(TBregexpObj::IsWordBoundary("ab\r\nc", 4, 5));
  EXPECT_FALSE(TBregexpObj::IsWordBoundary("abc", 1, 3));
  EXPECT_TRUE(TBregexpObj::IsWordBoundary("a c", 1, 3));
  EXPECT_FALSE(TBregexpObj::IsWordBoundary(". c", 1, 3));
}

TEST_F(BregexpSearch, BufferSearchStopsAtTheBufferEnd) {
  // exactly three bytes: a whole-word check at the end must not read beyond them
  std::unique_ptr<char[]> buffer(new char[3]{'a', 'b', 'c'});
  for (bool plain : {true, false}) {
    auto obj = Make("abc", plain);
    obj->SetWholeWord(true);
    int pos = 0, len = 0;
    ASSERT_TRUE(obj->FindInBuffer(buffer.get(), buffer.get() + 3, len, pos)) << plain;
    EXPECT_EQ(len, 3);
    EXPECT_TRUE(obj->MatchAtBuffer(buffer.get(), buffer.get() + 3, len, 0)) << plain;
  }
}

TEST_F(BregexpSearch, IgnoreCaseOnTheSimplePathFoldsTextUnlessAlreadyUpper) {
  auto obj = Make("ab\x82\x61", true);  // "ab" + "Ｂ" (82 61)
  obj->SetIgnoreCase(true);
  int pos = 0, len = 0;
  ASSERT_TRUE(obj->FindIn("xAB\x82\x61", pos, len));
  EXPECT_EQ(pos, 1);
  auto dot = Make(".b", true);
  dot->SetIgnoreCase(true);
  ASSERT_TRUE(dot->FindIn("a.b", pos = 0, len));  // first byte no letter, a later one folded
  EXPECT_EQ(pos, 1);
  pos = 0;
  EXPECT_FALSE(obj->FindIn("xAB\x82\x41", pos, len));  // trail bytes are never folded
  obj->SetUpperTarget(true);
  pos = 0;
  EXPECT_FALSE(obj->FindIn("xab\x82\x61", pos, len));  // the caller promised upper-case text
  pos = 0;
  EXPECT_TRUE(obj->FindIn("xAB\x82\x61", pos, len));
}

TEST_F(BregexpSearch, LibraryPathFillsMatchesWithGroups) {
  auto obj = Make("(\\w+)=(\\d+)?");
  int pos = 1, len = 0;
  ASSERT_TRUE(obj->FindIn("; key=", pos, len));
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(len, 4);
  ASSERT_EQ(obj->Matches().Count(), 3);
  EXPECT_EQ(obj->Matches().Strings(0), "key=");
  EXPECT_EQ(obj->Matches().Strings(1), "key");
  EXPECT_EQ(obj->Matches().Positions(1), 2);
  EXPECT_EQ(obj->Matches().Lengths(2), 0);
  EXPECT_EQ(obj->Matches().Positions(2), 2);  // took no part: empty, at the match start
  EXPECT_THROW(obj->Matches().Strings(3), std::out_of_range);
  EXPECT_THROW(obj->Matches().Positions(-1), std::out_of_range);
}

TEST_F(BregexpSearch, MatchAtRefusesALaterMatch) {
  for (bool plain : {true, false}) {
    auto obj = Make("ab", plain);
    int len = 0;
    EXPECT_FALSE(obj->MatchAt("xxab", 1, len)) << plain;
    EXPECT_TRUE(obj->MatchAt("xxab", 2, len)) << plain;
    EXPECT_EQ(len, 2);
  }
  int start = 0, len = 0;
  auto buffer = Make("b+");
  const std::string text = "abbb";
  EXPECT_TRUE(buffer->FindInBuffer(text.data() + 1, text.data() + 3, len, start));
  EXPECT_EQ(start, 0);
  EXPECT_EQ(len, 2);
}

TEST_F(BregexpSearch, EmptyPatternOrTargetAnswersNoMatch) {
  auto obj = Make("");
  int pos = 0, len = 0;
  EXPECT_FALSE(obj->FindIn("abc", pos, len));
  EXPECT_FALSE(obj->MatchAt("abc", 0, len));
  auto any = Make("a*");
  EXPECT_FALSE(any->FindIn("", pos, len));
  EXPECT_FALSE(any->FindIn("abc", pos = 7, len));  // offsets beyond the text are refused
}

TEST_F(BregexpSearch, CompileErrorSticksUntilAnOptionChanges) {
  auto obj = Make("a(b");
  int pos = 0, len = 0;
  EXPECT_FALSE(obj->FindIn("a(b", pos, len));
  EXPECT_TRUE(obj->CompileFailed());
  EXPECT_FALSE(obj->ErrorMessage().empty());
  EXPECT_LT(obj->ErrorMessage().size(), 80u);
  EXPECT_FALSE(obj->Compile());
  obj->SetPlainText(true);  // a resetting option clears the failure; the next search compiles
  EXPECT_FALSE(obj->CompileFailed());
  EXPECT_TRUE(obj->FindIn("xa(b", pos = 0, len));
  EXPECT_EQ(pos, 1);
  EXPECT_TRUE(obj->Compiled());
}

TEST_F(BregexpSearch, ReplaceAfterACompileErrorChangesNothing) {
  auto obj = Make("a");
  obj->SetReplaceText("b");
  obj->SetReplaceMode(true);
  ASSERT_TRUE(obj->Compile());
  obj->SetPattern("(");  // the earlier substitution command must not run for this pattern
  std::string s = "aaa";
  EXPECT_LT(obj->ReplaceIn(s, 0), 0);
  EXPECT_EQ(s, "aaa");
  EXPECT_TRUE(obj->CompileFailed());
}

TEST_F(BregexpSearch, ReplaceInLeavesTheTextFromPosWithSubstitutions) {
  auto obj = Make("(\\w)(\\w)");
  obj->SetReplaceText("$2$1");
  obj->SetReplaceMode(true);
  std::string s = "ab cd";
  EXPECT_EQ(obj->ReplaceIn(s, 1), 1);
  EXPECT_EQ(s, "b dc");
  obj->SetGlobalReplace(true);
  s = "ab cd";
  EXPECT_EQ(obj->ReplaceIn(s, 0), 2);
  EXPECT_EQ(s, "ba dc");
  s = "!!";
  EXPECT_EQ(obj->ReplaceIn(s, 0), 0);
  EXPECT_EQ(s, "!!");
}

TEST_F(BregexpSearch, PlainReplaceTextIsLiteral) {
  auto obj = Make("a.", true);
  obj->SetReplaceText("$1\\n");
  obj->SetReplaceMode(true);
  std::string s = "xa.y";
  EXPECT_EQ(obj->ReplaceIn(s, 0), 1);
  EXPECT_EQ(s, "x$1\\ny");
}

TEST_F(BregexpSearch, ReplaceProgressHandlerCanStopTheRun) {
  auto obj = Make("a");
  obj->SetReplaceText("b");
  obj->SetReplaceMode(true);
  obj->SetGlobalReplace(true);
  std::string s(1000, 'a');
  int calls = 0;
  int r = obj->ReplaceIn(s, 0, [&](int kind, int count, int position) {
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(position, count);
    return ++calls < 3 ? 1 : 0;
  });
  EXPECT_EQ(calls, 3);
  EXPECT_GT(r, 0);
  EXPECT_LT(r, 1000);
  EXPECT_EQ(s, std::string(r, 'b') + std::string(1000 - r, 'a'));
  s = std::string(1000, 'a');
  EXPECT_EQ(obj->ReplaceIn(s, 0), 1000);  // no handler: runs to the end
}

// Stopped anywhere, with replacements shorter and longer than their matches and a search
// started inside the text: the result is the first substitutions made, then the text after the
// last of them exactly as it was (the library leaves that rest out and it is kept in place).
TEST_F(BregexpSearch, AStoppedSubstitutionKeepsTheRestAsItWas) {
  const char* const pieces[] = {"a", "aa", "b", "\x83\x41", "\n"};
  std::mt19937 rng(4242);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int i = static_cast<int>(rng() % 400); i > 0; --i) text += pieces[rng() % std::size(pieces)];
    const std::string with = round % 2 ? "" : "XYZW";
    auto obj = Make("a+");
    obj->SetReplaceText(with);
    obj->SetReplaceMode(true);
    obj->SetGlobalReplace(true);
    const std::size_t pos = std::min(text.find('b'), text.size());
    const int stopAt = 1 + static_cast<int>(rng() % 4);
    int calls = 0;
    std::string s = text;
    s.reserve(text.size() + rng() % 64);
    const int r = obj->ReplaceIn(s, static_cast<int>(pos), [&](int, int, int) { return ++calls < stopAt ? 1 : 0; });
    std::string model;
    int made = 0;
    for (std::size_t i = pos; i < text.size();) {
      if (text[i] == 'a' && made < std::max(r, 0)) {
        while (i < text.size() && text[i] == 'a') ++i;
        model += with;
        ++made;
      } else {
        model += text[i++];
      }
    }
    ASSERT_EQ(s, r > 0 ? model : text) << "round " << round;
  }
}

TEST_F(BregexpSearch, DelimiterAndNulBytesTravelEscapedInCommands) {
  const std::string text("a\x01" "b\0c", 5);
  for (bool plain : {true, false}) {
    auto obj = Make(std::string("\x01" "b\0", 3), plain);
    obj->SetReplaceText(std::string("[\x01\0]", 4));
    obj->SetReplaceMode(true);
    obj->SetFuzzy(true);  // takes the library path for plain text too
    int pos = 0, len = 0;
    ASSERT_TRUE(obj->FindIn(text, pos, len)) << plain << obj->ErrorMessage();
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(len, 3);
    std::string s = text;
    ASSERT_EQ(obj->ReplaceIn(s, 0), 1) << plain;
    EXPECT_EQ(s, std::string("a[\x01\0]c", 6));
  }
}

TEST_F(BregexpSearch, FuzzyFindsEquivalentCharacters) {
  auto obj = Make("\x82\xA9" "1");  // "か1"
  obj->SetFuzzy(true);
  int pos = 0, len = 0;
  ASSERT_TRUE(obj->FindIn("xx\xB6\x82\x50", pos, len));  // "ｶ１"
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(len, 3);
}

TEST_F(BregexpSearch, SettersResetAndNotifyOnlyOnRealChange) {
  auto obj = Make("a");
  int changes = 0;
  obj->SetOnChange([&](TNotifyPersistent*) { ++changes; });
  ASSERT_TRUE(obj->Compile());
  obj->SetPattern("a");
  obj->SetWholeWord(false);
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(obj->Compiled());
  obj->SetIgnoreCase(true);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(obj->Compiled());
  EXPECT_EQ(obj->MatchRecord(), nullptr);
  obj->SetReplaceMode(true);
  obj->SetUpperTarget(true);
  EXPECT_EQ(changes, 1);
}

TEST_F(BregexpSearch, AssignCopiesOptionsButNotUpperTarget) {
  auto source = Make("x", true);
  source->SetWholeWord(true);
  source->SetReplaceText("y");
  source->SetReplaceMode(true);
  source->SetUpperTarget(true);
  auto target = Make("other");
  int changes = 0;
  target->SetOnChange([&](TNotifyPersistent*) { ++changes; });
  EXPECT_FALSE(target->SameAs(*source));
  target->Assign(*source);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(target->SameAs(*source));
  EXPECT_FALSE(target->UpperTarget());
  target->SetFuzzy(true);
  EXPECT_FALSE(target->SameAs(*source));
}

TEST_F(BregexpSearch, MatchStringsAssignMakesDeepCopies) {
  TMatchStrings a;
  a.AddMatch("x", 1, 1);
  TMatchStrings b;
  b.AddMatch("old", 0, 3);
  b.Assign(a);
  a.Clear();
  ASSERT_EQ(b.Count(), 1);
  EXPECT_EQ(b.Strings(0), "x");
  EXPECT_EQ(b.Positions(0), 1);
  b.AddStrings(b);
  EXPECT_EQ(b.Count(), 2);
}

TEST_F(BregexpSearch, BackReferenceTakesGroupsOfTheLeftMatch) {
  TBackRefRegObj right(engine_);
  right.SetPattern("end$1|$r2x");
  ASSERT_TRUE(right.HasBackRef());
  right.Matches().AddMatch("<a.b>", 0, 5);
  right.Matches().AddMatch("a.b", 1, 3);
  right.Matches().AddMatch("\x81u", 4, 2);  // "「"
  ASSERT_TRUE(right.Compile());
  EXPECT_EQ(right.MatchCommand(), "m\x01" "enda\\.b|\x81vx\x01k");  // "」"
  int pos = 0, len = 0;
  ASSERT_TRUE(right.FindIn("-- enda.b", pos, len));
  EXPECT_EQ(pos, 3);
  right.Matches().Clear();
  right.Matches().AddMatch("(", 0, 1);
  right.Matches().AddMatch("(", 0, 1);
  right.Matches().AddMatch("(", 0, 1);
  ASSERT_TRUE(right.Compile());  // the changed command recompiles
  EXPECT_EQ(right.MatchCommand(), "m\x01" "end\\(|\\)x\x01k");

  TBackRefRegObj plain(engine_);
  plain.SetPattern("$1");
  plain.SetPlainText(true);
  EXPECT_FALSE(plain.HasBackRef());
  plain.SetPlainText(false);
  EXPECT_TRUE(plain.HasBackRef());
  plain.SetPattern("\\$1 x$");
  EXPECT_FALSE(plain.HasBackRef());
}

}  // namespace
}  // namespace vorn
