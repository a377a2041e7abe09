// Forms other writers use, made by the system's own encoders: EUC-JP three-byte forms for the
// IBM extensions and JIS X 0212, and JIS half-width katakana under ESC ( I or SO/SI.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JconvertTestUtil.h"
#include "encoding/jconvert.h"
#include "platform/cp932.h"

namespace vorn {
namespace {

using testing::Iconv;

std::string Utf8(std::string_view sjis) { return Iconv(sjis, "CP932", "UTF-8"); }

// Reads bytes in a code as the editor opens a file: detection, then conversion with its loss.
struct TRead {
  TCharCodeKind kind;
  std::string utf8;
  std::size_t lost = 0;
};
TRead Read(const std::string& bytes) {
  TRead r{DetectCharCode(bytes), {}};
  r.utf8 = Utf8(ConvertCharCode(bytes, r.kind, ckSjis, &r.lost));
  return r;
}

// Every IBM extension of code page 932 (FA40-FC4B), as UTF-8.
std::vector<std::string> IbmExtensions() {
  const TCp932Table& t = Cp932Table();
  std::vector<std::string> out;
  for (unsigned lead = 0xFA; lead <= 0xFC; ++lead)
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
      if (trail != 0x7F && t.dbcs[lead << 8 | trail] != 0)
        out.push_back(Utf8(std::string{static_cast<char>(lead), static_cast<char>(trail)}));
  return out;
}

TEST(EucThreeByteForms, EveryIbmExtensionReadsBackAsItselfAndIsEuc) {
  const std::vector<std::string> chars = IbmExtensions();
  ASSERT_EQ(chars.size(), 388u);
  std::string all;
  for (const std::string& c : chars) {
    all += c;
    // Alone, and in a short line of kana and kanji, where the counters alone would say Shift_JIS.
    for (const std::string& text : {c, c + "\xE3\x81\x95\xE3\x82\x93\xE3\x81\xAE\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"}) {
      const TRead r = Read(Iconv(text, "UTF-8", "EUC-JP-MS"));
      EXPECT_EQ(r.kind, ckEuc) << text;
      EXPECT_EQ(r.utf8, text);
      EXPECT_EQ(r.lost, 0u) << text;
    }
  }
  const TRead r = Read(Iconv(all + "\r\n", "UTF-8", "EUC-JP-MS"));
  EXPECT_EQ(r.kind, ckEuc);
  EXPECT_EQ(r.utf8, all + "\r\n");
  EXPECT_EQ(r.lost, 0u);
}

TEST(EucThreeByteForms, JisX0212WithoutACp932FormIsCountedAsLost) {
  // 丂 (8F B0 A1) and ¡ (8F A2 C2) have no Shift_JIS form; the line around them stays intact.
  const std::string euc = Iconv("a\xE4\xB8\x82\xC2\xA1\xE6\x97\xA5", "UTF-8", "EUC-JP-MS");
  ASSERT_EQ(euc, "a\x8F\xB0\xA1\x8F\xA2\xC2\xC6\xFC");
  std::size_t lost = 0;
  EXPECT_EQ(ConvertCharCode(euc, ckEuc, ckSjis, &lost), "a??\x93\xfa");
  EXPECT_EQ(lost, 2u);
  // Written as JIS the same characters are lost; an IBM extension goes as its NEC-selected twin.
  const std::string takaSjis = "\xFB\xFC";  // 髙
  lost = 0;
  EXPECT_EQ(ConvertCharCode(euc + "\x8F\xF4\xFB", ckEuc, ckJisAscii, &lost),
            ConvertCharCode("a\x81\x45\x81\x45\x93\xfa" + takaSjis, ckSjis, ckJisAscii));
  EXPECT_EQ(lost, 2u);
  // An 8F that does not start a well-formed form still pairs as any other high byte.
  EXPECT_EQ(ConvertCharCode("\x8F\xA1" "A", ckEuc, ckSjis), "\x78\x40" "A");
}

// The detection rule: well-formed EUC-JP with an 8F is EUC; one ill-formed byte anywhere in the
// examined prefix and the counters decide as they did.
TEST(EucThreeByteForms, DetectionTakesWellFormedTextsWithThemOnly) {
  const std::string sentence = Iconv(
      "\xE9\xAB\x99\xE6\xA9\x8B\xE3\x81\x95\xE3\x82\x93\xE3\x81\xA8\xEF\xA8\x91\xE5\xB1\xB1\xE3\x81\x95\xE3\x82\x93"
      "\xE3\x81\xAE\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87\xE7\xAB\xA0\xE3\x81\xA7\xE3\x81\x99"
      "\xE3\x80\x82",
      "UTF-8", "EUC-JP-MS");
  ASSERT_EQ(sentence.substr(0, 3), "\x8F\xF4\xFB");
  EXPECT_EQ(DetectCharCode(sentence), ckEuc);
  EXPECT_EQ(DetectCharCode(sentence.substr(0, 7)), ckEuc);
  EXPECT_EQ(DetectCharCode(sentence.substr(0, sentence.size() - 1)), ckSjis) << "the last character cut";
}

// Every half-width katakana as ISO-2022-JP-3 writes it (ESC ( I), and as SO ... SI.
std::string AllHalfWidthKatakana() {
  std::string sjis;
  for (unsigned b = 0xA1; b <= 0xDF; ++b) sjis += static_cast<char>(b);
  return Utf8(sjis);
}

TEST(JisHalfWidthKatakana, EveryOneReadsBackAsItselfAndIsJis) {
  const std::string kana = AllHalfWidthKatakana();
  const std::string kanji = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E ";  // 日本語
  for (std::size_t i = 0; i < kana.size(); i += 3) {
    const std::string one = kana.substr(i, 3);
    for (const std::string& text : {one, kanji + one + "\r\n"}) {
      const std::string jis = Iconv(text, "UTF-8", "ISO-2022-JP-3");
      ASSERT_NE(jis.find("\x1B(I"), std::string::npos);
      const TRead r = Read(jis);
      EXPECT_TRUE(r.kind == ckJis || r.kind == ckJisAscii) << text << " " << r.kind;
      EXPECT_EQ(r.utf8, text);
    }
  }
  const std::string jis = Iconv(kanji + kana + "\r\n" + kana, "UTF-8", "ISO-2022-JP-3");
  const TRead r = Read(jis);
  EXPECT_EQ(r.kind, ckJisAscii);
  EXPECT_EQ(r.utf8, kanji + kana + "\r\n" + kana);
  // The same katakana shifted out: SO before them, SI after, as mail tools write them.
  std::string shifted = Iconv(kanji, "UTF-8", "ISO-2022-JP") + "\x0E";
  for (unsigned b = 0x21; b <= 0x5F; ++b) shifted += static_cast<char>(b);
  const TRead s = Read(shifted + "\x0F" "a");
  EXPECT_EQ(s.kind, ckJisAscii);
  EXPECT_EQ(s.utf8, kanji + kana + "a");
  // Katakana stay katakana as EUC-JP; written back as JIS they leave as full-width, as ever.
  EXPECT_EQ(ConvertCharCode("\x1B(I" "6E\x0F\x1B(B" "6", ckJis, ckEuc), "\x8E\xB6\x8E\xC5" "6");
  EXPECT_EQ(ConvertCharCode("\xB6\xC5", ckSjis, ckJisAscii), "\x1B$B%+%J\x1B(B");
}

// An SO in text that has no JIS designation before it is not taken for katakana by detection.
TEST(JisHalfWidthKatakana, StraySoInAsciiTextKeepsItsVerdict) {
  EXPECT_EQ(DetectCharCode("abc\x0E" "def\x0F"), ckAscii);
}

}  // namespace
}  // namespace vorn
