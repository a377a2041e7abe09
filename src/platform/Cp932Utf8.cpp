// Shift_JIS to UTF-8 through the shared code page 932 table, for names that leave as native paths.
#include "platform/Cp932Utf8.h"

#include "platform/cp932.h"

namespace vorn {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::string Utf16ToUtf8(std::u16string_view u16) {
  std::string out;
  out.reserve(u16.size() * 3);
  for (std::size_t i = 0; i < u16.size(); ++i) {
    const char16_t u = u16[i];
    if (IsHighSurrogate(u) && i + 1 < u16.size() && IsLowSurrogate(u16[i + 1])) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (u16[i + 1] - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view sjis, std::size_t* substituted) {
  return Utf16ToUtf8(Cp932ToUtf16(sjis, substituted));
}

}  // namespace vorn
