// Random grep runs (codes, line breaks, patterns, piece sizes, workers) against a one-by-one model
// that reads each file whole, as the editor does, and searches it line by line.
#include <dirent.h>

#include <gtest/gtest.h>

#include "GrepTestUtil.h"
#include "regex/BregexpUtil.h"
#include "search/FileMask.h"
#include "search/GrepEngine.h"
#include "search/GrepAnchors.h"
#include "search/GrepLineSearch.h"
#include "encoding/LineSplit.h"
#include "search/GrepResultText.h"
#include "search/GrepUtf8Lines.h"
#include "textfile/JConvStrList.h"

namespace vorn {
namespace {

struct TModelPattern {
  const char* text;
  bool regex, ignoreCase, word, fuzzy;
};

// Literal, folded, whole-word, double-byte, fuzzy (plain and regular expressions, of one
// character and of several, whose candidate lines are found by their rarest character),
// anchored, look-around, cross-line, empty.
const TModelPattern kPatterns[] = {
    {"ab", false, false, false, false},       {"AB", false, true, false, false},
    {"ab", false, false, true, false},        {"\x93\xfa\x96\x7b", false, false, false, false},
    {"\x83\x41", false, false, false, true},  {"a.*b", true, false, false, false},
    {"^ab", true, false, false, false},       {"b$", true, false, false, false},
    {"x+", true, true, false, false},         {"a\\r\\nb", true, false, false, false},
    {"a[^x]*b", true, false, false, false},   {"(?=a)ab|x", true, false, false, false},
    {"b*", true, false, false, false},        {"a\\s*b", true, false, true, false},
    {"AB+x?", true, false, false, false},     {"\x93\xfa\x96\x7b+ ?b", true, false, false, false},
    {"(a|x)b", true, false, false, false},    {"^a b", true, false, false, false},
    {"ab", false, false, false, true},        {"\x82\xa0" "b", false, true, true, true},
    {"a+B\x83\x41", true, false, false, true}, {"x?\x82\x60" "b", true, false, false, true},
    {"\x81\x60", false, false, false, false}, {"b\x81\x5b", true, false, false, false},
};

// Shift_JIS pieces of text: letters, blanks, kanji, kana of both widths, a trail byte that looks
// like "A" (0x83 0x41), a full-width "A".
const char* const kTokens[] = {"ab", "AB", "x", " ", "\t", "a", "b", "\x93\xfa\x96\x7b", "\xb1", "\x83\x41",
                               "\x82\xa0", "\x82\x60", "B", "_", "\x81\x60", "\x81\x5b"};
const TCharCodeKind kCodes[] = {ckSjis, ckUtf8N, ckUtf8, ckEuc, ckUnicodeLE, ckUnicodeBE, ckJis};
const char* const kBreaks[] = {"\r\n", "\n", "\r"};

std::string RandomText(std::mt19937& rng) {
  std::string text;
  const int lines = static_cast<int>(rng() % 60);
  // One break kind per file, or (as in files edited on several systems) a mix.
  const bool mixed = rng() % 4 == 0;
  const char* br = kBreaks[rng() % 3];
  for (int i = 0; i < lines; ++i) {
    const int tokens = static_cast<int>(rng() % 12);
    for (int t = 0; t < tokens; ++t) text += kTokens[rng() % std::size(kTokens)];
    if (i + 1 < lines || rng() % 2) text += mixed ? kBreaks[rng() % 3] : br;
  }
  return text;
}

// What a UTF-8 file may hold besides converted Shift_JIS: ill-formed bytes (a lead that takes
// the line break, a stray continuation byte, an overlong form), forms that other characters
// share a Shift_JIS character with, or that become the default character (four-byte forms,
// encoded surrogates), and signature characters inside the text.
void SpliceUtf8Oddities(std::mt19937& rng, std::string& text) {
  static const char* const kOdd[] = {"\xE3\r\n", "\xE3\x81", "\x80", "\xC0\xAF", "\xF0\x9F\x98\x80",
                                     "\xED\xA0\x80", "\xEF\xBB\xBF", "\xEF\xBF\xBE", "\xE3\x80\x9C",
                                     "\xEF\xBD\x9E", "\xC2\xA5", "\xE2\x80\x95", "\xC3\xA9"};
  for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k)
    text.insert(rng() % (text.size() + 1), kOdd[rng() % std::size(kOdd)]);
}

std::vector<std::string> FolderEntries(const std::string& folder, bool dirs) {
  std::vector<std::string> out;
  DIR* d = ::opendir(folder.c_str());
  while (const dirent* e = d ? ::readdir(d) : nullptr) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if ((e->d_type == DT_DIR) == dirs) out.push_back(name);
  }
  if (d) ::closedir(d);
  return out;
}

