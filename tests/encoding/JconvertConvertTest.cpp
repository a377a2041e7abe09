// Tests of ConvertCharCode: the routines' edge cases, exactness against iconv, and loss counting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JconvertTestUtil.h"
#include "platform/cp932.h"
#include "encoding/jconvert.h"
#include "encoding/jconvertInternal.h"

namespace vorn {
namespace {

using testing::Iconv;

std::string B(const char* s, std::size_t n) { return std::string(s, n); }

struct TConvCase {
  const char* what;
  std::string in;
  TCharCodeKind from, to;
  std::string out;
};

void PrintTo(const TConvCase& c, std::ostream* os) { *os << c.what; }

class ConvertCharCodeCases : public ::testing::TestWithParam<TConvCase> {};

TEST_P(ConvertCharCodeCases, GivesTheExpectedBytes) {
  const TConvCase& c = GetParam();
  EXPECT_EQ(ConvertCharCode(c.in, c.from, c.to), c.out) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    JisAndEuc, ConvertCharCodeCases,
    ::testing::Values(
        TConvCase{"sjis to JIS(RO)", "\x82\xA0", ckSjis, ckJis, "\x1B$B$\"\x1B(J"},
        TConvCase{"sjis to JIS(AS)", "\x82\xA0", ckSjis, ckJisAscii, "\x1B$B$\"\x1B(B"},
        TConvCase{"two-byte mode closes before CR LF", "\x82\xA0\r\nA", ckSjis, ckJisAscii,
                  "\x1B$B$\"\x1B(B\r\nA"},
        TConvCase{"half-width ga merges into one full-width", "\xB6\xDE", ckSjis, ckJis,
                  "\x1B$B%,\x1B(J"},
        TConvCase{"vu, pa and a lone mark", "\xB3\xDE\xCA\xDF\xDE", ckSjis, ckJis,
                  "\x1B$B%t%Q!+\x1B(J"},
        TConvCase{"kana symbols use row 1", "\xA1\xA2\xB0", ckSjis, ckJis, "\x1B$B!#!V!<\x1B(J"},
        TConvCase{"sjis lead byte at the end becomes the middle dot", "A\x82", ckSjis, ckJis,
                  "A\x1B$B!&\x1B(J"},
        TConvCase{"half-width ga to EUC stays two kana", "\xB6\xDE", ckSjis, ckEuc,
                  "\x8E\xB6\x8E\xDE"},
        TConvCase{"sjis to EUC", "a\x82\xA0\x8A\xBF", ckSjis, ckEuc, "a\xA4\xA2\xB4\xC1"},
        TConvCase{"JIS without closing designation", "\x1B$B$\"$$", ckJis, ckSjis,
                  "\x82\xA0\x82\xA2"},
        TConvCase{"JIS drops NUL bytes", B("a\x00" "b", 3), ckJisAscii, ckSjis, "ab"},
        TConvCase{"four-byte designation leaves its last byte", "\x1B$(D", ckJis, ckSjis,
                  "\x92\x7E"},
        TConvCase{"EUC half-width kana", "\x8E\xB1", ckEuc, ckSjis, "\xB1"},
        TConvCase{"EUC to sjis", "a\xA4\xA2\xB4\xC1\xFF", ckEuc, ckSjis, "a\x82\xA0\x8A\xBF\xFF"},
        TConvCase{"EUC to JIS merges marks", "\x8E\xCA\x8E\xDF" "a", ckEuc, ckJisAscii,
                  "\x1B$B%Q\x1B(Ba"},
        TConvCase{"EUC to JIS closes at the end", "\xA4\xA2", ckEuc, ckJis, "\x1B$B$\"\x1B(J"},
        TConvCase{"JIS to EUC", "\x1B$B$\"\x1B(Ba", ckJis, ckEuc, "\xA4\xA2" "a"},
        TConvCase{"JIS to JIS is unchanged", "\x1B$B$\"\x1B(B", ckJisAscii, ckJis,
                  "\x1B$B$\"\x1B(B"}));

INSTANTIATE_TEST_SUITE_P(
    Unicode, ConvertCharCodeCases,
    ::testing::Values(
        TConvCase{"utf-16le with signature", "\xFF\xFE\x42\x30", ckUnicodeLE, ckSjis, "\x82\xA0"},
        TConvCase{"utf-16be with signature", "\xFE\xFF\x30\x42", ckUnicodeBE, ckSjis, "\x82\xA0"},
        TConvCase{"utf-16le without signature, odd byte ignored", "\x42\x30\x41", ckUnicodeLE,
                  ckSjis, "\x82\xA0"},
        TConvCase{"utf-16be swapped signature dropped", "\xFF\xFE\x30\x42", ckUnicodeBE, ckSjis,
                  "\x82\xA0"},
        TConvCase{"utf-16be first character from FF00 kept", "\xFF\x21\x30\x42", ckUnicodeBE,
                  ckSjis, "\x82\x60\x82\xA0"},
        TConvCase{"utf-16le first character U+30FE kept", "\xFE\x30\x42\x30", ckUnicodeLE, ckSjis,
                  "\x81\x53\x82\xA0"},
        TConvCase{"sjis to utf-16le", "A\x82\xA0", ckSjis, ckUnicodeLE, B("\xFF\xFE" "A\x00\x42\x30", 6)},
        TConvCase{"sjis to utf-16be stops at NUL", B("A\x00" "B", 3), ckSjis, ckUnicodeBE,
                  B("\xFE\xFF\x00" "A", 4)},
        TConvCase{"utf-8 signature dropped", "\xEF\xBB\xBF\xE3\x81\x82", ckUtf8, ckSjis, "\x82\xA0"},
        TConvCase{"utf-8N signature dropped", "\xEF\xBB\xBF\xE3\x81\x82", ckUtf8N, ckSjis, "\x82\xA0"},
        TConvCase{"4-byte utf-8 becomes a full-width space", "\xF0\x9F\x98\x80", ckUtf8N, ckSjis,
                  "\x81\x40"},
        TConvCase{"stray continuation becomes a space", "a\x80" "b", ckUtf8N, ckSjis, "a b"},
        TConvCase{"utf-8 stops at NUL", B("a\x00" "b", 3), ckUtf8N, ckSjis, "a"},
        TConvCase{"sjis to utf-8 with signature", "\x82\xA0\xB1", ckSjis, ckUtf8,
                  "\xEF\xBB\xBF\xE3\x81\x82\xEF\xBD\xB1"},
        TConvCase{"sjis plus to utf-7", "a+b", ckSjis, ckUtf7, "a+-b"},
        TConvCase{"exclamation mark is encoded", "Hi!", ckSjis, ckUtf7, "Hi+ACE-"},
        TConvCase{"japanese to utf-7", "\x82\xA0\x82\xA2 x", ckSjis, ckUtf7, "+MEIwRA- x"},
        TConvCase{"utf-7 plus minus", "+-", ckUtf7, ckSjis, "+"},
        TConvCase{"utf-7 section ended by full stop", "+MEI.", ckUtf7, ckSjis, "\x82\xA0."},
        TConvCase{"utf-7 section without end", "+MEIwRA", ckUtf7, ckSjis, "\x82\xA0\x82\xA2"}));

INSTANTIATE_TEST_SUITE_P(
    UnchangedAndEmpty, ConvertCharCodeCases,
    ::testing::Values(
        TConvCase{"from ascii", "\x82\xA0", ckAscii, ckUtf8, "\x82\xA0"},
        TConvCase{"from binary", "\x82\xA0", ckBinary, ckEuc, "\x82\xA0"},
        TConvCase{"same kind", "\xE3\x81\x82", ckUtf8N, ckUtf8N, "\xE3\x81\x82"},
        TConvCase{"to undecided", "\xE3\x81\x82", ckUtf8N, ckEucOrSjis, "\xE3\x81\x82"},
        TConvCase{"utf-8 to euc is not a routine", "\xE3\x81\x82", ckUtf8N, ckEuc, ""},
        TConvCase{"utf-16 to utf-8 is not a routine", "\xFF\xFE\x42\x30", ckUnicodeLE, ckUtf8, ""}));

// EUC and JIS pairs are converted eight at a time in a register: every pair of bytes A1-FE
// (21-7E in JIS) gives in a block what it gives alone, and an EUC block broken at any offset
// by ASCII or a half-width katakana converts as its pieces do.
TEST(ConvertCharCode, EucAndJisPairsInBlocksConvertAsTheyDoAlone) {
  for (unsigned c1 = 0xA1; c1 <= 0xFE; ++c1) {
    for (unsigned c2 = 0xA1; c2 <= 0xFE; ++c2) {
      const std::string pair{static_cast<char>(c1), static_cast<char>(c2)};
      const std::string jisPair{static_cast<char>(c1 & 0x7F), static_cast<char>(c2 & 0x7F)};
      std::string block, jisBlock = "\x1B$B", expected;
      const std::string alone = ConvertCharCode(pair, ckEuc, ckSjis);
      for (int k = 0; k < 9; ++k) block += pair, jisBlock += jisPair, expected += alone;
      ASSERT_EQ(ConvertCharCode(block, ckEuc, ckSjis), expected) << std::hex << c1 << ' ' << c2;
      ASSERT_EQ(ConvertCharCode(jisBlock + "\x1B(B", ckJis, ckSjis), expected)
          << std::hex << c1 << ' ' << c2;
    }
  }
  const std::string kanji = "\xC6\xFC";  // 日
  for (const std::string& odd : {std::string("A"), std::string("\r\n"), std::string("\x8E\xB1")}) {
    for (std::size_t k = 0; k < 20; ++k) {
      std::string before, after;
      for (std::size_t j = 0; j < k; ++j) before += kanji;
      for (std::size_t j = k; j < 20; ++j) after += kanji;
      EXPECT_EQ(ConvertCharCode(before + odd + after, ckEuc, ckSjis),
                ConvertCharCode(before, ckEuc, ckSjis) + ConvertCharCode(odd, ckEuc, ckSjis) +
                    ConvertCharCode(after, ckEuc, ckSjis))
          << k;
    }
  }
}

// Where the output reaches the most a routine reserves (ASCII widened to UTF-16, EUC or ASCII
// UTF-8 narrowed to the same length, kanji from UTF-16), the last chunks must not make the
// output reallocate: that copies everything written so far.
TEST(ConvertCharCode, OutputsThatReachTheirBoundAreNotCopied) {
  const std::string ascii(3u << 20, 'a');
  std::string euc, kanjiLE;
  while (euc.size() < (3u << 20)) euc += "\xC6\xFC\xCB\xDC";
  while (kanjiLE.size() < (3u << 20)) kanjiLE += "\xE5\x65\x2C\x67";  // 日本
  const struct {
    const std::string* text;
    TCharCodeKind from, to;
  } cases[] = {{&ascii, ckSjis, ckUnicodeLE}, {&ascii, ckUtf8N, ckSjis}, {&euc, ckEuc, ckSjis},
               {&kanjiLE, ckUnicodeLE, ckSjis}};
  for (const auto& c : cases) {
    const std::string out = ConvertCharCode(*c.text, c.from, c.to);
    EXPECT_LT(out.capacity(), out.size() + out.size() / 4) << c.from << " to " << c.to;
  }
}

// Shift_JIS pairs are written as UTF-16 or UTF-8 eight at a time: an odd character (ASCII, a
// one-byte katakana, a lead byte without a trail, a pair without a mapping, a two-byte UTF-8
// character, a NUL that ends the text) at every offset of a run converts as it does alone.
TEST(ConvertCharCode, ShiftJisPairsInBlocksConvertAsTheyDoAlone) {
  const std::string kanji = "\x93\xFA";  // 日
  const char* const odd[] = {"A",         "\xB1",      "\x81\x7F",  "\x85\x40",
                             "\xF0\x40", "\x82\r\n", "\x81\x8B"};  // the last: U+00B0
  for (TCharCodeKind kind : {ckUnicodeLE, ckUnicodeBE, ckUtf8}) {
    auto bare = [kind](const std::string& sjis, std::size_t* lost = nullptr) {
      // Without the signature.
      return ConvertCharCode(sjis, ckSjis, kind, lost).substr(kind == ckUtf8 ? 3 : 2);
    };
    for (std::size_t k = 0; k < 20; ++k) {
      std::string before, after;
      for (std::size_t j = 0; j < k; ++j) before += kanji;
      for (std::size_t j = k; j < 20; ++j) after += kanji;
      for (const char* x : odd) {
        std::size_t lost = 99, lostAlone = 99;
        EXPECT_EQ(bare(before + x + after, &lost), bare(before) + bare(x, &lostAlone) + bare(after))
            << kind << " " << k;
        EXPECT_EQ(lost, lostAlone) << kind << " " << k;
      }
      EXPECT_EQ(bare(before + std::string(1, '\0') + after), bare(before)) << kind << " " << k;
      EXPECT_EQ(bare(before + "\x82" + std::string(1, '\0') + after), bare(before + "\x82"))
          << kind << " " << k;
      std::string ascii(40, 'a');
      ascii[k] = '\0';
      EXPECT_EQ(bare(ascii), bare(ascii.substr(0, k))) << kind << " " << k;
    }
  }
}

// The Unicode loops have a baseline form and faster ones chosen for the processor: the tests
// that reach into their blocks run in both.
class VectorForms : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { jconv::UseBaselineVectorForms(GetParam()); }
  void TearDown() override { jconv::UseBaselineVectorForms(false); }
};
INSTANTIATE_TEST_SUITE_P(ConvertCharCode, VectorForms, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Baseline" : "Fastest";
                         });

