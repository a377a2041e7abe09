// Fuzzes Shift_JIS to UTF-8: the output is always valid UTF-8 and says the same as the UTF-16 step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Cp932Utf8.h"
#include "platform/cp932.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Decodes one UTF-8 sequence strictly (shortest form, no surrogates, at most U+10FFFF); 0 when bad.
std::size_t NextScalar(std::string_view s, std::size_t i, char32_t& c) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = b(i);
  std::size_t n = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  c = n == 1 ? lead : lead & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b(i + k) & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view sjis(reinterpret_cast<const char*>(data), size);
  std::size_t substitutedU8 = 0, substitutedU16 = 0;
  const std::string utf8 = vorn::Cp932ToUtf8(sjis, &substitutedU8);
  const std::u16string utf16 = vorn::Cp932ToUtf16(sjis, &substitutedU16);
  Check(substitutedU8 == substitutedU16);
  // Code page 932 holds only the basic plane, so each UTF-16 unit is one scalar of the UTF-8.
  std::size_t unit = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    const std::size_t n = NextScalar(utf8, i, c);
    Check(n != 0 && unit < utf16.size() && c == utf16[unit]);
    i += n;
    ++unit;
  }
  Check(unit == utf16.size());
  return 0;
}
