// Shift_JIS to UTF-8 through the shared table, checked against the system iconv code by code.
#include "platform/Cp932Utf8.h"

#include <iconv.h>

#include <optional>

#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace vorn {
namespace {

// The system's own answer for one complete sequence, or nothing when it rejects it.
std::optional<std::string> IconvToUtf8(iconv_t cd, const std::string& sjis) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(16, '\0');
  char* in = const_cast<char*>(sjis.data());
  std::size_t inLeft = sjis.size(), outLeft = out.size();
  char* op = out.data();
  if (iconv(cd, &in, &inLeft, &op, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

TEST(Cp932ToUtf8, AgreesWithTheSystemForEveryCharacterItMaps) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int compared = 0;
  for (unsigned code = 0x20; code < 0x10000; ++code) {
    if (code >= 0x100 && !(code >> 8 >= 0x81 && (code & 0xFF) >= 0x40)) continue;
    std::string sjis = code < 0x100 ? std::string(1, static_cast<char>(code))
                                    : std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    if (code < 0x100 && code >= 0x81 && (code <= 0x9F || code >= 0xE0)) continue;  // a lead byte alone
    const auto expected = IconvToUtf8(cd, sjis);
    std::size_t substituted = 0;
    const std::string got = Cp932ToUtf8(sjis, &substituted);
    if (expected && substituted == 0) {
      ASSERT_EQ(got, *expected) << std::hex << code;
      ++compared;
    }
  }
  iconv_close(cd);
  EXPECT_GT(compared, 7000);  // the whole of JIS X 0208 and the vendor rows took part
}

TEST(Cp932ToUtf8, CountsIllFormedBytesAndWritesTheMiddleDot) {
  std::size_t substituted = 0;
  // A lead byte before a line break keeps the break; a lone 0xFF is one substitute.
  EXPECT_EQ(Cp932ToUtf8("a\x82\n\xff", &substituted), "a\xe3\x83\xbb\n\xe3\x83\xbb");
  EXPECT_EQ(substituted, 2u);
}

TEST(Utf16ToUtf8, JoinsSurrogatePairsAndReplacesLoneHalves) {
  EXPECT_EQ(Utf16ToUtf8(u"A\u00e9\u3042"), "A\xc3\xa9\xe3\x81\x82");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xf0\x9f\x98\x80");
  const char16_t lone[] = {0xD83D, u'x', 0xDE00, 0};
  EXPECT_EQ(Utf16ToUtf8(lone), "\xef\xbf\xbdx\xef\xbf\xbd");
  EXPECT_EQ(Utf16ToUtf8(std::u16string_view(lone, 1)), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace vorn