// Every code page 932 character that maps one-to-one survives a trip through every code.
TEST_P(VectorForms, EveryOneToOneCharacterRoundTripsThroughEachCode) {
  const TCp932Table& t = Cp932Table();
  std::string all;
  for (unsigned b = 0x20; b < 0x7F; ++b) all += static_cast<char>(b);
  for (unsigned b = 0xA1; b <= 0xDF; ++b) all += static_cast<char>(b);
  std::string jisSafe = all.substr(0, 0x7F - 0x20);
  for (unsigned code = 0x8140; code < 0x10000; ++code) {
    const char16_t u = t.dbcs[code];
    if (u == 0 || t.fromU16[u] != code) continue;
    all += static_cast<char>(code >> 8);
    all += static_cast<char>(code & 0xFF);
    if (code < 0x8540 || (code >= 0x889F && code < 0xEB00)) {  // JIS X 0208 rows
      jisSafe += static_cast<char>(code >> 8);
      jisSafe += static_cast<char>(code & 0xFF);
    }
    if (all.size() % 64 == 0) all += "\r\n";
  }
  for (TCharCodeKind kind : {ckUnicodeLE, ckUnicodeBE, ckUtf8, ckUtf8N, ckUtf7}) {
    std::size_t lost = 99;
    EXPECT_EQ(ConvertCharCode(ConvertCharCode(all, ckSjis, kind), kind, ckSjis, &lost), all) << kind;
    EXPECT_EQ(lost, 0u) << kind;
  }
  for (TCharCodeKind kind : {ckEuc, ckJis, ckJisAscii})
    EXPECT_EQ(ConvertCharCode(ConvertCharCode(jisSafe, ckSjis, kind), kind, ckSjis), jisSafe) << kind;
  EXPECT_EQ(ConvertCharCode(all.substr(all.size() / 2), ckSjis, ckUtf8N),
            Iconv(all.substr(all.size() / 2), "CP932", "UTF-8"));
}

