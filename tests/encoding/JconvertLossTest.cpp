// Tests that writing never loses a character silently: every code page 932 character through
// every code and back is the same character or is counted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "encoding/jconvert.h"

namespace vorn {
namespace {

constexpr TCharCodeKind kWriteKinds[] = {ckJis, ckJisAscii, ckEuc, ckUnicodeLE, ckUnicodeBE,
                                         ckUtf8, ckUtf8N, ckUtf7};

bool IsLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(unsigned b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Every character code page 932 maps, single bytes (but the control bytes) and pairs.
std::vector<std::string> AllCp932Characters() {
  const TCp932Table& t = Cp932Table();
  std::vector<std::string> chars;
  for (unsigned b = 0x20; b < 0xE0; ++b)
    if (b < 0x7F || b >= 0xA1) chars.emplace_back(1, static_cast<char>(b));
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead)
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
      if (IsLead(lead) && IsTrail(trail) && t.dbcs[lead << 8 | trail] != 0)
        chars.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  return chars;
}

struct TTrip {
  std::string back;
  std::size_t lostWriting = 0, lostReading = 0;
};

TTrip RoundTrip(const std::string& sjis, TCharCodeKind kind) {
  TTrip r;
  const std::string encoded = ConvertCharCode(sjis, ckSjis, kind, &r.lostWriting);
  r.back = ConvertCharCode(encoded, kind, ckSjis, &r.lostReading);
  return r;
}

TEST(WriteWithoutSilentLoss, EveryCp932CharacterComesBackOrIsCounted) {
  const std::vector<std::string> chars = AllCp932Characters();
  ASSERT_GT(chars.size(), 7000u);
  for (TCharCodeKind kind : kWriteKinds) {
    std::size_t counted = 0;
    for (const std::string& c : chars) {
      const bool jis = kind == ckJis || kind == ckJisAscii;
      // JIS has no half-width katakana: they are written full-width by design.
      if (jis && c.size() == 1 && static_cast<unsigned char>(c[0]) >= 0xA1) continue;
      const std::string text = "a" + c + "\r\n";
      const TTrip r = RoundTrip(text, kind);
      if (r.lostWriting > 0) {
        ++counted;
        continue;
      }
      ASSERT_EQ(r.lostReading, 0u) << kind << " " << std::hex << static_cast<unsigned>(static_cast<unsigned char>(c[0]));
      ASSERT_EQ(Cp932ToUtf16(r.back), Cp932ToUtf16(text))
          << "kind " << kind << " char " << std::hex
          << (static_cast<unsigned char>(c[0]) << 8 | (c.size() > 1 ? static_cast<unsigned char>(c[1]) : 0));
    }
    const bool japanese = kind == ckJis || kind == ckJisAscii || kind == ckEuc;
    // The 1880 user-defined characters (F0-F9) are all that JIS and EUC-JP cannot hold.
    EXPECT_EQ(counted, japanese ? 1880u : 0u) << kind;
  }
}

TEST(WriteWithoutSilentLoss, IbmExtensionsReadBackAsThemselvesInJisAndEuc) {
  const std::string names = "\xFB\xFC\x8B\xB4\x92\x86\xFA\xB1\xFA\x40";  // 髙橋 長﨑 ⅰ
  for (TCharCodeKind kind : {ckJis, ckJisAscii, ckEuc}) {
    const TTrip r = RoundTrip(names, kind);
    EXPECT_EQ(r.lostWriting, 0u) << kind;
    EXPECT_EQ(Cp932ToUtf16(r.back), Cp932ToUtf16(names)) << kind;
  }
  // 髙 leaves as its NEC-selected twin, EE E0 in Shift_JIS: 7C 62 in JIS, FC E2 in EUC.
  EXPECT_EQ(ConvertCharCode("\xFB\xFC", ckSjis, ckEuc), "\xFC\xE2");
  EXPECT_EQ(ConvertCharCode("\xFB\xFC", ckSjis, ckJisAscii), "\x1B$B|b\x1B(B");
}

TEST(WriteWithoutSilentLoss, WhatJisCannotHoldIsTheMiddleDotAndCounted) {
  struct TCase {
    std::string sjis;
    std::string jis;
    std::size_t lost;
  };
  const TCase cases[] = {
      {"\xF0\x40", "\x1B$B!&\x1B(B", 1},                  // user-defined
      {"a\x80z", "a\x1B$B!&\x1B(Bz", 1},                  // never Shift_JIS
      {"\x82\r\n", "\x1B$B!&\x1B(B\r\n", 1},              // a lead before a line break
      {"\x82\xA0\xFF\x82\xA0", "\x1B$B$\"!&$\"\x1B(B", 1},
      {"\xFC\xFC", "\x1B$B!&\x1B(B", 1},                  // an IBM slot without a character
  };
  for (const TCase& c : cases) {
    std::size_t lost = 0;
    EXPECT_EQ(ConvertCharCode(c.sjis, ckSjis, ckJisAscii, &lost), c.jis);
    EXPECT_EQ(lost, c.lost);
    std::string euc = ConvertCharCode(c.sjis, ckSjis, ckEuc, &lost);
    EXPECT_EQ(lost, c.lost);
    EXPECT_NE(euc.find("\xA1\xA6"), std::string::npos);
  }
}

TEST(ReadWithoutSilentLoss, OddLastByteOfUtf16IsCounted) {
  std::size_t lost = 0;
  EXPECT_EQ(ConvertCharCode(std::string("\xFF\xFE\x42\x30\x41", 5), ckUnicodeLE, ckSjis, &lost), "\x82\xA0");
  EXPECT_EQ(lost, 1u);
  EXPECT_EQ(ConvertCharCode(std::string("\xFE\xFF\x30\x42", 4), ckUnicodeBE, ckSjis, &lost), "\x82\xA0");
  EXPECT_EQ(lost, 0u);
}

}  // namespace
}  // namespace vorn
