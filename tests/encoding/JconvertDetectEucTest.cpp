// Tests of the second look at texts the counters leave as Shift_JIS: short EUC-JP texts of
// katakana and kanji, and bytes that Shift_JIS never uses.
#include <gtest/gtest.h>

#include <string>

#include "JconvertTestUtil.h"
#include "encoding/jconvert.h"
#include "encoding/jconvertInternal.h"

namespace vorn {
namespace {

using testing::Iconv;

std::string Euc(const char* utf8) { return Iconv(utf8, "UTF-8", "EUC-JP"); }
std::string Sjis(const char* utf8) { return Iconv(utf8, "UTF-8", "CP932"); }

// Short texts as they occur in manual pages: one or two lines, often without hiragana.
TEST(DetectShortEuc, KatakanaAndKanjiOnlyTextsAreEuc) {
  for (const char* text : {"デバッガー", "入門", "コンピュータープログラム設計入門", "漢字変換",
                           "ファイルシステム管理", "プロセス間通信 (IPC) の概要",
                           "データベース・サーバー設定ファイル一覧表示"}) {
    EXPECT_EQ(DetectCharCode(Euc(text)), ckEuc) << text;
    EXPECT_EQ(DetectCharCode(Euc(text) + "\n"), ckEuc) << text;
  }
}

TEST(DetectShortEuc, ShiftJisTextsKeepTheirAnswer) {
  for (const char* text : {"ｱｲｳ", "ｱｲｳｴｵ", "入門", "デバッガー", "漢字とかな", "ﾃﾞﾊﾞｯｶﾞｰ 入門"}) {
    EXPECT_EQ(DetectCharCode(Sjis(text)), ckSjis) << text;
  }
}

// Where a byte rules Shift_JIS out (80, A0, FD-FF, or a lead without a trail) and the text
// is clean EUC-JP, EUC is the answer whatever the counters tie on.
TEST(DetectShortEuc, BytesShiftJisNeverUsesGiveEuc) {
  // 8F starts a JIS X 0212 character in EUC and settles the tie-break for Shift_JIS, although
  // A1 FE (a JIS row 1 character) cannot be Shift_JIS.
  std::string text = "\x8F\xA1\xA1\xA1\xFE";
  for (int i = 0; i < 4; ++i) text += "\x8F\xA1\xA1";
  ASSERT_EQ(jconv::CountForDetection(text).euc, jconv::CountForDetection(text).sjis);
  EXPECT_EQ(DetectCharCode(text), ckEuc);
  // A lone FE is neither well-formed EUC nor Shift_JIS: the counters' answer stands.
  EXPECT_EQ(DetectCharCode("\xFE"), ckAscii);
  EXPECT_NE(DetectCharCode(text + "\xFE"), ckEuc);
  EXPECT_EQ(DetectCharCode("\x88\x9F\x88\xA0\xFE"), ckAscii);
}

TEST(DetectShortEuc, KanaCountNeedsOneInTenOfTheShiftJisCount) {
  // Kanji whose bytes are also half-width katakana pairs: the counters tie and the hiragana
  // test is reached. n = 21 asks for two kana, n = 22 for two as well.
  std::string kanji;
  for (int i = 0; i < 20; ++i) kanji += "\xB0\xA1";
  const std::string katakanaA = "\xA5\xA2";
  EXPECT_EQ(DetectCharCode(kanji), ckSjis);
  EXPECT_EQ(DetectCharCode(kanji + katakanaA), ckSjis);
  EXPECT_EQ(DetectCharCode(kanji + katakanaA + katakanaA), ckEuc);
  EXPECT_EQ(DetectCharCode(kanji + "\xA1\xBC" + katakanaA), ckEuc) << "the sound mark counts";
  EXPECT_EQ(DetectCharCode(kanji + "\xA1\xBC\xA1\xBC"), ckEuc);
}

TEST(DetectShortEuc, PrefixLimitInsideAnEucCharacterStillCounts) {
  // The 1 MiB limit falls between the two bytes of the last character examined.
  std::string text = "a\xA1\xFE";
  while (text.size() < DetectLimit + 3) text += "\xB0\xA1";
  ASSERT_EQ(text[DetectLimit - 1], '\xB0');
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  EXPECT_EQ(DetectCharCode(text), ckEuc);
  EXPECT_TRUE(jconv::IsWellFormedEucPrefix(s, DetectLimit, text.size()));
  // The same character cut by the real end of the text is ill-formed.
  EXPECT_FALSE(jconv::IsWellFormedEucPrefix(s, DetectLimit, DetectLimit));
  EXPECT_FALSE(jconv::IsWellFormedEucPrefix(reinterpret_cast<const unsigned char*>("\x8F\xA1"), 2, 2));
  EXPECT_TRUE(jconv::IsWellFormedEucPrefix(reinterpret_cast<const unsigned char*>("\x8F\xA1"), 2, 3));
  EXPECT_FALSE(jconv::IsWellFormedSjisPrefix(reinterpret_cast<const unsigned char*>("a\x82"), 2, 2));
  EXPECT_TRUE(jconv::IsWellFormedSjisPrefix(reinterpret_cast<const unsigned char*>("a\x82\xA0"), 2, 3));
  EXPECT_FALSE(jconv::IsWellFormedSjisPrefix(reinterpret_cast<const unsigned char*>("\xB1\xA0"), 2, 2));
}

TEST(DetectShortEuc, EucKanaCountTakesEveryKanaRowAndTheSoundMark) {
  const std::string text = Euc("あアー") + "\x8E\xB1" + "\x8F\xA4\xA2" + Euc("漢");
  EXPECT_EQ(jconv::CountEucKana(reinterpret_cast<const unsigned char*>(text.data()), text.size()), 3u);
}

}  // namespace
}  // namespace vorn