// No silent loss: what code page 932 cannot hold is counted, from every Unicode source.
TEST(ConvertCharCode, CountsCharactersThatCodePage932CannotHold) {
  struct TLossCase { const char* utf8; std::size_t lost; };
  const TLossCase cases[] = {{"caf\xC3\xA9", 1},
                             {"\xF0\x9F\x98\x80", 1},         // 😀
                             {"\xE8\xBF\x99\xE4\xBB\xAC", 2},  // 这们 (simplified Chinese)
                             {"\xE3\x81\x82 ok", 0}};
  for (const TLossCase& c : cases) {
    for (TCharCodeKind kind : {ckUtf8N, ckUtf8, ckUnicodeLE, ckUnicodeBE, ckUtf7}) {
      std::string encoded;
      if (kind == ckUtf8N || kind == ckUtf8) encoded = c.utf8;
      else if (kind == ckUnicodeLE) encoded = "\xFF\xFE" + Iconv(c.utf8, "UTF-8", "UTF-16LE");
      else if (kind == ckUnicodeBE) encoded = "\xFE\xFF" + Iconv(c.utf8, "UTF-8", "UTF-16BE");
      else encoded = Iconv(c.utf8, "UTF-8", "UTF-7");
      std::size_t lost = 99;
      ConvertCharCode(encoded, kind, ckSjis, &lost);
      EXPECT_EQ(lost, c.lost) << c.utf8 << " kind " << kind;
    }
  }
}

