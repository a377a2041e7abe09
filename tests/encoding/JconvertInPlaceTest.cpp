// Reading UTF-8 in place must give exactly what converting the whole text into a new string
// gives, whatever the parts cut through and however the text ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "encoding/jconvert.h"

namespace vorn {
namespace {

struct TRandom {
  std::uint32_t x;
  std::uint32_t Next() {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
  }
};

// Mostly Japanese and ASCII, as real files are, with every kind of ill-formed and odd sequence
// the lenient decoder takes in its own way: cut forms, stray continuation bytes, the long leads,
// surrogates, the signature in the middle, unmappable characters.
std::string RandomUtf8(TRandom& r, std::size_t length, bool withNul) {
  static const char* const kPieces[] = {
      "\xE3\x81\x82", "\xE6\xBC\xA2\xE5\xAD\x97", "abc", "\r\n", "\n", "x", "\xEF\xBB\xBF",
      "\xC3\xA9", "\xE3", "\xE3\x81", "\x80", "\xBF", "\xC2", "\xF0\x9F\x98\x80", "\xF8", "\xFC",
      "\xED\xA0\xBD\xED\xB8\x80", "\xEF\xBD\xB1", "\xE2\x80\x94", "\xC0\xAF", "\xE0\x80\xAF", "~", "\xC0\x80"};
  constexpr std::size_t kCount = sizeof kPieces / sizeof kPieces[0];
  std::string text;
  while (text.size() < length) {
    // Long runs of the common forms take the vector paths across part boundaries.
    text += kPieces[r.Next() % 8 < 6 ? r.Next() % 6 : r.Next() % kCount];
    if (withNul && r.Next() % 5000 == 0) text += '\0';
  }
  return text;
}

std::string InPlace(const std::string& text, std::size_t& lost, unsigned parts = 0) {
  TByteBuffer bytes(text.size());
  text.copy(bytes.Data(), text.size());
  lost = 0;
  Utf8ToSjisInPlace(bytes, lost, parts);
  return std::string(bytes.Data(), bytes.Size());
}

TEST(Utf8InPlace, GivesTheWholeConversionForAnyTextAndLength) {
  TRandom r{4242};
  for (int round = 0; round < 60; ++round) {
    // Small texts, texts of a few parts, and one beyond the size that gets a mapped buffer.
    const std::size_t length = round % 10 == 0 ? (std::size_t{1} << 20) + r.Next() % 70000
                               : round % 2 == 0 ? 65536 * 2 + r.Next() % 70000
                                                : r.Next() % 300;
    std::string text = RandomUtf8(r, length, round % 3 == 0);
    if (round % 4 == 1) text += "\xE3";  // cut by the end: the output outgrows the input
    std::size_t wholeLost = 0;
    const std::string whole = ConvertCharCode(text, ckUtf8, ckSjis, &wholeLost);
    // Cut into parts converted side by side: at line feeds, beside NULs and cut forms.
    for (unsigned parts : {0u, 1u + r.Next() % 5}) {
      std::size_t lost = 0;
      const std::string inPlace = InPlace(text, lost, parts);
      ASSERT_EQ(inPlace, whole) << "round " << round << " length " << text.size() << " parts " << parts;
      EXPECT_EQ(lost, wholeLost) << "round " << round << " parts " << parts;
    }
  }
}

TEST(Utf8InPlace, EdgeTexts) {
  for (const std::string& text : {std::string(), std::string("\xEF\xBB\xBF"), std::string("\xE3"),
                                 std::string("\xF0\x9F"), std::string("a\0b", 3), std::string("\xEF\xBB\xBF" "a")}) {
    std::size_t wholeLost = 0, lost = 0;
    EXPECT_EQ(InPlace(text, lost), ConvertCharCode(text, ckUtf8, ckSjis, &wholeLost));
    EXPECT_EQ(lost, wholeLost);
    // Each edge at the end of a part, too.
    const std::string three = text + "\n" + text + "\n" + text;
    EXPECT_EQ(InPlace(three, lost, 3), ConvertCharCode(three, ckUtf8, ckSjis, &wholeLost));
    EXPECT_EQ(lost, wholeLost);
  }
}

std::size_t SpacesForNuls(std::string& text) {
  std::size_t n = 0;
  for (char& c : text)
    if (c == '\0') c = ' ', ++n;
  return n;
}

// A file's bytes go on past a NUL: converted with NULs (its own and the overlong U+0000 forms'
// results) as spaces, the text is the whole conversion of the text with its NULs spaced, spaced
// again, and the count is of both.
TEST(Utf8InPlace, AFileKeepsItsTextPastEveryNul) {
  TRandom r{777};
  for (int round = 0; round < 40; ++round) {
    const std::size_t length = round % 8 == 0 ? (std::size_t{1} << 20) + r.Next() % 70000 : 65536 + r.Next() % 140000;
    std::string text = RandomUtf8(r, length, true);
    for (int k = 0; k < 3; ++k) text.insert(r.Next() % text.size(), round % 2 ? std::string(1, '\0') : "\xC0\x80");
    std::string spaced = text;
    std::size_t wholeLost = 0;
    const std::size_t inputNuls = SpacesForNuls(spaced);
    std::string whole = ConvertCharCode(spaced, ckUtf8, ckSjis, &wholeLost);
    const std::size_t nuls = inputNuls + SpacesForNuls(whole);
    for (unsigned parts : {0u, 1u + r.Next() % 5}) {
      TByteBuffer bytes(text.size());
      text.copy(bytes.Data(), text.size());
      std::size_t lost = 0;
      ASSERT_EQ(Utf8FileToSjisInPlace(bytes, lost, parts), nuls) << "round " << round << " parts " << parts;
      ASSERT_EQ(std::string(bytes.Data(), bytes.Size()), whole) << "round " << round << " parts " << parts;
      EXPECT_EQ(lost, wholeLost) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace vorn
