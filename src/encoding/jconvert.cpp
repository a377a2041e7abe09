// jconvert: conversion dispatch and the Japanese byte-arithmetic routines (JIS, EUC, Shift_JIS).
#include "encoding/jconvert.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "encoding/jconvertInternal.h"
#include "platform/EucJpMs.h"
#include "platform/cp932.h"

namespace vorn {

namespace jconv {

namespace {

using Byte = unsigned char;

constexpr Byte Esc = 0x1B;

constexpr bool In(Byte b, Byte lo, Byte hi) { return b >= lo && b <= hi; }

// The pair arithmetic between Shift_JIS and JIS X 0208, in 8-bit unsigned arithmetic and
// without range checks, so that any byte pair has a defined result. Tabulated per byte: the
// parity and range tests would otherwise be unpredictable branches on every character.
struct TPairTables {
  Byte sjisLead[256];        // JIS first byte to Shift_JIS lead
  Byte sjisTrail[2][256];    // [JIS first byte odd][JIS second byte] to Shift_JIS trail
  Byte jisFirst[256];        // Shift_JIS lead to JIS first byte, for a trail from 9F up
  Byte jisSecond[256];       // Shift_JIS trail to JIS second byte
  Byte lowTrail[256];        // 1 when the trail lies below 9F (the first byte is one less)
  constexpr TPairTables() : sjisLead(), sjisTrail(), jisFirst(), jisSecond(), lowTrail() {
    for (unsigned b = 0; b < 256; ++b) {
      sjisLead[b] = static_cast<Byte>((static_cast<Byte>(b + 1) >> 1) + (b < 0x5F ? 0x70 : 0xB0));
      sjisTrail[0][b] = static_cast<Byte>(b + 0x7E);
      sjisTrail[1][b] = static_cast<Byte>(b + (b > 0x5F ? 0x20 : 0x1F));
      jisFirst[b] = static_cast<Byte>(static_cast<Byte>(b - (b < 0xA0 ? 0x70 : 0xB0)) * 2);
      jisSecond[b] = static_cast<Byte>(b >= 0x9F ? b - 0x7E : b - (b > 0x7F ? 0x20 : 0x1F));
      lowTrail[b] = b < 0x9F ? 1 : 0;
    }
  }
};
inline constexpr TPairTables kPair{};

// Whole pairs in one lookup for the hot loops, each entry the two output bytes in memory order.
struct TPairMaps {
  std::uint16_t toSjis[65536];   // indexed by JIS first byte << 8 | second byte
  std::uint16_t toSjis7[16384];  // the same for 7-bit bytes, packed tighter for the cache
  std::uint16_t toJis[65536];    // indexed by Shift_JIS lead << 8 | trail
  constexpr TPairMaps() : toSjis(), toSjis7(), toJis() {
    for (unsigned i = 0; i < 16384; ++i) {
      const unsigned hi = i >> 7, lo = i & 0x7F;
      toSjis7[i] = static_cast<std::uint16_t>(kPair.sjisLead[hi] | kPair.sjisTrail[hi & 1][lo] << 8);
    }
    for (unsigned i = 0; i < 65536; ++i) {
      const unsigned hi = i >> 8, lo = i & 0xFF;
      toSjis[i] = static_cast<std::uint16_t>(kPair.sjisLead[hi] | kPair.sjisTrail[hi & 1][lo] << 8);
      const unsigned j1 = static_cast<Byte>(kPair.jisFirst[hi] - kPair.lowTrail[lo]);
      toJis[i] = static_cast<std::uint16_t>(j1 | kPair.jisSecond[lo] << 8);
    }
  }
};
static_assert(std::endian::native == std::endian::little, "pair entries are stored in memory order");
inline constexpr TPairMaps kPairMaps{};

inline void PutPair(char*& d, std::uint16_t pair) {
  std::memcpy(d, &pair, 2);
  d += 2;
}

// JIS X 0208 second bytes of the full-width forms of the half-width katakana A1..DF.
constexpr Byte kKanaJ2[63] = {
    0x23, 0x56, 0x57, 0x22, 0x26, 0x72, 0x21, 0x23, 0x25, 0x27, 0x29, 0x63, 0x65, 0x67, 0x43, 0x3C,
    0x22, 0x24, 0x26, 0x28, 0x2A, 0x2B, 0x2D, 0x2F, 0x31, 0x33, 0x35, 0x37, 0x39, 0x3B, 0x3D, 0x3F,
    0x41, 0x44, 0x46, 0x48, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x52, 0x55, 0x58, 0x5B, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x64, 0x66, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F, 0x73, 0x2B, 0x2C};

// Writes the full-width JIS character for half-width katakana k (A1..DF), merged with the voiced
// or semi-voiced mark when mark (the following half-width character, or 0) combines with it.
// Returns whether the mark was taken.
inline bool PutKanaAsJis(char*& d, Byte k, Byte mark) {
  const Byte j1 = (k <= 0xA5 || k == 0xB0 || k >= 0xDE) ? 0x21 : 0x25;
  Byte j2 = kKanaJ2[k - 0xA1];
  bool merged = false;
  if (mark == 0xDE && k == 0xB3) {
    j2 = 0x74;
    merged = true;
  } else if (mark == 0xDE && (In(k, 0xB6, 0xC4) || In(k, 0xCA, 0xCE))) {
    j2 += 1;
    merged = true;
  } else if (mark == 0xDF && In(k, 0xCA, 0xCE)) {
    j2 += 2;
    merged = true;
  }
  d[0] = static_cast<char>(j1);
  d[1] = static_cast<char>(j2);
  d += 2;
  return merged;
}

// What a character JIS X 0208 cannot hold is written as: the middle dot (21 26), the character
// the Unicode codes give for bytes that are not Shift_JIS, in memory order.
constexpr std::uint16_t kDefaultJis = 0x2621;

struct TTrailTable {
  bool ok[256];
  constexpr TTrailTable() : ok() {
    for (unsigned b = 0; b < 256; ++b) ok[b] = (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
  }
};
inline constexpr TTrailTable kTrail{};

// The JIS X 0208 pair (memory order) for the Shift_JIS character at s[i], a byte from 80 up
// that is not a half-width katakana; returns the bytes it takes. A lead byte without a trail
// byte takes only itself, so a line break after it survives.
inline std::size_t SjisCharToJis(const Byte* s, std::size_t i, std::size_t n, std::uint16_t& jis,
                                 std::size_t& lost) {
  const Byte b = s[i];
  const Byte c = i + 1 < n ? s[i + 1] : 0;
  if (!kTrail.ok[c] || b == 0x80 || b == 0xA0 || b >= 0xFD) [[unlikely]] {
    ++lost;
    jis = kDefaultJis;
    return 1;
  }
  if (b >= 0xF0) [[unlikely]] {
    // User-defined characters (F0-F9) have no place in JIS; IBM extensions (FA-FC) have a
    // twin in the NEC-selected rows, which JIS holds and which reads back as the same character.
    const std::uint16_t twin = NecSelectedTwin(b, c);
    lost += twin == 0;
    jis = twin == 0 ? kDefaultJis : kPairMaps.toJis[twin];
    return 2;
  }
  jis = kPairMaps.toJis[b << 8 | c];
  return 2;
}

inline void PutDesignation(char*& d, Byte a, Byte b) {
  d[0] = static_cast<char>(Esc);
  d[1] = static_cast<char>(a);
  d[2] = static_cast<char>(b);
  d += 3;
}

inline void Put2(char*& d, Byte a, Byte b) {
  d[0] = static_cast<char>(a);
  d[1] = static_cast<char>(b);
  d += 2;
}

// Copies bytes below 0x80 eight at a time; returns the index of the first byte not copied.
inline std::size_t CopyAsciiRun(const Byte* s, std::size_t i, std::size_t n, TByteSink& out,
                                char*& d, char*& lim) {
  while (i + 8 <= n) {
    std::uint64_t w;
    std::memcpy(&w, s + i, 8);
    if (w & 0x8080808080808080ull) break;
    Room(out, d, lim, 8);
    std::memcpy(d, &w, 8);
    d += 8;
    i += 8;
  }
  return i;
}

// The ISO-2022-JP writer both two-byte codes share: single-byte runs go out in the designated
// single-byte set, everything else in JIS X 0208; putTwoByte writes one character from s[i]
// and returns the index after it. Output that ends in two-byte mode is closed with the
// designation, so that the result is well-formed ISO-2022-JP.
template <class PutTwoByte>
std::string WriteJis(std::string_view text, char designation, PutTwoByte putTwoByte,
                     std::string recycled = {}) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  const Byte des = static_cast<Byte>(designation);
  TByteSink out(n + n / 4 + 16, n + n / 4 + 16, std::move(recycled));
  char* d = out.Begin();
  char* lim = out.Limit();
  bool twoByte = false;
  std::size_t i = 0;
  while (i < n) {
    Room(out, d, lim, 8);
    const Byte b = s[i];
    if (b < 0x80) {
      // Line breaks and every single-byte character leave two-byte mode first.
      if (twoByte) PutDesignation(d, '(', des);
      twoByte = false;
      *d++ = static_cast<char>(b);
      i = CopyAsciiRun(s, i + 1, n, out, d, lim);
      continue;
    }
    if (!twoByte) PutDesignation(d, '$', 'B');
    twoByte = true;
    i = putTwoByte(d, s, i, n);
  }
  if (twoByte) {
    Room(out, d, lim, 3);
    PutDesignation(d, '(', des);
  }
  return out.Finish(d);
}

}  // namespace

std::string SjisToJis(std::string_view text, char designation, std::size_t& lost,
                      std::string recycled) {
  return WriteJis(text, designation, [&lost](char*& d, const Byte* s, std::size_t i, std::size_t n) {
    const Byte b = s[i];
    if (In(b, 0xA1, 0xDF)) {
      const Byte mark = i + 1 < n ? s[i + 1] : 0;
      return i + (PutKanaAsJis(d, b, mark) ? 2 : 1);
    }
    std::uint16_t jis;
    const std::size_t taken = SjisCharToJis(s, i, n, jis, lost);
    PutPair(d, jis);
    return i + taken;
  }, std::move(recycled));
}

std::string SjisToEuc(std::string_view text, std::size_t& lost, std::string recycled) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + n / 8 + 16, n + n / 8 + 16, std::move(recycled));
  char* d = out.Begin();
  char* lim = out.Limit();
  std::size_t i = 0;
  while (i < n) {
    Room(out, d, lim, 2);
    const Byte b = s[i];
    if (b < 0x80) {
      *d++ = static_cast<char>(b);
      i = CopyAsciiRun(s, i + 1, n, out, d, lim);
    } else if (In(b, 0xA1, 0xDF)) {
      Put2(d, 0x8E, b);
      ++i;
    } else {
      std::uint16_t jis;
      i += SjisCharToJis(s, i, n, jis, lost);
      PutPair(d, jis | 0x8080);
    }
  }
  return out.Finish(d);
}

