// Tests of DetectCharCode: signatures, the counters' decisions, and real text in every code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <random>
#include <string>

#include "DetectReference.h"
#include "JconvertTestUtil.h"
#include "encoding/jconvert.h"

namespace vorn {
namespace {

using testing::Iconv;
using testing::SampleSjis;

struct TDetectCase {
  const char* what;
  std::string text;
  TCharCodeKind expected;
};

void PrintTo(const TDetectCase& c, std::ostream* os) { *os << c.what; }

class DetectCharCodeCases : public ::testing::TestWithParam<TDetectCase> {};

TEST_P(DetectCharCodeCases, GivesTheExpectedKind) {
  EXPECT_EQ(DetectCharCode(GetParam().text), GetParam().expected) << GetParam().what;
}

std::string Bytes(const char* s, std::size_t n) { return std::string(s, n); }

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, DetectCharCodeCases,
    ::testing::Values(
        TDetectCase{"empty", "", ckAscii},
        TDetectCase{"pure ascii", "hello, world\r\n", ckAscii},
        TDetectCase{"utf-16le signature, rest not utf-16", "\xFF\xFE" "abc", ckUnicodeLE},
        TDetectCase{"utf-16be signature", "\xFE\xFF\x30\x42", ckUnicodeBE},
        TDetectCase{"single FF byte", "\xFF", ckAscii},
        TDetectCase{"NUL in prefix", Bytes("ab\x00" "cd", 5), ckBinary},
        TDetectCase{"utf-8 signature wins over content", "\xEF\xBB\xBF\x82\xA0\x82\xA2", ckUtf8},
        TDetectCase{"JIS with ESC ( B", "\x1B$B$\"$$\x1B(B", ckJisAscii},
        TDetectCase{"JIS with ESC ( J", "\x1B$B$\"$$\x1B(J", ckJis},
        TDetectCase{"JIS without single-byte designation", "\x1B$B$\"$$", ckJis},
        TDetectCase{"utf-7 sections ended by -", "Hi +MEIwRA- there +MEY-.", ckUtf7},
        TDetectCase{"backslash rules utf-7 out", "Hi +MEIwRA- there\\", ckAscii},
        TDetectCase{"tilde rules utf-7 out", "+MEIwRA-~", ckAscii},
        // EUC A4A2 A4A4: EUC and SJIS counters tie; the hiragana test decides for a short text.
        TDetectCase{"short EUC hiragana", "\xA4\xA2\xA4\xA4", ckEuc},
        TDetectCase{"sjis lead byte 81-9F decides", "\x82\xA0\x82\xA2\x82\xA4", ckSjis},
        TDetectCase{"EUC F0-FE lead decides", "\xF0\xA1\xA4\xA2\xA4\xA4", ckEuc},
        TDetectCase{"short kana-only tie is EUC", "\xB1\xB2\xB3\xB4", ckEuc},
        TDetectCase{"EUC run beaten by SJIS after a broken pair",
                    "\xB4\xC1\xB4\xC1\xA1\x0A\x88\x9F\x88\xA0\x88\x9F\x88\xA0", ckSjis},
        TDetectCase{"utf-8 counter wins", "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86", ckUtf8N}));

TEST(DetectCharCode, NulAfterTheFirstMebibyteIsNotBinary) {
  std::string text(DetectLimit, 'a');
  text += '\0';
  EXPECT_EQ(DetectCharCode(text), ckAscii);
  text[DetectLimit - 1] = '\0';
  EXPECT_EQ(DetectCharCode(text), ckBinary);
}

// A run broken near the end: the short clean run after the break is what counts, so a long
// clean EUC stretch loses against Shift_JIS that follows a broken pair.
TEST(DetectCharCode, CountersMeasureTheLastUnbrokenRun) {
  std::string sjis;
  for (int k = 0; k < 50; ++k) sjis += "\x8A\xBF\x8E\x9A";  // 漢字
  EXPECT_EQ(DetectCharCode(sjis), ckSjis);
  std::string euc;
  for (int k = 0; k < 50; ++k) euc += "\xB4\xC1\xBB\xFA";  // 漢字 in EUC
  EXPECT_EQ(DetectCharCode(euc), ckEuc);
  // EUC, then an EUC-invalid pair (A1 0A) and a few Shift_JIS-only characters.
  EXPECT_EQ(DetectCharCode(euc + "\xA1\x0A" + "\x88\x9F\x88\xA0"), ckSjis);
}

// The mended rule: strictly well-formed UTF-8 is UTF-8 when no counter won.
TEST(DetectCharCode, ShortWellFormedUtf8IsUtf8N) {
  EXPECT_EQ(DetectCharCode("caf\xC3\xA9"), ckUtf8N);
  EXPECT_EQ(DetectCharCode("\xE3\x81\x82"), ckUtf8N);  // あ
  const char* lines[] = {"ひらがなだけの行", "カタカナ", "漢字かな交じり文です。", "今日は晴れ",
                         "設定を保存しました", "ファイルが見つかりません"};
  for (const char* utf8 : lines) EXPECT_EQ(DetectCharCode(utf8), ckUtf8N) << utf8;
  int asUtf8 = 0, total = 0;
  const std::string sample = Iconv(SampleSjis(), "CP932", "UTF-8");
  for (std::size_t pos = 0; pos + 90 < sample.size(); pos += 37) {
    std::size_t start = pos;
    while ((static_cast<unsigned char>(sample[start]) & 0xC0) == 0x80) ++start;
    std::size_t end = start + 90;  // about 30 characters
    while (end < sample.size() && (static_cast<unsigned char>(sample[end]) & 0xC0) == 0x80) ++end;
    ++total;
    asUtf8 += DetectCharCode(std::string_view(sample).substr(start, end - start)) == ckUtf8N;
  }
  EXPECT_EQ(asUtf8, total);
}

TEST(DetectCharCode, IllFormedUtf8KeepsThePartsDecision) {
  EXPECT_EQ(DetectCharCode("caf\xC3\xA9\xC0\xAF"), ckEuc);         // overlong "/"
  EXPECT_EQ(DetectCharCode("\xE3\x81"), ckSjis);                   // cut by the end of text
}

TEST(DetectCharCode, Utf8CutOnlyByThePrefixLimitStillCounts) {
  std::string text(DetectLimit - 1, 'a');
  text += "\xE3\x81\x82";  // あ straddles the limit
  EXPECT_EQ(DetectCharCode(text), ckUtf8N);
}

// Real text converted by the system iconv: long and single-line forms, every code.
struct TCodeCase {
  TCharCodeKind kind;
  const char* name;
};

void PrintTo(const TCodeCase& c, std::ostream* os) { *os << c.name; }

// iconv ends a base64 section implicitly before a character that is not base64; the detection
// counts only sections closed with "-" (as our encoder and the Windows one always write).
std::string CloseUtf7Sections(const std::string& utf7) {
  std::string out;
  for (std::size_t i = 0; i < utf7.size();) {
    out += utf7[i];
    if (utf7[i++] != '+') continue;
    while (i < utf7.size() && (std::isalnum(static_cast<unsigned char>(utf7[i])) ||
                               utf7[i] == '+' || utf7[i] == '/'))
      out += utf7[i++];
    if (i >= utf7.size() || utf7[i] != '-') out += '-';
  }
  return out;
}

std::string Encode(std::string_view sjis, TCharCodeKind kind) {
  switch (kind) {
    case ckSjis: return std::string(sjis);
    case ckEuc: return Iconv(sjis, "CP932", "EUC-JP");
    case ckJisAscii: return Iconv(sjis, "CP932", "ISO-2022-JP");
    case ckJis: {
      std::string jis = Iconv(sjis, "CP932", "ISO-2022-JP");
      for (std::size_t p = jis.find("\x1B(B"); p != std::string::npos; p = jis.find("\x1B(B", p))
        jis[p + 2] = 'J';
      return jis;
    }
    case ckUnicodeLE: return "\xFF\xFE" + Iconv(sjis, "CP932", "UTF-16LE");
    case ckUnicodeBE: return "\xFE\xFF" + Iconv(sjis, "CP932", "UTF-16BE");
    case ckUtf8: return "\xEF\xBB\xBF" + Iconv(sjis, "CP932", "UTF-8");
    case ckUtf8N: return Iconv(sjis, "CP932", "UTF-8");
    case ckUtf7: return CloseUtf7Sections(Iconv(sjis, "CP932", "UTF-7"));
    default: return {};
  }
}

class RealTextInEachCode : public ::testing::TestWithParam<TCodeCase> {};

TEST_P(RealTextInEachCode, IsDetectedAndConvertsBackToTheSameShiftJis) {
  const TCharCodeKind kind = GetParam().kind;
  const std::string& sjis = SampleSjis();
  const std::string encoded = Encode(sjis, kind);
  EXPECT_EQ(DetectCharCode(encoded), kind);
  std::size_t lost = 99;
  EXPECT_EQ(ConvertCharCode(encoded, kind, ckSjis, &lost), sjis);
  EXPECT_EQ(lost, 0u);
  // Our encoders write what iconv writes, except UTF-7, whose optional choices differ.
  if (kind != ckUtf7) {
    EXPECT_EQ(ConvertCharCode(sjis, ckSjis, kind, &lost), encoded);
  } else {
    // iconv's own form, sections closed implicitly, reads back when the code is given.
    EXPECT_EQ(ConvertCharCode(Iconv(sjis, "CP932", "UTF-7"), ckUtf7, ckSjis), sjis);
  }
  EXPECT_EQ(ConvertCharCode(ConvertCharCode(sjis, ckSjis, kind), kind, ckSjis), sjis);
}

TEST_P(RealTextInEachCode, SingleLinesOfKanaAndKanjiAreDetected) {
  const TCharCodeKind kind = GetParam().kind;
  const char* lines[] = {"\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8",  // あいうえお
                         "\x83\x4A\x83\x5E\x83\x4A\x83\x69",          // カタカナ
                         "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD",  // こんにちは
                         "\x8D\xA1\x93\xFA\x82\xCD\x90\xB0\x82\xEA"}; // 今日は晴れ
  for (const char* line : lines) {
    const std::string encoded = Encode(line, kind);
    EXPECT_EQ(DetectCharCode(encoded), kind) << line;
    EXPECT_EQ(ConvertCharCode(encoded, kind, ckSjis), line);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, RealTextInEachCode,
    ::testing::Values(TCodeCase{ckSjis, "Sjis"}, TCodeCase{ckEuc, "Euc"}, TCodeCase{ckJis, "Jis"},
                      TCodeCase{ckJisAscii, "JisAscii"}, TCodeCase{ckUnicodeLE, "UnicodeLE"},
                      TCodeCase{ckUnicodeBE, "UnicodeBE"}, TCodeCase{ckUtf8, "Utf8"},
                      TCodeCase{ckUtf8N, "Utf8N"}, TCodeCase{ckUtf7, "Utf7"}),
    [](const auto& info) { return std::string(info.param.name); });

// Wherever the 1 MiB limit falls in a large file, even inside a character, the verdict holds.
TEST(DetectCharCode, LargeFilesKeepTheirCodeWhereverTheLimitFalls) {
  std::string sjis;
  while (sjis.size() < DetectLimit + 4096) sjis += SampleSjis();
  for (TCharCodeKind kind : {ckEuc, ckJisAscii, ckSjis, ckUtf8N}) {
    const std::string encoded = Encode(sjis, kind);
    for (std::size_t shift = 0; shift < 6; ++shift)
      EXPECT_EQ(DetectCharCode(std::string(shift, 'a') + encoded), kind) << kind << " shift " << shift;
  }
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

// Texts that mix every code's fragments and stray bytes, so that runs break at every offset
// of the 16-byte blocks the counters scan.
std::string MixedText(std::uint32_t seed, std::size_t length) {
  static const char* const kPieces[] = {
      "\x82\xA0", "\x8A\xBF", "\xE0\x40", "\xB1", "\xB6\xDE", "\xA4\xA2", "\x8E\xB1",
      "\x8F\xB0\xA1", "\xE3\x81\x82", "\xC3\xA9", "\xF0\x9F\x98\x80", "\x1B$B", "\x1B(B",
      "\x1B(J", "\x1B$(D", "$\"", "\x0E", "\x0F", "+MEI-", "+ACE", "abc ", "\r\n",
      "\x80", "\xA0", "\xFD", "\xFF", "\x81", "\xC0", "\xFC\x80", "-", "+"};
  std::string text;
  std::uint32_t x = seed * 2654435761u + 1;
  while (text.size() < length) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    text += kPieces[x % (sizeof kPieces / sizeof kPieces[0])];
  }
  return text;
}

bool SameCounters(const jconv::TDetectCounters& a, const jconv::TDetectCounters& b) {
  return a.euc == b.euc && a.sjis == b.sjis && a.jis == b.jis && a.utf8 == b.utf8 &&
         a.utf7 == b.utf7 && a.roman == b.roman && a.signature == b.signature;
}

TEST(DetectCounters, BlockScanningAgreesWithTheByteByByteRules) {
  for (std::uint32_t seed = 0; seed < 3000; ++seed) {
    const std::string text = MixedText(seed, seed % 300);
    ASSERT_TRUE(SameCounters(jconv::CountForDetection(text), testing::ReferenceCounters(text)))
        << "seed " << seed;
  }
  for (std::uint32_t seed = 0; seed < 200; ++seed) {
    // Long clean stretches with a break near a random point.
    static const TCharCodeKind kKinds[] = {ckJis, ckJisAscii, ckEuc, ckSjis, ckUnicodeLE,
                                           ckUnicodeBE, ckUtf8, ckUtf8N, ckUtf7};
    std::string text = Encode(SampleSjis(), kKinds[seed % 9]);
    text.insert(seed * 7 % text.size(), MixedText(seed, 5));
    ASSERT_TRUE(SameCounters(jconv::CountForDetection(text), testing::ReferenceCounters(text)))
        << "seed " << seed;
  }
}

// Long texts, where a counter that breaks near the end is taken from its tail: clean stretches
// of several codes with stray fragments anywhere, the last few KiB included, and ASCII runs of
// every length before the tail starts.
TEST(DetectCounters, CountsFromTheTailAndTheVerdictAgreeWithTheWholeTextsRules) {
  static const TCharCodeKind kKinds[] = {ckEuc, ckSjis, ckUtf8N, ckJis, ckUtf8};
  std::mt19937 rng(4242);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const std::size_t size = 8000 + rng() % 30000;
    while (text.size() < size) {
      std::string part = Encode(SampleSjis(), kKinds[rng() % std::size(kKinds)]);
      text += part.substr(0, 1 + rng() % part.size()) + std::string(rng() % 8, ' ');
    }
    for (int k = static_cast<int>(rng() % 4); k > 0; --k) {
      const std::size_t fromEnd = rng() % 2 ? rng() % 6000 : rng() % text.size();
      text.insert(text.size() - std::min(fromEnd, text.size()), MixedText(rng(), 1 + rng() % 6));
    }
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    const jconv::TDetectCounters model = testing::ReferenceCounters(text);
    ASSERT_TRUE(SameCounters(jconv::CountForDetection(text), model)) << "round " << round;
    // The verdict may skip a counter where its value cannot change it.
    ASSERT_EQ(DetectCharCode(text), jconv::DecideCharCode(text, model)) << "round " << round;
  }
  // A run spanning the whole tail is only bounded by it: clean texts of one code, long enough to
  // leave the tail unbroken, behind a mixed head and with fragments of the other codes sprinkled
  // before the tail, where they may or may not bring another run within reach.
  for (int round = 0; round < 200; ++round) {
    const TCharCodeKind kind = kKinds[rng() % std::size(kKinds)];
    std::string text = MixedText(rng(), rng() % 3000), clean = Encode(SampleSjis(), kind);
    const std::size_t cleanSize = 9000 + rng() % (round % 2 ? 30000 : 100000);
    while (clean.size() < cleanSize) clean += Encode(SampleSjis(), kind);
    for (int k = static_cast<int>(rng() % 3); k > 0; --k)
      clean.insert(rng() % (clean.size() - 5000), Encode(SampleSjis(), kKinds[rng() % std::size(kKinds)]));
    text += clean;
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    ASSERT_EQ(DetectCharCode(text), jconv::DecideCharCode(text, testing::ReferenceCounters(text)))
        << "clean round " << round << " of " << kind;
  }
  for (std::uint32_t seed = 0; seed < 3000; ++seed) {
    std::string text = MixedText(seed, seed % 400);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    if (text.size() >= 2 && (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0)) continue;
    ASSERT_EQ(DetectCharCode(text), jconv::DecideCharCode(text, testing::ReferenceCounters(text))) << "seed " << seed;
  }
}

// Where the tail starts, the tokens must be split as a scan from the start splits them: a lead
// that swallows the bytes after it (a UTF-8 lead up to five, ASCII among them) must not be
// taken for a break when the tail starts inside what it swallowed. Put across every offset
// around 4 KiB from the end, with and without real breaks after it.
TEST(DetectCounters, TailStartsWhereAWholeScanSplitsTheTokens) {
  const std::string swallowing = "\xF0\x80" "a" "\xE3" "b" "\x8F\xA1" "a" "\xA1" "b";
  for (TCharCodeKind kind : {ckEuc, ckSjis, ckUtf8N}) {
    std::string clean = Encode(SampleSjis(), kind);
    while (clean.size() < 12000) clean += clean;
    clean.resize(12000);
    for (const char* tailBreak : {"", "\x80\xA0\xFF"}) {
      for (std::size_t back = 4000; back < 4200; ++back) {
        std::string text = clean;
        text.insert(text.size() - back, swallowing);
        text.insert(text.size() - 50, tailBreak);
        ASSERT_TRUE(SameCounters(jconv::CountForDetection(text), testing::ReferenceCounters(text)))
            << kind << " at " << back;
      }
    }
  }
}

TEST(DetectCounters, PrefixLimitIsRespectedByTheBlockScan) {
  std::string text = MixedText(7, DetectLimit + 40);
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
  for (std::size_t cut : {DetectLimit - 17, DetectLimit - 1, DetectLimit, DetectLimit + 1, DetectLimit + 20}) {
    const std::string_view part(text.data(), std::min(cut, text.size()));
    ASSERT_TRUE(SameCounters(jconv::CountForDetection(part), testing::ReferenceCounters(part))) << cut;
  }
}

}  // namespace
}  // namespace vorn
