// jconvert: detection of a byte string's character code from signatures and run-length counters.
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "encoding/jconvert.h"
#include "base/ByteBlocks.h"
#include "encoding/jconvertInternal.h"

namespace vorn {

namespace {

using jconv::EightAscii;
using jconv::EightAsciiWithoutNul;

using Byte = unsigned char;

constexpr Byte Esc = 0x1B, So = 0x0E, Si = 0x0F;

using jconv::Base64Value;
using jconv::Utf7Class;
using jconv::kBase64;


constexpr bool In(Byte b, Byte lo, Byte hi) { return b >= lo && b <= hi; }
constexpr bool In16(unsigned u, unsigned lo, unsigned hi) { return u >= lo && u <= hi; }

// The ranges a decoded unit must fall in for the text to count as UTF-7 Japanese or Western.
constexpr bool PlausibleUtf7Unit(unsigned u) {
  return In16(u, 0x0020, 0x00FF) || In16(u, 0x0390, 0x045F) || In16(u, 0x2000, 0x266F) ||
         In16(u, 0x3000, 0x30FF) || In16(u, 0x4E00, 0x9F80) || In16(u, 0xFF00, 0xFFEF);
}

// PlausibleUtf7Unit as a bit per unit (8 KiB), for the UTF-7 counter's inner loop.
struct TPlausibleUnits {
  std::uint8_t bits[8192];
  constexpr TPlausibleUnits() : bits() {
    for (unsigned u = 0; u < 65536; ++u)
      if (PlausibleUtf7Unit(u)) bits[u >> 3] = static_cast<std::uint8_t>(bits[u >> 3] | 1u << (u & 7));
  }
  bool operator()(unsigned u) const { return bits[u >> 3] >> (u & 7) & 1; }
};
inline constexpr TPlausibleUnits kPlausible{};

struct TPrefix {
  const Byte* s;
  std::size_t size;  // the whole text
  std::size_t len;   // the examined prefix, L
  Byte At(std::size_t i) const { return i < size ? s[i] : 0; }
};

#if defined(__SSE2__)
// Block scanning: 16 bytes at a time, byte classes as 16-bit masks. The counters only ever
// look one or two bytes past a token's first byte, so token starts follow from the classes
// with one bit of carry between blocks, and no per-character dependency chain slows the scan.

using blocks::EqMask;
using blocks::Load16;
using blocks::Mask;
using blocks::RangeMask;

// For 8 bytes whose "starts a two-byte token" class is m, and whether the first byte is the
// second half of an earlier token: the bytes that really start a two-byte token (low 8 bits),
// and in bit 8 whether the byte after the 8 is a second half.
struct TPairStarts {
  std::uint16_t e[2][256];
  constexpr TPairStarts() : e() {
    for (unsigned in = 0; in < 2; ++in) {
      for (unsigned m = 0; m < 256; ++m) {
        bool second = in != 0;
        unsigned starts = 0;
        for (unsigned j = 0; j < 8; ++j) {
          if (second) {
            second = false;
          } else if (m >> j & 1) {
            starts |= 1u << j;
            second = true;
          }
        }
        e[in][m] = static_cast<std::uint16_t>(starts | (second ? 0x100u : 0u));
      }
    }
  }
};
inline constexpr TPairStarts kPairStarts{};

inline unsigned PairStarts(unsigned starterClass, unsigned& second) {
  const unsigned lo = kPairStarts.e[second][starterClass & 0xFF];
  const unsigned hi = kPairStarts.e[lo >> 8][starterClass >> 8 & 0xFF];
  second = hi >> 8;
  return (lo & 0xFF) | (hi & 0xFF) << 8;
}

// For 4 bytes, the UTF-8 counter's token starts given which bytes lead a two-byte token (C0..DF)
// and which a three-byte one (E0..EF), and how many bytes (0..2) still belong to an earlier
// token: starts in bits 0-3, the bytes left over for the next 4 in bits 4-5.
struct TUtf8Starts {
  std::uint8_t e[3][16][16];
  constexpr TUtf8Starts() : e() {
    for (unsigned in = 0; in < 3; ++in) {
      for (unsigned twos = 0; twos < 16; ++twos) {
        for (unsigned threes = 0; threes < 16; ++threes) {
          unsigned pending = in, starts = 0;
          for (unsigned j = 0; j < 4; ++j) {
            if (pending > 0) {
              --pending;
            } else if (twos >> j & 1) {
              starts |= 1u << j;
              pending = 1;
            } else if (threes >> j & 1) {
              starts |= 1u << j;
              pending = 2;
            }
          }
          e[in][twos][threes] = static_cast<std::uint8_t>(starts | pending << 4);
        }
      }
    }
  }
};
inline constexpr TUtf8Starts kUtf8Starts{};

// The mask values are at most 16 bits; this avoids a library call where POPCNT is not enabled.
inline std::size_t Pop16(unsigned x) {
  x = x - ((x >> 1) & 0x5555u);
  x = (x & 0x3333u) + ((x >> 2) & 0x3333u);
  x = (x + (x >> 4)) & 0x0F0Fu;
  return (x + (x >> 8)) & 0x1Fu;
}

// The events after the block's last reset are all that survive it.
inline unsigned AfterLastReset(unsigned events, unsigned resets) {
  return resets ? events & ~((2u << (31 - __builtin_clz(resets))) - 1) : events;
}
#endif

// A counter's result: the length of the last unbroken run, and whether a break came before it
// (the count then no longer depends on anything before where the counter started).
struct TRunCount {
  std::size_t count = 0;
  bool broken = false;
};

[[gnu::noinline]] TRunCount EucCounter(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  std::size_t count = 0, i = 0;
  bool broken = false;
  auto step = [&count, &broken](bool valid) {
    count = valid ? count + 1 : 0;
    broken |= !valid;
  };
#if defined(__SSE2__)
  unsigned skip = 0;  // bytes at the block's start that belong to the previous token
  for (; i + 18 <= L; i += 16) {
    const __m128i v = Load16(s + i);
    if (Mask(v) == 0) {  // ASCII alone starts no token; any earlier one ended in this block
      skip = 0;
      continue;
    }
    const __m128i v1 = Load16(s + i + 1), v2 = Load16(s + i + 2);
    const unsigned ss2 = EqMask(v, 0x8E), pairs = ss2 | RangeMask(v, 0xA1, 0xFE), ss3 = EqMask(v, 0x8F);
    unsigned starts2, starts3 = 0;
    if (ss3 == 0 && skip <= 1) {
      starts2 = PairStarts(pairs, skip);
    } else {
      // Three-byte tokens are rare: walk the block's bits.
      starts2 = 0;
      unsigned j = skip;
      while (j < 16) {
        const unsigned bit = 1u << j;
        if (pairs & bit) {
          starts2 |= bit;
          j += 2;
        } else if (ss3 & bit) {
          starts3 |= bit;
          j += 3;
        } else {
          ++j;
        }
      }
      skip = j - 16;
    }
    const unsigned next1 = RangeMask(v1, 0xA1, 0xFE), next2 = RangeMask(v2, 0xA1, 0xFE);
    const unsigned valid = (starts2 & ss2 & RangeMask(v1, 0xA1, 0xDF)) | (starts2 & ~ss2 & next1) |
                           (starts3 & next1 & next2);
    const unsigned resets = (starts2 | starts3) & ~valid;
    if (resets) count = 0;
    broken |= resets != 0;
    count += Pop16(AfterLastReset(valid, resets));
  }
  i += skip;
#endif
  // A character cut by the prefix limit is completed from the bytes after it, as the Shift_JIS
  // counter does: otherwise a large file's verdict would hang on where the limit falls.
  const std::size_t n = t.size;
  while (i < L) {
    if (i + 8 <= L && EightAscii(s + i)) {
      i += 8;
      continue;
    }
    const Byte b = s[i];
    if (b == 0x8E) {
      step(i + 1 < n && In(s[i + 1], 0xA1, 0xDF));
      i += 2;
    } else if (In(b, 0xA1, 0xFE)) {
      step(i + 1 < n && In(s[i + 1], 0xA1, 0xFE));
      i += 2;
    } else if (b == 0x8F) {
      step(i + 2 < n && In(s[i + 1], 0xA1, 0xFE) && In(s[i + 2], 0xA1, 0xFE));
      i += 3;
    } else {
      ++i;
    }
  }
  return {count, broken};
}

[[gnu::noinline]] TRunCount SjisCounter(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  std::size_t count = 0, i = 0;
  bool kana = false, broken = false;
#if defined(__SSE2__)
  unsigned second = 0;
  for (; i + 17 <= L; i += 16) {
    const __m128i v = Load16(s + i);
    if (Mask(v) == 0 && EqMask(v, 0x00) == 0) {  // ASCII without NUL: no token, no break
      second = 0;
      continue;
    }
    const __m128i v1 = Load16(s + i + 1);
    const unsigned startsTrail = second;
    const unsigned leads = PairStarts(RangeMask(v, 0x81, 0x9F) | RangeMask(v, 0xE0, 0xFC), second);
    const unsigned singles = ~(leads | leads << 1 | startsTrail) & 0xFFFF;
    const unsigned trailOk = RangeMask(v1, 0x40, 0x7E) | RangeMask(v1, 0x80, 0xFC);
    const unsigned notChars = EqMask(v, 0x00) | EqMask(v, 0x80) | EqMask(v, 0xA0) | RangeMask(v, 0xFD, 0xFF);
    const unsigned resets = (leads & ~trailOk) | (singles & notChars);
    if (resets) {
      count = 0;
      kana = false;
      broken = true;
    }
    count += Pop16(AfterLastReset(leads & trailOk, resets));
    // Two half-width katakana count as one character, even with other characters between.
    const std::size_t kanas = kana + Pop16(AfterLastReset(singles & RangeMask(v, 0xA1, 0xDF), resets));
    count += kanas / 2;
    kana = kanas & 1;
  }
  i += second;
#endif
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
        broken = true;
      }
      i += 2;
    } else if (In(b, 0xA1, 0xDF)) {
      if (kana) ++count;
      kana = !kana;
      ++i;
    } else if (b == 0 || b >= 0x80) {
      count = 0;
      kana = false;
      broken = true;
      ++i;
    } else {
      ++i;
    }
  }
  return {count, broken};
}