namespace {

constexpr Byte So = 0x0E, Si = 0x0F;

// What the JIS readers read single bytes as: the set the last designation chose (two-byte
// mode, half-width katakana for ESC ( I, else ASCII or JIS-Roman as they are), overridden by
// katakana while SO is in force, up to SI.
enum TJisMode : Byte { jmSingle, jmTwoByte, jmKana };
struct TJisState {
  TJisMode designated = jmSingle;
  bool shiftedOut = false;
  TJisMode Mode() const { return shiftedOut ? jmKana : designated; }
};

// The JIS escape rule shared by both JIS readers: the sequence is taken as three bytes, "$"
// turns two-byte mode on and "(" turns it off, to katakana when its final byte is "I".
// Returns the index of the byte after it.
inline std::size_t TakeEscape(const Byte* s, std::size_t i, std::size_t n, TJisState& state) {
  const Byte next = i + 1 < n ? s[i + 1] : 0;
  if (next == '$') state.designated = jmTwoByte;
  else if (next == '(') state.designated = i + 2 < n && s[i + 2] == 'I' ? jmKana : jmSingle;
  return i + 3;
}

// A byte 21-5F under katakana is the half-width katakana A1-DF; any other byte stands as it is.
constexpr Byte KanaByte(Byte b) { return In(b, 0x21, 0x5F) ? static_cast<Byte>(b | 0x80) : b; }

}  // namespace


