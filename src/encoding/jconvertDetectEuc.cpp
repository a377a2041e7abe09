// jconvert: the second look at a text the counters leave as Shift_JIS, which short EUC-JP
// texts (katakana and kanji only, or bytes Shift_JIS never uses) otherwise fall into.
#include "encoding/jconvertInternal.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vorn::jconv {

namespace {

using Byte = unsigned char;

constexpr bool In(Byte b, Byte lo, Byte hi) { return b >= lo && b <= hi; }

// Whether a sequence of k bytes starting at i fits; one cut by the prefix limit (the text goes
// on past it) is given the benefit of the doubt, one cut by the real end is not.
inline bool Fits(std::size_t i, std::size_t k, std::size_t len, std::size_t size) {
  return i + k <= len || len < size;
}

}  // namespace

bool IsWellFormedSjisPrefix(const unsigned char* s, std::size_t len, std::size_t size) {
  std::size_t i = 0;
  while (i < len) {
    if (i + 8 <= len && EightAscii(s + i)) {
      i += 8;
      continue;
    }
    const Byte b = s[i];
    if (b < 0x80 || In(b, 0xA1, 0xDF)) {
      ++i;
    } else if (In(b, 0x81, 0x9F) || In(b, 0xE0, 0xFC)) {
      if (i + 1 >= len) return Fits(i, 2, len, size);
      const Byte c = s[i + 1];
      if (!In(c, 0x40, 0x7E) && !In(c, 0x80, 0xFC)) return false;
      i += 2;
    } else {
      return false;  // 80, A0, FD-FF never occur in Shift_JIS
    }
  }
  return true;
}

bool IsWellFormedEucPrefix(const unsigned char* s, std::size_t len, std::size_t size) {
  std::size_t i = 0;
  while (i < len) {
    if (i + 8 <= len && EightAscii(s + i)) {
      i += 8;
      continue;
    }
    const Byte b = s[i];
    std::size_t k;
    Byte lo = 0xA1, hi = 0xFE;
    if (b < 0x80) k = 1;
    else if (b == 0x8E) { k = 2; hi = 0xDF; }
    else if (b == 0x8F) k = 3;
    else if (In(b, 0xA1, 0xFE)) k = 2;
    else return false;
    for (std::size_t j = 1; j < k; ++j) {
      if (i + j >= len) return Fits(i, k, len, size);
      if (!In(s[i + j], lo, hi)) return false;
    }
    i += k;
  }
  return true;
}

std::size_t CountEucKana(const unsigned char* s, std::size_t len) {
  std::size_t count = 0;
  for (std::size_t j = 0; j < len;) {
    const Byte b = s[j];
    if (b == 0x8E) {
      j += 2;
    } else if (b == 0x8F) {
      j += 3;
    } else if (In(b, 0xA1, 0xFE)) {
      const Byte c = j + 1 < len ? s[j + 1] : 0;
      count += (b == 0xA4 && In(c, 0xA1, 0xF3)) || (b == 0xA5 && In(c, 0xA1, 0xF6)) ||
               (b == 0xA1 && c == 0xBC);
      j += 2;
    } else {
      ++j;
    }
  }
  return count;
}

bool HoldsEucThreeByteForms(const unsigned char* s, std::size_t len, std::size_t size) {
  return std::memchr(s, 0x8F, len) != nullptr && IsWellFormedEucPrefix(s, len, size);
}

TCharCodeKind RecheckSjisAsEuc(const unsigned char* s, std::size_t len, std::size_t size,
                               const TDetectCounters& c) {
  if (!IsWellFormedEucPrefix(s, len, size)) return ckSjis;
  if (!IsWellFormedSjisPrefix(s, len, size)) return ckEuc;
  if (c.euc != c.sjis) return ckSjis;
  return CountEucKana(s, len) >= std::max<std::size_t>(1, c.sjis / 10) ? ckEuc : ckSjis;
}

}  // namespace vorn::jconv