struct TJisCount {
  std::size_t count = 0;
  bool roman = true;
};

inline std::size_t SkipToShiftOrEsc(const Byte* s, std::size_t i, std::size_t L) {
#if defined(__SSE2__)
  for (; i + 16 <= L; i += 16) {
    const __m128i v = Load16(s + i);
    const unsigned hit = EqMask(v, Esc) | EqMask(v, So) | EqMask(v, Si);
    if (hit) return i + static_cast<std::size_t>(__builtin_ctz(hit));
  }
#endif
  while (i < L && s[i] != So && s[i] != Si && s[i] != Esc) ++i;
  return i;
}

// Half-width katakana from i (after ESC ( I, or SO): each byte 21-5F counts one, a byte that
// cannot be one (60 and above) breaks the run, blanks and line breaks count nothing. Returns
// where the section ends: the next control, or where it broke.
inline std::size_t CountJisKana(const Byte* s, std::size_t i, std::size_t L, std::size_t& count) {
  for (; i < L; ++i) {
    const Byte c = s[i];
    if (c == So || c == Si || c == Esc) break;
    if (In(c, 0x21, 0x5F)) {
      ++count;
    } else if (c >= 0x60) {
      count = 0;
      return i + 1;
    }
  }
  return i;
}

[[gnu::noinline]] TJisCount JisCounter(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  std::size_t count = 0, nJ = 0, nB = 0, i = 0;
  bool designated = false;  // a JIS designation came before: SO then shifts to katakana
  while (i < L) {
    const Byte b = s[i];
    if (b == Esc) {
      bool twoByte = false;
      if (i + 2 < L && s[i + 1] == '$' && (s[i + 2] == '@' || s[i + 2] == 'B')) {
        i += 3;
        twoByte = designated = true;
      } else if (i + 3 < L && s[i + 1] == '$' && s[i + 2] == '(' && s[i + 3] == 'D') {
        i += 4;
        twoByte = designated = true;
      } else if (i + 2 < L && s[i + 1] == '(' && s[i + 2] == 'I') {
        designated = true;
        i = CountJisKana(s, i + 3, L, count);
      } else if (i + 2 < L && s[i + 1] == '(' && (s[i + 2] == 'B' || s[i + 2] == 'J')) {
        nB += s[i + 2] == 'B';
        nJ += s[i + 2] == 'J';
        designated = true;
        i = SkipToShiftOrEsc(s, i + 3, L);
      } else {
        ++i;
      }
      while (twoByte && i < L) {
        const Byte c = s[i];
        if (c == So || c == Si || c == Esc) break;
        // As in the EUC counter, a pair cut by the prefix limit is completed from the text.
        if (i + 1 < t.size && In(c, 0x21, 0x7E) && In(s[i + 1], 0x21, 0x7E)) {
          ++count;
          i += 2;
        } else {
          count = 0;
          break;
        }
      }
    } else if (b == So && designated) {
      i = CountJisKana(s, i + 1, L, count);
    } else {
      // Text after SI (or after an SO in text that is not JIS) and single-byte text count
      // nothing up to the next control.
      i = SkipToShiftOrEsc(s, i + 1, L);
    }
  }
  return {count, nJ >= nB};
}