#if defined(__SSE2__)
// Converts eight JIS X 0208 pairs (sixteen bytes at s, every one in low to low + 0x5D: 21-7E
// in JIS, A1-FE in EUC) to Shift_JIS at d, with the arithmetic of kPair done in the register:
// the first bytes sit in the low half of each 16-bit lane, the second in the high half. Returns
// false, with nothing written, when a byte is outside the range (ASCII, a line end, an escape,
// 8E, an ill-formed byte): the caller takes those one by one. Advances d by sixteen otherwise.
inline bool PairsToSjis(const Byte* s, char*& d, Byte low) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  // b - low (wrapping) is at most 0x5D exactly within the range; unsigned compare by saturation.
  const __m128i off = _mm_sub_epi8(v, _mm_set1_epi8(static_cast<char>(low)));
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_subs_epu8(off, _mm_set1_epi8(0x5D)),
                                       _mm_setzero_si128())) != 0xFFFF)
    return false;
  const __m128i j = _mm_and_si128(v, _mm_set1_epi8(0x7F));
  const __m128i evenBytes = _mm_set1_epi16(0x00FF);
  // Lead: (j1 + 1) >> 1, plus 0x70 below row 0x5F and 0xB0 from it.
  const __m128i below = _mm_cmplt_epi8(j, _mm_set1_epi8(0x5F));
  const __m128i leadBase = _mm_xor_si128(
      _mm_set1_epi8(static_cast<char>(0xB0)), _mm_and_si128(below, _mm_set1_epi8(0xB0 ^ 0x70)));
  const __m128i lead = _mm_add_epi8(_mm_avg_epu8(j, _mm_setzero_si128()), leadBase);
  // Trail: j2 + 0x7E after an even j1; after an odd one j2 + 0x1F, one more above 0x5F.
  const __m128i oddRow = _mm_cmpeq_epi16(_mm_and_si128(j, _mm_set1_epi16(1)), _mm_set1_epi16(1));
  const __m128i trailOdd = _mm_sub_epi8(_mm_add_epi8(j, _mm_set1_epi8(0x1F)),
                                        _mm_cmpgt_epi8(j, _mm_set1_epi8(0x5F)));
  const __m128i trailEven = _mm_add_epi8(j, _mm_set1_epi8(0x7E));
  const __m128i trail =
      _mm_or_si128(_mm_and_si128(oddRow, trailOdd), _mm_andnot_si128(oddRow, trailEven));
  const __m128i out =
      _mm_or_si128(_mm_and_si128(evenBytes, lead), _mm_andnot_si128(evenBytes, trail));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), out);
  d += 16;
  return true;
}
#endif

