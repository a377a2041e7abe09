// Tests of the code page 932 mapping: frozen table contents, invalid-byte rule, default character.
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vorn {
namespace {

// Frozen from the Debian 12 glibc table (FNV-1a 64 over the raw arrays, little-endian host).
constexpr std::uint64_t GOLDEN_SINGLE = 0x3A268FD9013F4BD7ull;
constexpr std::uint64_t GOLDEN_DBCS = 0xA38A44C6BF9CB8F0ull;
constexpr std::uint64_t GOLDEN_FROM_U16 = 0x380A85B3AE1E0B4Dull;
constexpr int GOLDEN_DBCS_COUNT = 9604;
constexpr int GOLDEN_UNIT_COUNT = 9406;

std::uint64_t Fnv1a(std::uint64_t h, const void* data, std::size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 0x100000001B3ull;
  return h;
}

// A change of the system's table (or of how it is read) must be a conscious decision: saved
// files would come out different. The values below were taken from the table as first built.
TEST(Cp932Table, WholeTableMatchesFrozenChecksums) {
  const TCp932Table& t = Cp932Table();
  const std::uint64_t basis = 0xCBF29CE484222325ull;
  EXPECT_EQ(Fnv1a(basis, t.single, sizeof t.single), GOLDEN_SINGLE);
  EXPECT_EQ(Fnv1a(basis, t.dbcs, sizeof t.dbcs), GOLDEN_DBCS);
  EXPECT_EQ(Fnv1a(basis, t.fromU16, sizeof t.fromU16), GOLDEN_FROM_U16);
}

TEST(Cp932Table, CountsOfMappedCodesAreFrozen) {
  const TCp932Table& t = Cp932Table();
  int dbcs = 0, units = 0;
  for (unsigned i = 0; i < 65536; ++i) {
    dbcs += t.dbcs[i] != 0;
    units += t.fromU16[i] != Cp932NoMapping;
  }
  EXPECT_EQ(dbcs, GOLDEN_DBCS_COUNT);
  EXPECT_EQ(units, GOLDEN_UNIT_COUNT);
}

TEST(Cp932Table, SpotValuesAgreeWithTheWindowsCodePage) {
  const TCp932Table& t = Cp932Table();
  EXPECT_EQ(t.dbcs[0xF040], 0xE000);  // user-defined area
  EXPECT_EQ(t.dbcs[0xED40], 0x7E8A);  // NEC-selected IBM extension
  EXPECT_EQ(t.dbcs[0xFA40], 0x2170);  // IBM extension
  EXPECT_EQ(t.dbcs[0x8740], 0x2460);  // NEC special row
  EXPECT_EQ(t.dbcs[0x82A0], 0x3042);
  for (unsigned b = 0; b < 0x80; ++b) {  // the conversions copy ASCII runs without the table
    ASSERT_EQ(t.single[b], b);
    ASSERT_EQ(t.fromU16[b], b);
  }
  EXPECT_EQ(t.single[0x7E], 0x7E);
  EXPECT_EQ(t.single[0xB1], 0xFF71);
  EXPECT_EQ(t.fromU16[0xFF5E], 0x8160);
  EXPECT_EQ(t.fromU16[0x301C], 0x8160);
  EXPECT_EQ(t.fromU16[0x00A5], 0x5C);
  EXPECT_EQ(t.fromU16[0x203E], 0x7E);
  EXPECT_EQ(t.fromU16[0x00E9], Cp932NoMapping);
  EXPECT_EQ(t.fromU16[0xD800], Cp932NoMapping);
}

TEST(Cp932ToUtf16, ConvertsEveryByteIncludingNul) {
  EXPECT_EQ(Cp932ToUtf16(std::string_view("A\x00\x82\xA0\xB1", 5)), std::u16string(u"A\u0000\u3042\uFF71", 4));
}

// The rule documented in cp932.h: one U+30FB per ill-formed piece, and bytes that can stand
// alone after a broken lead byte are kept.
TEST(Cp932ToUtf16, IllFormedBytesBecomeOneMiddleDotEach) {
  std::size_t bad = 99;
  EXPECT_EQ(Cp932ToUtf16("\x82", &bad), u"\u30FB");
  EXPECT_EQ(bad, 1u);
  EXPECT_EQ(Cp932ToUtf16("\x82\x0D\x0A" "A", &bad), u"\u30FB\r\nA");
  EXPECT_EQ(bad, 1u);
  EXPECT_EQ(Cp932ToUtf16("\x85\x40" "A", &bad), u"\u30FB" "A");  // valid pair, no mapping
  EXPECT_EQ(bad, 1u);
  EXPECT_EQ(Cp932ToUtf16("\x80\xA0\xFD\xFE\xFF", &bad), u"\u30FB\u30FB\u30FB\u30FB\u30FB");
  EXPECT_EQ(bad, 5u);
  EXPECT_EQ(Cp932ToUtf16("\x81\x45", &bad), u"\u30FB");  // the real middle dot is no error
  EXPECT_EQ(bad, 0u);
}

TEST(Utf16ToCp932, UnmappableCharactersBecomeQuestionMarksAndAreCounted) {
  std::size_t bad = 99;
  EXPECT_EQ(Utf16ToCp932(u"caf\u00E9", &bad), "caf?");
  EXPECT_EQ(bad, 1u);
  EXPECT_EQ(Utf16ToCp932(u"\U0001F600x", &bad), "?x");  // one pair, one character
  EXPECT_EQ(bad, 1u);
  EXPECT_EQ(Utf16ToCp932(u"\xD800" u"a\xDC00", &bad), "?a?");  // lone surrogates
  EXPECT_EQ(bad, 2u);
  EXPECT_EQ(Utf16ToCp932(u"\u8FD9", &bad), "?");  // simplified Chinese zhe
  EXPECT_EQ(bad, 1u);
  EXPECT_EQ(Utf16ToCp932(std::u16string(u"\u3042\uFF71\u0000", 3), &bad), std::string("\x82\xA0\xB1\x00", 4));
  EXPECT_EQ(bad, 0u);
}

TEST(Cp932RoundTrip, EveryCodeWhoseUnitMapsBackReturnsUnchanged) {
  const TCp932Table& t = Cp932Table();
  int oneToOne = 0;
  for (unsigned code = 0x8140; code < 0x10000; ++code) {
    const char16_t u = t.dbcs[code];
    if (u == 0 || t.fromU16[u] != code) continue;
    ++oneToOne;
    const std::string sjis{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    ASSERT_EQ(Utf16ToCp932(Cp932ToUtf16(sjis)), sjis) << std::hex << code;
  }
  EXPECT_GT(oneToOne, 7000);
  // Every unit the table can write decodes back to itself.
  for (unsigned u = 0; u < 65536; ++u) {
    const std::uint16_t code = t.fromU16[u];
    if (code == Cp932NoMapping) continue;
    const char16_t back = code < 0x100 ? t.single[code] : t.dbcs[code];
    if (back != u) continue;  // best-fit targets such as U+00A5 -> 5C
    ASSERT_EQ(Cp932ToUtf16(Utf16ToCp932(std::u16string(1, static_cast<char16_t>(u))))[0], u);
  }
}

}  // namespace
}  // namespace vorn
