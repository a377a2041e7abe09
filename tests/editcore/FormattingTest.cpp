// Paragraph formatting: the refill rules on named cases, the faults of the break walk, the
// gathering of a paragraph in the store, line division, and random refills against a model.
#include <random>

#include "CoreFixture.h"
#include "editcore/Refill.h"
#include "layout/WrapOption.h"
#include "store/Undo.h"

namespace vorn::test {
namespace {

const std::string kA = "\x82\xA0";      // a hiragana
const std::string kKan = "\x8A\xBF";    // a kanji
const std::string kJi = "\x8E\x9A";     // another kanji
const std::string kComma = "\x81\x41";  // may not start a line
const std::string kStop = "\x81\x42";   // may not start a line
const std::string kOpen = "\x81\x69";   // may not end a line
const std::string kClose = "\x81\x6A";  // may not start a line
const std::string kBullet = "\x81\x45";

std::string Times(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class Formatting : public CoreTest {
protected:
  void SetUp() override {
    TVornEditSeikeiOption& o = core.SeikeiOption();
    o.SetInsertSpace(false);
    o.SetWordWrap(true);
  }
  void Load(const std::string& text, int wrapCount) {
    CoreTest::Load(text, {.Tab = 4});
    core.SeikeiOption().SetWrapCount(wrapCount);
  }
};

TEST_F(Formatting, RefillsALongLineToTheWidthWithKinsokuAndItems) {
  Load(Times(kA, 30), 10);
  EXPECT_TRUE(core.Seikei(false));
  EXPECT_EQ(JoinedText(core), Times(Times(kA, 5) + "\r\n", 6));
  EXPECT_EQ(core.Caret(), (TRowCol{5, 10}));  // the end of the last formatted line
  core.Undo();
  EXPECT_EQ(JoinedText(core), Times(kA, 30));

  // An item hangs its following lines under its text.
  Load(kBullet + Times(kKan, 15), 20);
  core.Seikei(false);
  EXPECT_EQ(JoinedText(core), kBullet + Times(kKan, 9) + "\r\n  " + Times(kKan, 6) + "\r\n");

  // A comma at the width stays on its line past the width; an opening bracket moves down.
  Load(Times(kA, 5) + kComma + Times(kA, 4) + kOpen + kA + kA, 10);
  core.Seikei(false);
  EXPECT_EQ(JoinedText(core), Times(kA, 5) + kComma + "\r\n" + Times(kA, 4) + "\r\n" + kOpen + kA + kA + "\r\n");
}

TEST_F(Formatting, SpacesBetweenDoubleAndSingleByteFollowTheExceptionLists) {
  Load(kKan + "a" + kJi + "," + kKan + "b" + kComma, 70);
  core.SeikeiOption().SetInsertSpace(true);
  core.Seikei(false);
  // No space after the comma, none before the listed ideographic comma.
  EXPECT_EQ(JoinedText(core), kKan + " a " + kJi + "," + kKan + " b" + kComma + "\r\n");
}

// A word cut at the width is finished when it ends within three letters, else moved down.
TEST_F(Formatting, EnglishWordsBreakAtTheBreakSet) {
  Load("the quick brown fox jumps over the lazy dog again", 12);
  core.Seikei(false);
  EXPECT_EQ(JoinedText(core), "the quick brown\r\nfox jumps over\r\nthe lazy dog\r\nagain\r\n");
}

TEST_F(Formatting, AParagraphRunsToAShortLineAndStopsAtBlankOrItemLines) {
  const std::string l1 = Times(kA, 9), l2 = Times(kKan, 11), l3 = Times(kJi, 10), l4 = kA + kA;
  for (const std::string& stop : {std::string(), kBullet + kA}) {
    Load(l1 + "\r\n" + l2 + "\r\n" + l3 + "\r\n" + l4 + "\r\n" + stop + "\r\nafter", 20);
    core.Seikei(false);
    const std::string all = l1 + l2 + l3 + l4;  // 32 characters
    EXPECT_EQ(JoinedText(core), all.substr(0, 20) + "\r\n" + all.substr(20, 20) + "\r\n" + all.substr(40, 20) +
                                    "\r\n" + all.substr(60) + "\r\n" + stop + "\r\nafter");
  }
  // English lines join with one space; a paragraph of only a short line is that line.
  Load("one two three four five six\r\nseven eight\r\n\r\nnext", 30);
  core.Seikei(false);
  EXPECT_EQ(JoinedText(core), "one two three four five six seven\r\neight\r\n\r\nnext");
}

TEST_F(Formatting, LinesNearTheWidthFormOneParagraph) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += Times(kKan, 35) + "\r\n";
  Load(text + "\r\nafter", 68);
  core.ClearUndo();
  ASSERT_TRUE(core.Seikei(false));
  // 7000 characters at 34 a line: 206 lines, then the blank line and the line after.
  EXPECT_EQ(core.RowCount(), 206 + 2);
  EXPECT_EQ(core.GetRowText(205), Times(kKan, 7000 - 205 * 34));
  EXPECT_EQ(store->UndoObj().UndoList().Count(), 1);
}

// The comma that began the second line goes up to hang at the end of the first.
TEST_F(Formatting, ALineStartingWithAnIdeographicCommaContinuesTheParagraph) {
  Load(Times(kKan, 10) + "\r\n" + kComma + Times(kKan, 9) + "\r\n", 20);
  core.Seikei(false);
  EXPECT_EQ(JoinedText(core), Times(kKan, 10) + kComma + "\r\n" + Times(kKan, 9) + "\r\n");
  EXPECT_EQ(core.Caret(), (TRowCol{1, 18}));
}

TEST_F(Formatting, CommentPrefixesStayOnEveryLineAndCommentOnlyLeavesOtherText) {
  Load("> " + Times(kA, 12) + "\r\n> " + Times(kKan, 8) + "\r\n>\r\nnext", 20);
  core.SetCaretPos(0, 0);
  core.Seikei(false);
  const std::string all = Times(kA, 12) + Times(kKan, 8);
  EXPECT_EQ(JoinedText(core), "> " + all.substr(0, 18) + "\r\n> " + all.substr(18, 18) + "\r\n> " + all.substr(36) +
                                  "\r\n>\r\nnext");

  Load("plain " + Times(kA, 30), 10);
  core.SeikeiOption().SetCommentOnly(true);
  core.ClearUndo();
  core.SetCaretPos(0, 3);
  EXPECT_FALSE(core.Seikei(false));
  EXPECT_EQ(JoinedText(core), "plain " + Times(kA, 30));
  EXPECT_EQ(core.Caret(), (TRowCol{0, 3}));
  EXPECT_FALSE(core.CanUndo());
}

TEST_F(Formatting, TheAutomaticRunKeepsTheCaretAfterTheTypedCharacter) {
  Load(Times(kA, 12), 10);
  TVornEditSeikeiOption& o = core.SeikeiOption();
  o.SetAutoTrigger(true);
  o.SetAutoTriggerStr(kStop);
  core.ClearUndo();
  core.SetCaretPos(0, 8);
  core.TypeText(kStop);
  EXPECT_TRUE(core.AutoSeikei(kStop));
  std::string before = JoinedText(core).substr(0, static_cast<std::size_t>(core.GetCaretOffset()));
  std::erase(before, '\r');
  std::erase(before, '\n');
  EXPECT_EQ(before, Times(kA, 4) + kStop);
  EXPECT_FALSE(core.AutoSeikei("x"));
}

TEST_F(Formatting, DivideLineStartsTheNewLineWithTheSamePrefix) {
  Load(kBullet + kKan + kJi, 70);
  core.SetCaretPos(0, 4);
  EXPECT_TRUE(core.DivideLine());
  EXPECT_EQ(JoinedText(core), kBullet + kKan + "\r\n" + kBullet + kJi);
  EXPECT_EQ(core.Caret(), (TRowCol{1, 2}));

  // Indentation and a quote prefix; a continuation line under an item starts a new item.
  Load("  > abc def\r\nend", 70);
  core.SetCaretPos(0, 8);
  core.DivideLine();
  EXPECT_EQ(JoinedText(core), "  > abc \r\n  > def\r\nend");
  Load("top\r\n" + kBullet + "item\r\n  more", 70);
  core.SetCaretPos(2, 6);
  core.DivideLine();
  EXPECT_EQ(JoinedText(core), "top\r\n" + kBullet + "item\r\n  more\r\n" + kBullet);
  core.SetReadOnly(true);
  EXPECT_FALSE(core.DivideLine());
}

// Characters that may not start a line, all single-byte, once let the walk take back bytes past
// the line's prefix; it now stops there and the line takes the rest.
TEST(RefillFaults, AFollowRunNeverEatsThePrefix) {
  TRefillRules r;
  r.WrapCount = 10;
  r.FollowStr = TVornEditWrapOption::DefaultFollowStr();
  r.LeadStr = TVornEditWrapOption::DefaultLeadStr();
  r.Comment = [](std::string_view t) { return t.starts_with("> ") ? 2 : 0; };
  for (bool wordWrap : {false, true}) {
    r.WordWrap = wordWrap;
    const std::string body = Times(")", 30);
    const std::string out = RefillParagraph("  > " + body, r).Text;
    std::string bodies;
    for (std::size_t at = 0; at < out.size();) {
      const std::size_t end = out.find("\r\n", at);
      ASSERT_EQ(out.compare(at, 4, "  > "), 0) << out;
      bodies += out.substr(at + 4, end - at - 4);
      at = end + 2;
    }
    EXPECT_EQ(bodies, body) << wordWrap;
  }
}

// --- random refills against a model ------------------------------------------------------------

struct TModelCase {
  std::string Head;  // indentation, comment and item as written on the first line
  std::string Prefix;
  std::string Item;
  std::string Body;
};

// Kinsoku characters come with two plain Japanese characters on each side, so that the rules
// can always be kept and the model may demand them at every line end.
TModelCase RandomCase(std::mt19937& rng) {
  static const char* const kIndents[] = {"", "  ", "\t"};
  static const char* const kComments[] = {"", "> ", "// "};
  static const char* const kItems[] = {"", "\x81\x45", "(1) "};
  static const char* const kFollow[] = {"\x81\x41", "\x81\x42", "\x81\x6A"};
  static const char* const kLead[] = {"\x81\x69", "\x81\x75"};
  TModelCase c;
  c.Prefix = std::string(kIndents[rng() % 3]) + kComments[rng() % 3];
  c.Item = kItems[rng() % 3];
  c.Head = c.Prefix + c.Item;
  int plainRun = 0;
  const int pieces = 5 + static_cast<int>(rng() % 80);
  for (int i = 0; i < pieces; ++i) {
    const unsigned kind = rng() % 10;
    if (kind < 5 || plainRun < 2) {
      const char ch[] = {static_cast<char>(0x88 + rng() % 4), static_cast<char>(0x9F + rng() % 90), 0};
      c.Body += ch;
      ++plainRun;
    } else if (kind < 8) {
      const int len = 1 + static_cast<int>(rng() % 9);
      for (int k = 0; k < len; ++k) c.Body += static_cast<char>('a' + rng() % 26);
      c.Body += ' ';
      plainRun = 0;
    } else {
      c.Body += kind == 8 ? kFollow[rng() % 3] : kLead[rng() % 2];
      c.Body += "\x88\xA0\x88\xA1";
      plainRun = 2;
    }
  }
  return c;
}

std::string WithoutSpaces(std::string s) {
  std::erase(s, ' ');
  return s;
}

void CheckAgainstModel(const TModelCase& c, const TRefillRules& r, const std::string& out) {
  SCOPED_TRACE(c.Head + c.Body);
  const int w = r.WrapCount;
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < out.size();) {
    const std::size_t end = out.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
    lines.push_back(out.substr(at, end - at));
    at = end + 2;
  }
  const std::string hanging(static_cast<std::size_t>(RefillLineWidth(c.Item, r.TabSpaceCount)), ' ');
  std::string bodies;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string head = c.Prefix + (i == 0 ? c.Item : hanging);
    ASSERT_EQ(lines[i].compare(0, head.size(), head), 0) << "line " << i << " keeps the head: " << lines[i];
    const std::string body = lines[i].substr(head.size());
    bodies += body;
    if (i + 1 == lines.size()) break;
    const int width = RefillLineWidth(lines[i], r.TabSpaceCount);
    EXPECT_LE(width, w + 5) << "line " << i << ": " << lines[i];
    EXPECT_GE(width, w / 3 - 4) << "line " << i << ": " << lines[i];
    ASSERT_FALSE(body.empty());
    std::size_t last = 0;
    for (std::size_t k = 0; k < body.size(); k += sjis::CharLen(body, k)) last = k;
    EXPECT_FALSE(CharIn(r.LeadStr, body.substr(last))) << "line " << i << " ends with an opening: " << lines[i];
    const std::string nextBody = lines[i + 1].substr(c.Prefix.size() + hanging.size());
    if (!nextBody.empty()) {
      EXPECT_FALSE(CharIn(r.FollowStr, nextBody.substr(0, sjis::CharLen(nextBody, 0))))
          << "line " << i + 1 << " starts with a closing: " << lines[i + 1];
    }
  }
  EXPECT_EQ(WithoutSpaces(bodies), WithoutSpaces(c.Body));
}

