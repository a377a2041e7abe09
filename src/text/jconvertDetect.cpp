// jconvert: detection of a byte string's character code from signatures and run-length counters.
#include <cstdint>
#include <cstring>

#include "text/jconvert.h"
#include "text/jconvertInternal.h"

namespace vorn {

namespace {

using Byte = unsigned char;

constexpr Byte Esc = 0x1B, So = 0x0E, Si = 0x0F;

using jconv::Base64Value;
using jconv::Utf7Class;

constexpr bool In(Byte b, Byte lo, Byte hi) { return b >= lo && b <= hi; }
constexpr bool In16(unsigned u, unsigned lo, unsigned hi) { return u >= lo && u <= hi; }

// The ranges a decoded unit must fall in for the text to count as UTF-7 Japanese or Western.
constexpr bool PlausibleUtf7Unit(unsigned u) {
  return In16(u, 0x0020, 0x00FF) || In16(u, 0x0390, 0x045F) || In16(u, 0x2000, 0x266F) ||
         In16(u, 0x3000, 0x30FF) || In16(u, 0x4E00, 0x9F80) || In16(u, 0xFF00, 0xFFEF);
}

// True when none of the 8 bytes at p has its top bit set; the counters skip such runs whole.
inline bool EightAscii(const Byte* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return (w & 0x8080808080808080ull) == 0;
}

inline bool EightAsciiWithoutNul(const Byte* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  const std::uint64_t zeroByte = (w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull;
  return ((w & 0x8080808080808080ull) | zeroByte) == 0;
}

struct TPrefix {
  const Byte* s;
  std::size_t size;  // the whole text
  std::size_t len;   // the examined prefix, L
  Byte At(std::size_t i) const { return i < size ? s[i] : 0; }
};

std::size_t EucCounter(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  std::size_t count = 0, i = 0;
  while (i < L) {
    if (i + 8 <= L && EightAscii(s + i)) {
      i += 8;
      continue;
    }
    const Byte b = s[i];
    if (b == 0x8E) {
      count = (i + 1 < L && In(s[i + 1], 0xA1, 0xDF)) ? count + 1 : 0;
      i += 2;
    } else if (In(b, 0xA1, 0xFE)) {
      count = (i + 1 < L && In(s[i + 1], 0xA1, 0xFE)) ? count + 1 : 0;
      i += 2;
    } else if (b == 0x8F) {
      count = (i + 2 < L && In(s[i + 1], 0xA1, 0xFE) && In(s[i + 2], 0xA1, 0xFE)) ? count + 1 : 0;
      i += 3;
    } else {
      ++i;
    }
  }
  return count;
}

std::size_t SjisCounter(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  std::size_t count = 0, i = 0;
  bool kana = false;
  while (i < L) {
    if (i + 8 <= L && EightAsciiWithoutNul(s + i)) {
      i += 8;
      continue;
    }
    const Byte b = s[i];
    if (In(b, 0x81, 0x9F) || In(b, 0xE0, 0xFC)) {
      // The trail byte is looked at even past the prefix: a character cut by the limit counts.
      const Byte c = t.At(i + 1);
      if (In(c, 0x40, 0x7E) || In(c, 0x80, 0xFC)) {
        ++count;
      } else {
        count = 0;
        kana = false;
      }
      i += 2;
    } else if (In(b, 0xA1, 0xDF)) {
      if (kana) ++count;
      kana = !kana;
      ++i;
    } else if (b == 0 || b >= 0x80) {
      count = 0;
      kana = false;
      ++i;
    } else {
      ++i;
    }
  }
  return count;
}

struct TJisCount {
  std::size_t count = 0;
  bool roman = true;
};

inline std::size_t SkipToShiftOrEsc(const Byte* s, std::size_t i, std::size_t L) {
  while (i < L && s[i] != So && s[i] != Si && s[i] != Esc) ++i;
  return i;
}

TJisCount JisCounter(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  std::size_t count = 0, nJ = 0, nB = 0, i = 0;
  while (i < L) {
    const Byte b = s[i];
    if (b == Esc) {
      bool twoByte = false;
      if (i + 2 < L && s[i + 1] == '$' && (s[i + 2] == '@' || s[i + 2] == 'B')) {
        i += 3;
        twoByte = true;
      } else if (i + 3 < L && s[i + 1] == '$' && s[i + 2] == '(' && s[i + 3] == 'D') {
        i += 4;
        twoByte = true;
      } else if (i + 2 < L && s[i + 1] == '(' && (s[i + 2] == 'B' || s[i + 2] == 'I' || s[i + 2] == 'J')) {
        nB += s[i + 2] == 'B';
        nJ += s[i + 2] == 'J';
        i = SkipToShiftOrEsc(s, i + 3, L);
      } else {
        ++i;
      }
      while (twoByte && i < L) {
        const Byte c = s[i];
        if (c == So || c == Si || c == Esc) break;
        if (i + 1 < L && In(c, 0x21, 0x7E) && In(s[i + 1], 0x21, 0x7E)) {
          ++count;
          i += 2;
        } else {
          count = 0;
          break;
        }
      }
    } else {
      // Shifted text (after SO or SI) and single-byte text count nothing up to the next control.
      i = SkipToShiftOrEsc(s, i + 1, L);
    }
  }
  return {count, nJ >= nB};
}

struct TUtf8Count {
  std::size_t count = 0;
  bool signature = false;
};

TUtf8Count Utf8Counter(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  std::size_t count = 0, i = 0;
  bool expect = false;
  std::size_t extra = 0;
  while (i < L) {
    const Byte b = s[i];
    if (expect) {
      count = b >= 0x80 ? count + 1 : 0;
      expect = false;
      i += 1 + extra;  // the remaining continuation bytes are not looked at
    } else if (b >= 0xC0) {
      expect = true;
      extra = b <= 0xDF ? 0 : b <= 0xEF ? 1 : b <= 0xF7 ? 2 : b <= 0xFB ? 3 : 4;
      ++i;
    } else if (i + 8 <= L && EightAscii(s + i)) {
      i += 8;
    } else {
      ++i;
    }
  }
  return {count, t.size >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF};
}

std::size_t Utf7Counter(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  std::size_t count = 0, pending = 0, i = 0;
  while (i < L) {
    const Byte b = s[i];
    if (b == '+') {
      int phase = 0;
      bool half = false;
      unsigned unit = 0, v = 0;
      ++i;
      while (i < L) {
        if (s[i] == '-') {
          count += pending;
          pending = 0;
          ++i;
          break;
        }
        const int e = Base64Value(s[i]);
        if (++i >= L) break;
        int f = Base64Value(s[i]);
        if (e < 0) {
          ++i;  // the byte after a non-base64 one is skipped as well
          break;
        }
        if (f < 0) f = 0;
        switch (phase) {
          case 0: v = (static_cast<unsigned>(e) * 4 + f / 16) & 0xFF; break;
          case 1: v = (static_cast<unsigned>(e) * 16 + f / 4) & 0xFF; break;
          case 2: v = (static_cast<unsigned>(e) * 64 + f) & 0xFF; break;
          default: break;
        }
        if (phase < 3) {
          if (!half) {
            unit = v << 8;
            half = true;
          } else {
            unit += v;
            half = false;
            if (!PlausibleUtf7Unit(unit)) return 0;
            ++pending;
          }
        }
        phase = phase == 3 ? 0 : phase + 1;
      }
    } else if (b >= 0x80 || Utf7Class(b) == 0) {
      return 0;
    } else {
      ++i;
    }
  }
  return count;
}

// Settles EUC against Shift_JIS by the first byte pair that only one of them allows, and failing
// that by how much of the text reads as EUC hiragana.
TCharCodeKind EucOrSjis(const TPrefix& t, std::size_t sjisCount) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  int result = 0;
  std::size_t i = 0;
  while ((result == 0 || result == ckEucOrSjis) && i < L) {
    const Byte b = s[i];
    if (b <= 0x7F) {
    } else if (In(b, 0x81, 0x8D) || In(b, 0x8F, 0x9F)) {
      result = ckSjis;
    } else if (b == 0x8E) {
      const Byte c = t.At(++i);
      if (In(c, 0x40, 0x7E) || In(c, 0x80, 0xA0) || In(c, 0xE0, 0xFC)) result = ckSjis;
      else if (In(c, 0xA1, 0xDF)) result = ckEucOrSjis;
    } else if (In(b, 0xA1, 0xDF)) {
      Byte c = t.At(++i);
      if (In(c, 0xF0, 0xFE)) {
        result = ckEuc;
      } else if (In(c, 0xA1, 0xDF)) {
        result = ckEucOrSjis;
      } else if (In(c, 0xE0, 0xEF)) {
        result = ckEucOrSjis;
        // This run may read past the prefix, up to the end of the whole text.
        while (c >= 0x40 && i < t.size && result == ckEucOrSjis) {
          if (In(c, 0x81, 0x8D) || In(c, 0x8F, 0x9C)) result = ckSjis;
          else if (In(c, 0xFD, 0xFE)) result = ckEuc;
          c = t.At(++i);
        }
      } else if (c <= 0x9F) {
        result = ckSjis;
      }
    } else if (In(b, 0xF0, 0xFE)) {
      result = ckEuc;
    } else if (In(b, 0xE0, 0xEF)) {
      const Byte c = t.At(++i);
      if (In(c, 0x40, 0x7E) || In(c, 0x80, 0xA0)) result = ckSjis;
      else if (In(c, 0xFD, 0xFE)) result = ckEuc;
      else if (In(c, 0xA1, 0xFC)) result = ckEucOrSjis;
    }
    ++i;
  }
  if (result == 0) return ckAscii;
  if (result != ckEucOrSjis) return static_cast<TCharCodeKind>(result);
  std::size_t h = 0;
  for (std::size_t j = 0; j < L;) {
    const Byte b = s[j];
    if (b == 0x8E) {
      j += 2;
    } else if (In(b, 0xA1, 0xFE)) {
      h += b == 0xA4 && j + 1 < L && In(s[j + 1], 0xA1, 0xF3);
      j += 2;
    } else if (b == 0x8F) {
      j += 3;
    } else {
      ++j;
    }
  }
  return h < sjisCount / 10 ? ckSjis : ckEuc;
}

// Strict UTF-8 (no overlong forms, surrogates or values above U+10FFFF) with at least one
// multi-byte sequence. A sequence cut only by the prefix limit still counts as well-formed.
bool IsStrictUtf8WithMultiByte(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  const bool cutByLimit = L < t.size;
  bool multi = false;
  std::size_t i = 0;
  while (i < L) {
    if (i + 8 <= L && EightAscii(s + i)) {
      i += 8;
      continue;
    }
    const Byte b = s[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t n;
    Byte lo = 0x80, hi = 0xBF;  // the allowed range of the first continuation byte
    if (In(b, 0xC2, 0xDF)) n = 2;
    else if (In(b, 0xE0, 0xEF)) {
      n = 3;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;
    } else if (In(b, 0xF0, 0xF4)) {
      n = 4;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    for (std::size_t k = 1; k < n; ++k) {
      if (i + k >= L) return cutByLimit;  // the sequence itself is multi-byte
      const Byte c = s[i + k];
      if (k == 1 ? !In(c, lo, hi) : !In(c, 0x80, 0xBF)) return false;
    }
    multi = true;
    i += n;
  }
  return multi;
}

}  // namespace

TCharCodeKind DetectCharCode(std::string_view text) {
  const TPrefix t{reinterpret_cast<const Byte*>(text.data()), text.size(),
                  text.size() < DetectLimit ? text.size() : DetectLimit};
  if (t.size >= 2 && t.s[0] == 0xFF && t.s[1] == 0xFE) return ckUnicodeLE;
  if (t.size >= 2 && t.s[0] == 0xFE && t.s[1] == 0xFF) return ckUnicodeBE;
  if (t.len > 0 && std::memchr(t.s, 0, t.len) != nullptr) return ckBinary;

  const std::size_t euc = EucCounter(t);
  const std::size_t sjis = SjisCounter(t);
  const TJisCount jis = JisCounter(t);
  const TUtf8Count utf8 = Utf8Counter(t);
  const std::size_t utf7 = Utf7Counter(t);
  if (utf8.signature) return ckUtf8;

  const std::size_t all[5] = {euc, utf7, utf8.count, jis.count, sjis};
  auto wins = [&all](int k) {
    if (all[k] == 0) return false;
    for (int o = 0; o < 5; ++o)
      if (o != k && all[o] >= all[k]) return false;
    return true;
  };
  TCharCodeKind result;
  if (wins(0)) result = ckEuc;
  else if (wins(1)) result = ckUtf7;
  else if (wins(2)) result = ckUtf8N;
  else if (wins(3)) result = ckJis;
  else {
    if (sjis != 0 || jis.count != 0 || euc != 0 || utf8.count != 0)
      result = euc == sjis ? EucOrSjis(t, sjis) : ckSjis;
    else
      result = ckAscii;
    // Japanese UTF-8 pairs up as Shift_JIS lead and trail bytes, so on short texts no counter
    // wins; strictly well-formed UTF-8 is then far more likely than the fallback.
    if (IsStrictUtf8WithMultiByte(t)) result = ckUtf8N;
  }
  if (result == ckJis && !jis.roman) result = ckJisAscii;
  return result;
}

}  // namespace vorn