struct TUtf8Count {
  std::size_t count = 0;
  bool signature = false;
};

bool Utf8Signature(const TPrefix& t) { return t.size >= 3 && t.s[0] == 0xEF && t.s[1] == 0xBB && t.s[2] == 0xBF; }

[[gnu::noinline]] TRunCount Utf8Counter(const TPrefix& t) {
  const Byte* s = t.s;
  const std::size_t L = t.len;
  std::size_t count = 0, i = 0;
  bool broken = false;
#if defined(__SSE2__)
  // Only bytes from C0 up that start a token matter; walk them bit by bit within each block.
  unsigned skip = 0;
  for (; i + 17 <= L; i += 16) {
    const __m128i v = Load16(s + i);
    const unsigned leads = RangeMask(v, 0xC0, 0xFF);
    unsigned m = leads & (~0u << skip);
    if (m == 0) {
      skip = 0;
      continue;
    }
    const unsigned cont = Mask(Load16(s + i + 1));
    const unsigned x1 = RangeMask(v, 0xE0, 0xFF), x2 = RangeMask(v, 0xF0, 0xFF);
    if (x2 == 0 && skip <= 2) {
      // Two- and three-byte tokens only: their starts come from a table, four bytes a step.
      const unsigned twos = leads & ~x1;
      unsigned starts = 0, state = skip;
      for (unsigned nib = 0; nib < 16; nib += 4) {
        const unsigned e = kUtf8Starts.e[state][twos >> nib & 15][x1 >> nib & 15];
        starts |= (e & 15u) << nib;
        state = e >> 4;
      }
      skip = state;
      const unsigned resets = starts & ~cont;
      if (resets) count = 0;
      broken |= resets != 0;
      count += Pop16(AfterLastReset(starts & cont, resets));
      continue;
    }
    skip = 0;
    const unsigned x3 = RangeMask(v, 0xF8, 0xFF), x4 = RangeMask(v, 0xFC, 0xFF);
    unsigned next = 0;
    while (m) {
      const unsigned p = static_cast<unsigned>(__builtin_ctz(m));
      count = (cont >> p & 1) ? count + 1 : 0;
      broken |= !(cont >> p & 1);
      next = p + 2 + (x1 >> p & 1) + (x2 >> p & 1) + (x3 >> p & 1) + (x4 >> p & 1);
      m = leads & (~0u << next);
    }
    skip = next > 16 ? next - 16 : 0;
  }
  i += skip;
#endif
  bool expect = false;
  std::size_t extra = 0;
  while (i < L) {
    const Byte b = s[i];
    if (expect) {
      count = b >= 0x80 ? count + 1 : 0;
      broken |= b < 0x80;
      expect = false;
      i += 1 + extra;  // the remaining continuation bytes are not looked at
    } else if (b >= 0xC0) {
      expect = true;
      extra = b <= 0xDF ? 0 : b <= 0xEF ? 1 : b <= 0xF7 ? 2 : b <= 0xFB ? 3 : 4;
      ++i;
    } else {
      ++i;
    }
  }
  return {count, broken};
}