class RandomFormatting : public Formatting {};

TEST_F(RandomFormatting, RefillsKeepTheRulesTheTextAndUndoToTheByte) {
  std::mt19937 rng(35);
  for (int round = 0; round < 400; ++round) {
    const TModelCase c = RandomCase(rng);
    const int width = 12 + static_cast<int>(rng() % 40);
    const std::string before = "above\r\n\r\n" + c.Head + c.Body + "\r\n\r\nbelow";
    Load(before, width);
    TVornEditSeikeiOption& o = core.SeikeiOption();
    o.SetInsertSpace(rng() % 2 == 0);
    o.SetWordWrap(rng() % 2 == 0);
    core.ClearUndo();
    core.SetCaretPos(2, 0);
    ASSERT_TRUE(core.Seikei(false));
    const std::string after = JoinedText(core);
    ASSERT_EQ(after.substr(0, 9), "above\r\n\r\n");
    ASSERT_EQ(after.substr(after.size() - 7), "\r\nbelow");
    const std::string refilled = after.substr(9, after.size() - 9 - 7);
    TRefillRules r;
    r.WrapCount = width;
    r.TabSpaceCount = 4;
    r.FollowStr = TVornEditWrapOption::DefaultFollowStr();
    r.LeadStr = TVornEditWrapOption::DefaultLeadStr();
    CheckAgainstModel(c, r, refilled);
    core.Undo();
    ASSERT_EQ(JoinedText(core), before) << "one undo step restores the text byte for byte";
    ASSERT_FALSE(core.CanUndo());
  }
}

}  // namespace
}  // namespace vorn::test