// The bytes that end a JIS reader's run: ESC, NUL, SO and SI.
constexpr bool EndsJisRun(Byte b) { return b == Esc || b == 0 || b == So || b == Si; }

// Converts from i: first a run (whole pairs in two-byte mode, eight bytes at a time in
// single-byte mode, byte by byte under katakana, up to end at most and to the next ESC, NUL,
// SO or SI), then one ESC sequence, shift or character. Returns the position reached.
inline std::size_t JisStepToSjis(const Byte* s, std::size_t i, std::size_t end, std::size_t n,
                                 TJisState& state, char*& d) {
  const TJisMode mode = state.Mode();
  if (mode == jmTwoByte) {
    while (i < end && i + 1 < n && !EndsJisRun(s[i])) {
#if defined(__SSE2__)
      if (i + 16 <= n && PairsToSjis(s + i, d, 0x21)) {
        i += 16;
        continue;
      }
#endif
      const Byte b = s[i], c = s[i + 1];
      PutPair(d, (b | c) < 0x80 ? kPairMaps.toSjis7[b << 7 | c] : kPairMaps.toSjis[b << 8 | c]);
      i += 2;
    }
  } else if (mode == jmSingle) {
    while (i + 8 <= end) {
      std::uint64_t w;
      std::memcpy(&w, s + i, 8);
      const std::uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
      // SO and SI both become 0F when the lowest bit is set.
      const std::uint64_t esc = w ^ 0x1B1B1B1B1B1B1B1Bull, shift = (w | ones) ^ 0x0F0F0F0F0F0F0F0Full;
      if (((w - ones) & ~w & highs) | ((esc - ones) & ~esc & highs) | ((shift - ones) & ~shift & highs)) break;
      std::memcpy(d, &w, 8);
      d += 8;
      i += 8;
    }
  } else {
    for (; i < end && !EndsJisRun(s[i]); ++i) *d++ = static_cast<char>(KanaByte(s[i]));
  }
  if (i >= end) return i;
  if (s[i] == Esc) [[unlikely]] {
    i = TakeEscape(s, i, n, state);
    if (i >= n) return i;
    // The byte after the sequence is handled here as text, even when it is another ESC.
  }
  const Byte b = s[i];
  if (b == 0) [[unlikely]] return i + 1;
  if (b == So || b == Si) [[unlikely]] {
    state.shiftedOut = b == So;
    return i + 1;
  }
  switch (state.Mode()) {
    case jmTwoByte: {
      const Byte c = i + 1 < n ? s[i + 1] : 0;
      PutPair(d, (b | c) < 0x80 ? kPairMaps.toSjis7[b << 7 | c] : kPairMaps.toSjis[b << 8 | c]);
      return i + 2;
    }
    case jmKana: *d++ = static_cast<char>(KanaByte(b)); return i + 1;
    default: *d++ = static_cast<char>(b); return i + 1;
  }
}