TEST(ConvertCharCode, IllFormedUtf8CountsAsLoss) {
  std::size_t lost = 0;
  EXPECT_EQ(ConvertCharCode("a\x80", ckUtf8N, ckSjis, &lost), "a ");
  EXPECT_EQ(lost, 1u);
  ConvertCharCode("\xC1\x81", ckUtf8N, ckSjis, &lost);  // overlong "A"
  EXPECT_EQ(lost, 1u);
  ConvertCharCode("\xE3\x81", ckUtf8N, ckSjis, &lost);  // cut short
  EXPECT_EQ(lost, 1u);
  ConvertCharCode("\xED\xA0\xBD\xED\xB8\x80", ckUtf8N, ckSjis, &lost);  // one encoded pair
  EXPECT_EQ(lost, 1u);
}

TEST(ConvertCharCode, IllFormedShiftJisCountsWhenWrittenAsUnicode) {
  std::size_t lost = 0;
  EXPECT_EQ(ConvertCharCode("\x82\r\n", ckSjis, ckUtf8N, &lost), "\xE3\x83\xBB\r\n");
  EXPECT_EQ(lost, 1u);
  EXPECT_EQ(ConvertCharCode("\x82\xA0", ckSjis, ckEuc, &lost), "\xA4\xA2");
  EXPECT_EQ(lost, 0u);
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

// The JIS reader copies single-byte runs and pairs in blocks; an ESC or NUL at any offset of
// a block must still be seen.
TEST(ConvertCharCode, JisEscapesAndNulsAreSeenAtEveryOffset) {
  for (std::size_t k = 0; k < 24; ++k) {
    const std::string a(k, 'a'), c(20, 'c');
    EXPECT_EQ(ConvertCharCode(a + std::string(1, '\0') + c, ckJis, ckSjis), a + c) << k;
    EXPECT_EQ(ConvertCharCode(a + "\x1B$B$\"$$$&$($*\x1B(B" + c, ckJisAscii, ckSjis),
              a + "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8" + c)
        << k;
    std::string pairs = "\x1B$B";
    for (std::size_t p = 0; p < k; ++p) pairs += "$\"";
    EXPECT_EQ(ConvertCharCode(pairs + std::string(1, '\0') + "$$\x1B(Bx", ckJis, ckSjis),
              [&] {
                std::string out;
                for (std::size_t p = 0; p < k; ++p) out += "\x82\xA0";
                return out + "\x82\xA2x";
              }())
        << k;
  }
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

// Several mebibytes: the output grows past its first step and the loops cross many chunks.
TEST_P(VectorForms, LargeTextsRoundTripThroughEveryCode) {
  std::string sjis;
  while (sjis.size() < (3u << 20)) sjis += testing::SampleSjis() + "\xB6\xDE\xB1 kana\r\n";
  for (TCharCodeKind kind : {ckEuc, ckUnicodeLE, ckUnicodeBE, ckUtf8, ckUtf8N, ckUtf7}) {
    std::size_t lost = 99;
    EXPECT_EQ(ConvertCharCode(ConvertCharCode(sjis, ckSjis, kind), kind, ckSjis, &lost), sjis) << kind;
    EXPECT_EQ(lost, 0u) << kind;
  }
  // JIS has no half-width katakana: they come back full-width, once.
  const std::string viaJis = ConvertCharCode(ConvertCharCode(sjis, ckSjis, ckJis), ckJis, ckSjis);
  EXPECT_EQ(ConvertCharCode(ConvertCharCode(viaJis, ckSjis, ckJisAscii), ckJisAscii, ckSjis), viaJis);
  EXPECT_EQ(ConvertCharCode(sjis, ckSjis, ckUtf8N), Iconv(sjis, "CP932", "UTF-8"));
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

// The Unicode loops take kanji in blocks (eight units, five UTF-8 forms, a UTF-7 group of
// three): an odd character (single-byte code, ASCII, no mapping, a surrogate pair, an
// ill-formed form) at every offset of a run converts as it does alone, so no block edge drops,
// repeats or miscounts anything.
TEST_P(VectorForms, AnOddCharacterAtEveryBlockOffsetConvertsAsItDoesAlone) {
  const std::string kanji = "\xE6\x97\xA5";  // 日
  const char* const odd[] = {"\xEF\xBD\xB1",                    // ｱ, one byte in Shift_JIS
                             "A",         "\r\n",
                             "\xC3\xA9",                        // é, no mapping
                             "\xF0\x9F\x98\x80",                // 😀, a surrogate pair
                             "\xE0\x81\x81",                    // overlong
                             "\xED\xA0\xBD\xED\xB8\x80"};       // an encoded surrogate pair
  for (const char* x : odd) {
    for (std::size_t k = 0; k < 20; ++k) {
      std::string before, after;
      for (std::size_t j = 0; j < k; ++j) before += kanji;
      for (std::size_t j = k; j < 20; ++j) after += kanji;
      const bool utf8Only = x[0] == '\xE0' || x[0] == '\xED';
      for (TCharCodeKind kind : {ckUtf8N, ckUnicodeLE, ckUnicodeBE, ckUtf7}) {
        if (utf8Only && kind != ckUtf8N) continue;
        auto in = [kind](const std::string& utf8) {
          if (kind == ckUtf8N) return utf8;
          if (kind == ckUtf7) return Iconv(utf8, "UTF-8", "UTF-7");
          return Iconv(utf8, "UTF-8", kind == ckUnicodeLE ? "UTF-16LE" : "UTF-16BE");
        };
        std::size_t lost = 99, lostAlone = 99;
        const std::string alone = ConvertCharCode(in(x), kind, ckSjis, &lostAlone);
        EXPECT_EQ(ConvertCharCode(in(before + x + after), kind, ckSjis, &lost),
                  ConvertCharCode(in(before), kind, ckSjis) + alone +
                      ConvertCharCode(in(after), kind, ckSjis))
            << "kind " << kind << " offset " << k;
        EXPECT_EQ(lost, lostAlone) << "kind " << kind << " offset " << k;
      }
    }
  }
}

// UTF-8 windows of sixteen bytes may mix ASCII and kanji, so the odd character is also put
// after every ASCII prefix length (every phase of the window, a form cut by its edge) at every
// place of a mixed line with breaks.
TEST_P(VectorForms, AnOddCharacterInMixedUtf8ConvertsAsItDoesAlone) {
  const char* const odd[] = {"\xEF\xBD\xB1", "\xC3\xA9", "\xF0\x9F\x98\x80", "\xE0\x81\x81",
                             "\xED\xA0\xBD\xED\xB8\x80", "\xEF\xBF\xBF", "\x80"};
  std::vector<std::string> line;
  for (int r = 0; r < 4; ++r)
    for (const char* piece : {"\xE6\x97\xA5", "a", "\xE6\x97\xA5", "\r", "\n", "\xE6\x97\xA5",
                              "\xE6\x97\xA5", "b", "c", "\xE6\x97\xA5"})
      line.push_back(piece);
  for (const char* x : odd) {
    for (std::size_t shift = 0; shift < 16; ++shift) {
      for (std::size_t k = 0; k <= line.size(); ++k) {
        std::string before(shift, 'x'), after;
        for (std::size_t j = 0; j < line.size(); ++j) (j < k ? before : after) += line[j];
        std::size_t lost = 99, lostAlone = 99;
        const std::string alone = ConvertCharCode(x, ckUtf8N, ckSjis, &lostAlone);
        EXPECT_EQ(ConvertCharCode(before + x + after, ckUtf8N, ckSjis, &lost),
                  ConvertCharCode(before, ckUtf8N, ckSjis) + alone +
                      ConvertCharCode(after, ckUtf8N, ckSjis))
            << "shift " << shift << " place " << k;
        EXPECT_EQ(lost, lostAlone) << "shift " << shift << " place " << k;
      }
    }
  }
}

// The UTF-8 reader finds the text's end at its first NUL only as it reaches it: a NUL at every
// phase of the window and every place of a mixed line, also one that cuts a form, ends the
// text exactly there, whatever follows.
TEST_P(VectorForms, Utf8EndsAtANulWhereverItFalls) {
  std::string line;
  for (int r = 0; r < 4; ++r) line += "\xE6\x97\xA5" "a\xE6\x97\xA5\r\n\xEF\xBD\xB1\xE6\x97\xA5" "bc";
  const std::string after = "\xE6\x97\xA5\xED\xA0\xBD\xED\xB8\x80 tail \xE6\x97\xA5";
  for (std::size_t shift = 0; shift < 16; ++shift) {
    for (std::size_t k = 0; k <= line.size(); ++k) {
      const std::string before = std::string(shift, 'x') + line.substr(0, k);
      std::size_t lost = 99, lostBefore = 99;
      const std::string expected = ConvertCharCode(before, ckUtf8N, ckSjis, &lostBefore);
      EXPECT_EQ(ConvertCharCode(before + std::string(1, '\0') + after, ckUtf8N, ckSjis, &lost),
                expected)
          << "shift " << shift << " place " << k;
      EXPECT_EQ(lost, lostBefore) << "shift " << shift << " place " << k;
    }
  }
}

// UTF-7 is written a piece of text at a time, pieces ending after a line break: long texts
// with CR, LF or no line break at all, sections running up to each break, come back whole.
TEST(ConvertCharCode, LongUtf7TextsRoundTripWhateverTheirLineBreaks) {
  for (const char* lineBreak : {"\r\n", "\r", "\n", ""}) {
    std::string sjis;
    while (sjis.size() < 200000) sjis += std::string("\x93\xFA+~\x96\x7B") + lineBreak + "a";
    std::size_t lost = 99;
    EXPECT_EQ(ConvertCharCode(ConvertCharCode(sjis, ckSjis, ckUtf7), ckUtf7, ckSjis, &lost), sjis)
        << lineBreak;
    EXPECT_EQ(lost, 0u);
  }
}

// UTF-7 sections are decoded eight characters at a time: a section of every length, opened at
// every phase after direct text, comes back whole.
TEST(ConvertCharCode, Utf7SectionsOfEveryLengthRoundTrip) {
  for (std::size_t lead = 0; lead < 4; ++lead) {
    for (std::size_t k = 0; k < 12; ++k) {
      std::string sjis(lead, 'a');
      for (std::size_t j = 0; j < k; ++j) sjis += (j % 3 == 2) ? "+" : "\x93\xFA";  // 日 and "+"
      sjis += "-x\r\n";
      std::size_t lost = 99;
      EXPECT_EQ(ConvertCharCode(ConvertCharCode(sjis, ckSjis, ckUtf7), ckUtf7, ckSjis, &lost), sjis)
          << lead << " " << k;
      EXPECT_EQ(lost, 0u);
    }
  }
}

}  // namespace
}  // namespace vorn