void ModelFile(TBregexpObj& p, const std::string& path, const std::string& root, std::vector<std::string>& out) {
  TJConvStringList list;
  list.LoadFromFile(path);
  const int n = p.LineBreakCount();
  const std::string shown = GrepDisplayPath(path.substr(root.size()));
  for (int i = 0; i < list.Count(); ++i) {
    std::string t = list.Get(i);
    const std::size_t limit = t.size() + 2;
    for (int k = i + 1; k <= i + n && k < list.Count(); ++k) t += "\r\n" + list.Get(k);
    int pos = 0, len = 0, hits = 0;
    while (p.FindIn(t, pos, len) && static_cast<std::size_t>(pos) < limit) {
      ++hits;
      pos += std::max(len, 1);
    }
    if (hits) out.push_back(GrepMatchLine(shown, i + 1, t, false));
  }
}

void ModelFolder(TBregexpObj& p, const std::string& folder, const std::string& root, std::vector<std::string>& out) {
  for (const char* mask : {"*.txt", "f*"})
    for (const std::string& name : FolderEntries(folder, false))
      if (MatchesFileMask(name, mask)) ModelFile(p, folder + name, root, out);
  for (const std::string& name : FolderEntries(folder, true)) ModelFolder(p, folder + name + "/", root, out);
}

TEST(GrepModel, RandomTreesGiveTheResultsOfALineByLineSearch) {
  std::mt19937 rng(20240519);
  for (int round = 0; round < 25; ++round) {
    test::TTempTree tree;
    for (int f = 0; f < 10; ++f) {
      std::string rel = (f % 3 == 0 ? "d" + std::to_string(f % 2) + "/" : "") + "f" + std::to_string(f) + ".txt";
      TCharCodeKind code = kCodes[rng() % std::size(kCodes)];
      std::string bytes = ConvertCharCode(RandomText(rng), ckSjis, code);
      if ((code == ckUtf8 || code == ckUtf8N) && rng() % 2) SpliceUtf8Oddities(rng, bytes);
      tree.Write(rel, bytes);
    }
    for (const TModelPattern& mp : kPatterns) {
      TBregexpObj p;
      p.SetPattern(mp.text);
      p.SetPlainText(!mp.regex);
      p.SetIgnoreCase(mp.ignoreCase);
      p.SetWholeWord(mp.word);
      p.SetFuzzy(mp.fuzzy);
      std::vector<std::string> expected;
      ModelFolder(p, tree.Root() + "/", tree.Root() + "/", expected);
      TGrepOptions o;
      o.BaseFolder = tree.Root();
      o.FileMask = "*.txt;f*";
      o.SubFolders = o.RelativePath = true;
      o.PieceBytes = 16 + rng() % 300;
      o.Workers = 1 + static_cast<int>(rng() % 3);
      TGrepEngine engine(p, o);
      std::string message;
      ASSERT_TRUE(engine.Prepare(message)) << mp.text << message;
      test::TCollectSink sink;
      engine.Run(sink);
      std::vector<std::string> got(sink.Lines.begin() + 4, sink.Lines.end());
      auto diff = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
      ASSERT_TRUE(diff.first == got.end() && diff.second == expected.end())
          << "pattern " << mp.text << " round " << round << " piece " << o.PieceBytes << " workers " << o.Workers
          << "\n got: " << (diff.first == got.end() ? "(end)" : *diff.first)
          << "\nwant: " << (diff.second == expected.end() ? "(end)" : *diff.second);
    }
  }
}

// Literals every match must hold: the longest sure run, none where an alternative, an option
// group or a class could do without it, and a double-byte character taken whole even when its
// trail byte looks like a metacharacter.
TEST(GrepModel, RequiredLiteralIsOnlyWhatEveryMatchHolds) {
  EXPECT_EQ(RequiredLiteral("need[a-z]+_x[0-9]"), "need");
  EXPECT_EQ(RequiredLiteral("ab?cde"), "cde");
  EXPECT_EQ(RequiredLiteral("abc+d"), "abc");
  EXPECT_EQ(RequiredLiteral("x(abcdef)*y"), "x");
  EXPECT_EQ(RequiredLiteral("abc|defg"), "");
  EXPECT_EQ(RequiredLiteral("(?i)abc"), "");
  EXPECT_EQ(RequiredLiteral("[|(]abc"), "abc");
  EXPECT_EQ(RequiredLiteral("a.b\\dcd"), "cd");
  EXPECT_EQ(RequiredLiteral("\x95\x5c\x8e\xa6"), "\x95\x5c\x8e\xa6");  // trail bytes 5C, A6
  EXPECT_EQ(RequiredLiteral("\x95\x5c*"), "");
  EXPECT_EQ(RequiredLiteral("a{2}bc"), "bc");
  // Repeat counts and escape payloads are no text of the match; a repeat keeps what it repeats
  // only with a lower bound above zero, also through comments and nested repeats.
  EXPECT_EQ(RequiredLiteral("[0-9]{4}"), "");
  EXPECT_EQ(RequiredLiteral("[0-9]{2,}kB"), "kB");
  EXPECT_EQ(RequiredLiteral("xy{2}"), "xy");
  EXPECT_EQ(RequiredLiteral("ab{0,3}"), "a");
  EXPECT_EQ(RequiredLiteral("\\x41BCD"), "BCD");
  EXPECT_EQ(RequiredLiteral("\\p{Alpha}"), "");
  EXPECT_EQ(RequiredLiteral("\\101BC"), "BC");
  EXPECT_EQ(RequiredLiteral("ab2+*"), "ab");
  EXPECT_EQ(RequiredLiteral("abc(?#note)?"), "ab");
  EXPECT_EQ(RequiredLiteral("\\Qa.b\\E+"), "a.b");
  EXPECT_EQ(RequiredLiteral("[]|]abc"), "abc");
  EXPECT_EQ(RequiredLiteral("[[:alpha:]|]abc"), "abc");
  EXPECT_EQ(RequiredLiteral("(?s)abc"), "abc");
  EXPECT_EQ(RequiredLiteral("(?x)abc"), "");
}