// The output never exceeds the input by more than one byte (a pair cut by the end gives two
// for one), so room is checked once per chunk, and the output is paged in as it is written.
std::string JisToSjis(std::string_view text) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + 2);
  char* d = out.Begin();
  char* lim = out.Limit();
  TJisState state;
  std::size_t i = 0;
  while (i < n) {
    Room(out, d, lim, kChunk + 16);
    const std::size_t end = std::min(n, i + kChunk);
    while (i < end) i = JisStepToSjis(s, i, end, n, state, d);
  }
  return out.Finish(d);
}

std::string JisToEuc(std::string_view text) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + 16, n + 16);
  char* d = out.Begin();
  char* lim = out.Limit();
  TJisState state;
  std::size_t i = 0;
  while (i < n) {
    Room(out, d, lim, 2);
    if (s[i] == Esc) [[unlikely]] {
      i = TakeEscape(s, i, n, state);
      if (i >= n) break;
    }
    const Byte b = s[i++];
    if (b == So || b == Si) [[unlikely]] {
      state.shiftedOut = b == So;
      continue;
    }
    const TJisMode mode = state.Mode();
    if (mode == jmKana && In(b, 0x21, 0x5F)) {
      Put2(d, 0x8E, KanaByte(b));
      continue;
    }
    *d++ = static_cast<char>(mode == jmTwoByte && In(b, 0x21, 0x7E) ? b | 0x80 : b);
  }
  return out.Finish(d);
}


// Whether an 8F at i starts a well-formed three-byte form; any other 8F pairs like a lead byte.
inline bool ThreeByteAt(const Byte* s, std::size_t i, std::size_t n) {
  return i + 2 < n && In(s[i + 1], 0xA1, 0xFE) && In(s[i + 2], 0xA1, 0xFE);
}

// The code page 932 code of the three-byte form at i, or 0 (counted in lost) where there is none.
inline std::uint16_t ThreeByteToSjis(const Byte* s, std::size_t i, std::size_t& lost) {
  const std::uint16_t code = EucMsThreeByteToCp932(s[i + 1], s[i + 2]);
  if (code != Cp932NoMapping) return code;
  ++lost;
  return 0;
}

// One EUC character at i, or a run of ASCII up to end at most; returns the position after it.
// A three-byte form without a code page 932 character becomes the default character.
inline std::size_t EucStepToSjis(const Byte* s, std::size_t i, std::size_t end, std::size_t n,
                                 char*& d, std::size_t& lost) {
  const Byte b = s[i];
  if (b == 0x8F && ThreeByteAt(s, i, n)) [[unlikely]] {
    const std::uint16_t code = ThreeByteToSjis(s, i, lost);
    if (code == 0) *d++ = Cp932DefaultChar;
    else if (code < 0x100) *d++ = static_cast<char>(code);
    else Put2(d, static_cast<Byte>(code >> 8), static_cast<Byte>(code));
    return i + 3;
  }
  if (b >= 0x81 && b != 0xFF && b != 0x8E) [[likely]] {
    PutPair(d, kPairMaps.toSjis7[(b & 0x7F) << 7 | ((i + 1 < n ? s[i + 1] : 0) & 0x7F)]);
    return i + 2;
  }
  if (b == 0x8E) {
    if (i + 1 < n) *d++ = static_cast<char>(s[i + 1]);
    return i + 2;
  }
  *d++ = static_cast<char>(b);
  ++i;
  while (i + 8 <= end) {
    std::uint64_t w;
    std::memcpy(&w, s + i, 8);
    if (w & 0x8080808080808080ull) break;
    std::memcpy(d, &w, 8);
    d += 8;
    i += 8;
  }
  return i;
}

// Like JisToSjis, the output never exceeds the input by more than one byte (a pair cut by the
// end gives two for one), so room is checked once per chunk, and the output is paged in as it is written rather than
// zero-filled in one pass through memory first.
std::string EucToSjis(std::string_view text, std::size_t& lost) {
  const Byte* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  TByteSink out(n + 2);
  char* d = out.Begin();
  char* lim = out.Limit();
  std::size_t i = 0;
  while (i < n) {
    Room(out, d, lim, kChunk + 16);
    const std::size_t end = std::min(n, i + kChunk);
    while (i < end) {
#if defined(__SSE2__)
      if (i + 16 <= n && PairsToSjis(s + i, d, 0xA1)) {
        i += 16;
        continue;
      }
#endif
      i = EucStepToSjis(s, i, end, n, d, lost);
    }
  }
  return out.Finish(d);
}

