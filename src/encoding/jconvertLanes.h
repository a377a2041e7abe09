// Shift_JIS codes in the lanes of a vector register, for the loops from UTF-16 and UTF-8: a
// block of units is looked up into one register and leaves in one store, where a store per
// code would have to wait for the length of the code before it.
#pragma once

#if defined(__x86_64__)
#include <tmmintrin.h>

#include <bit>
#include <cstdint>

namespace vorn::jconv {

// Looks lanes 0 to Count - 1 of units up in a table of 16-bit entries (for Shift_JIS, codes in
// store order, lead byte in the low half); the other lanes come out 0.
template <int Count, class Entry>
[[gnu::always_inline]] inline __m128i GatherCodes(const Entry* e, __m128i units) {
  static_assert(sizeof(Entry) == 2);
  static_assert(Count >= 1 && Count <= 8);
  __m128i codes = _mm_cvtsi32_si128(e[_mm_extract_epi16(units, 0)]);
  if constexpr (Count > 1) codes = _mm_insert_epi16(codes, e[_mm_extract_epi16(units, 1)], 1);
  if constexpr (Count > 2) codes = _mm_insert_epi16(codes, e[_mm_extract_epi16(units, 2)], 2);
  if constexpr (Count > 3) codes = _mm_insert_epi16(codes, e[_mm_extract_epi16(units, 3)], 3);
  if constexpr (Count > 4) codes = _mm_insert_epi16(codes, e[_mm_extract_epi16(units, 4)], 4);
  if constexpr (Count > 5) codes = _mm_insert_epi16(codes, e[_mm_extract_epi16(units, 5)], 5);
  if constexpr (Count > 6) codes = _mm_insert_epi16(codes, e[_mm_extract_epi16(units, 6)], 6);
  if constexpr (Count > 7) codes = _mm_insert_epi16(codes, e[_mm_extract_epi16(units, 7)], 7);
  return codes;
}

// Swaps the two bytes of every 16-bit lane (big-endian units, Shift_JIS pairs as numbers).
inline __m128i SwapLaneBytes(__m128i v) {
  return _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
}

// Bit j set for each 16-bit lane j of mask that is all ones.
inline unsigned LaneBits(__m128i mask) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(mask, _mm_setzero_si128())));
}

// All ones in the lanes holding a one-byte code (ASCII, half-width katakana).
inline __m128i SingleMask(__m128i codes) {
  return _mm_cmpeq_epi16(_mm_and_si128(codes, _mm_set1_epi16(-256)), _mm_setzero_si128());
}

// All ones in the lanes holding the no-mapping marker (0xFFFF, which no code reads as).
inline __m128i UnmappedMask(__m128i codes) {
  return _mm_cmpeq_epi16(codes, _mm_set1_epi16(-1));
}

inline unsigned SingleLanes(__m128i codes) { return LaneBits(SingleMask(codes)); }
inline unsigned UnmappedLanes(__m128i codes) { return LaneBits(UnmappedMask(codes)); }

// The lanes holding either: one test for the common case of none.
inline unsigned OddLanes(__m128i codes) {
  return LaneBits(_mm_or_si128(SingleMask(codes), UnmappedMask(codes)));
}

// For each set of one-byte lanes (bit j: lane j), the pshufb mask that writes the codes of all
// eight lanes one after the other, dropping the empty second byte of the one-byte codes.
struct TCompactMasks {
  alignas(16) signed char m[256][16];
  constexpr TCompactMasks() : m() {
    for (unsigned singles = 0; singles < 256; ++singles) {
      unsigned k = 0;
      for (unsigned j = 0; j < 8; ++j) {
        m[singles][k++] = static_cast<signed char>(2 * j);
        if ((singles >> j & 1) == 0) m[singles][k++] = static_cast<signed char>(2 * j + 1);
      }
      while (k < 16) m[singles][k++] = -1;
    }
  }
};
inline constexpr TCompactMasks kCompactMasks{};

// Writes the codes of lanes 0 to count - 1 at d, each as long as it is, with one store of
// sixteen bytes (d has room for them; the bytes past the codes are left for the next write to
// overwrite). singles: their one-byte lanes. Returns the end of the codes.
[[gnu::target("ssse3")]] inline char* PutCodeLanes(__m128i codes, unsigned singles,
                                                   unsigned count, char* d) {
  singles &= (1u << count) - 1;
  const __m128i mask = _mm_load_si128(reinterpret_cast<const __m128i*>(kCompactMasks.m[singles]));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_shuffle_epi8(codes, mask));
  return d + 2 * count - static_cast<unsigned>(std::popcount(singles));
}

}  // namespace vorn::jconv
#endif
