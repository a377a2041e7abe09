// libVornRegexp.so: the entry points' contract, called through the run-time binding.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "regex/BregexpUtil.h"

namespace vorn {
namespace {

class RegexpModule : public ::testing::Test {
protected:
  static void SetUpTestSuite() { lib_ = new TBregexp(VORN_BIN_DIR "/libVornRegexp.so"); }
  static void TearDownTestSuite() {
    delete lib_;
    lib_ = nullptr;
  }
  void TearDown() override {
    if (record_) lib_->BRegfree(record_);
  }

  int Match(const std::string& command, const std::string& text, int start = 0, int anchored = 0) {
    return lib_->BMatch(command.c_str(), text.data(), text.data() + start, text.data() + text.size(), anchored,
                        &record_, message_);
  }
  int Subst(const std::string& command, const std::string& text, int start = 0, TBregexpProgress progress = nullptr) {
    return lib_->BSubst(command.c_str(), text.data(), text.data() + start, text.data() + text.size(), &record_,
                        message_, progress);
  }
  std::string Output() const {
    return record_->outp ? std::string(record_->outp, record_->outendp) : std::string();
  }
  std::string Group(const std::string& text, int i) const {
    (void)text;
    return std::string(record_->startp[i], record_->endp[i]);
  }

  static TBregexp* lib_;
  TResultRecord* record_ = nullptr;
  char message_[kBregexpMessageSize] = {};
};

TBregexp* RegexpModule::lib_ = nullptr;

std::string M(const std::string& pattern, const std::string& options = "k") { return "m\x01" + pattern + "\x01" + options; }
std::string S(const std::string& pattern, const std::string& replacement, const std::string& options = "k") {
  return "s\x01" + pattern + "\x01" + replacement + "\x01" + options;
}

TEST_F(RegexpModule, MatchReportsGroupsAsPointersIntoTheTarget) {
  std::string text = "xx ab12 cd";
  ASSERT_GT(Match(M("([a-z]+)(\\d+)"), text), 0);
  EXPECT_EQ(record_->nparens, 2);
  EXPECT_EQ(record_->startp[0], text.data() + 3);
  EXPECT_EQ(record_->endp[0], text.data() + 7);
  EXPECT_EQ(Group(text, 1), "ab");
  EXPECT_EQ(Group(text, 2), "12");
}

TEST_F(RegexpModule, GroupThatTookNoPartHasNoPointers) {
  std::string text = "b";
  ASSERT_GT(Match(M("(a)|b"), text), 0);
  EXPECT_EQ(record_->startp[1], nullptr);
  EXPECT_EQ(record_->endp[1], nullptr);
}

// Oniguruma leaves this group with its end before its start; a match, a substitution with the
// group and a search through the pattern object must all take it as empty.
TEST_F(RegexpModule, GroupRepeatedEmptyIsNeverAnInvertedRange) {
  std::string text = "x4";
  ASSERT_GT(Match(M("(x*){2}\\b"), text), 0);
  EXPECT_LE(record_->startp[1], record_->endp[1]);
  ASSERT_EQ(Subst(S("(x*){2}\\b", "<$1>"), text), 1);
  EXPECT_EQ(Output(), "<>x4");
}

TEST_F(RegexpModule, SearchReportsOnlyFromTheSearchStartButSeesTheBytesBefore) {
  std::string text = "ab ab";
  ASSERT_GT(Match(M("ab"), text, 1), 0);
  EXPECT_EQ(record_->startp[0], text.data() + 3);
  // \b at the search start looks at the byte before it: "b" then "c" is no boundary
  std::string words = "abc";
  EXPECT_EQ(Match(M("\\bc"), words, 2), 0);
  EXPECT_EQ(Match(M("(?<=b)c"), words, 2), 1);
}

TEST_F(RegexpModule, AnchoredMatchOnlyAtTheSearchStart) {
  std::string text = "xab";
  EXPECT_EQ(Match(M("ab"), text, 0, 1), 0);
  EXPECT_EQ(Match(M("ab"), text, 1, 1), 1);
  EXPECT_EQ(record_->startp[0], text.data() + 1);
}

TEST_F(RegexpModule, SameCommandReusesTheRecordAndAnotherCommandReplacesIt) {
  std::string text = "abc";
  ASSERT_EQ(Match(M("b"), text), 1);
  TResultRecord* first = record_;
  ASSERT_EQ(Match(M("b"), text), 1);
  EXPECT_EQ(record_, first);
  ASSERT_EQ(Match(M("c"), text), 1);
  EXPECT_EQ(record_->startp[0], text.data() + 2);
}

TEST_F(RegexpModule, InvalidCommandLeavesSlotEmptyWithMessage) {
  std::string text = "abc";
  ASSERT_EQ(Match(M("b"), text), 1);
  EXPECT_LE(Match(M("(b"), text), 0);
  EXPECT_EQ(record_, nullptr);
  EXPECT_GT(std::strlen(message_), 0u);
  message_[0] = '\0';
  EXPECT_LE(Match("m", text), 0);
  EXPECT_EQ(record_, nullptr);
  EXPECT_GT(std::strlen(message_), 0u);
  EXPECT_LE(Match("x\x01" "a\x01k", text), 0);
}

TEST_F(RegexpModule, MessageNeverOverrunsEightyBytes) {
  char guarded[kBregexpMessageSize + 32];
  std::memset(guarded, 0x7E, sizeof guarded);
  // The error text quotes the pattern: a long double-byte pattern would make a long message.
  std::string pattern = "(?<";
  for (int i = 0; i < 60; ++i) pattern += "\x82\xA0";
  std::string command = M(pattern), text = "a";
  lib_->BMatch(command.c_str(), text.data(), text.data(), text.data() + 1, 0, &record_, guarded);
  std::size_t len = strnlen(guarded, kBregexpMessageSize);
  EXPECT_LT(len, static_cast<std::size_t>(kBregexpMessageSize));
  for (std::size_t i = kBregexpMessageSize; i < sizeof guarded; ++i) ASSERT_EQ(guarded[i], 0x7E) << i;
  // A message is never cut inside a double-byte character.
  std::size_t i = 0;
  while (i < len) i += (static_cast<unsigned char>(guarded[i]) >= 0x81 && i + 1 < len + 1) ? 2 : 1;
  EXPECT_EQ(i, len);
}

// Oniguruma shortens a quoted name at a byte count, which can fall inside a character.
TEST_F(RegexpModule, MessageShortenedByTheLibraryKeepsWholeCharacters) {
  for (int lead = 0; lead < 2; ++lead) {
    std::string pattern = "\\p{" + std::string(lead, 'x');
    for (int i = 0; i < 30; ++i) pattern += "\x8A\xBF";
    pattern += "}";
    ASSERT_LE(Match(M(pattern), "a"), 0);
    ASSERT_EQ(record_, nullptr);
    const std::string msg = message_;
    const std::size_t dots = msg.find("...");
    ASSERT_NE(dots, std::string::npos) << msg;
    std::size_t i = 0;
    while (i < dots) i += static_cast<unsigned char>(msg[i]) >= 0x81 ? 2 : 1;
    EXPECT_EQ(i, dots) << "a lead byte pairs with the first dot: " << msg;
  }
}

TEST_F(RegexpModule, NeverMatchesOnATrailByte) {
  // "ソ" is 83 5C and "表" is 95 5C: their trail byte is a backslash.
  std::string so = "\x83\x5C", hyo = "\x95\x5C" "a\x5C";
  EXPECT_EQ(Match(M("\\\\"), so), 0);
  ASSERT_EQ(Match(M("\\\\"), hyo), 1);
  EXPECT_EQ(record_->startp[0], hyo.data() + 3);
  // a search start on the trail byte moves to the next character
  ASSERT_EQ(Match(M("\\\\"), hyo, 1), 1);
  EXPECT_EQ(record_->startp[0], hyo.data() + 3);
  std::string pair = "\x81\x81\x5C";  // "＝" then a backslash
  ASSERT_EQ(Match(M("\\\\"), pair), 1);
  EXPECT_EQ(record_->startp[0], pair.data() + 2);
}

TEST_F(RegexpModule, WordBoundaryTreatsDoubleByteCharactersAsNonWord) {
  std::string text = "\x82\xA0" "abc\x82\xA2";  // "あabcい"
  ASSERT_EQ(Match(M("\\babc\\b"), text), 1);
  EXPECT_EQ(record_->startp[0], text.data() + 2);
}

TEST_F(RegexpModule, OptionMLetsAnchorsMatchAtLineBreaks) {
  std::string text = "one\ntwo";
  EXPECT_EQ(Match(M("^two"), text), 0);
  EXPECT_EQ(Match(M("^two", "mk"), text), 1);
}

TEST_F(RegexpModule, SubstitutionExpandsPerlReplacementText) {
  std::string text = "ab-cd";
  ASSERT_EQ(Subst(S("(\\w)(\\w)", "$2$1[$&]${1}\\$\\\\\\t\\n\\x41"), text), 1);
  EXPECT_EQ(Output(), "ba[ab]a$\\\t\nA-cd");
  ASSERT_EQ(Subst(S("(\\w)(\\w)", "\\2\\1", "gk"), text), 2);
  EXPECT_EQ(Output(), "ba-dc");
  ASSERT_EQ(Subst(S("(a)", "<$9>$", "k"), text), 1);  // a missing group is empty, a lone $ is literal
  EXPECT_EQ(Output(), "<>$b-cd");
}

TEST_F(RegexpModule, SubstitutionOutputStartsAtTheSearchStart) {
  std::string text = "aXaXa";
  ASSERT_EQ(Subst(S("a", "b", "gk"), text, 1), 2);
  EXPECT_EQ(Output(), "XbXb");
  EXPECT_EQ(Subst(S("z", "b", "gk"), text), 0);
  ASSERT_EQ(Subst(S("aXaXa", "", "k"), text), 1);
  EXPECT_EQ(record_->outp, nullptr);  // empty output
}

TEST_F(RegexpModule, EmptyMatchesStepOverWholeCharacters) {
  std::string text = "a\x83\x5C" "b";
  ASSERT_EQ(Subst(S("x*", "-", "gk"), text), 4);
  EXPECT_EQ(Output(), "-a-\x83\x5C-b-");
  std::string xab = "xab";
  ASSERT_EQ(Subst(S("x*", "-", "gk"), xab), 4);  // an empty match may follow a non-empty one
  EXPECT_EQ(Output(), "--a-b-");
}

TEST_F(RegexpModule, SubstitutionKeepsDoubleByteReplacementIntact) {
  std::string text = "a";
  ASSERT_EQ(Subst(S("a", "\x83\x5C$&\\\x83\x5C"), text), 1);  // "ソ" $& \"ソ"
  EXPECT_EQ(Output(), "\x83\x5C" "a\x83\x5C");
}

int calls = 0;
int lastCount = 0;
int lastPosition = 0;
int StopAfterFirstCall(int kind, int count, int position) {
  EXPECT_EQ(kind, 0);
  ++calls;
  lastCount = count;
  lastPosition = position;
  return 0;
}

int StopLeavingTheRestOut(int, int count, int position) {
  ++calls;
  lastCount = count;
  lastPosition = position;
  return count >= 3 ? -1 : 1;
}

TEST_F(RegexpModule, ProgressCallbackStopsAGlobalSubstitution) {
  std::string text(100, 'a');
  calls = 0;
  int r = Subst(S("a", "b", "gk"), text, 0, StopAfterFirstCall);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(r, lastCount);
  EXPECT_EQ(lastPosition, lastCount);
  // what was substituted stays, the rest is kept unchanged
  EXPECT_EQ(Output(), std::string(r, 'b') + std::string(100 - r, 'a'));
  // A negative answer stops too, the output ending with the last replacement: the caller adds
  // the rest from where that match ended.
  text = "xaxaxaxax";
  calls = 0;
  EXPECT_EQ(Subst(S("a", "<>", "gk"), text, 1, StopLeavingTheRestOut), 3);
  EXPECT_EQ(Output(), "<>x<>x<>");
  EXPECT_EQ(lastPosition, 6);
}

int ContinueAlways(int, int count, int position) {
  ++calls;
  lastCount = count;
  lastPosition = position;
  return 1;
}

// Three matches in 5 MB, far fewer than the handler's interval: it is still called as the search
// goes, at whole characters (each "\x83\x41" holds an "A" as its trail byte, and the window
// ends fall on them), and the output is what replacing each real "A" gives.
TEST_F(RegexpModule, RareMatchesStillReachTheProgressHandler) {
  std::string text = "z";
  while (text.size() < (5u << 20)) text += "\x83\x41";
  const std::vector<std::size_t> at = {700001, 3000001, text.size() - 2};
  for (std::size_t p : at) text[p] = 'A', text[p + 1] = 'z';
  std::string model = text;
  for (auto it = at.rbegin(); it != at.rend(); ++it) model.replace(*it, 1, "<>");
  calls = 0;
  EXPECT_EQ(Subst(S("A", "<>", "gk"), text, 0, ContinueAlways), 3);
  EXPECT_EQ(Output(), model);
  EXPECT_GE(calls, 4);
  // A stop before the first match leaves nothing substituted.
  calls = 0;
  text[at[0]] = 'z';
  EXPECT_EQ(Subst(S("A", "<>", "gk"), text, 0, StopAfterFirstCall), 0);
  EXPECT_EQ(calls, 1);
  EXPECT_LT(lastPosition, 3000001);
}

// A text cut after a lead byte: the engine would take that byte and the one past the end for a
// character. No match reaches past the end from any start, and a substitution keeps the byte.
TEST_F(RegexpModule, ALeadByteCutByTheEndIsNeverReadPast) {
  // Exactly the text's size, so that a read past it is caught under the address sanitizer.
  const std::string source("x\x8f\0<\x1c\0x\x8f", 8);
  for (const std::string& pattern : {std::string("\\W|\\\\"), std::string("."), std::string("\\x8f"), std::string("$")}) {
    for (int start = 0; start <= 8; ++start) {
      std::unique_ptr<char[]> exact(new char[source.size()]);
      std::memcpy(exact.get(), source.data(), source.size());
      const char* b = exact.get();
      if (lib_->BMatch(M(pattern, "gmk").c_str(), b, b + start, b + source.size(), 0, &record_, message_) > 0) {
        EXPECT_LE(record_->endp[0], b + source.size()) << pattern << " from " << start;
        EXPECT_GE(record_->startp[0], b + start - 1) << pattern << " from " << start;
      }
    }
  }
  ASSERT_EQ(Subst(S(".", "_", "gk"), std::string("ab\x8f", 3)), 2);
  EXPECT_EQ(Output(), "__\x8f");
  // From the end of such a text, as a start on its cut character's trail: nothing to replace.
  EXPECT_EQ(Subst(S("", "(", "gmk"), std::string("\xf4", 1), 1), 0);
}

TEST_F(RegexpModule, BacktrackingExplosionEndsPromptly) {
  std::string text(5000, 'a');
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_LE(Match(M("(a*)*b"), text), 0);
  EXPECT_LE(Match(M("(a|aa)+$x"), text), 0);
  EXPECT_LE(Subst(S("(a*)*b", "", "gk"), text), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(20));
}

TEST_F(RegexpModule, TransAndSplitDoWhatTheyAccept) {
  std::string text = "abc\x82\xA0" "z";  // "abcあz"
  std::string tr = "t\x01" "a-c\x82\xA0\x01" "A-C\x82\xA2\x01k";
  ASSERT_EQ(lib_->BTrans(tr.c_str(), text.data(), text.data() + text.size(), &record_, message_), 4);
  EXPECT_EQ(Output(), "ABC\x82\xA2z");
  std::string parts = "a, b,,c";
  std::string split = M(",\\s*");
  ASSERT_EQ(lib_->BSplit(split.c_str(), parts.data(), parts.data() + parts.size(), 0, &record_, message_), 4);
  std::vector<std::string> pieces;
  for (int i = 0; i <= record_->nparens; ++i) pieces.emplace_back(record_->startp[i], record_->endp[i]);
  EXPECT_EQ(pieces, (std::vector<std::string>{"a", "b", "", "c"}));
  ASSERT_EQ(lib_->BSplit(split.c_str(), parts.data(), parts.data() + parts.size(), 2, &record_, message_), 2);
  EXPECT_EQ(std::string(record_->startp[1], record_->endp[1]), "b,,c");
  EXPECT_NE(std::string(lib_->BRegexpVersion()), "");
}

}  // namespace
}  // namespace vorn