// The first offset at or after `from` where every one of the EUC, Shift_JIS and UTF-8 counters
// starts a token whatever came before: five bytes below 0x80 end any token (a UTF-8 lead takes
// at most five more bytes, the others fewer) and start none. L when there is none.
std::size_t TokenStartAfter(const TPrefix& t, std::size_t from) {
  std::size_t asciiRun = 0;
  for (std::size_t i = from; i < t.len; ++i) {
    asciiRun = t.s[i] < 0x80 ? asciiRun + 1 : 0;
    if (asciiRun == 5) return i + 1;
  }
  return t.len;
}

using TCounter = TRunCount (*)(const TPrefix&);

// A counter's result for the whole prefix, from its tail where possible: only the run after the
// last break counts, so when the tail holds a break the bytes before it cannot matter. The
// counters that lose on a text break often, which spares them all but a few KiB of it.
// Without a break in the tail the run reaches back before it: the tail's count is then only a
// lower bound (exact false), which the caller may settle with a whole scan.
struct TBoundCount {
  std::size_t count = 0;
  bool exact = true;
};

constexpr std::size_t kTail = 4096;

TBoundCount CountFromTheTail(const TPrefix& t, TCounter counter, std::size_t tail = kTail) {
  if (t.len > 2 * tail) {
    const std::size_t start = TokenStartAfter(t, t.len - tail);
    if (start < t.len) {
      const TRunCount run = counter(TPrefix{t.s + start, t.size - start, t.len - start});
      return {run.count, run.broken};
    }
  }
  return {counter(t).count, true};
}

