// Grep's candidate-line anchors against the regex module itself: random patterns drawn from the
// whole syntax the module accepts, over random Japanese and ASCII lines, must find every line
// the module matches when it is given each line alone.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "GrepTestUtil.h"
#include "regex/BregexpUtil.h"
#include "search/GrepAnchors.h"
#include "search/GrepEngine.h"
#include "search/GrepLineSearch.h"

namespace vorn {
namespace {

// Shift_JIS pieces of lines: digits and sizes, letters the escapes spell ("41", "Alpha", "x"),
// metacharacters as text, kana of both widths, and kanji whose trail bytes look like "\", "A", "[".
const char* const kLineTokens[] = {
    "2300kB", "2024", "7",  "12", "x",  "xx", "xxx", "A",  "ABC", "ab", "abc", "Alpha", "41", "41BC", "p",
    " ",      "_",    "-",  "{",  "}",  "{2}", "[",  "]",  "(",   ")",  "|",   "*",     ".",  "\\",   "Q",
    "E",      ":",    "%",  "\x93\xfa\x96\x7b", "\x95\x5c", "\x83\x41", "\x81\x5b", "\x82\xa0", "\xb1",
    "\xb6\xc0\xb6\xc5", "\xdf", "\xa6", "\x8e\xa6", "\x83\x4a\x83\x5e\x83\x4a\x83\x69", "\t"};

std::string RandomLine(std::mt19937& rng) {
  std::string line;
  for (int k = static_cast<int>(rng() % 9); k > 0; --k) line += kLineTokens[rng() % std::size(kLineTokens)];
  return line;
}

// Patterns from the module's grammar: characters, escapes with and without payloads, classes
// (ranges, negation, POSIX brackets, a leading "]", "[" inside), every group form, comments,
// quotes, anchors, alternation, and quantifiers of every form after any of them. Some are
// invalid; the module refuses those and they are not searched.
class TPatternMaker {
public:
  explicit TPatternMaker(std::mt19937& rng) : rng_(rng) {}
  std::string Pattern() {
    depth_ = 0;
    std::string p = Sequence(1 + Pick(5));
    if (Pick(12) == 0) p += "|" + Sequence(1 + Pick(3));
    return p;
  }

private:
  unsigned Pick(unsigned n) { return static_cast<unsigned>(rng_() % n); }
  template <std::size_t N>
  const char* One(const char* const (&list)[N]) { return list[Pick(N)]; }

  std::string Sequence(int atoms) {
    std::string s;
    for (int k = 0; k < atoms; ++k) s += Atom() + (Pick(3) == 0 ? Quantifier() : "");
    return s;
  }

  std::string Atom() {
    static const char* const kChars[] = {"a", "b", "x", "2", "0", "A", "B", "C", " ", "_", "-", ":", "%",
                                         "\x93\xfa", "\x95\x5c", "\x83\x41", "\x81\x5b", "\xb1", "\xb6",
                                         "\x82\xa0", "41", "p", "k", "E", "Q"};
    static const char* const kEscapes[] = {
        "\\x41", "\\x4", "\\x{41}", "\\x{8341}", "\\x{41 42}", "\\101", "\\0", "\\o{101}", "\\d", "\\D", "\\w",
        "\\W", "\\b", "\\B", "\\h", "\\p{Alpha}", "\\p{^Digit}", "\\P{Alnum}", "\\pL", "\\.", "\\*", "\\{",
        "\\}", "\\[", "\\]", "\\\\", "\\|", "\\(", "\\)", "\\-", "\\Qa*b\\E", "\\Q\\E", "\\Q{2}\\E",
        "\\Q(|\\E", "\\Q\x95\x5c" "E\\E", "\\Qx", "\\k<a>", "\\u0041", "\\A", "\\z", "\\Z", "\\G", "\\K",
        "\\N", "\\O", "\\X", "\\y", "\\cA", "\\E", "\\1"};
    static const char* const kClasses[] = {
        "[0-9]", "[a-z]", "[^a]", "[\xa6-\xdf]", "[]a]", "[^]x]", "[[:alpha:]]", "[[:^digit:]x]", "[\\]x]",
        "[a\\-z]", "[[a]", "[[:alpha]x]", "[[:x]", "[\x93\xfa\x95\x5c]", "[\x81\x5b]", "[\\x41-\\x43]",
        "[\\p{Alpha}2]", "[-a]", "[a-]", "[a&&b]", "[\\Q]", "[\\d.]", "[{}]", "[|()]", "[^\\x00-\\x7f]"};
    static const char* const kOthers[] = {"^", "$", ".", "{", "}", "{a}", "{,2}", "{ 2}", "{2a}", "]", "#",
                                          "(?#c)", "(?#\\))", "(?m)", "(?s)", "(?-i)", "(?i)", "(?x)",
                                          "(?<=a)", "(?<!x)", "(*FAIL)", "(?{x})", "(?a)"};
    switch (depth_ < 3 ? Pick(10) : Pick(7)) {
      case 0: case 1: case 2: return One(kChars);
      case 3: case 4: return One(kEscapes);
      case 5: return One(kClasses);
      case 6: return One(kOthers);
      default: return Group();
    }
  }

