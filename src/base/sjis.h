// Shift_JIS byte-string helpers: character stepping on lead bytes, ASCII-only case folding.
#pragma once

#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>

namespace vorn::sjis {

// 0x81-0x9F and 0xE0-0xFC start a two-byte character. c is a char of a byte string or a byte
// value 0-255 held in any integer type, as the conversion loops and tables hold them.
template <std::integral T>
constexpr bool IsLeadByte(T c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// 0x40-0x7E and 0x80-0xFC may follow a lead byte as the second byte of its character.
template <std::integral T>
constexpr bool IsTrailByte(T c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Length of the character starting at pos: 2 for a lead byte with a byte after it, else 1.
inline std::size_t CharLen(std::string_view s, std::size_t pos) {
  return (IsLeadByte(s[pos]) && pos + 1 < s.size()) ? 2 : 1;
}

// True when pos lies on a character boundary (scanning from the start; pos may equal size).
inline bool IsCharBoundary(std::string_view s, std::size_t pos) {
  std::size_t i = 0;
  while (i < pos) i += CharLen(s, i);
  return i == pos;
}

inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Upper-cases ASCII letters only, leaving the trail bytes of double-byte characters untouched.
inline std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size();) {
    std::size_t n = CharLen(out, i);
    if (n == 1) out[i] = UpperAscii(out[i]);
    i += n;
  }
  return out;
}

}  // namespace vorn::sjis

namespace vorn::sjis {

// Equality that ignores ASCII letter case; double-byte characters must match byte for byte, so
// a trail byte that looks like a letter is never folded.
inline bool SameTextI(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    std::size_t n = CharLen(a, i);
    if (n == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (UpperAscii(a[i]) != UpperAscii(b[i])) {
      return false;
    }
    i += n;
  }
  return true;
}

}  // namespace vorn::sjis