[[gnu::noinline]] std::size_t Utf7Counter(const TPrefix& t) {
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
        if (phase == 0 && !half && i + 9 <= L) {
          // Eight base64 characters from a group boundary are plain base64: three units.
          std::uint64_t bits = 0;
          bool allBase64 = true;
          for (int c = 0; c < 8; ++c) {
            const int value = kBase64.v[s[i + c]];
            allBase64 &= value >= 0;
            bits = bits << 6 | static_cast<unsigned>(value & 0x3F);
          }
          if (allBase64) {
            if (!kPlausible(bits >> 32 & 0xFFFF) || !kPlausible(bits >> 16 & 0xFFFF) || !kPlausible(bits & 0xFFFF))
              return 0;
            pending += 3;
            i += 8;
            continue;
          }
        }
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
#if defined(__SSE2__)
      // Skip direct characters sixteen at a time up to the next "+" or disqualifying byte.
      while (i + 16 <= L) {
        const __m128i v = Load16(s + i);
        const unsigned control = RangeMask(v, 0x00, 0x1F) & ~(EqMask(v, '\t') | EqMask(v, '\n') | EqMask(v, '\r'));
        const unsigned stop = control | RangeMask(v, 0x7F, 0xFF) | EqMask(v, '+') | EqMask(v, '\\') | EqMask(v, '~');
        if (stop) {
          i += static_cast<std::size_t>(__builtin_ctz(stop));
          break;
        }
        i += 16;
      }
#endif
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

// Whether fewer than `limit` bytes of the prefix are C0 or above, the bytes that lead a token
// of the UTF-8 counter.
bool FewerUtf8LeadsThan(const TPrefix& t, std::size_t limit) {
  std::size_t count = 0, i = 0;
#if defined(__SSE2__)
  while (i + 16 <= t.len && count < limit) {
    __m128i acc = _mm_setzero_si128();
    for (int round = 0; round < 255 && i + 16 <= t.len; ++round, i += 16) {
      const __m128i v = Load16(t.s + i);
      acc = _mm_sub_epi8(acc, _mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(static_cast<char>(0xC0))), v));
    }
    const __m128i sums = _mm_sad_epu8(acc, _mm_setzero_si128());
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) + static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
  }
#endif
  for (; i < t.len && count < limit; ++i) count += t.s[i] >= 0xC0;
  return count < limit;
}