  std::string Group() {
    static const char* const kOpen[] = {"(", "(", "(?:", "(?=", "(?!", "(?>", "(?i:", "(?s:", "(?m-i:",
                                        "(?~", "(?x:"};
    ++depth_;
    std::string inner = Sequence(1 + Pick(3));
    if (Pick(3) == 0) inner += "|" + Sequence(1 + Pick(2));
    --depth_;
    return std::string(One(kOpen)) + inner + ")";
  }

  std::string Quantifier() {
    static const char* const kQuantifiers[] = {"*", "+", "?", "{2}", "{0}", "{1,}", "{2,3}", "{0,2}", "{4}",
                                               "*?", "+?", "??", "{2}?", "{2,}?", "++", "*+", "?+", "{2}+",
                                               "{1,2}+", "(?#c)*", "(?#c)+", "**", "{2}{2}", "+*", "{00}",
                                               "{,3}", "{}", "{,}", "{1,2,3}", "{3,2}"};
    return One(kQuantifiers);
  }

  std::mt19937& rng_;
  int depth_ = 0;
};

class THitSink : public TGrepSink {
public:
  void AddLine(const TGrepResultLine& line) override {
    if (line.LineNumber > 0) Lines.insert(line.LineNumber);
  }
  std::set<std::int64_t> Lines;
};

// What the module matches on each line searched alone, numbered from 1.
std::set<std::int64_t> ModuleLines(TBregexpObj& p, const std::vector<std::string>& lines) {
  std::set<std::int64_t> hits;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    int pos = 0, len = 0;
    if (!lines[i].empty() && p.FindIn(lines[i], pos, len) && static_cast<std::size_t>(pos) <= lines[i].size())
      hits.insert(static_cast<std::int64_t>(i + 1));
  }
  return hits;
}

std::set<std::int64_t> GrepLines(const TBregexpObj& p, const test::TTempTree& tree, std::size_t pieceBytes) {
  TGrepOptions o;
  o.BaseFolder = tree.Root();
  o.FileMask = "*.txt";
  o.PieceBytes = pieceBytes;
  o.Workers = 1;
  o.DetectCode = false;  // the lines are Shift_JIS as written, whatever they look like
  TGrepEngine engine(p, o);
  std::string message;
  EXPECT_TRUE(engine.Prepare(message)) << message;
  THitSink sink;
  engine.Run(sink);
  return sink.Lines;
}

TEST(GrepPatternSyntax, RandomPatternsFindEveryLineTheModuleMatches) {
  std::mt19937 rng(3401);
  TPatternMaker maker(rng);
  int searched = 0;
  for (int round = 0; round < 40; ++round) {
    test::TTempTree tree;
    std::vector<std::string> lines(40 + rng() % 40);
    std::string text;
    for (std::string& line : lines) text += (line = RandomLine(rng)) + "\r\n";
    tree.Write("f.txt", text);
    for (int k = 0; k < 60; ++k) {
      const std::string pattern = maker.Pattern();
      TBregexpObj p;
      p.SetPattern(pattern);
      p.SetPlainText(false);
      p.SetFuzzy(k % 7 == 0);
      p.SetWholeWord(k % 5 == 0);
      if (!p.Compile() || p.LineBreakCount() > 0) continue;
      ++searched;
      const std::set<std::int64_t> want = ModuleLines(p, lines);
      // Each character every match holds is on each matching line, as one of its alternatives.
      for (const std::vector<std::string>& alternatives : RequiredAlternatives(p))
        for (std::int64_t n : want) {
          const std::string& line = lines[static_cast<std::size_t>(n - 1)];
          ASSERT_TRUE(std::any_of(alternatives.begin(), alternatives.end(),
                                  [&](const std::string& a) { return line.find(a) != std::string::npos; }))
              << "pattern " << pattern << " requires " << alternatives[0] << " line " << line;
        }
      const std::size_t piece = 16 + rng() % 400;
      ASSERT_EQ(GrepLines(p, tree, piece), want)
          << "pattern " << pattern << " fuzzy " << p.Fuzzy() << " word " << p.WholeWord() << " piece " << piece;
    }
  }
  EXPECT_GT(searched, 1200);  // most patterns are valid, so the syntax is really reached
}

// The forms whose payload was once taken for text every match holds.
TEST(GrepPatternSyntax, RepeatCountsAndEscapePayloadsFindEveryMatchingLine) {
  test::TTempTree tree;
  const std::vector<std::string> lines = {"2300kB", "size 12345", "4", "year 1999", "xx", "x", "xxxxx", "ABC", "A",
                                          "41BC", "Alpha", "b", "\x83\x41", "\x82\xa0", "", "12 34"};
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  tree.Write("f.txt", text);
  const struct {
    const char* pattern;
    std::set<std::int64_t> lines;
  } kCases[] = {{"[0-9]{4}", {1, 2, 4}}, {"x{2,}", {5, 7}}, {"\\x41", {8, 9, 11}},
                {"\\p{Alpha}", {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12}}};
  for (const auto& c : kCases) {
    TBregexpObj p;
    p.SetPattern(c.pattern);
    p.SetPlainText(false);
    ASSERT_TRUE(p.Compile()) << c.pattern;
    EXPECT_EQ(ModuleLines(p, lines), c.lines) << c.pattern;
    EXPECT_EQ(GrepLines(p, tree, 16 << 20), c.lines) << c.pattern;
  }
}

// Patterns whose whole-piece scan finds less than the lines searched alone, with nothing to
// anchor on: "\O" takes line breaks too and the module gives up after the first start that
// fails; "$" is only the piece's end there, hidden inside what a plain scan takes for a class
// ("[" inside a class is a member) or a quote.
TEST(GrepPatternSyntax, WholePieceScansAreOnlyTrustedWhereLinesCannotDiffer) {
  test::TTempTree tree;
  tree.Write("f.txt", "-\r\nba[\r\nb[\r\n");
  for (const char* pattern : {"\\b\\O*[ab]", "[[]$]?", "\\Q[\\E$\\Q]\\E?"}) {
    TBregexpObj p;
    p.SetPattern(pattern);
    p.SetPlainText(false);
    ASSERT_TRUE(p.Compile()) << pattern;
    const std::vector<std::string> lines = {"-", "ba[", "b["};
    EXPECT_EQ(GrepLines(p, tree, 16 << 20), ModuleLines(p, lines)) << pattern;
    EXPECT_FALSE(ModuleLines(p, lines).empty()) << pattern;
  }
}

}  // namespace
}  // namespace vorn