std::string EucToJis(std::string_view text, char designation, std::size_t& lost) {
  return WriteJis(text, designation, [&lost](char*& d, const Byte* s, std::size_t i, std::size_t n) {
    const Byte b = s[i];
    const Byte next = i + 1 < n ? s[i + 1] : 0;
    // 8E with a half-width katakana; any other byte after 8E is paired like other high bytes.
    if (b == 0x8E && In(next, 0xA1, 0xDF)) {
      const Byte mark = (i + 3 < n && s[i + 2] == 0x8E) ? s[i + 3] : 0;
      return i + (PutKanaAsJis(d, next, mark) ? 4 : 2);
    }
    // A three-byte form goes as its code page 932 character would: JIS X 0208 holds the
    // NEC-selected twins of the IBM extensions and nothing else of it.
    if (b == 0x8F && ThreeByteAt(s, i, n)) {
      const std::uint16_t code = ThreeByteToSjis(s, i, lost);
      std::uint16_t jis = kDefaultJis;
      if (code > 0xFF) {
        const Byte pair[2] = {static_cast<Byte>(code >> 8), static_cast<Byte>(code)};
        SjisCharToJis(pair, 0, 2, jis, lost);
      } else if (code != 0) {
        ++lost;  // a single-byte character inside two-byte mode
      }
      PutPair(d, jis);
      return i + 3;
    }
    Put2(d, b & 0x7F, next & 0x7F);
    return i + 2;
  });
}

}  // namespace jconv

std::string ConvertCharCode(std::string_view text, TCharCodeKind fromKind, TCharCodeKind toKind,
                            std::size_t* substituted) {
  using namespace jconv;
  std::size_t lost = 0;
  std::string out;
  auto isJis = [](TCharCodeKind k) { return k == ckJis || k == ckJisAscii; };
  auto unchanged = [](TCharCodeKind k) { return k == ckAscii || k == ckBinary || k == ckEucOrSjis; };
  const char designation = toKind == ckJis ? 'J' : 'B';
  if (unchanged(fromKind) || fromKind == toKind || unchanged(toKind) ||
      (isJis(fromKind) && isJis(toKind))) {
    out.assign(text);
  } else if (toKind == ckSjis) {
    switch (fromKind) {
      case ckJis: case ckJisAscii: out = JisToSjis(text); break;
      case ckEuc: out = EucToSjis(text, lost); break;
      case ckUnicodeLE: out = Utf16ToSjis(text, false, lost); break;
      case ckUnicodeBE: out = Utf16ToSjis(text, true, lost); break;
      case ckUtf8: case ckUtf8N: out = Utf8ToSjis(text, lost); break;
      case ckUtf7: out = Utf7ToSjis(text, lost); break;
      default: break;
    }
  } else if (fromKind == ckSjis) {
    switch (toKind) {
      case ckJis: case ckJisAscii: out = SjisToJis(text, designation, lost); break;
      case ckEuc: out = SjisToEuc(text, lost); break;
      case ckUnicodeLE: out = SjisToUtf16(text, false, lost); break;
      case ckUnicodeBE: out = SjisToUtf16(text, true, lost); break;
      case ckUtf8: out = SjisToUtf8(text, true, lost); break;
      case ckUtf8N: out = SjisToUtf8(text, false, lost); break;
      case ckUtf7: out = SjisToUtf7(text, lost); break;
      default: break;
    }
  } else if (fromKind == ckEuc && isJis(toKind)) {
    out = EucToJis(text, designation, lost);
  } else if (isJis(fromKind) && toKind == ckEuc) {
    out = JisToEuc(text);
  }
  if (substituted) *substituted = lost;
  return out;
}

const char* StatusBarCodeName(TCharCodeKind kind) {
  switch (kind) {
    case ckJis: return "JIS(RO)";
    case ckJisAscii: return "JIS(AS)";
    case ckEuc: return "EUC";
    case ckUnicodeLE: return "UNI(LE)";
    case ckUnicodeBE: return "UNI(BE)";
    case ckUtf8: return "UTF-8";
    case ckUtf8N: return "UTF-8N";
    case ckUtf7: return "UTF-7";
    default: return "SJIS";
  }
}

}  // namespace vorn
