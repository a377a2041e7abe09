// jconvert internals shared by detection and conversion: the UTF-7 classes and base64 values.
#pragma once

namespace vorn::jconv {

// 0: never written directly, 1: direct, 2: optionally direct, 3: the shift character "+".
constexpr int Utf7ClassOf(unsigned u) {
  if (u >= 128) return 0;
  if (u == '+') return 3;
  if (u == '\t' || u == '\n' || u == '\r' || u == ' ') return 1;
  if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')) return 1;
  for (const char* p = "'(),-./:?@"; *p; ++p)
    if (u == static_cast<unsigned char>(*p)) return 1;
  for (const char* p = "!\"#$%&*;<=>[]^_`{|}"; *p; ++p)
    if (u == static_cast<unsigned char>(*p)) return 2;
  return 0;
}

struct TUtf7Classes {
  unsigned char cls[128];
  constexpr TUtf7Classes() : cls() {
    for (unsigned u = 0; u < 128; ++u) cls[u] = static_cast<unsigned char>(Utf7ClassOf(u));
  }
};
inline constexpr TUtf7Classes Utf7Classes{};

inline int Utf7Class(unsigned unit) { return unit < 128 ? Utf7Classes.cls[unit] : 0; }

// The standard base64 alphabet; -1 for any other byte.
constexpr int Base64Value(unsigned char b) {
  if (b >= 'A' && b <= 'Z') return b - 'A';
  if (b >= 'a' && b <= 'z') return b - 'a' + 26;
  if (b >= '0' && b <= '9') return b - '0' + 52;
  if (b == '+') return 62;
  if (b == '/') return 63;
  return -1;
}

}  // namespace vorn::jconv

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace vorn::jconv {

// An output buffer written through a raw pointer. Room() is checked once per character, so the
// loops need no per-byte bounds checks and the string grows geometrically (never in fixed steps,
// which would copy a large file quadratically often).
class TByteSink {
 public:
  explicit TByteSink(std::size_t capacity) {
    buf_.resize(std::max<std::size_t>(capacity, 64));
    d = buf_.data();
    lim_ = d + buf_.size();
  }
  void Room(std::size_t k) {
    if (static_cast<std::size_t>(lim_ - d) < k) [[unlikely]] Grow(k);
  }
  void Put(unsigned char c) { *d++ = static_cast<char>(c); }
  void Put2(unsigned char a, unsigned char b) {
    d[0] = static_cast<char>(a);
    d[1] = static_cast<char>(b);
    d += 2;
  }
  void Put3(unsigned char a, unsigned char b, unsigned char c) {
    d[0] = static_cast<char>(a);
    d[1] = static_cast<char>(b);
    d[2] = static_cast<char>(c);
    d += 3;
  }
  std::string Finish() {
    buf_.resize(static_cast<std::size_t>(d - buf_.data()));
    return std::move(buf_);
  }

  char* d;  // the next byte to write

 private:
  [[gnu::noinline]] void Grow(std::size_t k) {
    const std::size_t used = static_cast<std::size_t>(d - buf_.data());
    buf_.resize(std::max(buf_.size() * 2, used + k));
    d = buf_.data() + used;
    lim_ = buf_.data() + buf_.size();
  }
  std::string buf_;
  char* lim_;
};

// The five run-length counters of the detection with their flags, over the examined prefix.
struct TDetectCounters {
  std::size_t euc, sjis, jis, utf8, utf7;
  bool roman, signature;
};
TDetectCounters CountForDetection(std::string_view text);

// The Japanese routines: pure byte arithmetic, nothing is ever substituted. designation is
// 'J' (ckJis) or 'B' (ckJisAscii).
std::string SjisToJis(std::string_view text, char designation);
std::string SjisToEuc(std::string_view text);
std::string JisToSjis(std::string_view text);
std::string JisToEuc(std::string_view text);
std::string EucToSjis(std::string_view text);
std::string EucToJis(std::string_view text, char designation);

// The Unicode routines go through the code page 932 table; substituted counts the characters
// that became a default or replacement character.
std::string Utf16ToSjis(std::string_view text, bool bigEndian, std::size_t& substituted);
std::string SjisToUtf16(std::string_view text, bool bigEndian, std::size_t& substituted);
std::string Utf8ToSjis(std::string_view text, std::size_t& substituted);
std::string SjisToUtf8(std::string_view text, bool signature, std::size_t& substituted);
std::string Utf7ToSjis(std::string_view text, std::size_t& substituted);
std::string SjisToUtf7(std::string_view text, std::size_t& substituted);

}  // namespace vorn::jconv