// The candidate finder against a plain search for each needle, on texts of few distinct bytes
// so that first and last bytes match often without the middle, at every block offset; folding
// ASCII case, against the same search over lower-cased text and needles.
TEST(GrepModel, AnyOfFinderGivesEachNextOccurrence) {
  std::mt19937 rng(5);
  const char alphabet[] = {'a', 'b', '\x82', '\x60', 'A', 'B', '@', '['};
  auto randomText = [&](std::size_t size) {
    std::string t;
    for (std::size_t i = 0; i < size; ++i) t += alphabet[rng() % (size % 2 ? 4 : 8)];
    return t;
  };
  auto lower = [](std::string t) {
    for (char& c : t) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return t;
  };
  for (int round = 0; round < 6000; ++round) {
    const bool fold = round % 2;
    std::vector<std::string> needles(1 + rng() % 4);
    for (std::string& n : needles) n = randomText(1 + rng() % 5);
    const std::string text = randomText(rng() % 200);
    TAnyOfFinder finder(needles, fold);
    finder.Reset(text);
    const std::string seen = fold ? lower(text) : text;
    for (std::size_t from = 0; from <= text.size(); from += 1 + rng() % 7) {
      std::size_t want = std::string::npos;
      for (const std::string& n : needles) want = std::min(want, seen.find(fold ? lower(n) : n, from));
      ASSERT_EQ(finder.Find(from), want) << "round " << round << " from " << from;
    }
  }
}

// The vector count of breaks must agree with the line splitter for every alignment of a CR LF
// against its 16-byte blocks.
TEST(GrepModel, BreakCountAgreesWithTheLineSplitter) {
  std::mt19937 rng(99);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const std::size_t size = rng() % 80;
    for (std::size_t i = 0; i < size; ++i) text += "a\r\nb"[rng() % 4];
    if (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text += 'z';
    std::size_t lines = 0;
    ForEachLine(text.data(), text.data() + text.size(), false, [&](const char*, const char*) { ++lines; });
    const std::size_t breaks = CountLineBreaks(text.data(), text.data() + text.size());
    ASSERT_EQ(breaks + (text.empty() ? 0 : 1), lines) << ::testing::PrintToString(text);
  }
}

// Which UTF-8 texts convert character by character, against a plain decoder, for forms placed
// across every offset of the 16-byte blocks: only one- to three-byte forms that are not
// overlong, not surrogates and not the signature characters, and no NUL.
TEST(GrepModel, CharByCharConversionIsDecidedAsAPlainDecoderDecidesIt) {
  auto model = [](std::string_view t) {
    for (std::size_t i = 0; i < t.size();) {
      const unsigned b = static_cast<unsigned char>(t[i]);
      std::size_t len = b == 0 ? 0 : b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : 0;
      if (len == 0 || i + len > t.size()) return false;
      unsigned u = len == 1 ? b : len == 2 ? b & 0x1F : b & 0x0F;
      for (std::size_t k = 1; k < len; ++k) {
        const unsigned c = static_cast<unsigned char>(t[i + k]);
        if ((c & 0xC0) != 0x80) return false;
        u = u << 6 | (c & 0x3F);
      }
      if ((len == 3 && u < 0x800) || (u >= 0xD800 && u <= 0xDFFF) || u == 0xFEFF || u == 0xFFFE) return false;
      i += len;
    }
    return true;
  };
  static const std::string kPieces[] = {"a", "bcdefgh", "\r\n", "\xE3\x81\x82", "\xC3\xA9", "\xEF\xBD\x9E",
                                        "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEF\xBB\xBE", "\xEF\xBF\xBD",
                                        "\xE0\x9F\xBF", "\xED\xA0\x80", "\xEF\xBB\xBF", "\xEF\xBF\xBE",
                                        "\xC1\xBF", "\x80", "\xE3\x81", "\xF0\x9F\x98\x80", std::string(1, '\0')};
  std::mt19937 rng(77);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int pieces = static_cast<int>(rng() % 24);
    // Mostly well-formed, so that a wrong form late in a long text is met as often as an early one.
    for (int k = 0; k < pieces; ++k) text += kPieces[rng() % (k + 1 == pieces ? std::size(kPieces) : 10)];
    if (rng() % 2 && !text.empty()) text.insert(rng() % text.size(), std::string(rng() % 20, 'x'));
    ASSERT_EQ(ConvertsCharByChar(text), model(text)) << ::testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace vorn