// A lower bound decides as well as the exact count when it is the only one and beats every
// other count: the run is longer still, so the same code wins, and the verdict compares counts
// only. So the other bounds are settled by whole scans first, and the largest only when it
// does not win. The code a text is in keeps its run to the end; this spares its whole scan.
void SettleBounds(const TPrefix& t, TBoundCount* counts[], const TCounter counters[], std::size_t n,
                  std::size_t exactMax) {
  std::size_t largest = n;
  for (std::size_t k = 0; k < n; ++k)
    if (!counts[k]->exact && (largest == n || counts[k]->count > counts[largest]->count)) largest = k;
  for (std::size_t k = 0; k < n; ++k) {
    if (k != largest && !counts[k]->exact) *counts[k] = {counters[k](t).count, true};
    if (k != largest) exactMax = std::max(exactMax, counts[k]->count);
  }
  if (largest < n && counts[largest]->count <= exactMax) *counts[largest] = {counters[largest](t).count, true};
}

jconv::TDetectCounters Count(const TPrefix& t, bool exact) {
  const TJisCount jis = JisCounter(t);
  const std::size_t utf7 = Utf7Counter(t);
  TBoundCount sjis = CountFromTheTail(t, SjisCounter);
  // Each UTF-8 character counted has its own lead byte, so with fewer leads than the Shift_JIS
  // run UTF-8 can neither win nor be the count another code must beat: any value up to the
  // number of leads gives the same verdict, and a Shift_JIS text is spared the UTF-8 scan.
  // An unbroken run may need a longer tail to outnumber them.
  bool fewLeads = !exact && FewerUtf8LeadsThan(t, sjis.count);
  if (!exact && !fewLeads && !sjis.exact) {
    sjis = CountFromTheTail(t, SjisCounter, 8 * kTail);
    fewLeads = FewerUtf8LeadsThan(t, sjis.count);
  }
  TBoundCount utf8 = fewLeads ? TBoundCount{} : CountFromTheTail(t, Utf8Counter);
  TBoundCount euc = CountFromTheTail(t, EucCounter);
  TBoundCount* counts[] = {&sjis, &utf8, &euc};
  const TCounter counters[] = {SjisCounter, Utf8Counter, EucCounter};
  SettleBounds(t, counts, counters, 3, exact ? ~std::size_t{0} : std::max(jis.count, utf7));
  return {euc.count, sjis.count, jis.count, utf8.count, utf7, jis.roman, Utf8Signature(t)};
}

TPrefix PrefixOf(std::string_view text) {
  return {reinterpret_cast<const Byte*>(text.data()), text.size(), text.size() < DetectLimit ? text.size() : DetectLimit};
}

}  // namespace

namespace jconv {

TDetectCounters CountForDetection(std::string_view text) { return Count(PrefixOf(text), true); }

}  // namespace jconv

TCharCodeKind DetectCharCode(std::string_view text) {
  const TPrefix t = PrefixOf(text);
  if (t.size >= 2 && t.s[0] == 0xFF && t.s[1] == 0xFE) return ckUnicodeLE;
  if (t.size >= 2 && t.s[0] == 0xFE && t.s[1] == 0xFF) return ckUnicodeBE;
  if (t.len > 0 && std::memchr(t.s, 0, t.len) != nullptr) return ckBinary;
  return jconv::DecideCharCode(text, Count(t, false));
}

TCharCodeKind jconv::DecideCharCode(std::string_view text, const TDetectCounters& c) {
  const TPrefix t = PrefixOf(text);
  if (c.signature) return ckUtf8;
  // Three-byte EUC forms are what other tools write for JIS X 0212 and the IBM extensions; the
  // counters would weigh their bytes as Shift_JIS pairs.
  if (jconv::HoldsEucThreeByteForms(t.s, t.len, t.size)) return ckEuc;
  const std::size_t euc = c.euc, sjis = c.sjis;
  const TJisCount jis{c.jis, c.roman};
  const TUtf8Count utf8{c.utf8, c.signature};

  const std::size_t all[5] = {euc, c.utf7, utf8.count, jis.count, sjis};
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
    // Hiragana alone miss EUC texts of katakana and kanji, and the tie-break answers
    // Shift_JIS even for bytes Shift_JIS never uses.
    if (result == ckSjis) result = jconv::RecheckSjisAsEuc(t.s, t.len, t.size, c);
  }
  if (result == ckJis && !jis.roman) result = ckJisAscii;
  return result;
}

}  // namespace vorn
